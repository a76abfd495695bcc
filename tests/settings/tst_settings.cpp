// The settings: config.ini's bytes both ways, what a cut or damaged record gives, the defaults
// rule, the old tail a shorter record leaves, writes that cannot be made; and the Options
// dialog's lines per page, read by its rule and asked for again until usable.
#include "settings/LinesPerPageRule.h"
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"
#include "settings/frmOptions.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

Q_DECLARE_METATYPE(GlobalData)

namespace {

// LoadLastBook True, LastBook D:\b.txt, LastPage 4, 15 lines, white on black, 12-point Arial.
const QByteArray kExample = QByteArray::fromHex(
    "FF FF 00 00 08 00 44 3A 5C 62 2E 74 78 74 04 00 0F 00 03 00 FF FF FF 00 03 00 00 00 00 00 "
    "00 00 00 00 00 00 0C 00 05 00 41 72 69 61 6C 00 00 00 00");
// Where each of the example's fields ends.
const int kExampleFieldEnds[] = {2, 4, 14, 16, 18, 24, 30, 32, 34, 36, 38, 45, 47, 49};

GlobalData example()
{
    GlobalData d = GlobalData::defaults();
    d.LoadLastBook = VTrue;
    d.LastBook = QStringLiteral("D:\\b.txt");
    d.LastPage = 4;
    d.FontName = QStringLiteral("Arial");
    return d;
}

// Every field unlike the example's, each as wide, so that a read shows which fields it replaced.
// Paths are stored in the local 8-bit file-name encoding and come back as they were.
GlobalData other()
{
    return {VFalse,
            VTrue,
            QStringLiteral("/l\u00E9.txt"),
            -32768,
            32767,
            VariantValue::fromLong(qint32(0x80000005)),
            VariantValue::fromLong(0xFF),
            {},
            {},
            VTrue,
            77,
            QStringLiteral("Serif"),
            VTrue,
            VTrue};
}

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.emplace().isValid()); }
    void bothWays_data();
    void bothWays();
    void damagedRecord_data();
    void damagedRecord();
    void configFile_data();
    void configFile();
    void fullDiskKeepsTheOldFile();
    void linesPerPage_data();
    void linesPerPage();
    void storeAsksUntilUsable();

private:
    std::optional<QTemporaryDir> m_dir;
};

void tst_settings::bothWays_data()
{
    QTest::addColumn<GlobalData>("record");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("bytes"); // empty where only the size is given

    QTest::newRow("the 49-byte example") << example() << 49 << kExample;
    QTest::newRow("the 36-byte empty record")
        << GlobalData::defaults() << 36
        << QByteArray::fromHex("00000000000000000F000300FFFFFF00030000000000000000000000"
                               "0C00000000000000");
    QTest::newRow("every field unlike the example's") << other() << 49 << QByteArray();
    GlobalData favourite = other();
    favourite.FavoritePath = QStringLiteral("/home/reader/Books/");
    favourite.FavoriteDrive = QStringLiteral("/");
    favourite.ForeColor = {VariantValue::Integer, -2}; // a 16-bit colour takes 2 bytes
    QTest::newRow("a favourite folder") << favourite << 49 + 19 + 1 - 2 << QByteArray();
    GlobalData noColour = example();
    noColour.ForeColor = {VariantValue::Null, 0};
    QTest::newRow("no single text colour") << noColour << 45 << QByteArray();
}

void tst_settings::bothWays()
{
    QFETCH(GlobalData, record);
    QFETCH(int, size);
    QFETCH(QByteArray, bytes);

    const QByteArray encoded = RecordCodec::encode(record);
    QCOMPARE(encoded.size(), size);
    if (!bytes.isEmpty())
        QCOMPARE(encoded, bytes);
    // Bytes left after the record by an earlier, longer one are not read.
    GlobalData read = record == example() ? other() : example();
    QCOMPARE(RecordCodec::decode(QByteArray(encoded + "C:\\older\\tail"), read),
             RecordCodec::FieldCount);
    QCOMPARE(read, record);
}

