// What every part relies on: the existence tests, files written whole or not at all, captions
// from the string table, and the program's command line.
#include "app/Captions.h"
#include "app/FileChecks.h"
#include "app/WholeFileWriter.h"
#include "support/FileSizeLimit.h"
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>

class tst_app : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.emplace().isValid()); }
    void fileChecks_data();
    void fileChecks();
    void wholeFileWriter_data();
    void wholeFileWriter();
    void captions();
    void versionAndHelpNeedNoDisplay();
    void bookOnTheCommandLine();

private:
    std::optional<QTemporaryDir> m_dir;
    ReaderFixture m_reader;
};

void tst_app::fileChecks_data()
{
    QTest::addColumn<QString>("folder"); // "T": the temporary folder, which holds empty.txt,
    QTest::addColumn<QString>("name"); // "with blank/b c.txt" and the folder shelf
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("isFolder");

    QTest::newRow("zero-byte file") << u"T"_qs << u"empty.txt"_qs << true << false;
    QTest::newRow("blanks in the path") << u"T"_qs << u"with blank/b c.txt"_qs << true << false;
    QTest::newRow("missing") << u"T"_qs << u"nowhere.txt"_qs << false << false;
    QTest::newRow("below a file") << u"T"_qs << u"empty.txt/x"_qs << false << false;
    QTest::newRow("folder") << u"T"_qs << u"shelf"_qs << false << true;
    QTest::newRow("folder with separator") << u"T"_qs << u"shelf/"_qs << false << true;
    QTest::newRow("missing folder") << u"T/"_qs << u"attic/"_qs << false << false;
    QTest::newRow("in the root folder") << u"/"_qs << u"tmp"_qs << false << true;
}

void tst_app::fileChecks()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, file);
    QFETCH(bool, isFolder);

    TestFiles::write(m_dir->filePath(u"empty.txt"_qs), {});
    TestFiles::write(m_dir->filePath(u"with blank/b c.txt"_qs), "a\r\n");
    QVERIFY(QDir(m_dir->path()).mkdir(u"shelf"_qs));
    const QString before = QDir::currentPath();
    const QString path = FullPathOf(folder.replace(u'T', m_dir->path()), name);
    QVERIFY(!path.contains(u"//"));
    QCOMPARE(QDir::cleanPath(path), QDir::cleanPath(folder + u'/' + name));
    QCOMPARE(FileExists(path), file);
    QCOMPARE(DirExists(path), isFolder);
    QVERIFY(!FileExists({}) && !DirExists({}));
    QCOMPARE(QDir::currentPath(), before);
}

void tst_app::wholeFileWriter_data()
{
    QTest::addColumn<QString>("name"); // in the temporary folder, where "plain" is a file
    QTest::addColumn<QByteArray>("old"); // null: none
    QTest::addColumn<int>("limit"); // bytes a file may grow to while written, as on a full disk
    QTest::addColumn<bool>("appears"); // another file takes the name meanwhile
    QTest::addColumn<QByteArray>("after"); // what the name holds at the end; null: nothing

    const QString page = u"page.html"_qs;
    const QByteArray written(20000, 'n');
    QTest::newRow("new file") << page << QByteArray() << 0 << false << written;
    QTest::newRow("replaced file") << page << QByteArray(30000, 'o') << 0 << false << written;
    QTest::newRow("full disk") << page << QByteArray() << 4096 << false << QByteArray();
    QTest::newRow("full disk, replacing")
        << page << QByteArray("old") << 4096 << false << QByteArray("old");
    QTest::newRow("a file appearing meanwhile is kept")
        << page << QByteArray() << 0 << true << QByteArray("someone else's");
    QTest::newRow("in a folder that is a file")
        << u"plain/page.html"_qs << QByteArray() << 0 << false << QByteArray();
}

