// The tools window's operations: Combine, TXT2HTML with its Stop, and Delete, wired to the core
// commands that hold their rules.
#include "texttools/frmTextTool.h"

#include "platform/BusyCursor.h"
#include "platform/Prompts.h"
#include "texttools/CombineCommand.h"
#include "texttools/FileDeletion.h"
#include "texttools/HtmlConversion.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

void frmTextTool::cmdExecute_Click()
{
    if (Option1->isChecked())
        runCombine();
    if (Option2->isChecked())
        text2html();
}

void frmTextTool::runCombine()
{
    const QString name = m_prompts.inputLine(
        this, QStringLiteral("please enter the new file name(Example: newfile.txt)"),
        QStringLiteral("Enter New File Name"));
    CombineCommand command(name, outPutBox->text(), selectedFiles());
    showNotices(command.notices());
    if (!command.goAhead())
        return;
    if (!command.overwriteQuestion().isEmpty()) {
        const Prompts::Message question = {command.overwriteQuestion(), QStringLiteral("Warning!"),
                                           Prompts::Buttons::YesNo, Prompts::Icon::Exclamation};
        if (m_prompts.message(this, question) != Prompts::Answer::Yes) {
            setStatus(QStringLiteral("Skipped file, file already existed"));
            return;
        }
    }
    BusyCursor busy(this);
    if (!command.run(*this))
        reportFailure(command.failure());
}

void frmTextTool::text2html()
{
    HtmlConversion conversion(selectedFiles(), outPutBox->text());
    showNotices(conversion.notices());
    StopFlag = false;
    if (!conversion.goAhead())
        return;

    setRunning(true);
    cmdStop->setEnabled(true);
    outPutBox->setText(conversion.folder());
    {
        BusyCursor busy(this);
        if (conversion.run(*this) == HtmlConversion::Outcome::Failed)
            reportFailure(conversion.failure());
    }
    setWindowTitle(QStringLiteral("txt tools"));
    cmdStop->setEnabled(false);
    QApplication::beep();
    setRunning(false);
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

void frmTextTool::setRunning(bool running)
{
    m_converting = running;
    const QList<QWidget *> others = {tvwFolders, File1,     fileList, cmdSelAll,
                                     cmdRemove,  cmdSelect, cmdDone,  cmdDelete,
                                     cmdExecute, Option1,   Option2};
    for (QWidget *widget : others)
        widget->setEnabled(!running);
}

void frmTextTool::cmdStop_Click()
{
    StopFlag = true;
    m_prompts.message(this,
                      {QStringLiteral("Convertation Aborted By User!"), QStringLiteral("Warning!"),
                       Prompts::Buttons::Ok, Prompts::Icon::Exclamation});
}

void frmTextTool::cmdDelete_Click()
{
    const Prompts::Message question = {QStringLiteral("Really Delete all Selected Files?"),
                                       QStringLiteral("Confirm"), Prompts::Buttons::OkCancel};
    if (m_prompts.message(this, question) != Prompts::Answer::Ok)
        return;
    const QStringList kept = deleteListedFiles(selectedFiles(), *this);
    fileList->clear();
    fileList->addItems(kept);
}

void frmTextTool::showNotices(const ToolNotices &notices)
{
    for (const ToolNotice &notice : notices) {
        if (notice.kind == ToolNotice::Kind::Message)
            m_prompts.tell(this, notice.text);
        else
            setStatus(notice.text);
    }
}

void frmTextTool::reportFailure(const QString &text)
{
    setStatus(text);
    m_prompts.tell(this, text);
}

void frmTextTool::setRange(int maximum)
{
    ProgressBar1->setRange(0, maximum);
}

void frmTextTool::setValue(int value)
{
    ProgressBar1->setValue(value);
}

void frmTextTool::setStatus(const QString &text)
{
    StatusBar1Panel1->setText(text);
}

bool frmTextTool::yield()
{
    QCoreApplication::processEvents();
    return StopFlag;
}
