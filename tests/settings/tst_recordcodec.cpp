// The byte image of the settings record in config.ini, and what a damaged image yields.
#include "settings/GlobalData.h"
#include "settings/RecordCodec.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(GlobalData)

namespace {

// LoadLastBook True, LastBook D:\b.txt, LastPage 4, 15 lines, white on black, 12-point Arial.
const QByteArray kExample = QByteArray::fromHex("FFFF0000"
                                                "0800443A5C622E747874"
                                                "04000F00"
                                                "0300FFFFFF00"
                                                "030000000000"
                                                "0000"
                                                "0000"
                                                "0000"
                                                "0C00"
                                                "0500417269616C"
                                                "0000"
                                                "0000");

GlobalData exampleRecord()
{
    GlobalData d;
    d.LoadLastBook = VTrue;
    d.JumpToLastPage = VFalse;
    d.LastBook = QStringLiteral("D:\\b.txt");
    d.LastPage = 4;
    d.LinesPerPage = 15;
    d.BackColor = VariantValue::fromLong(0xFFFFFF);
    d.ForeColor = VariantValue::fromLong(0);
    d.FavoriteSet = VFalse;
    d.FontSize = 12;
    d.FontName = QStringLiteral("Arial");
    return d;
}

// A record whose every field differs from the example's, to see which fields a read replaced.
GlobalData sentinelRecord()
{
    GlobalData d;
    d.LoadLastBook = 7;
    d.JumpToLastPage = 7;
    d.LastBook = QStringLiteral("sentinel");
    d.LastPage = 777;
    d.LinesPerPage = 77;
    d.BackColor = VariantValue::fromLong(0x070707);
    d.ForeColor = VariantValue::fromLong(0x070707);
    d.FavoritePath = QStringLiteral("sentinel");
    d.FavoriteDrive = QStringLiteral("sentinel");
    d.FavoriteSet = 7;
    d.FontSize = 77;
    d.FontName = QStringLiteral("sentinel");
    d.FontBold = 7;
    d.FontItalic = 7;
    return d;
}

// Copies the first `fields` fields of from into to, in record order.
GlobalData firstFields(const GlobalData &from, GlobalData to, int fields)
{
    int i = 0;
    auto take = [&](auto &dst, const auto &src) {
        if (i++ < fields)
            dst = src;
    };
    take(to.LoadLastBook, from.LoadLastBook);
    take(to.JumpToLastPage, from.JumpToLastPage);
    take(to.LastBook, from.LastBook);
    take(to.LastPage, from.LastPage);
    take(to.LinesPerPage, from.LinesPerPage);
    take(to.BackColor, from.BackColor);
    take(to.ForeColor, from.ForeColor);
    take(to.FavoritePath, from.FavoritePath);
    take(to.FavoriteDrive, from.FavoriteDrive);
    take(to.FavoriteSet, from.FavoriteSet);
    take(to.FontSize, from.FontSize);
    take(to.FontName, from.FontName);
    take(to.FontBold, from.FontBold);
    take(to.FontItalic, from.FontItalic);
    return to;
}

// The offset at which each field of the example ends.
const QList<int> kExampleFieldEnds = {2, 4, 14, 16, 18, 24, 30, 32, 34, 36, 38, 45, 47, 49};

} // namespace

class tst_recordcodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exampleRecord();
    void emptyRecordIs36Bytes();
    void roundTrips_data();
    void roundTrips();
    void everyTruncationKeepsTheFieldsRead();
    void unreadableFieldStopsTheRead_data();
    void unreadableFieldStopsTheRead();
    void randomBytes();
};

void tst_recordcodec::exampleRecord()
{
    QCOMPARE(kExample.size(), 49);
    QCOMPARE(RecordCodec::encode(::exampleRecord()), kExample);

    GlobalData read = sentinelRecord();
    QCOMPARE(RecordCodec::decode(kExample, read), RecordCodec::FieldCount);
    QCOMPARE(read, ::exampleRecord());

    // Bytes left after the record by an earlier, longer one are ignored.
    read = sentinelRecord();
    QCOMPARE(RecordCodec::decode(QByteArray(kExample + QByteArray("C:\\older\\tail", 13)), read),
             RecordCodec::FieldCount);
    QCOMPARE(read, ::exampleRecord());
}

void tst_recordcodec::emptyRecordIs36Bytes()
{
    const QByteArray bytes = RecordCodec::encode(GlobalData::defaults());
    QCOMPARE(bytes,
             QByteArray::fromHex("0000000000000000"
                                 "0F000300FFFFFF00030000000000"
                                 "000000000000"
                                 "0C00000000000000"));
    QCOMPARE(bytes.size(), 36);
}