void tst_settings::damagedRecord_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fields"); // read whole, in order

    for (int n = 0; n < kExample.size(); ++n)
        QTest::addRow("cut at %d", n)
            << kExample.left(n)
            << int(std::count_if(std::begin(kExampleFieldEnds), std::end(kExampleFieldEnds),
                                 [n](int end) { return end <= n; }));
    QTest::newRow("unknown colour type") << QByteArray(kExample).replace(18, 2, "\x07\x00", 2) << 5;
    QTest::newRow("LastBook of the longest length")
        << QByteArray(kExample).replace(4, 2, "\xFF\xFF", 2) << 2;
    QTest::newRow("FontName past the end by one")
        << QByteArray(kExample).replace(38, 2, "\x0A\x00", 2) << 11;
}

// A record cut or damaged anywhere gives the fields before the damage, reads no byte past the
// file's (a copy of its own, so that such a read is one past the buffer), and leaves the rest.
void tst_settings::damagedRecord()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, fields);

    const QByteArray copy(bytes.constData(), bytes.size());
    GlobalData read = other();
    QCOMPARE(RecordCodec::decode(copy, read), fields);
    const int end = fields ? kExampleFieldEnds[fields - 1] : 0;
    QCOMPARE(RecordCodec::encode(read), kExample.left(end) + RecordCodec::encode(other()).mid(end));
}

void tst_settings::configFile_data()
{
    QTest::addColumn<QString>("where"); // blocker is a file, shelf a folder
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<bool>("save");
    QTest::addColumn<GlobalData>("record"); // before the call
    QTest::addColumn<GlobalData>("after");
    QTest::addColumn<QByteArray>("bytes"); // the file after the call; null for none

    const QString config = QStringLiteral("Pagelark/config.ini");
    const GlobalData none;
    QTest::newRow("first run: an empty file is made")
        << config << QByteArray() << false << none << GlobalData::defaults() << QByteArray("");
    QTest::newRow("an empty file is a first run")
        << config << QByteArray("") << false << none << GlobalData::defaults() << QByteArray("");
    QTest::newRow("save") << config << QByteArray() << true << example() << example() << kExample;
    const QByteArray tail("C:\\older\\tail");
    QTest::newRow("a shorter record keeps the old tail")
        << config << kExample + tail << true << other() << other()
        << RecordCodec::encode(other()) + tail;
    GlobalData noPageSize = other();
    noPageSize.LinesPerPage = 0;
    GlobalData defaulted = noPageSize;
    defaulted.LinesPerPage = 15;
    defaulted.BackColor = VariantValue::fromLong(0xFFFFFF);
    defaulted.ForeColor = VariantValue::fromLong(0);
    defaulted.FavoriteSet = VFalse;
    defaulted.FontSize = 12;
    QTest::newRow("no page size brings the five defaults")
        << config << RecordCodec::encode(noPageSize) << false << none << defaulted
        << RecordCodec::encode(noPageSize);
    for (const QString &where : {QStringLiteral("blocker/config.ini"), QStringLiteral("shelf")}) {
        QTest::addRow("read %s", qPrintable(where))
            << where << QByteArray() << false << none << GlobalData::defaults() << QByteArray();
        QTest::addRow("save %s", qPrintable(where))
            << where << QByteArray() << true << example() << example() << QByteArray();
    }
}

// A failure names the file, leaves what is there as it was, and still gives a record with the
// defaults to start on; what a call leaves in the file reads back as the record it left.
void tst_settings::configFile()
{
    QFETCH(QString, where);
    QFETCH(QByteArray, before);
    QFETCH(bool, save);
    QFETCH(GlobalData, record);
    QFETCH(GlobalData, after);
    QFETCH(QByteArray, bytes);

    TestFiles::write(m_dir->filePath(QStringLiteral("blocker")), "a file");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("shelf")));
    const QString path = m_dir->filePath(where);
    if (!before.isNull())
        TestFiles::write(path, before);
    const SettingsFileResult result = SaveLoadGlobalData(path, save, record);
    QCOMPARE(record, after);
    QCOMPARE(result.ok, !bytes.isNull());
    QCOMPARE(result.error.contains(path), bytes.isNull());
    if (bytes.isNull()) {
        QCOMPARE(TestFiles::read(m_dir->filePath(QStringLiteral("blocker"))), "a file");
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("shelf"))).isEmpty());
        return;
    }
    QCOMPARE(TestFiles::read(path), bytes);
    GlobalData again;
    QVERIFY(SaveLoadGlobalData(path, false, again).ok);
    QCOMPARE(again, after);
}

