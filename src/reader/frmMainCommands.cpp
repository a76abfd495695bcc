// The reader window's menu and toolbar commands: search, printing, clipboard and formatting.
#include "reader/frmMain.h"

#include "about/frmAbout.h"
#include "book/BookSearch.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "reader/BookPrinter.h"
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

namespace {

constexpr int kMinFontSize = 8;
constexpr int kMaxFontSize = 30;

} // namespace

void frmMain::showPageThroughBox(int number)
{
    const QString text = QString::number(number);
    if (PageNumber->text() == text)
        PageNumber_Change();
    else
        PageNumber->setText(text);
}

// ---- search ----------------------------------------------------------------------------------

// Shows the page of a match through the page-number box and selects the occurrence with the
// view's own find.
void frmMain::showMatch(const QString &text, int page, int position)
{
    SearchPage = page;
    showPageThroughBox(page + 1);
    FoundPos = m_textArea->find(text, position);
    CurrentPage = page;
}

void frmMain::mnuToolsFind_Click()
{
    SearchText = m_prompts.inputLine(this, QStringLiteral("please enter string to search for"), {});
    SearchPage = 0;
    if (SearchText.isEmpty())
        return;
    if (LastPageIndex < 0 || !BookOpened) {
        if (FoundPos == -1)
            m_prompts.tell(this, QStringLiteral("string not found"));
        return;
    }
    if (const auto match = BookSearch::find(m_book, SearchText, 0, 0)) {
        showMatch(SearchText, match->page, match->position);
        return;
    }
    // Nothing was shown on the way, so the view is still on the page it showed before.
    FoundPos = -1;
    SearchPage = LastPageIndex + 1;
    m_prompts.tell(this, QStringLiteral("string not found"));
}

// Next goes on from just after the previous match when it starts on that match's page, else
// from the start of the page shown, then through the following pages.
void frmMain::mnuToolsFindNext_Click()
{
    const int start = (FoundPos >= 0 && SearchPage == CurrentPage) ? FoundPos + 1 : 0;
    SearchPage = CurrentPage;
    ++FoundPos;
    if (SearchText.isEmpty())
        return;
    if (!BookOpened || LastPageIndex < 0)
        return;
    if (const auto match = BookSearch::find(m_book, SearchText, CurrentPage, start)) {
        showMatch(SearchText, match->page, match->position);
        return;
    }
    FoundPos = -1;
    SearchPage = LastPageIndex + 1;
    m_prompts.tell(this, QStringLiteral("Reach End of Book"));
}

// ---- printing and clipboard ------------------------------------------------------------------

QPrinter &frmMain::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

// Prints the book file as it is on disk now, in the view's font and colours. The view keeps
// the page it shows.
void frmMain::mnuFilePrint_Click()
{
    if (BookPath.isEmpty()) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    m_textArea->selectWholeText();
    BookPrinter::Look look;
    look.font = m_textArea->currentFont();
    if (const auto name = m_textArea->selFontName())
        look.font.setFamily(*name);
    if (const auto size = m_textArea->selFontSize())
        look.font.setPointSizeF(*size);
    look.font.setBold(m_textArea->selBold().value_or(false));
    look.font.setItalic(m_textArea->selItalic().value_or(false));
    look.text = m_textArea->selColor().value_or(QColor(Qt::black));
    look.background = m_textArea->backColor();
    m_textArea->collapseSelection();

    const QString failure = BookPrinter::print(BookPath, look, printer());
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

void frmMain::setDesktop(Launcher *launcher, Registry *registry)
{
    m_launcher = launcher;
    m_registry = registry;
}

static Launcher &desktopLauncher(Launcher *chosen)
{
    static DesktopLauncher desktop;
    return chosen ? *chosen : desktop;
}

static Registry &desktopRegistry(Registry *chosen)
{
    static DesktopRegistry desktop;
    return chosen ? *chosen : desktop;
}

// The book goes to the desktop's plain-text editor as one argument, never through a shell.
void frmMain::menuOpenWith_Click()
{
    Launcher &launcher = desktopLauncher(m_launcher);
    const QString editor = launcher.textEditor();
    if (editor.isEmpty()) {
        m_prompts.tell(this,
                       QStringLiteral("No text editor was found to open the book with. "
                                      "Install one, for example gedit or mousepad."));
        return;
    }
    QString why;
    if (!launcher.startProgram(editor, {BookPath}, &why))
        m_prompts.tell(
            this, QStringLiteral("The text editor could not be started:\n%1\n%2").arg(editor, why));
}

void frmMain::mnuHelpTopic_Click()
{
    const QString page = HelpPagePath();
    if (!QFileInfo::exists(page)) {
        m_prompts.tell(
            this,
            QStringLiteral("The help page was not found:\n%1").arg(QDir::toNativeSeparators(page)));
        return;
    }
    if (!desktopLauncher(m_launcher).openUrl(QUrl::fromLocalFile(page)))
        m_prompts.tell(this,
                       QStringLiteral("No program was found to show the help page:\n%1")
                           .arg(QDir::toNativeSeparators(page)));
}

void frmMain::mnuTextTools_Click()
{
    frmTextTool::showSingle(m_prompts, m_drives);
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(m_prompts, desktopRegistry(m_registry), desktopLauncher(m_launcher), this);
    about.exec();
}

// ---- options -------------------------------------------------------------------------------

// A new number of lines per page cuts the open book anew and shows it from page one; the two
// start-up flags take effect at the next start.
void frmMain::mnuViewOptions_Click()
{
    const qint16 before = m_data.LinesPerPage;
    {
        frmOptions dialog(m_prompts, m_data, this);
        dialog.exec();
    }
    if (m_data.LinesPerPage == before || BookPath.isEmpty())
        return;
    PageIndex = 0;
    PageNumber->setText(QStringLiteral("5"));
    LoadBook();
}

// ---- toolbar and formatting ------------------------------------------------------------------

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    const QString key = button->property("Key").toString();
    if (key == QLatin1String("forward"))
        changeFontSize(+2);
    else if (key == QLatin1String("back"))
        changeFontSize(-2);
    else if (key == QLatin1String("Properties"))
        mnuViewOptions_Click();
    else if (key == QLatin1String("Back"))
        chooseBackColor();
    else if (key == QLatin1String("Front"))
        chooseTextColor();
    else if (key == QLatin1String("Italic"))
        toggleItalic();
    else if (key == QLatin1String("Bold"))
        toggleBold();
    else if (key == QLatin1String("Open"))
        mnuFileOpen_Click();
    else if (key == QLatin1String("Print"))
        mnuFilePrint_Click();
    else if (key == QLatin1String("Copy"))
        mnuEditCopy_Click();
    else if (key == QLatin1String("Find"))
        mnuToolsFind_Click();
}

