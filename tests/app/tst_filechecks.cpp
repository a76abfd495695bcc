// The existence tests every other part relies on before it touches the file system.
#include "app/FileChecks.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class tst_filechecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void existence_data();
    void existence();
    void currentFolderStaysPut();
    void fullPathHasOneSeparator_data();
    void fullPathHasOneSeparator();

private:
    QTemporaryDir m_dir;
};

void tst_filechecks::initTestCase()
{
    QVERIFY(m_dir.isValid());
    TestFiles::write(m_dir.filePath(QStringLiteral("empty.txt")), QByteArray());
    TestFiles::write(m_dir.filePath(QStringLiteral("book.txt")), "a\r\n");
    TestFiles::write(m_dir.filePath(QStringLiteral("with blank/b c.txt")), "a\r\n");
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("shelf"))));
}

void tst_filechecks::existence_data()
{
    QTest::addColumn<QString>("path"); // relative to the temporary folder, "" for none
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("folder");

    QTest::newRow("zero-byte file") << QStringLiteral("empty.txt") << true << false;
    QTest::newRow("file") << QStringLiteral("book.txt") << true << false;
    QTest::newRow("blanks in the path") << QStringLiteral("with blank/b c.txt") << true << false;
    QTest::newRow("missing file") << QStringLiteral("nowhere.txt") << false << false;
    QTest::newRow("in a missing folder") << QStringLiteral("gone/book.txt") << false << false;
    QTest::newRow("below a file") << QStringLiteral("book.txt/x") << false << false;
    QTest::newRow("folder") << QStringLiteral("shelf") << false << true;
    QTest::newRow("folder with separator") << QStringLiteral("shelf/") << false << true;
    QTest::newRow("missing folder") << QStringLiteral("attic") << false << false;
    QTest::newRow("missing folder with separator") << QStringLiteral("attic/") << false << false;
}

void tst_filechecks::existence()
{
    QFETCH(QString, path);
    QFETCH(bool, file);
    QFETCH(bool, folder);

    const QString full = m_dir.path() + u'/' + path;
    QCOMPARE(FileExists(full), file);
    QCOMPARE(DirExists(full), folder);
}

void tst_filechecks::currentFolderStaysPut()
{
    const QString before = QDir::currentPath();
    QVERIFY(!FileExists(QString()));
    QVERIFY(!DirExists(QString()));
    QVERIFY(DirExists(QStringLiteral("/")));
    QVERIFY(DirExists(m_dir.filePath(QStringLiteral("shelf"))));
    QVERIFY(!DirExists(m_dir.filePath(QStringLiteral("attic"))));
    QVERIFY(FileExists(m_dir.filePath(QStringLiteral("book.txt"))));
    QCOMPARE(QDir::currentPath(), before);
}

void tst_filechecks::fullPathHasOneSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("full");

    QTest::newRow("folder") << QStringLiteral("/home/books") << QStringLiteral("/home/books/a.txt");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/a.txt");
    QTest::newRow("trailing separator")
        << QStringLiteral("/media/stick/") << QStringLiteral("/media/stick/a.txt");
}

void tst_filechecks::fullPathHasOneSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, full);
    QCOMPARE(FullPathOf(folder, QStringLiteral("a.txt")), full);
}

QTEST_GUILESS_MAIN(tst_filechecks)
#include "tst_filechecks.moc"
