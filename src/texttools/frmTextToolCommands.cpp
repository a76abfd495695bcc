// The tools window's operations: Combine, TXT2HTML with its Stop, and Delete.
#include "texttools/frmTextTool.h"

#include "app/FileChecks.h"
#include "app/WholeFileWriter.h"
#include "book/BaseName.h"
#include "platform/BusyCursor.h"
#include "platform/Prompts.h"
#include "texttools/Combiner.h"
#include "texttools/FileDeletion.h"
#include "texttools/HtmlPage.h"
#include "texttools/TextFileIO.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <limits>

namespace {

// Often enough for painting and a working Stop, rarely enough to cost nothing against the work.
constexpr qint64 kYieldIntervalMs = 15;
constexpr qsizetype kItemsPerClockReading = 64;

int progressValue(qsizetype n)
{
    return int(qMin<qsizetype>(n, std::numeric_limits<int>::max()));
}

} // namespace

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
    const QString folder = outPutBox->text();
    const QStringList files = selectedFiles();
    bool goAhead = true;
    if (name.isEmpty()) {
        setStatus(QStringLiteral("Action Ignored, New File Name Not Entered"));
        goAhead = false;
    } else if (files.size() < 2) {
        m_prompts.tell(this, QStringLiteral("Needs at least two files to compile"));
        goAhead = false;
    }
    if (folder.isEmpty()) {
        setStatus(QStringLiteral("Action Ignored, Need new file path"));
        goAhead = false;
    }
    const QString target = FullPathOf(folder, name);
    // Copying the first file onto the target would destroy a source that is the target under
    // any spelling, not only the same text.
    if (!name.isEmpty() && !folder.isEmpty()) {
        for (const QString &file : files) {
            if (Combiner::isSameFile(file, target)) {
                m_prompts.tell(
                    this,
                    QStringLiteral("Can't combine file into itself, please enter a new file name"));
                goAhead = false;
            }
        }
    }
    if (!goAhead)
        return;

    if (FileExists(target)) {
        Prompts::Message question;
        question.text = QStringLiteral("File ") + target
            + QStringLiteral(" allready exists!\r\nDo you want to overwrite it?");
        question.title = QStringLiteral("Warning!");
        question.buttons = Prompts::Buttons::YesNo;
        question.icon = Prompts::Icon::Exclamation;
        if (m_prompts.message(this, question) != Prompts::Answer::Yes) {
            setStatus(QStringLiteral("Skipped file, file already existed"));
            return;
        }
    }

    BusyCursor busy(this);
    setStatus(QStringLiteral("wait please"));
    ProgressBar1->setRange(0, int(files.size()) - 1);
    ProgressBar1->setValue(0);
    Combiner combiner;
    const bool done = combiner.combine(files, target, [&](int index) {
        ProgressBar1->setValue(index);
        setStatus(QStringLiteral("wait please ") + files.at(index) + QStringLiteral(" Combined"));
    });
    if (!done) {
        const QString text = QStringLiteral("Combine stopped, ") + combiner.errorString();
        setStatus(text);
        m_prompts.tell(this, text);
        return;
    }
    setStatus(QStringLiteral("Combine Files Done"));
}

