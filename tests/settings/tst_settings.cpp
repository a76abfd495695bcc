// The settings: config.ini's bytes both ways, what a cut or damaged record gives, the defaults
// rule, the old tail a shorter record leaves, writes that cannot be made; and the Options
// dialog's lines per page, asked for again until usable or cancelled.
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"
#include "settings/frmOptions.h"
#include "support/ReaderFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(GlobalData)

namespace {

// LoadLastBook True, LastBook D:\b.txt, LastPage 4, 15 lines, black text on white, 12-point Arial.
const QByteArray kExample = QByteArray::fromHex(
    "FF FF 00 00 08 00 44 3A 5C 62 2E 74 78 74 04 00 0F 00 03 00 FF FF FF 00 03 00 00 00 00 00 "
    "00 00 00 00 00 00 0C 00 05 00 41 72 69 61 6C 00 00 00 00");
// Where each of the example's fields ends.
const int kExampleFieldEnds[] = {2, 4, 14, 16, 18, 24, 30, 32, 34, 36, 38, 45, 47, 49};

// clang-format off
const GlobalData kExampleData {VTrue, VFalse, u"D:\\b.txt"_s, 4, 15,
    VariantValue::fromLong(0xFFFFFF), VariantValue::fromLong(0), QString(), QString(), VFalse, 12,
    u"Arial"_s, VFalse, VFalse};
// Every field unlike the example's, each as wide, so that a read shows which fields it replaced.
// Paths are stored in the local 8-bit file-name encoding and come back as they were.
const GlobalData kOther {VFalse, VTrue, u"/l\u00E9.txt"_s, -32768, 32767,
    VariantValue::fromLong(qint32(0x80000005)), VariantValue::fromLong(0xFF), QString(), QString(),
    VTrue, 77, u"Serif"_s, VTrue, VTrue};
// clang-format on

// A record's fields in their order, for comparing two records.
QString fieldsOf(const GlobalData &d)
{
    const auto colour = [](const VariantValue &v) {
        return u"%1:%2"_s.arg(v.type).arg(v.value);
    };
    return QStringList {QString::number(d.LoadLastBook),
                        QString::number(d.JumpToLastPage),
                        d.LastBook,
                        QString::number(d.LastPage),
                        QString::number(d.LinesPerPage),
                        colour(d.BackColor),
                        colour(d.ForeColor),
                        d.FavoritePath,
                        d.FavoriteDrive,
                        QString::number(d.FavoriteSet),
                        QString::number(d.FontSize),
                        d.FontName,
                        QString::number(d.FontBold),
                        QString::number(d.FontItalic)}
        .join(u'|');
}

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("fields"); // read whole, in order

