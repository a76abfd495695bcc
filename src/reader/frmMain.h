#pragma once

#include "book/BookSearch.h"
#include "book/BookState.h"
#include "book/Bookmarks.h"
#include "book/LineAnchor.h"
#include "reader/ReaderLayout.h"
#include "settings/BookHistory.h"
#include "settings/GlobalData.h"
#include "settings/ReadingLayout.h"

#include <QFont>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QPrinter;
class QToolBar;
class Drives;
class ContentsPanel;
class ContentsWorker;
class FilePanel;
class frmFindAll;
class LabelSlot;
class Launcher;
class EncodingMenu;
class PageFitter;
class PageFormatter;
class RecentBooksMenu;
class Prompts;
class Registry;
class TextArea;
struct ColorScheme;

// The reader window: it shows one page of the book at a time. The book state and its rules are
// BookState's, the page view's format PageFormatter's; the window wires its controls to them
// and shows their answers. Pages are shown only through the page-number box: code that wants a
// page puts its number into PageNumber, whose change handler asks BookState and shows the page.
//
// The class is split by concern: frmMain.cpp (book loading and page navigation),
// frmMainLayout.cpp (controls, menus, toolbar and the resize rule), frmMainSession.cpp
// (start-up and exit), frmMainCommands.cpp (the menu and toolbar commands), frmMainLook.cpp
// (the colour schemes and the page layout).
class frmMain : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY(frmMain)

