#pragma once

#include "book/Book.h"
#include "settings/GlobalData.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class Prompts;
class TextArea;

// The reader window: it owns the book state and shows one page of the book at a time.
// Pages are shown only through the page-number box: code that wants a page puts its number
// into PageNumber, whose change handler validates it and shows the page.
class frmMain : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY(frmMain)

public:
    frmMain(Prompts &prompts, GlobalData &data, QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: the hint, the settings from configFile, the page format, the last book.
    void Form_Load(const QString &configFile);

    // Book loading.
    void LoadBook();
    void ApplyPageFormat();
    void mnuFileOpen_Click();
    // Opens fullPath from the file panel and remembers it as the last book.
    void openFromFileList(const QString &fullPath);

    // Page display and navigation.
    void PageNumber_Change();
    void CommandNext_Click();
    void CommandPre_Click();
    void TextArea_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    // Book state, for the window's commands and for tests.
    const QString &bookPath() const { return BookPath; }
    const Book &book() const { return m_book; }
    int currentPage() const { return CurrentPage; }
    int lastPageIndex() const { return LastPageIndex; }
    int shownPage() const { return ShownPage; }
    bool bookOpened() const { return BookOpened; }

    TextArea *textArea() const { return m_textArea; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    QAction *addAction(QMenu *menu, const char *name, const QString &text,
                       const QKeySequence &shortcut = {});
    void reportLoadFailure(const Book::LoadResult &result);
    void Form_Unload();

    Prompts &m_prompts;
    GlobalData &m_data;
    QString m_configFile;

    // Book state.
    QString BookPath;
    Book m_book;
    bool BookOpened = false;
    int PageIndex = 0;
    int CurrentPage = 0;
    int LastPageIndex = 0;
    int ShownPage = 0;
    bool OpenAtStartup = false;

    QWidget *m_client = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *PageTotal = nullptr;
    QLineEdit *PageNumber = nullptr;
    TextArea *m_textArea = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    QLabel *m_statusPanel = nullptr;

    QAction *mnuFileOpen = nullptr;
    QAction *mnuFilePrint = nullptr;
    QAction *mnuFileExit = nullptr;
    QAction *menuOpenWith = nullptr;
};
