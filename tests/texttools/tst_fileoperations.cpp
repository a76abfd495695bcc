// Combining files and the deletion of one listed file, on real files.
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "texttools/Combiner.h"
#include "texttools/FileDeletion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

class tst_fileoperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void combineLayout_data();
    void combineLayout();
    void combineReportsEachFurtherFile();
    void failedCombineLeavesTargetWhole_data();
    void failedCombineLeavesTargetWhole();
    void sameFile_data();
    void sameFile();

    void fullDiskKeepsTheOldFile();

    void deletesFilesAndLinksOnly();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_fileoperations::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_fileoperations::combineLayout_data()
{
    QTest::addColumn<QList<QByteArray>>("sources");
    QTest::addColumn<QByteArray>("combined");

    QTest::newRow("further file gets CR LF")
        << QList<QByteArray> {"x\r\n", "y"} << QByteArray("x\r\ny\r\n");
    QTest::newRow("first file without line end joins")
        << QList<QByteArray> {"x", "y\r\n"} << QByteArray("xy\r\n\r\n");
    QTest::newRow("bytes unchanged")
        << QList<QByteArray> {QByteArray("a\0\xFF\n", 4), "\xEF\xBB\xBF\xD0\x9C\r", ""}
        << QByteArray("a\0\xFF\n\xEF\xBB\xBF\xD0\x9C\r\r\n\r\n", 14);
}

void tst_fileoperations::combineLayout()
{
    QFETCH(QList<QByteArray>, sources);
    QFETCH(QByteArray, combined);
    QStringList files;
    for (int i = 0; i < sources.size(); ++i)
        files.append(TestFiles::write(path(QStringLiteral("%1.txt").arg(i)), sources.at(i)));
    const QString target = TestFiles::write(path(QStringLiteral("out.txt")), "old and longer text");
    Combiner combiner;
    QVERIFY2(combiner.combine(files, target), qPrintable(combiner.errorString()));
    QCOMPARE(TestFiles::read(target), combined);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), sources.size() + 1);
}

void tst_fileoperations::combineReportsEachFurtherFile()
{
    QStringList files;
    for (int i = 0; i < 3; ++i)
        files.append(TestFiles::write(path(QStringLiteral("%1.txt").arg(i)), "t"));
    QList<int> reported;
    Combiner combiner;
    QVERIFY(combiner.combine(files, path(QStringLiteral("out.txt")),
                             [&](int index) { reported.append(index); }));
    QCOMPARE(reported, (QList<int> {1, 2}));
}

void tst_fileoperations::failedCombineLeavesTargetWhole_data()
{
    QTest::addColumn<QString>("missingSource");
    QTest::newRow("first source missing") << QStringLiteral("first");
    QTest::newRow("later source missing") << QStringLiteral("later");
}

void tst_fileoperations::failedCombineLeavesTargetWhole()
{
    QFETCH(QString, missingSource);
    const QString a = TestFiles::write(path(QStringLiteral("a.txt")), "a");
    const QString gone = path(QStringLiteral("gone.txt"));
    const QStringList files =
        missingSource == QLatin1String("first") ? QStringList {gone, a} : QStringList {a, a, gone};
    const QString target = TestFiles::write(path(QStringLiteral("out.txt")), "old");
    Combiner combiner;
    QVERIFY(!combiner.combine(files, target));
    QVERIFY(combiner.errorString().contains(gone));
    QCOMPARE(TestFiles::read(target), QByteArray("old"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             (QStringList {QStringLiteral("a.txt"), QStringLiteral("out.txt")}));

    // A target that cannot be made at all: its "folder" is a file.
    QVERIFY(!combiner.combine({a, a}, a + QStringLiteral("/out.txt")));
    QVERIFY(combiner.errorString().contains(QStringLiteral("a.txt/out.txt")));
    QCOMPARE(TestFiles::read(a), QByteArray("a"));
}

void tst_fileoperations::sameFile_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("same");

    QTest::newRow("same text") << QStringLiteral("a.txt") << true;
    QTest::newRow("dot dot") << QStringLiteral("sub/../a.txt") << true;
    QTest::newRow("doubled separator") << QStringLiteral("sub//../a.txt") << true;
    QTest::newRow("symbolic link") << QStringLiteral("link.txt") << true;
    QTest::newRow("hard link") << QStringLiteral("hard.txt") << true;
    QTest::newRow("other letter case") << QStringLiteral("A.txt") << false;
    QTest::newRow("missing file") << QStringLiteral("b.txt") << false;
}

void tst_fileoperations::sameFile()
{
    QFETCH(QString, other);
    QFETCH(bool, same);
    const QString a = TestFiles::write(path(QStringLiteral("a.txt")), "a");
    TestFiles::write(path(QStringLiteral("A.txt")), "A");
    QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
    QVERIFY(QFile::link(a, path(QStringLiteral("link.txt"))));
    QVERIFY(::link(QFile::encodeName(a).constData(),
                   QFile::encodeName(path(QStringLiteral("hard.txt"))).constData())
            == 0);
    QCOMPARE(Combiner::isSameFile(a, m_dir->path() + u'/' + other), same);
}

// A disk that fills up half-way through must leave the old combined file whole, and nothing of
// the cut copy behind.
void tst_fileoperations::fullDiskKeepsTheOldFile()
{
#ifdef Q_OS_UNIX
    const QByteArray long_(100, 'x');
    const QString a = TestFiles::write(path(QStringLiteral("a.txt")), long_);
    const QString target = TestFiles::write(path(QStringLiteral("out.txt")), "old");
    Combiner combiner;
    bool combined = true;
    {
        const FileSizeLimit full(64);
        QVERIFY(full.isActive());
        combined = combiner.combine({a, a}, target);
    }
    QVERIFY(!combined);
    QVERIFY(combiner.errorString().contains(target));
    QCOMPARE(TestFiles::read(target), QByteArray("old"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList {QStringLiteral("a.txt"), QStringLiteral("out.txt")}));
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_fileoperations::deletesFilesAndLinksOnly()
{
    const QString target = TestFiles::write(path(QStringLiteral("target.txt")), "t");
    const QString link = path(QStringLiteral("link.txt"));
    QVERIFY(QFile::link(target, link));
    const QString folder = path(QStringLiteral("folder"));
    QVERIFY(QDir().mkdir(folder));
    const QString folderLink = path(QStringLiteral("folderlink"));
    QVERIFY(QFile::link(folder, folderLink));

    QVERIFY(deleteListedFile(link));
    QVERIFY(QFile::exists(target));
    QVERIFY(!QFileInfo(link).isSymLink());

    QVERIFY(deleteListedFile(folderLink));
    QVERIFY(QFileInfo(folder).isDir());

    QString error;
    QVERIFY(!deleteListedFile(folder, &error));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!error.isEmpty());

    QVERIFY(deleteListedFile(target));
    QVERIFY(!QFile::exists(target));
    QVERIFY(!deleteListedFile(target, &error));

    // A link whose target has gone is still a name to remove.
    const QString dangling = path(QStringLiteral("dangling.txt"));
    QVERIFY(QFile::link(path(QStringLiteral("nothing")), dangling));
    QVERIFY(deleteListedFile(dangling));
    QVERIFY(!QFileInfo(dangling).isSymLink());
}

QTEST_APPLESS_MAIN(tst_fileoperations)
#include "tst_fileoperations.moc"
