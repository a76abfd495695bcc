// The contents found in a book: the lines read as headings in each language and convention, the
// book-wide guards (blank lines, repeats, a printed table of contents, Gutenberg's matter, stray
// hits), levels and titles, the same in every encoding and with every line end, and sample books
// of generated paragraphs and the two real books.
#include "book/Book.h"
#include "book/ChapterFinder.h"
#include "book/HeadingLine.h"
#include "book/HeadingTriggers.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

using E = TextEncoding;
Q_DECLARE_METATYPE(TextEncoding)

namespace {

const QString kStory = u"The road ran down to the river, where the ferry waited for the carts.\n"
                       "Nobody spoke while the horses were led aboard, and the water was dark\n"
                       "and quiet under the boards as they crossed.\n"_s;

// A book of the headings, each followed by a blank line, three lines of story and a blank line.
QString book(const QStringList &headings)
{
    QString text;
    for (const QString &heading : headings)
        text += heading + u"\n\n" + kStory + u'\n';
    return text;
}

// The bytes in an encoding as ICU's converters write them; Windows-1252 as Latin-1.
QByteArray saved(const QString &text, E encoding)
{
    if (encoding == E::Windows1252)
        return text.toLatin1();
    return QStringEncoder(TextCodec::charsetName(encoding).toLatin1().constData()).encode(text);
}

// The entries as "line level title", each offset checked against the line it names: the start
// of the text or just after a line end, with as many line ends before it in the decoded text.
QStringList entries(const QList<Chapter> &found, const QByteArray &bytes, E encoding)
{
    static const QRegularExpression lineEnd(u"\r\n|\r|\n"_s);
    QStringList lines;
    for (const Chapter &c : found) {
        const QString before = TextCodec::decode(bytes.left(c.offset), encoding);
        const bool starts =
            c.offset == 0 || bytes[c.offset - 1] == '\n' || bytes[c.offset - 1] == '\r';
        if (!starts || before.split(lineEnd).size() - 1 != c.line)
            lines << u"offset %1 is not line %2"_s.arg(c.offset).arg(c.line);
        lines << u"%1 %2 %3"_s.arg(c.line).arg(c.level).arg(c.title);
    }
    return lines;
}

// clang-format off
struct ChapterRow { QString text; E encoding; QStringList entries; };
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ChapterRow)