        for (int n = 0, fields = 0; n < kExample.size(); ++n) {
            fields += n == kExampleFieldEnds[fields];
            QTest::addRow("cut at %d", n) << kExample.left(n) << fields;
        }
        QTest::newRow("unknown colour type")
            << QByteArray(kExample).replace(18, 2, "\x07\x00", 2) << 5;
        QTest::newRow("LastBook of the longest length")
            << QByteArray(kExample).replace(4, 2, "\xFF\xFF", 2) << 2;
    }

    // A record cut or damaged anywhere gives the fields before the damage, reads no byte past the
    // file's (a copy of its own, so that such a read is one past the buffer), and leaves the rest.
    void damagedRecord()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, fields);

        const QByteArray copy(bytes.constData(), bytes.size());
        GlobalData read = kOther;
        QCOMPARE(RecordCodec::decode(copy, read), fields);
        const int end = fields ? kExampleFieldEnds[fields - 1] : 0;
        QCOMPARE(RecordCodec::encode(read),
                 kExample.left(end) + RecordCodec::encode(kOther).mid(end));
    }

    void configFile_data()
    {
        QTest::addColumn<QString>("where"); // blocker is a file, shelf a folder
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<bool>("save");
        QTest::addColumn<GlobalData>("record"); // saved, or expected from a read
        QTest::addColumn<QByteArray>("bytes"); // the file after the call; null: none, a failure

        const QString config = u"Pagelark/config.ini"_s;
        const GlobalData defaults = firstRunRecord();
        QTest::newRow("first run: an empty file is made")
            << config << QByteArray() << false << defaults << QByteArray("");
        QTest::newRow("the 36-byte empty record")
            << config << QByteArray() << true << defaults
            << QByteArray::fromHex("00000000000000000F000300FFFFFF00030000000000000000000000"
                                   "0C00000000000000");
        // Non-empty favourite strings, a 16-bit colour and none.
        GlobalData favourite = kExampleData;
        favourite.FavoritePath = u"/home/reader/Books/"_s;
        favourite.FavoriteDrive = u"/"_s;
        favourite.BackColor = {VariantValue::Null, 0};
        favourite.ForeColor = {VariantValue::Integer, -2};
        QTest::newRow("a favourite folder, other colours")
            << config << QByteArray() << true << favourite
            << kExample.left(18)
                + QByteArray("\x01\x00\x02\x00\xFE\xFF\x13\x00/home/reader/Books/\x01\x00/", 30)
                + kExample.mid(34);
        // Read back, the old tail after the record is not read either.
        const QByteArray tail("C:\\older\\tail");
        QTest::newRow("a shorter record keeps the old tail")
            << config << kExample + tail << true << kOther << RecordCodec::encode(kOther) + tail;
        GlobalData noPageSize = kOther;
        noPageSize.LinesPerPage = 0;
        // clang-format off
        const GlobalData defaulted {VFalse, VTrue, u"/l\u00E9.txt"_s, -32768, 15,
            VariantValue::fromLong(0xFFFFFF), VariantValue::fromLong(0), QString(), QString(), VFalse,
            12, u"Serif"_s, VTrue, VTrue};
        // clang-format on
        QTest::newRow("no page size brings the five defaults")
            << config << RecordCodec::encode(noPageSize) << false << defaulted
            << RecordCodec::encode(noPageSize);
        for (const QString &where : {u"blocker/config.ini"_s, u"shelf"_s}) {
            QTest::addRow("read %s", qPrintable(where))
                << where << QByteArray() << false << defaults << QByteArray();
            QTest::addRow("save %s", qPrintable(where))
                << where << QByteArray() << true << kExampleData << QByteArray();
        }
    }

    // A failure names the file, leaves what is there as it was, and still gives a record with the
    // defaults to start on; what a call leaves in the file reads back as the record it left.
    void configFile()
    {
        QFETCH(QString, where);
        QFETCH(QByteArray, before);
        QFETCH(bool, save);
        QFETCH(GlobalData, record);
        QFETCH(QByteArray, bytes);

        const QTemporaryDir dir;
        TestFiles::write(dir.filePath(u"blocker"_s), "a file");
        QVERIFY(QDir(dir.path()).mkdir(u"shelf"_s));
        const QString path = dir.filePath(where);
        if (!before.isNull())
            TestFiles::write(path, before);
        GlobalData data = save ? record : GlobalData();
        const SettingsFileResult result = SaveLoadGlobalData(path, save, data);
        QCOMPARE(fieldsOf(data), fieldsOf(record));
        QCOMPARE(result.ok, !bytes.isNull());
        QCOMPARE(result.error.contains(path), bytes.isNull());
        QCOMPARE(QFileInfo(path).isFile(), !bytes.isNull());
        QCOMPARE(TestFiles::read(path), bytes);
        QCOMPARE(TestFiles::read(dir.filePath(u"blocker"_s)), "a file");
        QVERIFY(QDir(dir.filePath(u"shelf"_s)).isEmpty());
        GlobalData again;
        QVERIFY(
            bytes.isNull()
            || (SaveLoadGlobalData(path, false, again).ok && fieldsOf(again) == fieldsOf(record)));
    }

    void linesPerPage_data()
    {
        QTest::addColumn<QString>("typed"); // in the box, then after each refusal in an input box
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("refusals"); // S: too small, L: too large, never wrapped
        QTest::addColumn<int>("stored"); // 0: the input box cancelled

        QTest::newRow("one") << u"1"_s << u"C"_s << QString() << 1;
        QTest::newRow("just below one, one past largest, cancelled")
            << u"0.99|32768"_s << u"C"_s << u"SL"_s << 0;
        QTest::newRow("not a number, no text, largest rounded down")
            << u"nan||32767.9"_s << u"C"_s << u"SS"_s << 32767;
        QTest::newRow("decimal comma") << u"2,9"_s << u"de_DE"_s << QString() << 2;
        QTest::newRow("C decimal point anywhere") << u"3.5"_s << u"de_DE"_s << QString() << 3;
    }

    // The flags are stored with a usable number only; each refusal is a warning, then an input
    // box, and cancelling that box goes back to the dialog with the number stored before.
    void linesPerPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, locale);
        QFETCH(QString, refusals);
        QFETCH(int, stored);

        const auto restore = qScopeGuard([was = QLocale()] { QLocale::setDefault(was); });
        QLocale::setDefault(QLocale(locale));
        ScriptedPrompts prompts;
        const QStringList texts = typed.split(u'|');
        for (const QString &text : texts.mid(1))
            prompts.inputs << text;
        GlobalData data = firstRunRecord();
        data.LoadLastBook = VTrue;
        data.JumpToLastPage = VTrue;
        frmOptions dialog(prompts, data, nullptr);
        dialog.show();
        dialog.findChild<QCheckBox *>(u"Check1"_s)->click();
        auto *lines = dialog.findChild<QLineEdit *>(u"Text1"_s);
        lines->setText(texts[0]);
        dialog.findChild<QPushButton *>(u"cmdOK"_s)->click();

        QStringList asked;
        for (const ScriptedPrompts::Call &call : std::as_const(prompts.calls))
            asked << call.title + call.text; // under the program's own title
        QStringList expected;
        for (const QChar refusal : refusals)
            expected << u"Warning: line per page can't be %1, please enter another number"_s.arg(
                refusal == u'L' ? u"larger than 32767"_s : u"smaller than 1"_s)
                     << u"Please enter another number"_s;
        QCOMPARE(asked, expected);
        QCOMPARE(dialog.isVisible(), !stored);
        QCOMPARE(data.LinesPerPage, qint16(stored ? stored : 15));
        QVERIFY(stored || lines->text() == u"15");
        QCOMPARE(data.LoadLastBook, stored ? VFalse : VTrue);
        QCOMPARE(data.JumpToLastPage, VTrue); // disabled, yet still checked
    }
};

PAGELARK_TEST(tst_settings);
#include "tst_settings.moc"
