// Reading and writing config.ini: first runs, the defaults rule, the old file's tail, and
// writes that fail.
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

GlobalData bookRecord(const QString &lastBook)
{
    GlobalData d = GlobalData::defaults();
    d.LoadLastBook = VTrue;
    d.LastBook = lastBook;
    d.LastPage = 41;
    d.LinesPerPage = 20;
    d.FontName = QStringLiteral("DejaVu Serif");
    d.FontSize = 14;
    return d;
}

// Saves a copy of data: a save runs the defaults rule on the record it is given.
SettingsFileResult save(const QString &config, GlobalData data)
{
    return SaveLoadGlobalData(config, true, data);
}

} // namespace

class tst_settingsfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void firstRunCreatesAnEmptyFile();
    void emptyFileIsAFirstRun();
    void saveThenLoad();
    void noPageSizeBringsTheFiveDefaults();
    void shorterRecordKeepsTheOldTail();
    void longerRecordReplacesTheOldBytes();
    void loadClearsTheStrings();
    void damagedFileGivesWhatItHolds();
    void unusablePaths_data();
    void unusablePaths();
    void failedWriteKeepsTheOldFile();
    void configFileFollowsXdgConfigHome();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_settingsfile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_settingsfile::firstRunCreatesAnEmptyFile()
{
    const QString config = path(QStringLiteral("Pagelark/config.ini"));
    GlobalData data;
    const SettingsFileResult result = SaveLoadGlobalData(config, false, data);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(QFileInfo(config).isFile());
    QCOMPARE(QFileInfo(config).size(), 0);
    QCOMPARE(data, GlobalData::defaults());
    QCOMPARE(data.LinesPerPage, qint16(15));
    QCOMPARE(data.BackColor, VariantValue::fromLong(0xFFFFFF));
    QCOMPARE(data.ForeColor, VariantValue::fromLong(0));
    QCOMPARE(data.FontSize, qint16(12));
    QCOMPARE(data.LoadLastBook, VFalse);
    QVERIFY(data.LastBook.isEmpty());

    // At exit the file holds the record.
    QVERIFY(SaveLoadGlobalData(config, true, data).ok);
    QCOMPARE(TestFiles::read(config), RecordCodec::encode(GlobalData::defaults()));
}

void tst_settingsfile::emptyFileIsAFirstRun()
{
    const QString config = TestFiles::write(path(QStringLiteral("config.ini")), {});
    GlobalData data;
    QVERIFY(SaveLoadGlobalData(config, false, data).ok);
    QCOMPARE(data, GlobalData::defaults());
    QCOMPARE(QFileInfo(config).size(), 0);
}

void tst_settingsfile::saveThenLoad()
{
    const QString config = path(QStringLiteral("config.ini"));
    GlobalData saved = bookRecord(QStringLiteral("/home/l\u00E9a/Books/Middlemarch.txt"));
    saved.FavoritePath = QStringLiteral("/home/l\u00E9a/Books/");
    saved.FavoriteDrive = QStringLiteral("/");
    saved.FavoriteSet = VTrue;
    saved.FontItalic = VTrue;
    saved.ForeColor = VariantValue::fromLong(0x0000FF);
    QVERIFY(SaveLoadGlobalData(config, true, saved).ok);
    QCOMPARE(TestFiles::read(config), RecordCodec::encode(saved));

    GlobalData read;
    QVERIFY(SaveLoadGlobalData(config, false, read).ok);
    QCOMPARE(read, saved);
}

void tst_settingsfile::noPageSizeBringsTheFiveDefaults()
{
    GlobalData stored = bookRecord(QStringLiteral("/books/a.txt"));
    stored.LinesPerPage = 0;
    stored.BackColor = VariantValue::fromLong(0x112233);
    stored.ForeColor = {VariantValue::Null, 0};
    stored.FavoritePath = QStringLiteral("/books/");
    stored.FavoriteSet = VTrue;
    stored.FontSize = 30;
    stored.FontBold = VTrue;
    const QString config =
        TestFiles::write(path(QStringLiteral("config.ini")), RecordCodec::encode(stored));

    GlobalData read;
    QVERIFY(SaveLoadGlobalData(config, false, read).ok);
    GlobalData expected = stored;
    expected.LinesPerPage = 15;
    expected.BackColor = VariantValue::fromLong(0xFFFFFF);
    expected.ForeColor = VariantValue::fromLong(0);
    expected.FavoriteSet = VFalse;
    expected.FontSize = 12;
    QCOMPARE(read, expected);
}

// The record overlays the old file: a shorter record leaves the old tail after it, and the next
// read stops at the record's end.
void tst_settingsfile::shorterRecordKeepsTheOldTail()
{
    const QString config = path(QStringLiteral("config.ini"));
    const GlobalData longer = bookRecord(QStringLiteral("/home/reader/a/rather/long/path.txt"));
    QVERIFY(save(config, longer).ok);
    const QByteArray old = TestFiles::read(config);

    const GlobalData shorter = bookRecord(QStringLiteral("/b.txt"));
    QVERIFY(save(config, shorter).ok);
    const QByteArray record = RecordCodec::encode(shorter);
    const QByteArray now = TestFiles::read(config);
    QCOMPARE(now.size(), old.size());
    QCOMPARE(now.left(record.size()), record);
    QCOMPARE(now.mid(record.size()), old.mid(record.size()));

    GlobalData read;
    QVERIFY(SaveLoadGlobalData(config, false, read).ok);
    QCOMPARE(read, shorter);
}