void tst_recordcodec::roundTrips_data()
{
    QTest::addColumn<GlobalData>("record");
    QTest::addColumn<int>("size");

    GlobalData all = ::exampleRecord();
    all.JumpToLastPage = VTrue;
    all.FavoritePath = QStringLiteral("/home/reader/Books/");
    all.FavoriteDrive = QStringLiteral("/");
    all.FavoriteSet = VTrue;
    all.FontBold = VTrue;
    all.FontItalic = VTrue;
    all.LastPage = -32768;
    all.LinesPerPage = 32767;
    all.BackColor = VariantValue::fromLong(qint32(0x80000005));
    QTest::newRow("every field set") << all << 49 + 19 + 1;

    GlobalData mixed = ::exampleRecord();
    mixed.ForeColor = {VariantValue::Null, 0};
    QTest::newRow("no single text colour") << mixed << 45;
    mixed.ForeColor = {VariantValue::Empty, 0};
    QTest::newRow("empty text colour") << mixed << 45;
    mixed.ForeColor = {VariantValue::Integer, -2};
    QTest::newRow("16-bit text colour") << mixed << 47;

    // Paths are stored in the local 8-bit file-name encoding and come back as they were.
    GlobalData accents = ::exampleRecord();
    accents.LastBook = QStringLiteral("/home/l\u00E9a/Les Mis\u00E9rables.txt");
    QTest::newRow("accented path")
        << accents << 49 - 8 + QFile::encodeName(accents.LastBook).size();
}

void tst_recordcodec::roundTrips()
{
    QFETCH(GlobalData, record);
    QFETCH(int, size);

    const QByteArray bytes = RecordCodec::encode(record);
    QCOMPARE(bytes.size(), size);
    GlobalData read = sentinelRecord();
    QCOMPARE(RecordCodec::decode(bytes, read), RecordCodec::FieldCount);
    QCOMPARE(read, record);
}

// A record cut anywhere gives the fields it holds whole, and leaves the rest as they were.
void tst_recordcodec::everyTruncationKeepsTheFieldsRead()
{
    for (int n = 0; n < kExample.size(); ++n) {
        // A copy of its own, so that a read past the cut is a read past the buffer.
        const QByteArray cut(kExample.constData(), n);
        const int whole = int(std::count_if(kExampleFieldEnds.begin(), kExampleFieldEnds.end(),
                                            [n](int end) { return end <= n; }));
        GlobalData read = sentinelRecord();
        QCOMPARE(RecordCodec::decode(cut, read), whole);
        QVERIFY2(read == firstFields(::exampleRecord(), sentinelRecord(), whole),
                 qPrintable(QStringLiteral("cut at %1").arg(n)));
    }
}

void tst_recordcodec::unreadableFieldStopsTheRead_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<int>("fields");

    QTest::newRow("unknown type of BackColor") << 18 << QByteArray("\x07\x00", 2) << 5;
    QTest::newRow("unknown type of ForeColor") << 24 << QByteArray("\x08\x40", 2) << 6;
    QTest::newRow("LastBook runs past the end") << 4 << QByteArray("\x00\x01", 2) << 2;
    QTest::newRow("LastBook of the longest length") << 4 << QByteArray("\xFF\xFF", 2) << 2;
    QTest::newRow("FontName runs past the end by one") << 38 << QByteArray("\x0A\x00", 2) << 11;
}

void tst_recordcodec::unreadableFieldStopsTheRead()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, replacement);
    QFETCH(int, fields);

    QByteArray bytes = kExample;
    bytes.replace(offset, replacement.size(), replacement);
    GlobalData read = sentinelRecord();
    QCOMPARE(RecordCodec::decode(bytes, read), fields);
    QCOMPARE(read, firstFields(::exampleRecord(), sentinelRecord(), fields));
}

// Whatever the file holds, a read ends inside it and yields whole fields only.
void tst_recordcodec::randomBytes()
{
    QRandomGenerator random(20240511);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(0, 120), Qt::Uninitialized);
        for (char &b : bytes)
            b = char(random.bounded(256));
        // Small string lengths and known type codes now and then, to reach the later fields.
        if (round % 2 && bytes.size() >= 20) {
            bytes[4] = char(random.bounded(8));
            bytes[5] = 0;
            bytes[6 + quint8(bytes[4]) + 4] = 3;
            bytes[6 + quint8(bytes[4]) + 5] = 0;
        }
        GlobalData read = sentinelRecord();
        const int fields = RecordCodec::decode(bytes, read);
        QVERIFY(fields >= 0 && fields <= RecordCodec::FieldCount);
        QVERIFY(read == firstFields(read, sentinelRecord(), fields));
    }
}

QTEST_GUILESS_MAIN(tst_recordcodec)
#include "tst_recordcodec.moc"