// The button keyed "forward" ("Increase Font Size") makes the text larger, the one keyed "back"
// ("Decrease Font Size") smaller. A page of mixed sizes has no size to step from and meets
// the bound's message.
void frmMain::changeFontSize(int step)
{
    m_textArea->selectWholeText();
    const std::optional<double> size = m_textArea->selFontSize();
    if (step < 0) {
        if (size && *size + step >= kMinFontSize)
            m_textArea->setSelFontSize(*size + step);
        else
            m_prompts.tell(this, QStringLiteral("min font size achived"));
    } else {
        if (size && *size + step <= kMaxFontSize)
            m_textArea->setSelFontSize(*size + step);
        else
            m_prompts.tell(this, QStringLiteral("max font size achived"));
    }
    m_textArea->collapseSelection();
}

void frmMain::toggleBold()
{
    const bool on = m_textArea->selBold().value_or(true);
    m_textArea->selectWholeText();
    m_textArea->setSelBold(!on);
    m_textArea->collapseSelection();
}

void frmMain::toggleItalic()
{
    const bool on = m_textArea->selItalic().value_or(true);
    m_textArea->selectWholeText();
    m_textArea->setSelItalic(!on);
    m_textArea->collapseSelection();
}

void frmMain::chooseBackColor()
{
    if (const auto color = m_prompts.color(this, m_textArea->backColor()))
        m_textArea->setBackColor(*color);
}

// Starts from the current text colour, with or without a book and on any page.
void frmMain::chooseTextColor()
{
    m_textArea->selectWholeText();
    const QColor initial = m_textArea->selColor().value_or(QColor(Qt::black));
    m_textArea->collapseSelection();
    if (const auto color = m_prompts.color(this, initial)) {
        m_textArea->selectWholeText();
        m_textArea->setSelColor(*color);
        m_textArea->collapseSelection();
    }
}

void frmMain::mnuFont_Click()
{
    m_textArea->collapseSelection();
    const QString name = m_textArea->selFontName().value_or(QString());
    m_textArea->selectWholeText();
    QFont initial = m_textArea->currentFont();
    if (!name.isEmpty())
        initial.setFamily(name);
    initial.setPointSizeF(m_textArea->selFontSize().value_or(initial.pointSizeF()));
    initial.setBold(m_textArea->selBold().value_or(false));
    initial.setItalic(m_textArea->selItalic().value_or(false));
    initial.setStrikeOut(m_textArea->selStrikethru().value_or(false));
    initial.setUnderline(m_textArea->selUnderline().value_or(false));

    const QFont chosen =
        m_prompts.font(this, initial, kMinFontSize, kMaxFontSize).value_or(initial);
    m_textArea->setSelFontName(chosen.family());
    m_textArea->setSelBold(chosen.bold());
    m_textArea->setSelItalic(chosen.italic());
    m_textArea->setSelFontSize(
        qBound(double(kMinFontSize), chosen.pointSizeF(), double(kMaxFontSize)));
    m_textArea->setSelStrikethru(chosen.strikeOut());
    m_textArea->setSelUnderline(chosen.underline());

    m_data.FontSize = qint16(std::lround(m_textArea->selFontSize().value_or(m_data.FontSize)));
    m_data.FontName = chosen.family();
    m_data.FontBold = m_textArea->selBold().value_or(false) ? VTrue : VFalse;
    m_data.FontItalic = m_textArea->selItalic().value_or(false) ? VTrue : VFalse;
    m_textArea->collapseSelection();
}
