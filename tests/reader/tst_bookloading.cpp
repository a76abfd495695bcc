// Opening books in the reader window: what the header, status bar, menus and page view show
// after a load, after a failed one, and when start-up reopens the last book.
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/RecordCodec.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_bookloading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensAtPageOne_data();
    void opensAtPageOne();
    void missingBookKeepsThePreviousOne();
    void missingBookEnablesTheBookCommands();
    void bookBeyondThePageLimit();
    void cancelledOpenChangesNothing();
    void emptyBook();
    void onlyTheFileListRemembersTheBook();
    void fileListShowsTheNameOfAMissingBook();
    void startupReopensTheLastBook_data();
    void startupReopensTheLastBook();
    void failedReopenDoesNotJumpInTheNextBook();
    void startupFormatReachesThePages();

private:
    void start();
    QString book(const QString &name, const QByteArray &bytes);
    void open(const QString &path);
    void saveSettings(const GlobalData &data);
    QString text(const char *name) const;
    bool enabled(const char *action) const;
    QString page() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompts m_prompts;
    GlobalData m_data;
    std::unique_ptr<frmMain> m_window;
};

void tst_bookloading::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_bookloading::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompts.reset();
    m_data = GlobalData::defaults();
}

void tst_bookloading::cleanup()
{
    m_window.reset();
}

// A window started on this test's config.ini, as the program starts it.
void tst_bookloading::start()
{
    m_window = std::make_unique<frmMain>(m_prompts, m_data);
    m_window->Form_Load(m_dir->filePath(QStringLiteral("config/config.ini")));
    m_window->show();
}

QString tst_bookloading::book(const QString &name, const QByteArray &bytes)
{
    return TestFiles::write(m_dir->filePath(name), bytes);
}

// File > Open with path chosen in the dialog.
void tst_bookloading::open(const QString &path)
{
    m_prompts.files.enqueue(path);
    m_window->mnuFileOpen_Click();
}

void tst_bookloading::saveSettings(const GlobalData &data)
{
    TestFiles::write(m_dir->filePath(QStringLiteral("config/config.ini")),
                     RecordCodec::encode(data));
}

QString tst_bookloading::text(const char *name) const
{
    const QString objectName = QString::fromLatin1(name);
    if (const auto *edit = m_window->findChild<QLineEdit *>(objectName))
        return edit->text();
    if (const auto *label = m_window->findChild<QLabel *>(objectName))
        return label->text();
    qWarning("no control %s", name);
    return QStringLiteral("<none>");
}

bool tst_bookloading::enabled(const char *action) const
{
    const auto *item = m_window->findChild<QAction *>(QString::fromLatin1(action));
    return item && item->isEnabled();
}

// The page view's text as the reader put it there, line ends as CR LF.
QString tst_bookloading::page() const
{
    QString shown = m_window->textArea()->text();
    shown.replace(u'\n', QStringLiteral("\r\n"));
    return shown;
}

void tst_bookloading::opensAtPageOne_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("pageTotal");

    QTest::newRow("31 lines at 15")
        << QStringLiteral("b.c.txt") << 31 << 15 << QStringLiteral("b.c") << QStringLiteral("3");
    QTest::newRow("30 lines at 15") << QStringLiteral("War.and.Peace.txt") << 30 << 15
                                    << QStringLiteral("War.and.Peace") << QStringLiteral("2");
    QTest::newRow("no extension") << QStringLiteral("README") << 3 << 1 << QStringLiteral("README")
                                  << QStringLiteral("3");
    QTest::newRow("HTML read as text")
        << QStringLiteral("page.html") << 2 << 15 << QStringLiteral("page") << QStringLiteral("1");
}

void tst_bookloading::opensAtPageOne()
{
    QFETCH(QString, name);
    QFETCH(int, lines);
    QFETCH(int, linesPerPage);
    QFETCH(QString, title);
    QFETCH(QString, pageTotal);

    m_data.LinesPerPage = qint16(linesPerPage);
    saveSettings(m_data);
    start();
    QVERIFY(!enabled("mnuFilePrint"));
    QVERIFY(!enabled("menuOpenWith"));

    const QString path = book(name, TestFiles::lines(lines, "\n"));
    open(path);
    QCOMPARE(m_prompts.messages(), QStringList());
    QCOMPARE(text("lblTitle"), title);
    QVERIFY(m_window->findChild<QLabel *>(QStringLiteral("lblTitle"))->font().bold());
    QCOMPARE(text("sbStatusBarPanel1"), path);
    QCOMPARE(text("PageTotal"), pageTotal);
    QCOMPARE(text("PageNumber"), QStringLiteral("1"));
    QCOMPARE(m_window->state().currentPage(), 0);
    QCOMPARE(m_window->state().lastPageIndex(), pageTotal.toInt() - 1);
    QCOMPARE(page(), m_window->state().book().pageText(0));
    QVERIFY(page().startsWith(QStringLiteral("line 1\r\n")));
    QVERIFY(enabled("mnuFilePrint"));
    QVERIFY(enabled("menuOpenWith"));
}