void frmTextTool::text2html()
{
    bool goAhead = true;
    if (fileList->count() == 0) {
        m_prompts.tell(this, QStringLiteral("Needs at least one file to convert"));
        goAhead = false;
    }
    if (outPutBox->text().isEmpty()) {
        setStatus(QStringLiteral("Action Ignored, Need new file path"));
        goAhead = false;
    }
    StopFlag = false;
    if (!goAhead)
        return;

    const QStringList files = selectedFiles();
    setRunning(true);
    bool failed = false;
    {
        BusyCursor busy(this);
        m_sinceYield.start();
        QString folder;
        for (int i = 0; i < files.size(); ++i) {
            cmdStop->setEnabled(true);
            if (i == 0)
                folder = FullPathOf(outPutBox->text(), QStringLiteral("newhtml"));
            outPutBox->setText(folder);
            if (DirExists(folder)) {
                setStatus(
                    QStringLiteral("directory already exist, create new directory action ignored"));
            } else if (i == 0 && !QDir().mkdir(folder)) {
                reportConversionFailure(QStringLiteral("cannot create folder ") + folder);
                failed = true;
                break;
            }
            if (!convertOne(i, files.at(i), folder)) {
                failed = !StopFlag;
                break;
            }
        }
    }
    if (!failed)
        setStatus(QStringLiteral("Done..."));
    setWindowTitle(QStringLiteral("txt tools"));
    cmdStop->setEnabled(false);
    QApplication::beep();
    setRunning(false);
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

bool frmTextTool::convertOne(int index, const QString &source, const QString &folder)
{
    const QString base = BaseName(source);
    const QString pagePath = FullPathOf(folder, base + QStringLiteral(".html"));
    QByteArray bytes;
    QString error;
    if (!TextFileIO::readBytes(source, &bytes, &error)) {
        reportConversionFailure(error);
        return false;
    }
    HtmlPage page(std::move(bytes), base);
    // Written as it is built, through a temporary file: a stopped or failed run leaves no page.
    WholeFileWriter out(pagePath);
    if (!out.open()) {
        reportConversionFailure(
            QStringLiteral("cannot write %1: %2").arg(pagePath, out.errorString()));
        return false;
    }
    ProgressBar1->setRange(0, progressValue(page.itemCount()));
    ProgressBar1->setValue(0);
    qsizetype passes = 0;
    bool written = true;
    while (!page.atEnd() && written) {
        if (StopFlag)
            return false;
        // The clock is read every few lines only: on a book of short lines reading it costs
        // more than the lines.
        if (passes % kItemsPerClockReading == 0 && m_sinceYield.elapsed() >= kYieldIntervalMs) {
            ProgressBar1->setValue(progressValue(passes));
            QCoreApplication::processEvents();
            m_sinceYield.restart();
            if (StopFlag)
                return false;
        }
        page.addNextItem();
        ++passes;
        if (conversionStepHook)
            conversionStepHook(index, passes - 1);
        if (page.pieceReady()) {
            written = out.write(page.bytes());
            page.dropBytes();
        }
    }
    ProgressBar1->setValue(progressValue(passes));
    if (!written || !out.commit()) {
        reportConversionFailure(
            QStringLiteral("cannot write %1: %2").arg(pagePath, out.errorString()));
        return false;
    }
    return true;
}

void frmTextTool::reportConversionFailure(const QString &text)
{
    const QString message = QStringLiteral("Conversion stopped, ") + text;
    setStatus(message);
    m_prompts.tell(this, message);
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
    Prompts::Message message;
    message.text = QStringLiteral("Convertation Aborted By User!");
    message.title = QStringLiteral("Warning!");
    message.icon = Prompts::Icon::Exclamation;
    m_prompts.message(this, message);
}

void frmTextTool::cmdDelete_Click()
{
    Prompts::Message question;
    question.text = QStringLiteral("Really Delete all Selected Files?");
    question.title = QStringLiteral("Confirm");
    question.buttons = Prompts::Buttons::OkCancel;
    if (m_prompts.message(this, question) != Prompts::Answer::Ok)
        return;
    // Entries of files that could not be deleted stay at the front, in their order; the loop
    // goes on with the one after them.
    QStringList failures;
    int kept = 0;
    const int count = fileList->count();
    for (int n = 0; n < count; ++n) {
        const QString path = fileList->item(kept)->text();
        QString why;
        if (deleteListedFile(path, &why)) {
            delete fileList->takeItem(kept);
        } else {
            failures.append(path + QStringLiteral(" (") + why + u')');
            ++kept;
        }
        setStatus(kept < fileList->count() ? fileList->item(kept)->text() : QString());
    }
    if (failures.isEmpty())
        setStatus(QStringLiteral("All selected files deleted"));
    else
        setStatus(QStringLiteral("Could not delete: ") + failures.join(QStringLiteral(", ")));
}
