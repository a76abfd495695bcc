// Books in every encoding: a few lines of real text, saved in it by ICU, open as that text, find a
// word as the page view does, and make an HTML page that says its charset.
#include "book/Book.h"
#include "book/BookSearch.h"
#include "book/TextCodec.h"
#include "book/TextToUtf8.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "texttools/HtmlPage.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using E = TextEncoding;
Q_DECLARE_METATYPE(TextEncoding)

namespace {

QString sentence(const char *language)
{
    QFile file(
        QStringLiteral(PAGELARK_SOURCE_DIR "/tests/book/data/%1.txt").arg(QLatin1String(language)));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The text as Qt's converters (ICU's) write it in charset, a byte-order mark first when asked for.
QByteArray saved(const QString &text, const char *charset, bool mark = false)
{
    using F = QStringConverter::Flag;
    return QStringEncoder(charset, mark ? F::WriteBom : F::Default).encode(text);
}

// A language's text saved in a charset, with the encoding the reader finds it is in, and a word on
// a later page of it, in other letter case where there is one.
// clang-format off
struct Sample { const char *language, *charset; bool mark; E detected; const char16_t *word; };
// clang-format on

const Sample kSamples[] = {
    {"ru", "UTF-8", false, E::Utf8, u"ОБЛОНСКИХ"},
    {"ru", "UTF-16LE", true, E::Utf16LE, u"ОБЛОНСКИХ"},
    {"ru", "UTF-16BE", true, E::Utf16BE, u"ОБЛОНСКИХ"},
    {"ru", "UTF-16LE", false, E::Utf16LE, u"ОБЛОНСКИХ"},
    {"ru", "UTF-16BE", false, E::Utf16BE, u"ОБЛОНСКИХ"},
    {"ru", "UTF-32BE", true, E::Utf32BE, u"ОБЛОНСКИХ"},
    {"ru", "windows-1251", false, E::Windows1251, u"ОБЛОНСКИХ"},
    {"ru", "KOI8-R", false, E::Koi8R, u"ОБЛОНСКИХ"},
    {"ru", "ISO-8859-5", false, E::Iso8859_5, u"ОБЛОНСКИХ"},
    {"cs", "windows-1250", false, E::Windows1250, u"KVĚTOUCÍ"},
    {"cs", "ISO-8859-2", false, E::Iso8859_2, u"KVĚTOUCÍ"},
    {"el", "ISO-8859-7", false, E::Iso8859_7, u"ΑΘΉΝΑ"},
    {"tr", "windows-1254", false, E::Windows1254, u"ÜLKENIN"},
    {"he", "windows-1255", false, E::Windows1255, u"ויאמר"},
    {"ar", "windows-1256", false, E::Windows1256, u"القرآن"},
    {"lt", "windows-1257", false, E::Windows1257, u"SOSTINĖ"}, // a dash ISO-8859-13 lacks
    {"zh", "GB18030", false, E::Gb18030, u"长江"},
    {"tw", "Big5", false, E::Big5, u"玉山"},
    {"ja", "Shift_JIS", false, E::ShiftJis, u"人間"},
    {"ja", "EUC-JP", false, E::EucJp, u"人間"},
    {"ko", "EUC-KR", false, E::EucKr, u"김치"},
    {"fr", "windows-1252", false, E::Windows1252, u"RÉSINE"},
};

// Bytes of no encoding in particular: line ends, NULs, marks, whole and broken UTF-8, a pair of
// UTF-16 LE, runs of ASCII that make lines longer than the detector's sample takes.
QByteArray byteSoup(QRandomGenerator &random, qsizetype size)
{
    // clang-format off
    static const QByteArray parts[] = {"\r", "\n", "a", " ", "\xC3\xA9", "\xC3", "\xA9", "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80", QByteArray(1, '\0'), "\xFF", "\xE9", "\xEF\xBB\xBF", "\xFF\xFE",
        QByteArray("\x3D\xD8\x00\xDE", 4), QByteArray(1500, 'x')};
    // clang-format on
    QByteArray bytes;
    while (bytes.size() < size)
        bytes += parts[random.bounded(int(std::size(parts)))];
    return bytes;
}

// bytes cut into pieces of 1 to most bytes.
QList<QByteArrayView> piecesOf(QByteArrayView bytes, qsizetype most, QRandomGenerator &random)
{
    QList<QByteArrayView> pieces;
    for (qsizetype at = 0; at < bytes.size(); at += pieces.last().size())
        pieces << bytes.sliced(at, qMin(bytes.size() - at, random.bounded(most) + 1));
    return pieces;
}

} // namespace