// The header and status bar name the book that was asked for; the pages stay the old book's.
void tst_bookloading::missingBookKeepsThePreviousOne()
{
    start();
    open(book(QStringLiteral("good.txt"), TestFiles::lines(40)));
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    const QString shown = page();
    m_prompts.reset();

    const QString missing = m_dir->filePath(QStringLiteral("gone away.txt"));
    open(missing);
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Previous open file not exist")});
    QCOMPARE(text("lblTitle"), QStringLiteral("gone away"));
    QCOMPARE(text("sbStatusBarPanel1"), missing);
    QCOMPARE(text("PageTotal"), QStringLiteral("3"));
    QCOMPARE(page(), shown);
    QCOMPARE(m_window->state().book().pageCount(), 3);
    QVERIFY(enabled("mnuFilePrint"));
    QVERIFY(enabled("menuOpenWith"));
}

void tst_bookloading::missingBookEnablesTheBookCommands()
{
    start();
    open(m_dir->filePath(QStringLiteral("nowhere.txt")));
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Previous open file not exist")});
    QCOMPARE(text("lblTitle"), QStringLiteral("nowhere"));
    QCOMPARE(page(), frmMain::Hint);
    QVERIFY(enabled("mnuFilePrint"));
    QVERIFY(enabled("menuOpenWith"));
}

// A book of more pages than the reader can count is refused with a message that says so, and
// the window stays as a failed open leaves it.
void tst_bookloading::bookBeyondThePageLimit()
{
    m_data.LinesPerPage = 1;
    saveSettings(m_data);
    start();
    open(book(QStringLiteral("small.txt"), TestFiles::lines(3)));
    const QString shown = page();
    m_prompts.reset();

    QByteArray huge;
    for (int i = 0; i <= 32767; ++i)
        huge += "x\n";
    const QString path = book(QStringLiteral("huge.txt"), huge);
    open(path);
    const QStringList messages = m_prompts.messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(QStringLiteral("32767"))
                 && messages.first().contains(QStringLiteral("pages"))
                 && messages.first().contains(QStringLiteral("huge.txt")),
             qPrintable(messages.first()));
    QCOMPARE(text("lblTitle"), QStringLiteral("huge"));
    QCOMPARE(text("sbStatusBarPanel1"), path);
    QCOMPARE(text("PageTotal"), QStringLiteral("3"));
    QCOMPARE(page(), shown);
    QVERIFY(enabled("mnuFilePrint"));
    QVERIFY(enabled("menuOpenWith"));
}

void tst_bookloading::cancelledOpenChangesNothing()
{
    start();
    const QString path = book(QStringLiteral("kept.txt"), TestFiles::lines(20));
    open(path);
    m_prompts.reset();

    m_window->findChild<QAction *>(QStringLiteral("mnuFileOpen"))->trigger(); // and cancel
    QCOMPARE(m_prompts.calls.size(), 1);
    QCOMPARE(m_prompts.calls.first().kind, ScriptedPrompts::Call::OpenFile);
    QCOMPARE(m_prompts.calls.first().text, QStringLiteral("Open"));
    QVERIFY(m_prompts.lastFilter.contains(QStringLiteral("*.txt")));
    QVERIFY(m_prompts.lastFilter.contains(QStringLiteral("*.htm")));
    QCOMPARE(text("lblTitle"), QStringLiteral("kept"));
    QCOMPARE(text("sbStatusBarPanel1"), path);
    QCOMPARE(text("PageTotal"), QStringLiteral("2"));
    QCOMPARE(text("PageNumber"), QStringLiteral("1"));
    QCOMPARE(page(), m_window->state().book().pageText(0));
}

void tst_bookloading::emptyBook()
{
    start();
    open(book(QStringLiteral("first.txt"), TestFiles::lines(20)));
    open(book(QStringLiteral("empty.txt"), QByteArray()));
    QCOMPARE(m_prompts.messages(), QStringList());
    QCOMPARE(text("lblTitle"), QStringLiteral("empty"));
    QCOMPARE(text("PageTotal"), QStringLiteral("0"));
    QCOMPARE(m_window->textArea()->text(), QString());
    QCOMPARE(m_window->state().lastPageIndex(), -1);

    m_window->CommandNext_Click();
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("End of the Book")});
    m_window->CommandPre_Click();
    QCOMPARE(m_prompts.messages().last(), QStringLiteral("Begin of the Book"));
    QCOMPARE(m_window->textArea()->text(), QString());
}

