// The reader window's book state: loading a book and showing its pages.
#include "reader/frmMain.h"

#include "app/AppInfo.h"
#include "book/BaseName.h"
#include "platform/BusyCursor.h"
#include "platform/Drives.h"
#include "platform/FileDrops.h"
#include "platform/FitText.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/ShortcutsFirst.h"
#include "reader/EncodingMenu.h"
#include "reader/LabelSlot.h"
#include "reader/PageFitter.h"
#include "reader/PageFormatter.h"
#include "reader/RecentBooksMenu.h"
#include "reader/TextArea.h"
#include "reader/frmFindAll.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

// A book at least this large takes long enough to read that the window must stay drawn meanwhile.
constexpr qint64 kReadInBackground = qint64(64) << 20;

} // namespace

const QString frmMain::Hint =
    QStringLiteral("Use -> to go to next page and <- to go to previous page");

frmMain::Desktop frmMain::Desktop::system()
{
    static const SystemDrives drives;
    static DesktopLauncher launcher;
    static DesktopRegistry registry;
    return {drives, launcher, registry};
}

frmMain::frmMain(Prompts &prompts, GlobalData &data, const Desktop &desktop, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts), m_data(data), m_desktop(desktop)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    buildControls();
    buildMenus();
    openAtDesignSize();
    m_format = std::make_unique<PageFormatter>(*m_textArea, m_prompts, m_data, this);
    // A file dropped onto the window opens as File > Open opens it.
    connect(new FileDrops(this), &FileDrops::dropped, this, &frmMain::openBook);
    m_textArea->setAcceptDrops(false);
    new ShortcutsFirst(this);
}

frmMain::~frmMain() = default;

// ---- book loading ----------------------------------------------------------------------------

void frmMain::mnuFileOpen_Click()
{
    const QString path = m_prompts.openFile(
        this, QStringLiteral("Open"),
        QStringLiteral("Text Files (*.txt);;HTML Files (*.html *.htm);;Compressed Books and "
                       "Archives (*.gz *.bz2 *.xz *.zst *.lz4 *.zip *.7z *.tar *.tgz *.tbz2 "
                       "*.txz);;All Files (*)"));
    if (!path.isEmpty())
        openBook(path);
}

// A book opens in the encoding chosen for it last, and with "Jump To Last Read Page" where the
// reader left it.
void frmMain::openBook(const QString &path)
{
    const std::optional<BookHistory::Place> place = m_history.place(path);
    const bool resume = place && m_data.JumpToLastPage == VTrue;
    loadPath(path, resume ? std::optional(place->line) : std::nullopt,
             place ? TextCodec::encodingForName(place->encoding) : std::nullopt);
}

void frmMain::loadPath(const QString &path, std::optional<int> resumeLine,
                       std::optional<TextEncoding> encoding)
{
    leaveBook();
    m_state.openBook(path);
    m_state.chooseEncoding(encoding);
    m_state.resumeAt(resumeLine);
    LoadBook();
    saveHistorySoon();
}

// Written once the page is on show: the user does not wait for it, and a crash meanwhile loses
// no more than the place in the book being read. Writing takes in what another reader wrote,
// which the recent books then show.
void frmMain::saveHistorySoon()
{
    QTimer::singleShot(0, this, [this] {
        m_history.save();
        showRecentBooks();
    });
}

// The book shown is read anew in the encoding chosen, at the same line.
void frmMain::mnuViewEncoding_Click(std::optional<TextEncoding> encoding)
{
    if (m_state.bookPath().isEmpty()) {
        mnuViewEncoding->setCurrent(std::nullopt);
        return;
    }
    reloadBook(encoding);
}

// The book is read anew and shows the page that holds the line first on the page shown now.
void frmMain::reloadBook(std::optional<TextEncoding> encoding)
{
    const std::optional<int> line =
        m_state.bookOpened() ? std::optional(m_state.firstLineShown()) : std::nullopt;
    loadPath(m_state.bookPath(), line, encoding);
}

// What is kept of the book besides the place, its bookmarks and contents corrections, goes with
// it as it was read at the book's opening and changed since.
void frmMain::leaveBook()
{
    if (!m_state.bookOpened())
        return;
    const std::optional<TextEncoding> chosen = m_state.encodingChoice();
    m_record.path = m_state.bookPath();
    m_record.size = m_state.fileSize();
    m_record.line = m_state.firstLineShown();
    m_record.encoding = chosen ? TextCodec::charsetName(*chosen) : QString();
    m_history.remember(m_record);
}