public:
    static const QString Hint; // what the page view shows until a book is opened

    // What the desktop gives the window's commands: its drives, the programs it starts and the
    // registry of the system information tool.
    struct Desktop
    {
        const Drives &drives;
        Launcher &launcher;
        Registry &registry;
        // The real ones.
        static Desktop system();
    };

    frmMain(Prompts &prompts, GlobalData &data, const Desktop &desktop = Desktop::system(),
            QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up and exit.
    void Form_Load(const QString &configFile);
    void Form_Unload();

    // Book loading.
    void LoadBook();
    void ApplyPageFormat();
    void mnuFileOpen_Click();
    // Opens path as File > Open does; once loaded it is the last book and the newest of the
    // recent books, and with "Jump To Last Read Page" it opens where the reader left it.
    void openBook(const QString &path);
    void mnuFileClose_Click();
    // Opens fullPath from the file panel, showing the path while it loads.
    void openFromFileList(const QString &fullPath);

    // Page display and navigation.
    void PageNumber_Change();
    void CommandNext_Click();
    void CommandPre_Click();
    void TextArea_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void TextArea_WheelTurn(int step);
    void mnuViewGoToPage_Click();
    void mnuViewFullScreen_Click();
    void mnuViewEncoding_Click(std::optional<TextEncoding> encoding);
    void TextArea_MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                            const QPoint &pos);

    // Layout and view toggles.
    void Form_Resize();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewFileSystem_Click();
    void cmdCloseFile_Click();
    void File1_Click(const QString &fullPath);

    // Contents.
    void mnuViewContents_Click();
    void mnuViewNextChapter_Click();
    void mnuViewPreviousChapter_Click();
    void mnuViewChapterPattern_Click();
    void mnuViewChapterAutomatic_Click();
    void mnuPopupMarkChapter_Click();
    void mnuPopupNotChapter_Click();

    // Bookmarks.
    void mnuBookmarksAdd_Click();
    void mnuBookmarksEdit_Click();

    // Search.
    void mnuToolsFind_Click();
    void mnuToolsFindNext_Click();
    void mnuToolsFindPrevious_Click();
    void mnuToolsFindAll_Click();
    void mnuViewEscape_Click();

    // Printing, clipboard and launches.
    void mnuFilePrint_Click();
    void mnuFilePageSetup_Click();
    void mnuEditCopy_Click();
    void menuOpenWith_Click();
    void mnuHelpTopic_Click();
    void mnuFileExit_Click();

    // The other windows.
    void mnuTextTools_Click();
    void mnuHelpAbout_Click();

    // Options.
    void mnuViewOptions_Click();

    // Toolbar and formatting.
    void tbToolBar_ButtonClick(QAction *button);
    void mnuFont_Click();

    // The page's look.
    void mnuViewScheme_Click(const ColorScheme &scheme);
    void mnuViewPageLayout_Click();
    void mnuViewFitPages_Click();

    // The printer Print uses; Page Setup chooses it.
    QPrinter &printer();

    // The book state, for the window's commands and for tests.
    const BookState &state() const { return m_state; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void openAtDesignSize();
    QAction *addMenuItem(QMenu *menu, const char *name, const char *captionId,
                         void (frmMain::*handler)(), const QKeySequence &shortcut = {});
    QMenu *addSubMenu(QMenu *parent, const char *name, const char *captionId);
    // The file panel, the contents or none beside the page view.
    void showPanel(QWidget *panel);
    void findContents(bool sameBook = false);
    void forgetContents();
    void showContents(std::shared_ptr<const BookContents> contents);
    void showChapterShown();
    void setChapterMarks(const ChapterMarks &marks);
    std::optional<LineAnchor> lineUnderPointer() const;
    void keepBookmarks();
    QList<Bookmarks::Place> bookmarkPlaces() const;
    void showBookmarksMenu();
    // Records where the reader leaves the open book.
    void leaveBook();
    void saveHistorySoon();
    void showRecentBooks();
    void loadPath(const QString &path, std::optional<int> resumeLine,
                  std::optional<TextEncoding> encoding);
    void reloadBook(std::optional<TextEncoding> encoding);
    void showPageShare();
    // The layout file's record, read at start-up and put on the page.
    void loadReadingLayout();
    // Writes the layout record to its file, or says why it could not.
    void keepReadingLayout();
    void showSchemeMenu();
    // Cuts the book's pages to what the page view shows, or back to the lines per page, as the
    // layout record's fitPages says (frmMainFit.cpp).
    void applyFitPages();
    void showBookName(const QString &path);
    void readBook(const std::function<void()> &read);
    void openMemberOf(const QString &archive, const QList<ArchiveFile::Member> &members);
    // The text whose matches the page shown lights, and how they match.
    struct Lit
    {
        QString text;
        BookSearch::Options options;
    };
    void showFoundAt(qsizetype offset);
    void lightSearch(const BookState::Answer &answer);
    void light(const std::optional<Lit> &lit);
    void lightPage();
    void showCurrentPage();
    void showPageTotal();
    // Pages cut to the page view (frmMainFit.cpp).
    bool fitting() const;
    void fitPagesAt(qsizetype place);
    void takeFittedPages(qsizetype place, bool show);
    void fitCounted();
    void refitIfChanged();
    void refreshPagesListed();
    // Shows what BookState answered: its message, its page-number box text (the box's handler
    // runs also when the box already holds it), the page, the search match.
    void showAnswer(const BookState::Answer &answer);

    Prompts &m_prompts;
    GlobalData &m_data;
    Desktop m_desktop;
    QString ConfigFile;

    BookState m_state;
    std::unique_ptr<PageFormatter> m_format;

    std::unique_ptr<QPrinter> m_printer;

    ReaderLayout m_layout;
    BookHistory m_history;
    BookHistory::Place m_record; // of the open book
    ReadingLayout m_readingLayout;

    QWidget *m_client = nullptr;
    QToolBar *tbToolBar = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    QLabel *m_statusPanel = nullptr;
    LabelSlot *m_sharePanel = nullptr;
    QLabel *m_encodingPanel = nullptr;
    FilePanel *frmFile = nullptr;
    ContentsPanel *frmContents = nullptr;
    ContentsWorker *m_contentsWorker = nullptr;
    std::shared_ptr<const BookContents> m_contents; // of the open book, once found
    LabelSlot *m_chapterPanel = nullptr;
    QMenu *m_pagePopup = nullptr;
    QPoint m_popupPoint; // of the last right click in the page view
    bool m_reading = false; // a book is being read on a thread
    frmFindAll *m_findAll = nullptr;
    std::optional<Lit> m_lit;
    PageFitter *m_fitter = nullptr;
    bool m_fitPages = false; // as the layout record said when last applied
    QFont m_pageBoxFont; // the page boxes' font for five digits
    QLabel *lblTitle = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *PageTotal = nullptr;
    QLineEdit *PageNumber = nullptr;
    TextArea *m_textArea = nullptr;
    QPushButton *CommandPre = nullptr;
    QPushButton *CommandNext = nullptr;

    QMenu *mnuEdit = nullptr;
    QAction *mnuFilePrint = nullptr;
    RecentBooksMenu *mnuFileRecent = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QAction *mnuViewFileSystem = nullptr;
    QAction *mnuViewContents = nullptr;
    QMenu *mnuBookmarks = nullptr;
    QList<QAction *> m_bookmarkEntries; // of the open book, under mnuBookmarks
    QAction *mnuViewNextChapter = nullptr;
    QAction *mnuViewPreviousChapter = nullptr;
    QAction *mnuViewFullScreen = nullptr;
    QMenu *mnuViewScheme = nullptr;
    QAction *mnuViewFitPages = nullptr;
    EncodingMenu *mnuViewEncoding = nullptr;
    QAction *m_escape = nullptr;
    QAction *menuOpenWith = nullptr;
};