class tst_encodings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openAndFind_data()
    {
        QTest::addColumn<Sample>("sample");
        for (const Sample &sample : kSamples)
            QTest::addRow("%s %s%s", sample.charset, sample.language, sample.mark ? " mark" : "")
                << sample;
    }

    void openAndFind()
    {
        QFETCH(Sample, sample);
        const QString text = sentence(sample.language), word = QString::fromUtf16(sample.word);
        const QByteArray bytes = saved(text, sample.charset, sample.mark);
        QVERIFY(!text.isEmpty() && !bytes.isEmpty());

        // Read from a file, as a wide encoding is converted while it is read.
        QTemporaryDir folder;
        const QString path = TestFiles::write(folder.filePath(u"book.txt"_s), bytes);
        Book book;
        QCOMPARE(book.load(path, 1).status, Book::Status::Loaded);
        QCOMPARE(book.encoding(), sample.detected);
        QString pages;
        for (int page = 0; page < book.pageCount(); ++page)
            pages += book.pageText(page);
        QCOMPARE(pages, QString(text).replace(u'\n', QStringLiteral("\r\n")));

        const QStringList lines = text.split(u'\n');
        int line = 1;
        while (!lines[line].contains(word, Qt::CaseInsensitive))
            ++line;
        const auto match = BookSearch::find(book, word, 0);
        QCOMPARE(match.value_or(BookSearch::Match {}).page, line);
        QCOMPARE(match->position, int(lines[line].indexOf(word, 0, Qt::CaseInsensitive)));

        // A page is in Windows-1252 from a source in it, in UTF-8 from any other.
        const E pageEncoding = sample.detected == E::Windows1252 ? E::Windows1252 : E::Utf8;
        const QByteArray page = TestFiles::htmlPageOf(bytes, QStringLiteral("n"));
        QVERIFY(page.contains(
            QByteArray("charset=" + TextCodec::charsetName(pageEncoding).toLatin1())));
        QVERIFY(page.contains(saved(lines[2], pageEncoding == E::Utf8 ? "UTF-8" : "windows-1252")));
    }

    // A text read in pieces, cut anywhere, tells the encoding that detect() tells of the whole
    // text (plain ASCII told apart, as a page is in Windows-1252), and turns into the UTF-8 that
    // converting the whole gives: texts of every encoding above, short and longer than what
    // detection looks at, some broken off anywhere or with a stray byte, and bytes of none.
    void piecesReadAsTheWhole()
    {
        QRandomGenerator random(5);
        const qsizetype pieceSizes[] = {1, 2, 3, 7, 64, 5000, 1 << 20};
        for (int round = 0; round < 400; ++round) {
            const Sample &sample = kSamples[random.bounded(int(std::size(kSamples)))];
            const qsizetype most = pieceSizes[random.bounded(int(std::size(pieceSizes)))];
            const int copies = most < 64 ? random.bounded(1, 20) : random.bounded(1, 300);
            QByteArray bytes =
                saved(sentence(sample.language).repeated(copies), sample.charset, sample.mark);
            const int change = random.bounded(5);
            if (change == 0)
                bytes.truncate(random.bounded(bytes.size() + 1));
            else if (change == 1)
                bytes.insert(random.bounded(bytes.size() + 1), char(random.bounded(0x80, 0x100)));
            else if (change == 2)
                bytes = byteSoup(random, random.bounded(most < 64 ? 3000 : 80000));

            qsizetype wholeBom = 0, bom = -1;
            const E whole = TextCodec::detect(bytes, &wholeBom);
            EncodingDetector detector;
            EncodingGuess::Sample lines, wholeLines;
            for (const QByteArrayView piece : piecesOf(bytes, most, random)) {
                detector.add(piece);
                lines.add(piece);
            }
            wholeLines.add(bytes);
            QCOMPARE(lines.bytes(), wholeLines.bytes());
            QCOMPARE(detector.encoding(&bom), whole);
            QCOMPARE(bom, wholeBom);
            QCOMPARE(detector.isAscii(), std::all_of(bytes.cbegin(), bytes.cend(), [](char c) {
                         return static_cast<unsigned char>(c) < 0x80;
                     }));
            if (whole == E::Utf8)
                continue;
            const QByteArrayView text = QByteArrayView(bytes).sliced(bom);
            QByteArray expected;
            if (TextCodec::isWide(whole))
                WideToUtf8(whole).append(text, expected, true);
            else
                expected = TextCodec::decode(text, whole).toUtf8();
            TextToUtf8 converter(whole);
            QByteArray utf8;
            for (const QByteArrayView piece : piecesOf(text, most, random))
                converter.append(piece, utf8, false);
            converter.append({}, utf8, true);
            QCOMPARE(utf8, expected);
        }
    }

    void chosenEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("chosen");
        QTest::addColumn<int>("reads"); // 1: as written, 0: another text, -1: refused for NUL bytes

        const QByteArray cp1251 = saved(sentence("ru"), "windows-1251");
        const QByteArray utf16 = saved(sentence("ru"), "UTF-16LE", true);
        QTest::newRow("the right one") << cp1251 << E::Windows1251 << 1;
        QTest::newRow("a wrong one") << cp1251 << E::Koi8R << 0;
        QTest::newRow("UTF-16, mark dropped") << utf16 << E::Utf16LE << 1;
        QTest::newRow("UTF-16 as bytes") << utf16 << E::Windows1252 << -1;
    }

    void chosenEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, chosen);
        QFETCH(int, reads);

        Book book;
        const Book::Status status = book.loadBytes(bytes, 1, chosen).status;
        QCOMPARE(status, reads < 0 ? Book::Status::NotText : Book::Status::Loaded);
        QVERIFY(reads < 0 || book.encoding() == chosen);
        QCOMPARE(book.pageText(0) == sentence("ru").section(u'\n', 0, 0) + u"\r\n", reads == 1);
    }

    // Each encoding of the menu is found by its names and reads a line of ASCII as it is.
    void everyEncodingOfTheMenu()
    {
        const QString line = QStringLiteral("A line, 1 & 2.\r\n");
        for (const TextCodec::EncodingName &entry : TextCodec::encodings()) {
            QCOMPARE(TextCodec::encodingForName(entry.name), entry.encoding);
            QCOMPARE(TextCodec::encodingForName(TextCodec::charsetName(entry.encoding)),
                     entry.encoding);
            QCOMPARE(TextCodec::decode(TextCodec::encode(line, entry.encoding), entry.encoding),
                     line);
        }
    }
};

PAGELARK_TEST(tst_encodings);
#include "tst_encodings.moc"
