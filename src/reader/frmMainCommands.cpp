// The reader window's menu and toolbar commands: search, printing, clipboard and formatting.
#include "reader/frmMain.h"

#include "about/frmAbout.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "reader/BookPrinter.h"
#include "reader/PageFormatter.h"
#include "reader/TextArea.h"
#include "settings/frmOptions.h"
#include "texttools/frmTextTool.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QUrl>

// ---- search ----------------------------------------------------------------------------------

void frmMain::mnuToolsFind_Click()
{
    if (const auto refusal = m_state.searchRefusal()) {
        showAnswer(*refusal);
        return;
    }
    const QString text =
        m_prompts.inputLine(this, QStringLiteral("please enter string to search for"), {});
    const BookState::Answer answer = m_state.mnuToolsFind_Click(text);
    showAnswer(answer);
    lightSearch(answer);
}

void frmMain::mnuToolsFindNext_Click()
{
    const BookState::Answer answer = m_state.mnuToolsFindNext_Click();
    showAnswer(answer);
    lightSearch(answer);
}

// ---- printing and clipboard ------------------------------------------------------------------

QPrinter &frmMain::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

// Prints the open book as it was read, every page, in the view's font and colours. The view
// keeps the page it shows.
void frmMain::mnuFilePrint_Click()
{
    // Only the book on show is printed: never a file the loader refused.
    if (!m_state.bookOpened()) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    // Printed the same whether the pages are cut to the view or not.
    Book lines = m_state.book();
    lines.useFixedPages();
    const QString failure = BookPrinter::print(lines, m_format->printLook(), printer());
    if (!failure.isEmpty())
        m_prompts.tell(this, failure);
}

void frmMain::mnuFilePageSetup_Click()
{
    m_prompts.printerSetup(this, printer(), QStringLiteral("Page Setup"));
}

void frmMain::mnuEditCopy_Click()
{
    QGuiApplication::clipboard()->setText(m_textArea->selectedText());
}

// ---- launches and the other windows ---------------------------------------------------------

// The book goes to the desktop's plain-text editor as one argument, never through a shell.
void frmMain::menuOpenWith_Click()
{
    // A book in an archive: the archive itself.
    const QString failure =
        m_desktop.launcher.openInTextEditor(BookSource::split(m_state.bookPath()).file);
    if (!failure.isEmpty())
        m_prompts.tell(this, failure);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuHelpTopic_Click()
{
    const QString failure = m_desktop.launcher.showHelpPage();
    if (!failure.isEmpty())
        m_prompts.tell(this, failure);
}

void frmMain::mnuTextTools_Click()
{
    frmTextTool::showSingle(m_prompts, m_desktop.drives);
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(m_prompts, m_desktop.registry, m_desktop.launcher, this);
    about.exec();
}

// ---- options -------------------------------------------------------------------------------

// A new number of lines per page cuts the open book anew and stays at the line that was first on
// the page shown; the two start-up flags take effect at the next start.
void frmMain::mnuViewOptions_Click()
{
    const qint16 before = m_data.LinesPerPage;
    {
        frmOptions dialog(m_prompts, m_data, this);
        dialog.exec();
    }
    if (m_data.LinesPerPage == before || m_state.bookPath().isEmpty())
        return;
    reloadBook(m_state.encodingChoice());
}

// ---- toolbar and formatting ------------------------------------------------------------------

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    const QString key = button->property("Key").toString();
    if (key == QLatin1String("forward"))
        m_format->stepFontSize(+2);
    else if (key == QLatin1String("back"))
        m_format->stepFontSize(-2);
    else if (key == QLatin1String("Properties"))
        mnuViewOptions_Click();
    else if (key == QLatin1String("Back"))
        m_format->chooseBackColor();
    else if (key == QLatin1String("Front"))
        m_format->chooseTextColor();
    else if (key == QLatin1String("Italic"))
        m_format->toggleItalic();
    else if (key == QLatin1String("Bold"))
        m_format->toggleBold();
    else if (key == QLatin1String("Open"))
        mnuFileOpen_Click();
    else if (key == QLatin1String("Print"))
        mnuFilePrint_Click();
    else if (key == QLatin1String("Copy"))
        mnuEditCopy_Click();
    else if (key == QLatin1String("Find"))
        mnuToolsFind_Click();
}

void frmMain::mnuFont_Click()
{
    m_format->chooseFont();
}
