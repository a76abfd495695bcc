// The reader window's book state: loading a book and showing its pages.
#include "reader/frmMain.h"

#include "app/AppInfo.h"
#include "book/BaseName.h"
#include "book/PageNumberRule.h"
#include "platform/Drives.h"
#include "platform/OleColor.h"
#include "platform/Prompts.h"
#include "reader/TextArea.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QUrl>

namespace {

const Drives &systemDrives()
{
    static const SystemDrives drives;
    return drives;
}

QString openFilter()
{
    return QStringLiteral("Text Files (*.txt);;HTML Files (*.html *.htm);;All Files (*)");
}

} // namespace

const QString frmMain::Hint =
    QStringLiteral("Use -> to go to next page and <- to go to previous page");

frmMain::frmMain(Prompts &prompts, GlobalData &data, QWidget *parent)
    : frmMain(prompts, data, systemDrives(), parent)
{ }

frmMain::frmMain(Prompts &prompts, GlobalData &data, const Drives &drives, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts), m_data(data), m_drives(drives)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    buildControls();
    buildMenus();
    buildToolBar();
    openAtDesignSize();
    setAcceptDrops(true);
    m_textArea->setAcceptDrops(false);
}

frmMain::~frmMain() = default;

// ---- book loading ----------------------------------------------------------------------------

void frmMain::mnuFileOpen_Click()
{
    const QString path = m_prompts.openFile(this, QStringLiteral("Open"), openFilter());
    if (!path.isEmpty())
        openBook(path);
}

void frmMain::openBook(const QString &path)
{
    BookPath = path;
    PageIndex = 0;
    LoadBook();
}

// A file dropped onto the window opens as File > Open opens it.
void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    openBook(urls.first().toLocalFile());
}

void frmMain::openFromFileList(const QString &fullPath)
{
    m_textArea->setText(fullPath);
    BookPath = fullPath;
    m_data.LastBook = fullPath;
    m_statusPanel->setText(BookPath);
    PageIndex = 0;
    LoadBook();
}

// Unloads the book: the window goes back to how start-up leaves it, and page numbers are
// refused until the next book is opened.
void frmMain::mnuFileClose_Click()
{
    m_book = Book();
    BookOpened = false;
    BookPath.clear();
    PageIndex = 0;
    CurrentPage = 0;
    LastPageIndex = 0;
    ShownPage = 0;
    lblTitle->setText(QStringLiteral("Book Title"));
    PageTotal->clear();
    const QSignalBlocker quiet(PageNumber);
    PageNumber->clear();
    m_statusPanel->clear();
    m_textArea->setText(Hint);
    mnuFilePrint->setEnabled(false);
    menuOpenWith->setEnabled(false);
}

void frmMain::LoadBook()
{
    BookOpened = false;
    mnuFilePrint->setEnabled(true);
    menuOpenWith->setEnabled(true);
    m_statusPanel->setText(BookPath);
    lblTitle->setText(BaseName(BookPath));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    const bool atStartup = OpenAtStartup;
    OpenAtStartup = false;
    Book fresh;
    const Book::LoadResult result = fresh.load(BookPath, m_data.LinesPerPage);
    if (result.status != Book::Status::Loaded) {
        reportLoadFailure(result);
        return;
    }

    m_book = std::move(fresh);
    BookOpened = true;
    ApplyPageFormat();
    PageIndex = m_book.pageCount() - 1;
    PageTotal->setText(QString::number(m_book.pageCount()));
    CurrentPage = 0;
    LastPageIndex = PageIndex;
    ShownPage = 0;
    if (m_book.isEmpty()) {
        m_textArea->setText(QString());
        PageNumber->setText(QString());
        return;
    }
    PageNumber->setText(QStringLiteral("1"));
    m_textArea->setText(m_book.pageText(CurrentPage));
    if (atStartup)
        PageNumber->setText(QString::number(m_data.LastPage + 1));
}