void frmMain::showRecentBooks()
{
    mnuFileRecent->setBooks(m_history.recent());
}

void frmMain::showPageShare()
{
    showChapterShown();
    m_sharePanel->setText(m_state.pageShare());
    m_encodingPanel->setText(m_state.bookOpened() ? m_state.encodingName() : QString());
}

void frmMain::openFromFileList(const QString &fullPath)
{
    m_textArea->setText(fullPath);
    m_statusPanel->setText(fullPath);
    openBook(fullPath);
}

// Unloads the book: the window goes back to how start-up leaves it, and page numbers are
// refused until the next book is opened.
void frmMain::mnuFileClose_Click()
{
    leaveBook();
    m_history.save();
    m_fitter->stop();
    m_state.closeBook();
    forgetContents();
    if (m_findAll)
        m_findAll->setBook(nullptr);
    showPageShare();
    lblTitle->setText(QStringLiteral("Book Title"));
    PageTotal->clear();
    const QSignalBlocker quiet(PageNumber);
    PageNumber->clear();
    m_statusPanel->clear();
    m_textArea->setText(Hint);
    mnuFilePrint->setEnabled(false);
    menuOpenWith->setEnabled(false);
}

// A refused book leaves the book that was open as it was, its page back in view. With none open
// the header and the status bar name the refused file, as they would have named the book, and the
// page view shows the hint. The window is set before the message, which it then stands behind.
void frmMain::LoadBook()
{
    mnuFilePrint->setEnabled(true);
    menuOpenWith->setEnabled(true);
    const BookState::LoadAnswer answer =
        m_state.LoadBook(m_data.LinesPerPage, m_data.LastPage,
                         [this](const std::function<void()> &read) { readBook(read); });
    mnuViewEncoding->setCurrent(m_state.encodingChoice());
    if (!answer.choices.isEmpty()) {
        openMemberOf(m_state.requestedPath(), answer.choices);
        return;
    }
    if (!answer.loaded) {
        const QString refused = m_state.requestedPath();
        showBookName(m_state.bookPath());
        if (m_state.bookOpened())
            showCurrentPage();
        else
            m_textArea->setText(Hint);
        m_prompts.tell(this, answer.message);
        m_history.refused(refused);
        showRecentBooks();
        return;
    }
    const QString &path = m_state.bookPath();
    m_record = m_history.place(path).value_or(BookHistory::Place());
    showBookName(path);
    // Whichever way it was opened, the book is the one to come back to: exit stores its page.
    m_data.LastBook = path;
    m_history.addRecent(path);
    showRecentBooks();
    ApplyPageFormat();
    findContents();
    if (m_findAll)
        m_findAll->setBook(&m_state.book());
    m_fitter->stop();
    showPageTotal();
    if (m_state.book().isEmpty()) {
        m_textArea->setText(QString());
        const QSignalBlocker quiet(PageNumber);
        PageNumber->clear();
    } else if (fitting()) {
        fitPagesAt(answer.place);
    } else {
        PageNumber->setText(QStringLiteral("1"));
        m_textArea->setText(m_state.pageText(0));
        if (answer.jumpTo)
            PageNumber->setText(*answer.jumpTo);
    }
    showPageShare();
}

// A book of more than five digits of pages gets them in a smaller font.
void frmMain::showPageTotal()
{
    const QString total = QString::number(m_state.book().pageCount());
    for (QLineEdit *box : {PageTotal, PageNumber}) {
        box->setFont(m_pageBoxFont);
        if (total.size() > 5)
            FitText::fitBox(box, QString(total.size(), u'9'));
    }
    PageTotal->setText(total);
}

// A large book is read on a thread of its own while the window stays drawn and says it is busy;
// what the user does meanwhile waits until the book is read.
void frmMain::readBook(const std::function<void()> &read)
{
    if (QFileInfo(m_state.requestedPath()).size() < kReadInBackground) {
        read();
        return;
    }
    const BusyCursor busy(this);
    const QString before = m_statusPanel->text();
    m_statusPanel->setText(QStringLiteral("Reading %1...").arg(m_state.requestedPath()));
    m_reading = true;
    QEventLoop loop;
    std::unique_ptr<QThread> reader(QThread::create(read));
    connect(reader.get(), &QThread::finished, &loop, &QEventLoop::quit);
    reader->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    reader->wait();
    m_reading = false;
    m_statusPanel->setText(before);
}

