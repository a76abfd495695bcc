#include "app/WholeFileWriter.h"

#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Writing a file whole or not at all: the target holds the old bytes or the new, never a part,
// and no temporary file stays behind.
class tst_wholefilewriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newAndReplacedFiles_data();
    void newAndReplacedFiles();
    void cancelledOrUnfinishedWritesLeaveTheTarget();
    void aFileThatAppearsMeanwhileIsKept();
    void aFullDiskLeavesTheOldFileWhole();
    void aFolderThatCannotTakeFiles();

private:
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    QString m_target;
};

void tst_wholefilewriter::init()
{
    QVERIFY(m_dir.isValid());
    for (const QString &name : entries())
        QFile::remove(m_dir.filePath(name));
    m_target = m_dir.filePath(QStringLiteral("page.html"));
}

void tst_wholefilewriter::newAndReplacedFiles_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("new file") << false;
    QTest::newRow("replaced file") << true;
}

void tst_wholefilewriter::newAndReplacedFiles()
{
    QFETCH(bool, exists);
    if (exists)
        TestFiles::write(m_target, "an older and much longer content than the new one");

    const mode_t mask = umask(022);
    WholeFileWriter writer(m_target);
    QVERIFY(writer.open());
    QVERIFY(writer.write("first "));
    QVERIFY(writer.write(QByteArray(100000, 'x')));
    QVERIFY(writer.handle() >= 0);
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
    umask(mask);

    QCOMPARE(TestFiles::read(m_target), "first " + QByteArray(100000, 'x'));
    QCOMPARE(entries(), QStringList {QStringLiteral("page.html")});
    // Readable by others, as any new file of the user: not the owner-only mode of a temporary.
    if (!exists)
        QVERIFY(QFileInfo(m_target).permissions() & QFileDevice::ReadOther);
}

void tst_wholefilewriter::cancelledOrUnfinishedWritesLeaveTheTarget()
{
    {
        WholeFileWriter writer(m_target);
        QVERIFY(writer.open());
        QVERIFY(writer.write("never committed"));
    }
    QVERIFY(entries().isEmpty());

    TestFiles::write(m_target, "old");
    WholeFileWriter writer(m_target);
    QVERIFY(writer.open());
    QVERIFY(writer.write("new"));
    writer.cancel();
    QCOMPARE(TestFiles::read(m_target), QByteArray("old"));
    QCOMPARE(entries(), QStringList {QStringLiteral("page.html")});
}

void tst_wholefilewriter::aFileThatAppearsMeanwhileIsKept()
{
    WholeFileWriter writer(m_target);
    QVERIFY(writer.open());
    QVERIFY(writer.write("ours"));
    TestFiles::write(m_target, "someone else's");
    QVERIFY(!writer.commit());
    QVERIFY(!writer.errorString().isEmpty());
    QCOMPARE(TestFiles::read(m_target), QByteArray("someone else's"));
    QCOMPARE(entries(), QStringList {QStringLiteral("page.html")});
}

void tst_wholefilewriter::aFullDiskLeavesTheOldFileWhole()
{
#ifdef Q_OS_UNIX
    for (const bool exists : {false, true}) {
        if (exists)
            TestFiles::write(m_target, "old");
        WholeFileWriter writer(m_target);
        QVERIFY(writer.open());
        bool written = true;
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.isActive());
            written = writer.write(QByteArray(20000, 'n'));
        }
        QVERIFY(!written);
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!writer.commit());
        QCOMPARE(entries(), exists ? QStringList {QStringLiteral("page.html")} : QStringList());
        if (exists)
            QCOMPARE(TestFiles::read(m_target), QByteArray("old"));
    }
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_wholefilewriter::aFolderThatCannotTakeFiles()
{
    // A "folder" that is a file stops root as well as anyone.
    TestFiles::write(m_dir.filePath(QStringLiteral("plain")), "x");
    WholeFileWriter writer(m_dir.filePath(QStringLiteral("plain/page.html")));
    QVERIFY(!writer.open());
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY(!writer.write("x"));
    QVERIFY(!writer.commit());
}

QTEST_GUILESS_MAIN(tst_wholefilewriter)
#include "tst_wholefilewriter.moc"