void frmMain::reportLoadFailure(const Book::LoadResult &result)
{
    const QString path = QDir::toNativeSeparators(BookPath);
    QString text;
    switch (result.status) {
    case Book::Status::Loaded:
        return;
    case Book::Status::CannotOpen:
        text = QFileInfo(BookPath).isDir()
            ? QStringLiteral("This is a folder, not a book:\n%1").arg(path)
            : QStringLiteral("Previous open file not exist");
        break;
    case Book::Status::ReadFailed:
        text = QStringLiteral("The book could not be read:\n%1\n%2").arg(path, result.detail);
        break;
    case Book::Status::TooLarge:
        text = QStringLiteral("The book is too large to open:\n%1\nBooks of up to 1 GB can be "
                              "read.")
                   .arg(path);
        break;
    case Book::Status::NotText:
        text = QStringLiteral("This file is not a plain-text book (it holds NUL bytes):\n%1")
                   .arg(path);
        break;
    case Book::Status::TooManyPages:
        text = QStringLiteral("The book has more than %1 pages at %2 lines per page, more than "
                              "the reader can count:\n%3\nChoose more lines per page in View > "
                              "Options to fit the book.")
                   .arg(Book::MaxPages)
                   .arg(m_data.LinesPerPage)
                   .arg(path);
        break;
    case Book::Status::TooManyLines:
        text = QStringLiteral("The book has more than %1 lines, too many for one page:\n%2\n"
                              "Choose a number of lines per page in View > Options.")
                   .arg(Book::MaxLinesOnOnePage)
                   .arg(path);
        break;
    }
    m_prompts.tell(this, text);
}

void frmMain::ApplyPageFormat()
{
    if (m_data.BackColor.holdsNumber())
        m_textArea->setBackColor(OleColor::toQColor(quint32(m_data.BackColor.value)));
    m_textArea->selectWholeText();
    if (m_data.ForeColor.holdsNumber())
        m_textArea->setSelColor(OleColor::toQColor(quint32(m_data.ForeColor.value)));
    m_textArea->setSelFontSize(m_data.FontSize);
    m_textArea->setSelFontName(m_data.FontName);
    m_textArea->setSelBold(m_data.FontBold != VFalse);
    m_textArea->setSelItalic(m_data.FontItalic != VFalse);
    m_textArea->collapseSelection();
}

// ---- page display and navigation -------------------------------------------------------------

void frmMain::PageNumber_Change()
{
    const PageNumberRule::Reading reading = PageNumberRule::read(PageNumber->text());
    if (reading.kind == PageNumberRule::Kind::Empty)
        return;
    if (!BookOpened) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    if (reading.kind == PageNumberRule::Kind::NotNumeric) {
        m_prompts.tell(this, QStringLiteral("please enter a page number"));
        PageNumber->setText(QString());
        return;
    }
    const std::optional<int> index = PageNumberRule::pageIndex(reading.value);
    if (index && *index >= 0 && *index <= LastPageIndex) {
        CurrentPage = *index;
        m_textArea->setText(m_book.pageText(CurrentPage));
        ShownPage = CurrentPage;
        return;
    }
    m_prompts.tell(this, QStringLiteral("NO Such Page"));
    CurrentPage = ShownPage;
}

void frmMain::CommandNext_Click()
{
    ++CurrentPage;
    if (CurrentPage > LastPageIndex) {
        m_prompts.tell(this, QStringLiteral("End of the Book"));
        --CurrentPage;
    } else {
        PageNumber->setText(QString::number(CurrentPage + 1));
    }
    ShownPage = CurrentPage;
}

void frmMain::CommandPre_Click()
{
    --CurrentPage;
    if (CurrentPage < 0) {
        ++CurrentPage;
        m_prompts.tell(this, QStringLiteral("Begin of the Book"));
    } else {
        PageNumber->setText(QString::number(CurrentPage + 1));
    }
    ShownPage = CurrentPage;
}

void frmMain::TextArea_KeyDown(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Left)
        CommandPre_Click();
    else if (key == Qt::Key_Right)
        CommandNext_Click();
}

void frmMain::TextArea_MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers, const QPoint &pos)
{
    if (buttons & Qt::RightButton)
        mnuEdit->popup(m_textArea->viewport()->mapToGlobal(pos));
}

void frmMain::File1_Click(const QString &fullPath)
{
    m_textArea->setText(fullPath);
}