void tst_bookloading::onlyTheFileListRemembersTheBook()
{
    start();
    const QString listed = book(QStringLiteral("listed.txt"), TestFiles::lines(5));
    const QString opened = book(QStringLiteral("opened.txt"), TestFiles::lines(5));

    m_window->openFromFileList(listed);
    QCOMPARE(m_data.LastBook, listed);
    QCOMPARE(text("lblTitle"), QStringLiteral("listed"));

    open(opened);
    QCOMPARE(text("lblTitle"), QStringLiteral("opened"));
    QCOMPARE(m_data.LastBook, listed);
    QCOMPARE(m_prompts.messages(), QStringList());
}

// The full name goes into the page view first, so that it stays in sight when the load fails.
void tst_bookloading::fileListShowsTheNameOfAMissingBook()
{
    start();
    const QString missing = m_dir->filePath(QStringLiteral("shelf/lost.txt"));
    m_window->openFromFileList(missing);
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Previous open file not exist")});
    QCOMPARE(m_window->textArea()->text(), missing);
    QCOMPARE(text("sbStatusBarPanel1"), missing);
    QCOMPARE(m_data.LastBook, missing);
}

void tst_bookloading::startupReopensTheLastBook_data()
{
    QTest::addColumn<int>("loadLastBook");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<QString>("pageNumber"); // empty: the book is not reopened
    QTest::addColumn<int>("currentPage");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("reopen at page 3") << -1 << 2 << QStringLiteral("3") << 2 << QStringList();
    QTest::newRow("reopen at page 1") << -1 << 0 << QStringLiteral("1") << 0 << QStringList();
    QTest::newRow("last page beyond the book")
        << -1 << 9 << QStringLiteral("10") << 0 << QStringList {QStringLiteral("NO Such Page")};
    QTest::newRow("1 is not True") << 1 << 2 << QString() << 0 << QStringList();
    QTest::newRow("off") << 0 << 2 << QString() << 0 << QStringList();
}

void tst_bookloading::startupReopensTheLastBook()
{
    QFETCH(int, loadLastBook);
    QFETCH(int, lastPage);
    QFETCH(QString, pageNumber);
    QFETCH(int, currentPage);
    QFETCH(QStringList, messages);

    const QString path = book(QStringLiteral("last.txt"), TestFiles::lines(40));
    GlobalData saved = GlobalData::defaults();
    saved.LoadLastBook = VBool(loadLastBook);
    saved.LastBook = path;
    saved.LastPage = qint16(lastPage);
    saveSettings(saved);

    start();
    QCOMPARE(m_prompts.messages(), messages);
    QCOMPARE(text("PageNumber"), pageNumber);
    QCOMPARE(m_window->state().currentPage(), currentPage);
    if (pageNumber.isEmpty()) {
        QCOMPARE(page(), frmMain::Hint);
        QVERIFY(!enabled("mnuFilePrint"));
    } else {
        QCOMPARE(text("lblTitle"), QStringLiteral("last"));
        QCOMPARE(text("PageTotal"), QStringLiteral("3"));
        QCOMPARE(page(), m_window->state().book().pageText(currentPage));
    }
}

// The jump to the page last read belongs to the start-up reopening only: when that fails, the
// next book opens at its first page.
void tst_bookloading::failedReopenDoesNotJumpInTheNextBook()
{
    GlobalData saved = GlobalData::defaults();
    saved.LoadLastBook = VTrue;
    saved.LastBook = m_dir->filePath(QStringLiteral("deleted.txt"));
    saved.LastPage = 2;
    saveSettings(saved);

    start();
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Previous open file not exist")});
    QCOMPARE(text("lblTitle"), QStringLiteral("deleted"));
    m_prompts.reset();

    open(book(QStringLiteral("other.txt"), TestFiles::lines(45)));
    QCOMPARE(m_prompts.messages(), QStringList());
    QCOMPARE(text("PageNumber"), QStringLiteral("1"));
    QCOMPARE(m_window->state().currentPage(), 0);
    QCOMPARE(page(), m_window->state().book().pageText(0));
}

// The format kept in config.ini reaches every page of a book opened later.
void tst_bookloading::startupFormatReachesThePages()
{
    GlobalData saved = GlobalData::defaults();
    saved.FontSize = 19;
    saved.FontBold = VTrue;
    saved.ForeColor = VariantValue::fromLong(0x0000FF); // red, as 0x00BBGGRR
    saveSettings(saved);
    start();

    open(book(QStringLiteral("formatted.txt"), TestFiles::lines(31)));
    m_window->CommandNext_Click();
    QCOMPARE(text("PageNumber"), QStringLiteral("2"));
    TextArea *view = m_window->textArea();
    view->selectWholeText();
    QCOMPARE(view->selFontSize(), std::optional<double>(19));
    QCOMPARE(view->selBold(), std::optional<bool>(true));
    QCOMPARE(view->selColor(), std::optional<QColor>(QColor(255, 0, 0)));
}

QTEST_MAIN(tst_bookloading)
#include "tst_bookloading.moc"
