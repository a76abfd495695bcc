#include "reader/frmMain.h"

#include "app/AppInfo.h"
#include "book/BaseName.h"
#include "book/PageNumberRule.h"
#include "platform/OleColor.h"
#include "platform/Prompts.h"
#include "reader/TextArea.h"
#include "reader/Twips.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

namespace {

const QString kHint = QStringLiteral("Use -> to go to next page and <- to go to previous page");

// The open dialog's filter, as "description|patterns" pairs joined by "|".
QString openFilter()
{
    return QStringLiteral("Text Files (*.txt);;HTML Files (*.html *.htm);;All Files (*)");
}

} // namespace

frmMain::frmMain(Prompts &prompts, GlobalData &data, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts), m_data(data)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    buildControls();
    buildMenus();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(m_client);

    lblTitle = new QLabel(QStringLiteral("Book Title"), m_client);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    Label2 = new QLabel(QStringLiteral("Total Pages:"), m_client);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("Page:"), m_client);
    Label1->setObjectName(QStringLiteral("Label1"));
    PageTotal = new QLineEdit(m_client);
    PageTotal->setObjectName(QStringLiteral("PageTotal"));
    PageTotal->setReadOnly(true);
    PageNumber = new QLineEdit(m_client);
    PageNumber->setObjectName(QStringLiteral("PageNumber"));
    m_textArea = new TextArea(m_client);
    m_textArea->setObjectName(QStringLiteral("TextArea"));
    sbStatusBar = new QStatusBar(m_client);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusPanel = new QLabel(sbStatusBar);
    m_statusPanel->setObjectName(QStringLiteral("sbStatusBarPanel1"));
    sbStatusBar->addWidget(m_statusPanel, 1);

    Twips::place(Label2, 2280, 480, 900, 195);
    Twips::place(PageTotal, 3240, 480, 615, 288);
    Twips::place(lblTitle, 3960, 480, 4455, 375);
    Twips::place(Label1, 8640, 480, 420, 195);
    Twips::place(PageNumber, 9120, 480, 732, 288);
    Twips::place(m_textArea, 2280, 840, 7695, 7215);
    Twips::place(sbStatusBar, 0, 8100, 10005, 270);
    m_client->setMinimumSize(Twips::toPixels(10005, this), Twips::toPixels(8370, this));

    connect(PageNumber, &QLineEdit::textChanged, this, &frmMain::PageNumber_Change);
    connect(m_textArea, &TextArea::keyDown, this, &frmMain::TextArea_KeyDown);
}

QAction *frmMain::addAction(QMenu *menu, const char *name, const QString &text,
                            const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void frmMain::buildMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileOpen = addAction(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."),
                            QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFilePrint = addAction(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."),
                             QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileExit = addAction(mnuFile, "mnuFileExit", QStringLiteral("E&xit"),
                            QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu *mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    menuOpenWith = addAction(mnuTools, "menuOpenWith", QStringLiteral("Open With NotePad"));

    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
}

// ---- start-up and exit ---------------------------------------------------------------------

void frmMain::Form_Load(const QString &configFile)
{
    m_textArea->setText(kHint);
    mnuFilePrint->setEnabled(false);
    menuOpenWith->setEnabled(false);
    CurrentPage = 0;
    OpenAtStartup = false;
    m_configFile = configFile;
    const SettingsFileResult read = SaveLoadGlobalData(m_configFile, false, m_data);
    if (!read.ok)
        m_prompts.tell(this,
                       QStringLiteral("The settings could not be read, the defaults are "
                                      "used:\n%1")
                           .arg(read.error));
    ApplyPageFormat();
    if (!m_data.LastBook.isEmpty() && m_data.LoadLastBook == VTrue) {
        BookPath = m_data.LastBook;
        OpenAtStartup = true;
        LoadBook();
    }
}

void frmMain::Form_Unload()
{
    m_data.LastPage = qint16(CurrentPage);
    if (m_configFile.isEmpty())
        return;
    const SettingsFileResult written = SaveLoadGlobalData(m_configFile, true, m_data);
    if (!written.ok)
        m_prompts.tell(this,
                       QStringLiteral("The settings could not be saved:\n%1").arg(written.error));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

// ---- book loading ----------------------------------------------------------------------------

void frmMain::mnuFileOpen_Click()
{
    const QString path = m_prompts.openFile(this, QStringLiteral("Open"), openFilter());
    if (path.isEmpty())
        return;
    BookPath = path;
    PageIndex = 0;
    LoadBook();
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
        text = QStringLiteral("Previous open file not exist");
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