class tst_chapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One line each: what it reads as, "-" for text.
    void lines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reads");

        const auto row = [](const QString &line, const char *reads) {
            QTest::addRow("%s (%d)", qPrintable(line.left(30)), int(line.size()))
                << line << QString::fromLatin1(reads);
        };
        row(u"CHAPTER XIV"_s, "Chapter 14 alone");
        row(u"  Chapter 7.  "_s, "Chapter 7 alone");
        row(u"Chap. 12"_s, "Chapter 12 alone");
        row(u"Chapter the Twenty-First"_s, "Chapter 21 alone");
        row(u"CHAPTER I.—THE STORM"_s, "Chapter 1");
        row(u"Chapter 3 The Storm Breaks"_s, "Chapter 3");
        row(u"Chapter and verse were quoted"_s, "-");
        row(u"Chapter 3 of the report was read"_s, "-");
        row(u"Chapter One of the report"_s, "-");
        row(u"Chapter 1.2"_s, "-");
        row(u"Chapters"_s, "-");
        row(u"Book the Second"_s, "Book 2 alone");
        row(u"VOLUME III"_s, "Volume 3 alone");
        row(u"Part Four: Winter"_s, "Part 4");
        row(u"Act V, Scene 2"_s, "Act 5");
        row(u"Scene iv"_s, "Scene 4 alone");
        row(u"Section 12"_s, "Section 12 alone");
        row(u"Chapitre Ier"_s, "Chapter 1 alone");
        row(u"LIVRE DEUXIÈME"_s, "Book 2 alone");
        row(u"Erstes Kapitel"_s, "Chapter 1 alone");
        row(u"3. Kapitel"_s, "Chapter 3 alone");
        row(u"Zweiter Teil"_s, "Part 2 alone");
        row(u"Capítulo tercero. De lo que sucedió a los viajeros en el camino de la sierra"_s,
            "Chapter 3");
        row(u"Capitolo primo"_s, "Chapter 1 alone");
        row(u"Primeira parte"_s, "Part 1 alone");
        row(u"Глава первая"_s, "Chapter 1 alone");
        row(u"ЧАСТЬ ВТОРАЯ"_s, "Part 2 alone");
        row(u"Том 2"_s, "Volume 2 alone");
        row(u"第十四回　心猿歸正　六賊無蹤"_s, "Chapter 14");
        row(u"第一○○回"_s, "Chapter 100 alone");
        row(u"第一百零五章"_s, "Chapter 105 alone");
        row(u"第贰卷"_s, "Volume 2 alone");
        row(u"第３話　始まり"_s, "Chapter 3");
        row(u"第二幕"_s, "Act 2 alone");
        row(u"第六回合"_s, "-");
        row(u"第一部分"_s, "-");
        row(u"第三节课"_s, "-");
        row(u"PROLOGUE"_s, "Named alone");
        row(u"Epilogue: After the War"_s, "Named");
        row(u"PREFACE TO THE SECOND EDITION"_s, "Named");
        row(u"Introduction to the study of rivers"_s, "-");
        row(u"Appendix B"_s, "Named alone");
        row(u"楔子"_s, "Named alone");
        row(u"Пролог"_s, "Named alone");
        row(u"XLII."_s, "Number 42 alone");
        row(u"17"_s, "Number 17 alone");
        row(u"IIII"_s, "-");
        // Short lines, longer ones after a separator, half as long in CJK.
        row(u"Chapter 2 " + u"Word "_s.repeated(10), "Chapter 2");
        row(u"Chapter 2 " + u"Word "_s.repeated(11), "-");
        row(u"Chapter 2: " + u"Word "_s.repeated(18), "Chapter 2");
        row(u"Chapter 2: " + u"Word "_s.repeated(19), "-");
        row(u"第二章 " + u"风"_s.repeated(26), "Chapter 2");
        row(u"第二章 " + u"风"_s.repeated(27), "-");
        row(u"第二章：" + u"风"_s.repeated(46), "Chapter 2");
        row(u"第二章：" + u"风"_s.repeated(47), "-");
    }

    void lines()
    {
        QFETCH(QString, line);
        QFETCH(QString, reads);

        static const char *const kinds[] = {"Volume",  "Book",  "Part",  "Act",   "Chapter",
                                            "Section", "Scene", "Named", "Number"};
        QString got = u"-"_s;
        if (const std::optional<HeadingLine::Heading> heading = HeadingLine::read(line)) {
            got = QString::fromLatin1(kinds[int(heading->kind)]);
            if (heading->kind != HeadingLine::Kind::Named)
                got += u' ' + QString::number(heading->number);
            if (heading->onlyNumber)
                got += u" alone"_s;
        }
        QCOMPARE(got, reads);

        // The byte scan lets a heading through in every encoding that can hold it, on its first
        // look (the line end and the next line after it) and on the whole line.
        for (const E encoding :
             {E::Utf8, E::Windows1252, E::Windows1251, E::Gb18030, E::ShiftJis}) {
            const QByteArray bytes = saved(line, encoding);
            if (reads == u"-" || TextCodec::decode(bytes, encoding) != line)
                continue;
            const QByteArray text = bytes + "\r\nnext line";
            const HeadingTriggers &triggers = HeadingTriggers::of(encoding);
            const char *first = triggers.skipBlanks(text.constData(), text.constEnd());
            QVERIFY(triggers.mayStartHeading(first, text.constEnd()));
            QVERIFY(triggers.mayBeHeading(bytes.constData(), bytes.constEnd()));
        }
    }

    // Whole books: what is listed, at which line and level, with which title, in UTF-8 and in
    // the row's encoding, with LF, CR LF and lone CR line ends.
    void find_data()
    {
        QTest::addColumn<ChapterRow>("row");

        const QString toc = u"CONTENTS\n\nChapter I. The Ferry\nChapter II. The Ford\n"
                            "Chapter III. The Bridge\n\n\n"_s;
        QTest::newRow("titles on the next line")
            << ChapterRow {book({u"CHAPTER I\n\nThe Ferry"_s, u"CHAPTER II.\n\nTHE FORD."_s}),
                           E::Windows1252,
                           {u"0 1 CHAPTER I: The Ferry"_s, u"8 1 CHAPTER II. THE FORD."_s}};
        QTest::newRow("no title: a sentence, a paragraph, dialogue")
            << ChapterRow {book({u"Chapter 1\n\nIt rained."_s, u"Chapter 2"_s,
                                 u"Chapter 3\n\n\"Come,\" she said"_s}),
                           E::Windows1252,
                           {u"0 1 Chapter 1"_s, u"8 1 Chapter 2"_s, u"14 1 Chapter 3"_s}};
        QTest::newRow("parts and chapters") << ChapterRow {
            book({u"PROLOGUE"_s, u"PART ONE"_s, u"Chapter 1"_s, u"Chapter 2"_s, u"PART TWO"_s,
                  u"Chapter 3"_s, u"Epilogue"_s}),
            E::Windows1252,
            {u"0 1 PROLOGUE"_s, u"6 1 PART ONE"_s, u"12 2 Chapter 1"_s, u"18 2 Chapter 2"_s,
             u"24 1 PART TWO"_s, u"30 2 Chapter 3"_s, u"36 1 Epilogue"_s}};
        QTest::newRow("three levels") << ChapterRow {
            book({u"VOLUME I"_s, u"Chapter 1"_s, u"Section 1"_s, u"Section 2"_s, u"Chapter 2"_s}),
            E::Windows1252,
            {u"0 1 VOLUME I"_s, u"6 2 Chapter 1"_s, u"12 3 Section 1"_s, u"18 3 Section 2"_s,
             u"24 2 Chapter 2"_s}};
        QTest::newRow("a play") << ChapterRow {
            book({u"ACT I"_s, u"SCENE 1"_s, u"SCENE 2"_s, u"ACT II"_s, u"SCENE 1"_s}),
            E::Utf8,
            {u"0 1 ACT I"_s, u"6 2 SCENE 1"_s, u"12 2 SCENE 2"_s, u"18 1 ACT II"_s,
             u"24 2 SCENE 1"_s}};
        QTest::newRow("numbers alone, titled")
            << ChapterRow {book({u"I.\n\nThe Ferry"_s, u"II."_s, u"III."_s}),
                           E::Windows1252,
                           {u"0 1 I. The Ferry"_s, u"8 1 II."_s, u"14 1 III."_s}};
        QTest::newRow("numbers alone under books") << ChapterRow {
            book({u"BOOK I"_s, u"1"_s, u"2"_s, u"BOOK II"_s, u"1"_s}),
            E::Windows1252,
            {u"0 1 BOOK I"_s, u"6 2 1"_s, u"12 2 2"_s, u"18 1 BOOK II"_s, u"24 2 1"_s}};
        QTest::newRow("a number inside a paragraph")
            << ChapterRow {book({u"I"_s, u"II"_s}).replace(u"carts.\n"_s, u"carts.\n12\n"_s),
                           E::Utf8,
                           {u"0 1 I"_s, u"7 1 II"_s}};
        QTest::newRow("French") << ChapterRow {
            book({u"LIVRE PREMIER"_s, u"Chapitre premier"_s, u"Chapitre II"_s, u"Chapitre III"_s}),
            E::Windows1252,
            {u"0 1 LIVRE PREMIER"_s, u"6 2 Chapitre premier"_s, u"12 2 Chapitre II"_s,
             u"18 2 Chapitre III"_s}};
        QTest::newRow("German") << ChapterRow {
            book({u"Erstes Kapitel"_s, u"Zweites Kapitel"_s, u"Kapitel 3: Über den Fluß"_s}),
            E::Windows1252,
            {u"0 1 Erstes Kapitel"_s, u"6 1 Zweites Kapitel"_s,
             u"12 1 Kapitel 3: Über den Fluß"_s}};
        QTest::newRow("Spanish, a long title after a separator") << ChapterRow {
            book(
                {u"Capítulo primero"_s, u"Capítulo segundo"_s,
                 u"Capítulo tercero. De lo que sucedió a los viajeros en el camino de la sierra"_s}),
            E::Windows1252,
            {u"0 1 Capítulo primero"_s, u"6 1 Capítulo segundo"_s,
             u"12 1 Capítulo tercero. De lo que sucedió a los viajeros en el camino de la sierra"_s}};
        QTest::newRow("Italian and Portuguese")
            << ChapterRow {book({u"Capitolo I"_s, u"Capitolo II"_s, u"CAPÍTULO III"_s}),
                           E::Windows1252,
                           {u"0 1 Capitolo I"_s, u"6 1 Capitolo II"_s, u"12 1 CAPÍTULO III"_s}};
        QTest::newRow("Russian") << ChapterRow {
            book({u"Часть первая"_s, u"Глава 1"_s, u"ГЛАВА II"_s, u"ЧАСТЬ ВТОРАЯ"_s, u"Глава 3"_s}),
            E::Windows1251,
            {u"0 1 Часть первая"_s, u"6 2 Глава 1"_s, u"12 2 ГЛАВА II"_s, u"18 1 ЧАСТЬ ВТОРАЯ"_s,
             u"24 2 Глава 3"_s}};
        QTest::newRow("Chinese, and words that start with a heading") << ChapterRow {
            book({u"序章"_s, u"第一回　灵根育孕"_s, u"第六回合"_s, u"第二回\n\n悟彻菩提"_s,
                  u"第一部分"_s, u"第三节课"_s, u"第十回"_s}),
            E::Gb18030,
            {u"0 1 序章"_s, u"6 1 第一回　灵根育孕"_s, u"18 1 第二回 悟彻菩提"_s,
             u"38 1 第十回"_s}};
        QTest::newRow("Japanese") << ChapterRow {
            book({u"プロローグ"_s, u"第一話　始まり"_s, u"第２話"_s, u"エピローグ"_s}),
            E::ShiftJis,
            {u"0 1 プロローグ"_s, u"6 1 第一話　始まり"_s, u"12 1 第２話"_s, u"18 1 エピローグ"_s}};
        QTest::newRow("a sentence starting with a keyword") << ChapterRow {
            book({u"Chapter and verse were quoted"_s, u"Chapter 1"_s, u"Chapter 2"_s}),
            E::Utf8,
            {u"6 1 Chapter 1"_s, u"12 1 Chapter 2"_s}};
        QTest::newRow("a printed table of contents")
            << ChapterRow {toc + book({u"Chapter I. The Ferry"_s, u"Chapter II. The Ford"_s}),
                           E::Utf8,
                           {u"7 1 Chapter I. The Ferry"_s, u"13 1 Chapter II. The Ford"_s}};
        QTest::newRow("a printed table of contents at the end")
            << ChapterRow {book({u"Chapter I. The Ferry"_s, u"Chapter II. The Ford"_s}) + toc,
                           E::Utf8,
                           {u"0 1 Chapter I. The Ferry"_s, u"6 1 Chapter II. The Ford"_s}};
        QTest::newRow("a heading printed twice")
            << ChapterRow {book({u"CHAPTER I\n\nCHAPTER I\n\nThe Ferry"_s, u"CHAPTER II"_s}),
                           E::Utf8,
                           {u"2 1 CHAPTER I: The Ferry"_s, u"10 1 CHAPTER II"_s}};
        QTest::newRow("Gutenberg's front and back matter") << ChapterRow {
            u"The Project Gutenberg EBook of Rivers\n\nSection 1\n\n"
            "*** START OF THE PROJECT GUTENBERG EBOOK RIVERS ***\n\n"_s
                + book({u"Chapter 1"_s, u"Chapter 2"_s})
                + u"*** END OF THE PROJECT GUTENBERG EBOOK RIVERS ***\n\nSection 1. Terms\n\n"
                  "Section 2. Use\n\nSection 3. More\n"_s,
            E::Utf8,
            {u"6 1 Chapter 1"_s, u"12 1 Chapter 2"_s}};
        QTest::newRow("Gutenberg's older markers") << ChapterRow {
            u"*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*\n\n"_s
                + book({u"I"_s, u"II"_s})
                + u"End of the Project Gutenberg EBook of Rivers\n\nIII\n\nA line\n"_s,
            E::Utf8,
            {u"2 1 I"_s, u"8 1 II"_s}};
        QTest::newRow("stray hits breaking a run")
            << ChapterRow {book({u"1848"_s, u"I"_s, u"II"_s, u"XX"_s, u"III"_s}),
                           E::Utf8,
                           {u"6 1 I"_s, u"12 1 II"_s, u"24 1 III"_s}};
        QTest::newRow("a long line the pages cut")
            << ChapterRow {book({u"Chapter 1"_s, u"Chapter 2"_s})
                               .replace(u"carts.\n"_s, u"carts "_s.repeated(20000) + u'\n'),
                           E::Windows1251,
                           {u"0 1 Chapter 1"_s, u"6 1 Chapter 2"_s}};
        QTest::newRow("one heading only") << ChapterRow {book({u"Chapter 1"_s}), E::Utf8, {}};
        QTest::newRow("a heading every other line") << ChapterRow {
            u"Chapter 1\nA line.\nSection 1\nA line.\nChapter 2\nA line.\nSection 2\nA line.\n"_s,
            E::Utf8,
            {}};
    }

    void find()
    {
        QFETCH(ChapterRow, row);
        for (const E encoding : {E::Utf8, row.encoding}) {
            for (const QString &end : {u"\n"_s, u"\r\n"_s, u"\r"_s}) {
                const QByteArray bytes = saved(QString(row.text).replace(u'\n', end), encoding);
                Book book;
                QCOMPARE(book.loadBytes(bytes, 15, encoding).status, Book::Status::Loaded);
                const QList<Chapter> found =
                    ChapterFinder::find(book.bytesFrom(0), book.bytesEncoding());
                QCOMPARE(entries(found, bytes, encoding), row.entries);
            }
        }
    }

    // Books of generated paragraphs, some lines starting with a keyword or a number, with a
    // heading of one convention before every few: each heading is found, and nothing else.
    void sampleBooks_data()
    {
        QTest::addColumn<QString>("heading"); // %1 the number, %2 it in Roman numerals
        QTest::newRow("Roman") << u"CHAPTER %2"_s;
        QTest::newRow("digits and a title") << u"Chapter %1. The Crossing"_s;
        QTest::newRow("numbers alone") << u"%2."_s;
        QTest::newRow("Russian") << u"Глава %1"_s;
        QTest::newRow("Chinese") << u"第%1章"_s;
    }

    void sampleBooks()
    {
        QFETCH(QString, heading);
        static const QStringList sentences {
            u"Part of the crowd had gone home before the rain began to fall."_s,
            u"Chapter and verse were quoted at him by the clerk."_s,
            u"1848 was a year of letters and of long waiting."_s,
            u"I said nothing, and the boatman laughed at that."_s,
            u"Book after book was carried up from the cellar."_s,
            u"第一部分的人已经回家了。"_s};
        QRandomGenerator random(20240611);
        QString text;
        QStringList expected;
        qint64 line = 0;
        for (int n = 1; n <= 40; ++n) {
            const QString roman = QStringList {u""_s, u"X"_s, u"XX"_s, u"XXX"_s, u"XL"_s}[n / 10]
                + QStringList {u""_s,  u"I"_s,  u"II"_s,  u"III"_s,  u"IV"_s,
                               u"V"_s, u"VI"_s, u"VII"_s, u"VIII"_s, u"IX"_s}[n % 10];
            const QString title =
                QString(heading).replace(u"%1"_s, QString::number(n)).replace(u"%2"_s, roman);
            expected << u"%1 1 %2"_s.arg(line).arg(title);
            text += title + u"\n\n";
            line += 2;
            for (int p = random.bounded(1, 4); p > 0; --p, ++line) {
                for (int l = random.bounded(3, 6); l > 0; --l, ++line)
                    text += sentences[random.bounded(int(sentences.size()))] + u'\n';
                text += u'\n';
            }
        }
        Book book;
        QCOMPARE(book.loadBytes(text.toUtf8(), 15, E::Utf8).status, Book::Status::Loaded);
        QCOMPARE(entries(ChapterFinder::find(book.bytesFrom(0), E::Utf8), text.toUtf8(), E::Utf8),
                 expected);
    }

    // The two real books, where they are at hand.
    void realBooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("count");
        QTest::newRow("English") << u"news-from-nowhere-3261.txt"_s
                                 << u"76 1 CHAPTER I: DISCUSSION AND BED"_s
                                 << u"7541 1 CHAPTER XXXII: THE FEAST'S BEGINNING--THE END"_s << 32;
        QTest::newRow("Chinese") << u"journey-to-the-west-23962.txt"_s
                                 << u"1 1 第一回     靈根育孕源流出　心性修持大道生"_s
                                 << u"26558 1 第一○○回     徑回東土　五聖成真"_s << 100;
    }

    void realBooks()
    {
        QFETCH(QString, file);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(int, count);
        const QString path = QStringLiteral(PAGELARK_SOURCE_DIR "/../shared/books/") + file;
        if (!QFile::exists(path))
            QSKIP("the real books are not at hand");
        Book book;
        QCOMPARE(book.load(path, 15).status, Book::Status::Loaded);
        const QByteArray bytes = book.bytesFrom(0).toByteArray();
        const QStringList found =
            entries(ChapterFinder::find(bytes, book.bytesEncoding()), bytes, book.bytesEncoding());
        QCOMPARE(found.size(), count);
        QCOMPARE(found.first(), first);
        QCOMPARE(found.last(), last);
    }

    void findByPattern_data()
    {
        QTest::addColumn<QRegularExpression>("pattern");
        QTest::addColumn<E>("encoding");
        QTest::addColumn<QStringList>("entries");

        const auto i = QRegularExpression::CaseInsensitiveOption;
        QTest::newRow("anchored to each line")
            << QRegularExpression(u"^\\d+$"_s) << E::Utf8 << QStringList {u"2 1 12"_s, u"4 1 7"_s};
        QTest::newRow("Unicode, in a code page")
            << QRegularExpression(u"^\\s*глава"_s, i) << E::Windows1251
            << QStringList {u"0 1 ГЛАВА ПЕРВАЯ"_s, u"6 1 Глава вторая"_s};
        QTest::newRow("an invalid pattern")
            << QRegularExpression(u"(x"_s) << E::Utf8 << QStringList {};
    }

    void findByPattern()
    {
        QFETCH(QRegularExpression, pattern);
        QFETCH(E, encoding);
        QFETCH(QStringList, entries);
        const QString text = u"  ГЛАВА ПЕРВАЯ  \r\nТекст 3\r\n12\r\nx12\r7\n\nГлава вторая"_s;
        const QByteArray bytes = saved(text, encoding);
        QCOMPARE(::entries(ChapterFinder::findByPattern(bytes, encoding, pattern), bytes, encoding),
                 entries);
    }
};

PAGELARK_TEST(tst_chapters);
#include "tst_chapters.moc"