// A write cut short, as on a full disk, leaves the old file whole and nothing beside it.
void tst_settings::fullDiskKeepsTheOldFile()
{
    const QString config = m_dir->filePath(QStringLiteral("config.ini"));
    TestFiles::write(config, kExample);
    GlobalData changed = other();
    SettingsFileResult result;
    {
        const FileSizeLimit full(16);
        QVERIFY(full.isActive());
        result = SaveLoadGlobalData(config, true, changed);
    }
    QVERIFY(!result.ok);
    QCOMPARE(TestFiles::read(config), kExample);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {QStringLiteral("config.ini")});
}

void tst_settings::linesPerPage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("stored"); // 0: too small, -1: too large, never wrapped

    QTest::newRow("one") << u"1"_qs << u"C"_qs << 1;
    QTest::newRow("just below one") << u"0.99"_qs << u"C"_qs << 0;
    QTest::newRow("a fraction rounds down") << u"2.9"_qs << u"C"_qs << 2;
    QTest::newRow("blanks around") << u" 12 "_qs << u"C"_qs << 12;
    QTest::newRow("empty, as a cancelled box") << QString() << u"C"_qs << 0;
    QTest::newRow("not a number") << u"nan"_qs << u"C"_qs << 0;
    QTest::newRow("largest") << u"32767.9"_qs << u"C"_qs << 32767;
    QTest::newRow("one past largest") << u"32768"_qs << u"C"_qs << -1;
    QTest::newRow("decimal comma") << u"2,9"_qs << u"de_DE"_qs << 2;
    QTest::newRow("C decimal point anywhere") << u"3.5"_qs << u"de_DE"_qs << 3;
}

void tst_settings::linesPerPage()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(int, stored);

    const LinesPerPageRule::Result result = LinesPerPageRule::check(text, QLocale(locale));
    const int verdict[] = {int(result.value), 0, -1};
    QCOMPARE(verdict[int(result.verdict)], stored);
}

// The flags are stored before the number is asked for; each refusal is a warning, then an input
// box, until a number is usable.
void tst_settings::storeAsksUntilUsable()
{
    ScriptedPrompts prompts;
    prompts.inputs << u"-3"_qs << QString() << u"2.9"_qs;
    // An empty queue answers as a cancelled box, which is asked again: end a loop that runs dry.
    prompts.duringMessage = [&] {
        if (prompts.calls.size() > 12)
            prompts.inputs << u"999"_qs;
    };
    GlobalData data = GlobalData::defaults();
    data.LoadLastBook = VTrue;
    data.JumpToLastPage = VTrue;
    frmOptions dialog(prompts, data, nullptr);
    dialog.findChild<QCheckBox *>(u"Check1"_qs)->click();
    dialog.findChild<QLineEdit *>(u"Text1"_qs)->setText(u"40000"_qs);
    dialog.findChild<QPushButton *>(u"cmdOK"_qs)->click();

    QStringList asked;
    for (const ScriptedPrompts::Call &call : std::as_const(prompts.calls)) {
        asked << call.text;
        QVERIFY(call.title.isEmpty() && call.buttons == Prompts::Buttons::Ok
                && call.icon == Prompts::Icon::None);
    }
    const QString again = u"Please enter another number"_qs;
    const QString small =
        u"Warning: line per page can't be smaller than 1, please enter another number"_qs;
    const QString large =
        u"Warning: line per page can't be larger than 32767, please enter another number"_qs;
    QCOMPARE(asked, QStringList({large, again, small, again, small, again}));
    QCOMPARE(data.LinesPerPage, qint16(2));
    QCOMPARE(data.LoadLastBook, VFalse);
    QCOMPARE(data.JumpToLastPage, VTrue); // disabled, yet still checked
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

PAGELARK_TEST(tst_settings);
#include "tst_settings.moc"
