// What every part relies on: the existence tests, files opened only when they are files and read
// as they were, files written whole or not at all, captions from the string table, and the
// program's command line.
#include "app/Captions.h"
#include "app/FileChecks.h"
#include "app/ReadWholeFile.h"
#include "app/WholeFileWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(OpenFile)

class tst_app : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init() { QVERIFY(m_dir.emplace().isValid()); }

    void files_data()
    {
        QTest::addColumn<QString>("folder"); // "T": the temporary folder, which holds empty.txt,
        QTest::addColumn<QString>("name"); // "with blank/b c.txt", a link to it, a pipe and shelf
        QTest::addColumn<QString>("is"); // a file, a folder, nothing, or another kind of thing

        QTest::newRow("zero-byte file") << u"T"_s << u"empty.txt"_s << u"file"_s;
        QTest::newRow("blanks in the path") << u"T"_s << u"with blank/b c.txt"_s << u"file"_s;
        QTest::newRow("a link to a file") << u"T"_s << u"link"_s << u"file"_s;
        QTest::newRow("missing") << u"T"_s << u"nowhere.txt"_s << u"nothing"_s;
        QTest::newRow("below a file") << u"T"_s << u"empty.txt/x"_s << u"nothing"_s;
        QTest::newRow("folder") << u"T"_s << u"shelf"_s << u"folder"_s;
        QTest::newRow("folder with separator") << u"T"_s << u"shelf/"_s << u"folder"_s;
        QTest::newRow("missing folder") << u"T/"_s << u"attic/"_s << u"nothing"_s;
        QTest::newRow("in the root folder") << u"/"_s << u"tmp"_s << u"folder"_s;
        QTest::newRow("a named pipe") << u"T"_s << u"pipe"_s << u"other"_s;
        QTest::newRow("a device") << u"/dev"_s << u"null"_s << u"other"_s;
    }

    // A file exists unless it is a folder; it is opened, without waiting on a pipe, only when it
    // is a regular file, and read up to the size it had then.
    void files()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, is);

        TestFiles::write(m_dir->filePath(u"empty.txt"_s), {});
        const QString text = TestFiles::write(m_dir->filePath(u"with blank/b c.txt"_s), "a\r\n");
        QVERIFY(QDir(m_dir->path()).mkdir(u"shelf"_s));
        QVERIFY(QFile::link(text, m_dir->filePath(u"link"_s)));
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir->filePath(u"pipe"_s)).constData(), 0600), 0);
        const QString path = FullPathOf(folder.replace(u'T', m_dir->path()), name);
        QVERIFY(!path.contains(u"//"));
        QCOMPARE(QDir::cleanPath(path), QDir::cleanPath(folder + u'/' + name));
        QCOMPARE(FileExists(path), is == u"file" || is == u"other");
        QCOMPARE(DirExists(path), is == u"folder");
        QVERIFY(!FileExists({}) && !DirExists({}));

        QFile opened;
        QCOMPARE(openRegularFile(opened, path),
                 is == u"file"        ? OpenFile::Opened
                     : is == u"other" ? OpenFile::NotRegular
                                      : OpenFile::Failed);
        if (!opened.isOpen())
            return;
        const QByteArray bytes = TestFiles::read(path);
        const qint64 size = opened.size();
        TestFiles::write(path, bytes + "grown since");
        QByteArray read;
        QVERIFY(readWholeFile(opened, size, read));
        QCOMPARE(read, bytes);
    }

    void wholeFileWriter_data()
    {
        QTest::addColumn<QString>("name"); // in the temporary folder, where "plain" is a file
        QTest::addColumn<QByteArray>("old"); // null: none
        QTest::addColumn<int>("limit"); // bytes a file may grow to while written, as on a full disk
        QTest::addColumn<bool>("appears"); // another file takes the name meanwhile
        QTest::addColumn<QByteArray>("after"); // what the name holds at the end; null: nothing

        const QString page = u"page.html"_s;
        const QByteArray written(20000, 'n');
        QTest::newRow("new file") << page << QByteArray() << 0 << false << written;
        QTest::newRow("replaced file") << page << QByteArray(30000, 'o') << 0 << false << written;
        QTest::newRow("full disk") << page << QByteArray() << 4096 << false << QByteArray();
        QTest::newRow("full disk, replacing")
            << page << QByteArray("old") << 4096 << false << QByteArray("old");
        QTest::newRow("a file appearing meanwhile is kept")
            << page << QByteArray() << 0 << true << QByteArray("someone else's");
        QTest::newRow("in a folder that is a file")
            << u"plain/page.html"_s << QByteArray() << 0 << false << QByteArray();
    }

    // The name holds the old bytes or the new, never a part, and no temporary file stays beside
    // it; a new file is readable by others, as any new file of the user, not kept to the owner as
    // a temporary is.
    void wholeFileWriter()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(int, limit);
        QFETCH(bool, appears);
        QFETCH(QByteArray, after);

        const QString path = m_dir->filePath(name);
        TestFiles::write(m_dir->filePath(u"plain"_s), "x");
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
        const QStringList left = after.isNull() ? QStringList() : QStringList {u"page.html"_s};
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 left + QStringList {u"plain"_s});
        QVERIFY(!ok || !old.isNull() || QFileInfo(path).permissions() & QFileDevice::ReadOther);
    }

    // The string table is loaded, and a window's ids are replaced by its texts: a menu's caption,
    // a label's Tag, another control's tooltip that starts with an id; anything else stays.
    void captions()
    {
        QMainWindow window;
        QMenu *file = window.menuBar()->addMenu(u"1000"_s);
        QAction *open = file->addAction(u"1001"_s);
        auto *title = new QLabel(u"design"_s, &window);
        title->setProperty("Tag", u"1026"_s);
        auto *unknown = new QLabel(u"stays"_s, &window);
        unknown->setProperty("Tag", u"999"_s);
        auto *button = new QPushButton(&window);
        button->setToolTip(u"1017 and more"_s);
        LoadResourceCaptions(&window);
        QCOMPARE((QStringList {file->title(), open->text(), title->text(), unknown->text(),
                               button->toolTip()}),
                 (QStringList {u"&File"_s, u"&Open..."_s, u"Application Title"_s, u"stays"_s,
                               u"Open"_s}));
    }

    // The contents printed without a display, at the lines a page asked for, set right by the
    // pattern kept for the book; a book refused says why.
    void contentsOnTheCommandLine()
    {
        QByteArray bytes = "A Tale\n\n";
        for (const char *numeral : {"I", "II", "III", "IV", "V", "VI"}) {
            bytes += QByteArray("CHAPTER ") + numeral + "\n\n";
            bytes += QByteArray("words of the tale.\n").repeated(30);
        }
        const QString book = TestFiles::write(m_dir->filePath(u"tale.txt"_s), bytes);
        const QString store = m_dir->filePath(u"config/Pagelark/history"_s);
        const auto contents = [&](const QStringList &arguments, int exitCode) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(u"DISPLAY"_s);
            environment.insert(u"XDG_CONFIG_HOME"_s, m_dir->filePath(u"config"_s));
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(PAGELARK_PROGRAM),
                          QStringList {u"--contents"_s} + arguments);
            if (!program.waitForFinished(60000) || program.exitCode() != exitCode)
                return u"exit %1"_s.arg(program.exitCode());
            return QString::fromUtf8(program.readAllStandardOutput()
                                     + program.readAllStandardError());
        };
        QCOMPARE(contents({book, u"--lines-per-page"_s, u"10"_s}, 0),
                 u"1\t1\tCHAPTER I\n4\t1\tCHAPTER II\n7\t1\tCHAPTER III\n10\t1\tCHAPTER IV\n"
                 "14\t1\tCHAPTER V\n17\t1\tCHAPTER VI\n"_s);
        TestFiles::write(store,
                         "Pagelark books 2\nplace\t1\t0\t0\t\t" + book.toUtf8()
                             + "\npattern\t=%5ECHAPTER%20V\n");
        QCOMPARE(contents({book}, 0), u"9\t1\tCHAPTER V\n11\t1\tCHAPTER VI\n"_s);
        QCOMPARE(contents({m_dir->filePath(u"gone.txt"_s)}, 1),
                 u"Previous open file not exist\n"_s + m_dir->filePath(u"gone.txt"_s) + u'\n');
    }

    // Answered before any window is made; the installed tree's test asks for the version.
    void helpNeedsNoDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PAGELARK_PROGRAM), {u"--help"_s});
        QVERIFY(program.waitForFinished(-1) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardOutput().contains("[BOOK]"));
    }
};

PAGELARK_TEST(tst_app);
#include "tst_app.moc"