// An archive of several books opens the one read from it last, or the one the reader chooses
// now; choosing none leaves all as it was.
void frmMain::openMemberOf(const QString &archive, const QList<ArchiveFile::Member> &members)
{
    QString member = m_history.memberReadLast(archive);
    const auto named = [&](const ArchiveFile::Member &m) {
        return m.name == member;
    };
    if (std::none_of(members.begin(), members.end(), named)) {
        QStringList items;
        for (const ArchiveFile::Member &m : members)
            items << (m.size < 0 ? m.name
                                 : QStringLiteral("%1 (%2)").arg(
                                     m.name, QLocale().formattedDataSize(m.size)));
        const std::optional<int> chosen = m_prompts.chooseItem(
            this,
            QStringLiteral("This archive holds several books. Which one do you want to read?"),
            QStringLiteral("Open"), items);
        if (!chosen)
            return;
        member = members.at(*chosen).name;
    }
    openBook(BookSource::join(archive, member));
}

void frmMain::showBookName(const QString &path)
{
    m_statusPanel->setText(path);
    lblTitle->setText(m_state.bookOpened() && path == m_state.bookPath() ? m_state.title()
                                                                         : BaseName(path));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
}

// The page the reader is at, through the page-number box, in place of whatever the view was
// given meanwhile (a path the file panel showed).
void frmMain::showCurrentPage()
{
    if (m_state.book().isEmpty())
        m_textArea->clear();
    else
        showAnswer({{}, QString::number(m_state.currentPage() + 1), {}, {}});
}

void frmMain::ApplyPageFormat()
{
    m_format->apply();
}

// ---- page display and navigation -------------------------------------------------------------

void frmMain::showAnswer(const BookState::Answer &answer)
{
    if (!answer.message.isEmpty())
        m_prompts.tell(this, answer.message);
    if (answer.pageNumber) {
        if (PageNumber->text() == *answer.pageNumber)
            PageNumber_Change();
        else
            PageNumber->setText(*answer.pageNumber);
    }
    if (answer.showPage) {
        m_textArea->setText(m_state.pageText(*answer.showPage));
        lightPage();
        showPageShare();
    }
    if (answer.matchAt)
        m_textArea->find(m_state.searchText(), *answer.matchAt);
}

void frmMain::PageNumber_Change()
{
    showAnswer(m_state.PageNumber_Change(PageNumber->text()));
}

void frmMain::CommandNext_Click()
{
    showAnswer(m_state.CommandNext_Click());
}

void frmMain::CommandPre_Click()
{
    showAnswer(m_state.CommandPre_Click());
}

void frmMain::TextArea_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (const auto answer = m_state.pageKey(key, modifiers))
        showAnswer(*answer);
}

void frmMain::TextArea_WheelTurn(int step)
{
    showAnswer(m_state.turnQuietly(step));
}

void frmMain::mnuViewGoToPage_Click()
{
    if (m_layout.pageOnly())
        mnuViewFullScreen_Click();
    PageNumber->setFocus(Qt::ShortcutFocusReason);
    PageNumber->selectAll();
}

// The page view alone, on the whole screen; F11 or Esc brings the window back as it was.
void frmMain::mnuViewFullScreen_Click()
{
    const bool on = !m_layout.pageOnly();
    m_layout.setFullScreen(*this, on);
    mnuViewFullScreen->setChecked(on);
    m_textArea->setFocus();
}

void frmMain::TextArea_MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers, const QPoint &pos)
{
    if (!(buttons & Qt::RightButton))
        return;
    m_popupPoint = pos;
    const bool line = m_contents && m_state.bookOpened();
    for (const char *name : {"mnuPopupMarkChapter", "mnuPopupNotChapter"})
        m_pagePopup->findChild<QAction *>(QLatin1String(name))->setEnabled(line);
    m_pagePopup->popup(m_textArea->viewport()->mapToGlobal(pos));
}

void frmMain::File1_Click(const QString &fullPath)
{
    m_textArea->setText(fullPath);
}