// The name holds the old bytes or the new, never a part, and no temporary file stays beside it.
void tst_app::wholeFileWriter()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, old);
    QFETCH(int, limit);
    QFETCH(bool, appears);
    QFETCH(QByteArray, after);

    const QString path = m_dir->filePath(name);
    TestFiles::write(m_dir->filePath(u"plain"_qs), "x");
    if (!old.isNull())
        TestFiles::write(path, old);
    const mode_t mask = umask(022);
    WholeFileWriter writer(path);
    bool ok = writer.open();
    {
        std::optional<FileSizeLimit> full;
        if (limit)
            QVERIFY(full.emplace(limit).isActive());
        ok = ok && writer.write(QByteArray(20000, 'n'));
    }
    if (appears)
        TestFiles::write(path, "someone else's");
    ok = writer.commit() && ok;
    umask(mask);
    QCOMPARE(ok, writer.errorString().isEmpty());
    QCOMPARE(QFileInfo::exists(path) ? TestFiles::read(path) : QByteArray(), after);
    const QStringList left = after.isNull() ? QStringList() : QStringList {u"page.html"_qs};
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             left + QStringList {u"plain"_qs});
    // Readable by others, as any new file of the user, not kept to the owner as a temporary is.
    if (ok && old.isNull())
        QVERIFY(QFileInfo(path).permissions() & QFileDevice::ReadOther);
}

// The string table is loaded, and a window's ids are replaced by its texts: a menu's caption, a
// label's Tag, another control's tooltip that starts with an id; anything else stays.
void tst_app::captions()
{
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(u"1000"_qs);
    QAction *open = file->addAction(u"1001"_qs);
    auto *title = new QLabel(u"design"_qs, &window);
    title->setProperty("Tag", u"1026"_qs);
    auto *unknown = new QLabel(u"stays"_qs, &window);
    unknown->setProperty("Tag", u"999"_qs);
    auto *button = new QPushButton(&window);
    button->setToolTip(u"1017 and more"_qs);

    LoadResourceCaptions(&window);
    QCOMPARE(file->title(), u"&File"_qs);
    QCOMPARE(open->text(), u"&Open..."_qs);
    QCOMPARE(title->text(), u"Application Title"_qs);
    QCOMPARE(unknown->text(), u"stays"_qs);
    QCOMPARE(button->toolTip(), u"Open"_qs);
}

void tst_app::versionAndHelpNeedNoDisplay()
{
    for (const QString &option : {u"--version"_qs, u"--help"_qs}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_qs);
        environment.remove(u"WAYLAND_DISPLAY"_qs);
        environment.insert(u"QT_QPA_PLATFORM"_qs, u"xcb"_qs);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PAGELARK_PROGRAM), {option});
        QVERIFY(program.waitForFinished(-1));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        QVERIFY2(out.contains(option == u"--help" ? u"[BOOK]"_qs : u"Pagelark 1.0.0"_qs),
                 qPrintable(out));
    }
}

// The window opens a book named on the command line as File > Open does, and it becomes the last
// book; one that cannot be opened does not.
void tst_app::bookOnTheCommandLine()
{
    m_reader.init();
    const QString book = m_reader.writeBook(u"Sea Voyage.txt"_qs, 40);
    frmMain *window = m_reader.start();
    m_reader.data.LastBook = u"/books/before.txt"_qs;
    window->openBook(book);
    QCOMPARE(m_reader.find<QLabel>(u"lblTitle"_qs)->text(), u"Sea Voyage"_qs);
    QCOMPARE(m_reader.find<QLineEdit>(u"PageTotal"_qs)->text(), u"3"_qs);
    window->openBook(m_reader.booksFolder() + u"/gone.txt");
    QCOMPARE(m_reader.messages(), QStringList {u"Previous open file not exist"_qs});
    QCOMPARE(m_reader.data.LastBook, book);
    m_reader.close();
}

PAGELARK_TEST(tst_app);
#include "tst_app.moc"