void tst_settingsfile::longerRecordReplacesTheOldBytes()
{
    const QString config = TestFiles::write(path(QStringLiteral("config.ini")), "0123456789");
    const GlobalData data = bookRecord(QStringLiteral("/b.txt"));
    QVERIFY(save(config, data).ok);
    QCOMPARE(TestFiles::read(config), RecordCodec::encode(data));
}

// Strings and colours come only from the file; the numbers a short file does not reach stay
// as they were.
void tst_settingsfile::loadClearsTheStrings()
{
    const QByteArray full = RecordCodec::encode(bookRecord(QStringLiteral("/b.txt")));
    const QString config =
        TestFiles::write(path(QStringLiteral("config.ini")), full.left(4)); // two Booleans
    GlobalData data = bookRecord(QStringLiteral("/stale.txt"));
    data.FavoritePath = QStringLiteral("/stale/");
    QVERIFY(SaveLoadGlobalData(config, false, data).ok);
    QCOMPARE(data.LoadLastBook, VTrue);
    QVERIFY(data.LastBook.isEmpty());
    QVERIFY(data.FavoritePath.isEmpty());
    QVERIFY(data.FontName.isEmpty());
    QCOMPARE(data.LinesPerPage, qint16(20));
    QCOMPARE(data.BackColor.type, quint16(VariantValue::Empty));
}

void tst_settingsfile::damagedFileGivesWhatItHolds()
{
    QByteArray bytes = RecordCodec::encode(bookRecord(QStringLiteral("/books/kept.txt")));
    const int backColor = 6 + 15 + 4;
    bytes[backColor] = 9; // no such type
    const QString config = TestFiles::write(path(QStringLiteral("config.ini")), bytes);

    GlobalData data;
    QVERIFY(SaveLoadGlobalData(config, false, data).ok);
    QCOMPARE(data.LastBook, QStringLiteral("/books/kept.txt"));
    QCOMPARE(data.LastPage, qint16(41));
    QCOMPARE(data.LinesPerPage, qint16(20));
    QVERIFY(data.FontName.isEmpty()); // never reached
    QCOMPARE(TestFiles::read(config), bytes); // reading never repairs the file
}

void tst_settingsfile::unusablePaths_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<bool>("save");

    QTest::newRow("read, parent is a file") << QStringLiteral("blocker/config.ini") << false;
    QTest::newRow("save, parent is a file") << QStringLiteral("blocker/config.ini") << true;
    QTest::newRow("read, config.ini is a folder") << QStringLiteral("shelf/config.ini") << false;
    QTest::newRow("save, config.ini is a folder") << QStringLiteral("shelf/config.ini") << true;
}

// Each is reported with the path, leaves what is there as it is, and the record still gets the
// defaults, so the reader starts with something usable.
void tst_settingsfile::unusablePaths()
{
    QFETCH(QString, config);
    QFETCH(bool, save);

    TestFiles::write(path(QStringLiteral("blocker")), "a file");
    QVERIFY(QDir().mkpath(path(QStringLiteral("shelf/config.ini"))));

    GlobalData data = save ? bookRecord(QStringLiteral("/b.txt")) : GlobalData();
    const SettingsFileResult result = SaveLoadGlobalData(path(config), save, data);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QStringLiteral("config.ini")), qPrintable(result.error));
    QCOMPARE(data.LinesPerPage, qint16(save ? 20 : 15));
    QCOMPARE(TestFiles::read(path(QStringLiteral("blocker"))), QByteArray("a file"));
    QVERIFY(QFileInfo(path(QStringLiteral("shelf/config.ini"))).isDir());
    QVERIFY(QDir(path(QStringLiteral("shelf/config.ini"))).isEmpty());
}

// A write cut short, as on a full disk, must not leave half a record behind: the old file stays
// whole and no temporary file is left beside it.
void tst_settingsfile::failedWriteKeepsTheOldFile()
{
#ifdef Q_OS_UNIX
    const QString config = path(QStringLiteral("Pagelark/config.ini"));
    QVERIFY(save(config, bookRecord(QStringLiteral("/books/old.txt"))).ok);
    const QByteArray old = TestFiles::read(config);

    GlobalData changed = bookRecord(QStringLiteral("/books/a/new/and/longer/path.txt"));
    SettingsFileResult result;
    {
        const FileSizeLimit full(16);
        QVERIFY(full.isActive());
        result = SaveLoadGlobalData(config, true, changed);
    }
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(TestFiles::read(config), old);
    QCOMPARE(QDir(path(QStringLiteral("Pagelark"))).entryList(QDir::Files | QDir::Hidden),
             QStringList {QStringLiteral("config.ini")});
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_settingsfile::configFileFollowsXdgConfigHome()
{
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
    const QString file = ConfigFilePath();
    if (previous.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous);
    QCOMPARE(file, m_dir->path() + QStringLiteral("/Pagelark/config.ini"));
}

QTEST_GUILESS_MAIN(tst_settingsfile)
#include "tst_settingsfile.moc"
