// The two encodings books and tool sources are read in, and the way back to bytes.
#include "book/TextCodec.h"

#include <QRandomGenerator>
#include <QTest>

#include <iterator>

Q_DECLARE_METATYPE(TextEncoding)

class tst_textcodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void detection_data();
    void detection();
    void detectionAgreesWithQt();
    void sequencesAcrossBlockEdges();
    void windows1252RoundTrip();
    void windows1252Characters_data();
    void windows1252Characters();
    void charactersWithoutAByte();
    void utf8RoundTrip();
};

void tst_textcodec::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<int>("bom");

    QTest::newRow("ASCII") << QByteArray("abc") << TextEncoding::Utf8 << 0;
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9") << TextEncoding::Utf8 << 0;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFz") << TextEncoding::Utf8 << 3;
    QTest::newRow("lone high byte") << QByteArray("caf\xE9") << TextEncoding::Windows1252 << 0;
    QTest::newRow("cut sequence") << QByteArray("\xE2\x82") << TextEncoding::Windows1252 << 0;
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << TextEncoding::Windows1252 << 0;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << TextEncoding::Windows1252 << 0;
}

void tst_textcodec::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(int, bom);

    qsizetype bomLength = -1;
    QCOMPARE(TextCodec::detect(bytes, &bomLength), encoding);
    QCOMPARE(bomLength, qsizetype(bom));
}

// Valid UTF-8 of every length around the sizes the validator works in, with one byte spoiled
// now and then, must be judged as Qt's own validator judges it.
void tst_textcodec::detectionAgreesWithQt()
{
    static const char *const pieces[] = {"a",
                                         "\n",
                                         "\xC3\xA9",
                                         "\xE2\x82\xAC",
                                         "\xF0\x9F\x98\x80",
                                         "\xED\x9F\xBF",
                                         "\xEF\xBF\xBF",
                                         "\xF4\x8F\xBF\xBF"};
    static const char spoilers[] = {'\x80', '\xBF', '\xC0', '\xC1', '\xE0',
                                    '\xED', '\xF4', '\xF5', '\xFF', 'a'};
    QRandomGenerator random(1252);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(0, 200);
        while (bytes.size() < length)
            bytes += pieces[random.bounded(int(std::size(pieces)))];
        if (!bytes.isEmpty() && random.bounded(3) != 0)
            bytes[random.bounded(int(bytes.size()))] =
                spoilers[random.bounded(int(std::size(spoilers)))];
        if (random.bounded(4) == 0) // cut inside a sequence
            bytes.chop(random.bounded(0, 4));
        if (bytes.isEmpty())
            continue;
        // Text that is no UTF-8 may be read in a code page the detector names.
        QVERIFY2((TextCodec::detect(bytes) == TextEncoding::Utf8)
                     == QByteArrayView(bytes).isValidUtf8(),
                 bytes.toHex(' ').constData());
    }
}

// The check reads the text in blocks and skips runs of plain ASCII whole: a sequence, whole or
// broken, must be judged the same wherever it falls against those blocks, long texts included.
void tst_textcodec::sequencesAcrossBlockEdges()
{
    static const char *const sequences[] = {
        "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", // whole
        "\xC3",     "\xE2\x82",     "\xF0\x9F\x98",     "\x80", // cut short
        "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",     "\xF4\x90\x80\x80", // not allowed
        "\xBF\xBF", "\xFF"};
    for (const char *sequence : sequences) {
        for (int at = 0; at < 200; ++at) {
            for (int length : {at + 4, 260}) {
                QByteArray bytes(length, 'x');
                bytes.replace(at, int(qstrlen(sequence)), sequence);
                bytes.truncate(qMax(length, int(at + qstrlen(sequence))));
                const TextEncoding expected = QByteArrayView(bytes).isValidUtf8()
                    ? TextEncoding::Utf8
                    : TextEncoding::Windows1252;
                QVERIFY2(TextCodec::detect(bytes) == expected, bytes.toHex(' ').constData());
            }
        }
    }
}

void tst_textcodec::windows1252RoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = TextCodec::decode(all, TextEncoding::Windows1252);
    QCOMPARE(text.size(), 256);
    QCOMPARE(TextCodec::encode(text, TextEncoding::Windows1252), all);
    for (const QChar ch : text)
        QVERIFY(TextCodec::canEncode(ch.unicode(), TextEncoding::Windows1252));
}

void tst_textcodec::windows1252Characters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");

    QTest::newRow("0x41") << 0x41 << 0x41;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("0x81 undefined") << 0x81 << 0x81;
    QTest::newRow("0x8D undefined") << 0x8D << 0x8D;
    QTest::newRow("0x8F undefined") << 0x8F << 0x8F;
    QTest::newRow("0x90 undefined") << 0x90 << 0x90;
    QTest::newRow("0x9D undefined") << 0x9D << 0x9D;
    QTest::newRow("left double quote") << 0x93 << 0x201C;
    QTest::newRow("Y diaeresis") << 0x9F << 0x178;
    QTest::newRow("no-break space") << 0xA0 << 0xA0;
    QTest::newRow("y diaeresis") << 0xFF << 0xFF;
}

void tst_textcodec::windows1252Characters()
{
    QFETCH(int, byte);
    QFETCH(int, character);

    const QByteArray bytes(1, char(byte));
    const QString text = TextCodec::decode(bytes, TextEncoding::Windows1252);
    QCOMPARE(text, QString(QChar(character)));
    QCOMPARE(TextCodec::encode(text, TextEncoding::Windows1252), bytes);
}

void tst_textcodec::charactersWithoutAByte()
{
    // U+0080 and U+009F have no byte of their own: 0x80 and 0x9F stand for other characters.
    for (const char32_t ch : {U'\u0080', U'\u009F', U'\u0100', U'\u4E2D', U'\U0001F600'})
        QVERIFY(!TextCodec::canEncode(ch, TextEncoding::Windows1252));
    QVERIFY(TextCodec::canEncode(U'\U0001F600', TextEncoding::Utf8));
    // A character outside the BMP is one character, so it becomes one '?'.
    QCOMPARE(TextCodec::encode(u"a\u4E2D\U0001F600b", TextEncoding::Windows1252),
             QByteArray("a??b"));
}

void tst_textcodec::utf8RoundTrip()
{
    const QByteArray bytes("gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80");
    const QString text = TextCodec::decode(bytes, TextEncoding::Utf8);
    QCOMPARE(text, QStringLiteral("gr\u00FC\u00DF \u20AC \U0001F600"));
    QCOMPARE(TextCodec::encode(text, TextEncoding::Utf8), bytes);
}

QTEST_GUILESS_MAIN(tst_textcodec)
#include "tst_textcodec.moc"
