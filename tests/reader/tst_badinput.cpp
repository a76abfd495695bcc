// Bad input through the real reader window: each case ends in a clear message, nothing is
// lost, and the window goes on working.
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/RecordCodec.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_badinput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();

    void unreadableBooks_data();
    void unreadableBooks();
    void settingsThatCannotBeRead();
    void settingsThatCannotBeWritten();
    void fullDiskAtExitKeepsTheSettings();
    void damagedSettingsStartWithWhatTheyHold();

private:
    std::unique_ptr<frmMain> start(const QString &config);

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    GlobalData m_data;
};

void tst_badinput::init()
{
    m_prompts.reset();
    m_data = GlobalData();
}

std::unique_ptr<frmMain> tst_badinput::start(const QString &config)
{
    auto window = std::make_unique<frmMain>(m_prompts, m_data);
    window->Form_Load(config);
    window->show();
    return window;
}

void tst_badinput::unreadableBooks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // a part of the message

    QTest::newRow("binary") << QStringLiteral("tool.bin") << QByteArray("MZ\x90\0\x03\0\0\0", 8)
                            << QStringLiteral("not a plain-text book");
    QTest::newRow("folder") << QStringLiteral("shelf") << QByteArray()
                            << QStringLiteral("folder, not a book");
    QTest::newRow("missing") << QStringLiteral("nowhere.txt") << QByteArray()
                             << QStringLiteral("Previous open file not exist");
}

void tst_badinput::unreadableBooks()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    const QString good =
        TestFiles::write(m_dir.filePath(QStringLiteral("good.txt")), TestFiles::lines(40));
    const QString bad = m_dir.filePath(name);
    if (name == QLatin1String("shelf"))
        QDir().mkpath(bad);
    else if (!bytes.isEmpty())
        TestFiles::write(bad, bytes);

    auto window = start(m_dir.filePath(QStringLiteral("config.ini")));
    window->openBook(good);
    window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    const QString page = window->textArea()->text();
    m_prompts.reset();

    window->openBook(bad);
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY2(m_prompts.messages().first().contains(expected),
             qPrintable(m_prompts.messages().first()));
    // The previous book's page stays in view, and page numbers are refused until a book opens.
    QCOMPARE(window->textArea()->text(), page);
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("PageTotal"))->text(),
             QStringLiteral("3"));
    window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("1"));
    QCOMPARE(m_prompts.messages().last(), QStringLiteral("please open a book first"));

    window->openBook(good);
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->text(),
             QStringLiteral("1"));
    QVERIFY(window->state().bookOpened());
}

void tst_badinput::settingsThatCannotBeRead()
{
    const QString config = m_dir.filePath(QStringLiteral("asfolder/config.ini"));
    QDir().mkpath(config);
    auto window = start(config);
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(QStringLiteral("settings could not be read")));
    QCOMPARE(m_data.LinesPerPage, qint16(15)); // the defaults, all the same
    window->close();
    QCOMPARE(m_prompts.messages().size(), 2);
    QVERIFY(m_prompts.messages().last().contains(QStringLiteral("could not be saved")));
    QVERIFY(QFileInfo(config).isDir());
}

// A write that fails leaves the old file whole: here the folder for the temporary file is gone
// and a regular file stands in its place, as a full or broken disk would refuse it.
void tst_badinput::settingsThatCannotBeWritten()
{
    const QString folder = m_dir.filePath(QStringLiteral("lost"));
    const QString config = folder + QStringLiteral("/config.ini");
    GlobalData saved = GlobalData::defaults();
    saved.LastBook = QStringLiteral("/books/kept.txt");
    TestFiles::write(config, RecordCodec::encode(saved));

    auto window = start(config);
    QVERIFY(m_prompts.messages().isEmpty());
    QCOMPARE(m_data.LastBook, QStringLiteral("/books/kept.txt"));
    const QByteArray before = TestFiles::read(config);
    QVERIFY(QDir(folder).removeRecursively());
    TestFiles::write(folder, "not a folder");
    m_data.LastBook = QStringLiteral("/books/new.txt");
    window->close();

    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(QStringLiteral("could not be saved")));
    QFile::remove(folder);
    TestFiles::write(config, before);
    GlobalData check;
    RecordCodec::decode(TestFiles::read(config), check);
    QCOMPARE(check.LastBook, QStringLiteral("/books/kept.txt"));
}

// The disk fills up as the settings are saved at exit: the message says so, and the settings
// of the session before are still there to start with next time.
void tst_badinput::fullDiskAtExitKeepsTheSettings()
{
#ifdef Q_OS_UNIX
    const QString folder = m_dir.filePath(QStringLiteral("full"));
    const QString config = folder + QStringLiteral("/config.ini");
    GlobalData saved = GlobalData::defaults();
    saved.LastBook = QStringLiteral("/books/kept.txt");
    TestFiles::write(config, RecordCodec::encode(saved));
    const QByteArray before = TestFiles::read(config);

    auto window = start(config);
    m_data.LastBook = QStringLiteral("/books/a/much/longer/path/to/the/new/book.txt");
    {
        const FileSizeLimit full(16);
        QVERIFY(full.isActive());
        window->close();
    }
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(QStringLiteral("could not be saved")));
    QCOMPARE(TestFiles::read(config), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList {QStringLiteral("config.ini")});
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_badinput::damagedSettingsStartWithWhatTheyHold()
{
    GlobalData saved = GlobalData::defaults();
    saved.LastBook = QStringLiteral("/books/x.txt");
    saved.LinesPerPage = 20;
    QByteArray bytes = RecordCodec::encode(saved);
    bytes.truncate(24); // cut inside BackColor
    const QString config =
        TestFiles::write(m_dir.filePath(QStringLiteral("cut/config.ini")), bytes);
    auto window = start(config);
    QVERIFY(m_prompts.messages().isEmpty());
    QCOMPARE(m_data.LastBook, QStringLiteral("/books/x.txt"));
    QCOMPARE(m_data.LinesPerPage, qint16(20));
    QCOMPARE(window->textArea()->text(), frmMain::Hint);
}

QTEST_MAIN(tst_badinput)
#include "tst_badinput.moc"
