// Finding text in a book: the view's matching rule (case folded, any part of a word, places in
// the page's view text), and the search through the raw bytes checked against a plain reading
// of every page.
#include "book/Book.h"
#include "book/BookSearch.h"
#include "book/TextCodec.h"

#include <QRandomGenerator>
#include <QTest>

#include <optional>

namespace {

using Found = std::optional<BookSearch::Match>;

// The plain way: each page decoded into its view text and searched there.
Found plainFind(const Book &book, const QString &text, int fromPage, int from)
{
    if (text.isEmpty() || fromPage < 0 || fromPage >= book.pageCount())
        return std::nullopt;
    for (int page = fromPage; page < book.pageCount(); ++page) {
        const int at =
            int(BookSearch::viewText(book, page)
                    .indexOf(text, page == fromPage ? qMax(0, from) : 0, Qt::CaseInsensitive));
        if (at >= 0)
            return BookSearch::Match {page, at};
    }
    return std::nullopt;
}

QString describe(const Found &found)
{
    return found ? QStringLiteral("page %1 at %2").arg(found->page).arg(found->position)
                 : QStringLiteral("none");
}

Book bookOf(const QByteArray &bytes, int linesPerPage)
{
    Book book;
    if (book.loadBytes(bytes, linesPerPage).status != Book::Status::Loaded)
        qFatal("test book not loaded");
    return book;
}

// Characters whose folding is not plain ASCII's: the Kelvin sign and the long s fold to "k"
// and "s", the sigmas to one, the dotted and dotless i, sharp s, letters beyond the plane.
const QStringList kTrickyUtf8 = {
    u"a"_qs,      u"A"_qs,      u"k"_qs,          u"K"_qs,          u"\u212A"_qs,     u"s"_qs,
    u"S"_qs,      u"\u017F"_qs, u"e"_qs,          u"\u00E9"_qs,     u"\u00C9"_qs,     u"\u03C3"_qs,
    u"\u03C2"_qs, u"\u03A3"_qs, u"i"_qs,          u"I"_qs,          u"\u0130"_qs,     u"\u0131"_qs,
    u"\u00DF"_qs, u"\u1E9E"_qs, u"\U0001F600"_qs, u"\U00010400"_qs, u"\U00010428"_qs, u" "_qs,
    u"\uFEFF"_qs, u"&"_qs,      u"\u00B5"_qs,     u"\u039C"_qs,     u"\u03BC"_qs};
// Every one a single Windows-1252 byte.
const QStringList kTricky1252 = {
    u"a"_qs,      u"A"_qs,      u"k"_qs,      u"K"_qs,      u"s"_qs,      u"S"_qs,
    u"\u0160"_qs, u"\u0161"_qs, u"\u00E9"_qs, u"\u00C9"_qs, u"\u00FF"_qs, u"\u0178"_qs,
    u"\u00B5"_qs, u"\u00DF"_qs, u"\u20AC"_qs, u"\u0081"_qs, u" "_qs,      u"i"_qs,
    u"I"_qs,      u"\u00E6"_qs, u"\u00C6"_qs, u"\u0152"_qs, u"\u0153"_qs};
const QStringList kLineEnds = {u"\r\n"_qs, u"\n"_qs, u"\r"_qs};

// Random lines of the alphabet's characters, with every kind of line end.
QString randomText(QRandomGenerator &random, const QStringList &alphabet, int lines)
{
    QString text;
    for (int line = 0; line < lines; ++line) {
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(int(random.bounded(alphabet.size())));
        text += kLineEnds.at(int(random.bounded(kLineEnds.size())));
    }
    return text;
}

// A needle: a piece of the text with its letters' case changed at random, or random
// characters.
QString randomNeedle(QRandomGenerator &random, const QString &text, const QStringList &alphabet)
{
    QString needle;
    if (random.bounded(4) == 0 || text.size() < 2) {
        const int length = 1 + int(random.bounded(4));
        for (int i = 0; i < length; ++i)
            needle += alphabet.at(int(random.bounded(alphabet.size())));
        return needle;
    }
    const int start = int(random.bounded(text.size() - 1));
    needle = text.mid(start, 1 + int(random.bounded(6)));
    QString changed;
    for (const QChar c : needle)
        changed += random.bounded(2) ? c.toUpper() : c.toLower();
    // A piece may cut a surrogate pair in half; the search then has to find what the view finds.
    return changed;
}

} // namespace

class tst_booksearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchingRule_data();
    void matchingRule();
    void findNextWalksEveryMatch();
    void sameAsPlainReading_data();
    void sameAsPlainReading();
};

void tst_booksearch::matchingRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("page"); // -1: not found
    QTest::addColumn<int>("position");

    const QByteArray lines("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    QTest::newRow("on the first page") << lines << 2 << u"WO"_qs << 0 << 0 << 0 << 5;
    QTest::newRow("from a place past it") << lines << 2 << u"o"_qs << 0 << 1 << 0 << 6;
    QTest::newRow("on a later page") << lines << 2 << u"Fiv"_qs << 0 << 0 << 2 << 0;
    QTest::newRow("from a later page") << lines << 2 << u"e"_qs << 1 << 0 << 1 << 3;
    QTest::newRow("not in the book") << lines << 2 << u"six"_qs << 0 << 0 << -1 << 0;
    QTest::newRow("empty text") << lines << 2 << QString() << 0 << 0 << -1 << 0;
    QTest::newRow("page out of range") << lines << 2 << u"one"_qs << 3 << 0 << -1 << 0;
    QTest::newRow("across a line end") << lines << 2 << u"ee\nfour"_qs << 0 << 0 << 1 << 3;
    QTest::newRow("not across pages") << lines << 2 << u"two\nthree"_qs << 0 << 0 << -1 << 0;
    QTest::newRow("lone CR ends a line")
        << QByteArray("ab\rcd\rxy\r") << 1 << u"b\n"_qs << 0 << 0 << 0 << 1;
    QTest::newRow("Kelvin sign folds to k")
        << QByteArray("x\ny\nOK \xE2\x84\xAA!\n") << 1 << u"k!"_qs << 0 << 0 << 2 << 3;
    QTest::newRow("long s folds to s")
        << QByteArray("x\nwa\xC5\xBF\n") << 1 << u"AS"_qs << 0 << 0 << 1 << 1;
    QTest::newRow("final sigma") << QByteArray("x\n\xCE\xBB\xCF\x82\n") << 1 << u"\u039B\u03A3"_qs
                                 << 0 << 0 << 1 << 0;
    QTest::newRow("Windows-1252 capital")
        << QByteArray("x\ny\ncaf\xC9\n") << 1 << u"\u00E9"_qs << 0 << 0 << 2 << 3;
    QTest::newRow("Windows-1252 S caron")
        << QByteArray("x\n\x8A\x9A\xE9\n") << 1 << u"\u0161\u0160"_qs << 0 << 0 << 1 << 0;
    QTest::newRow("beyond the plane") << QByteArray("x\na\xF0\x90\x90\x80\xF0\x90\x90\xA8\n") << 1
                                      << u"\U00010428"_qs << 0 << 0 << 1 << 1;
}

void tst_booksearch::matchingRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, linesPerPage);
    QFETCH(QString, text);
    QFETCH(int, fromPage);
    QFETCH(int, from);
    QFETCH(int, page);
    QFETCH(int, position);

    const Book book = bookOf(bytes, linesPerPage);
    const Found found = BookSearch::find(book, text, fromPage, from);
    const Found expected = page < 0 ? Found {} : Found {BookSearch::Match {page, position}};
    QCOMPARE(describe(found), describe(expected));
    QCOMPARE(describe(found), describe(plainFind(book, text, fromPage, from)));
}

// Find Next goes on one place after the last match; on a book of many pages every match is
// met, in order, as a plain reading meets it.
void tst_booksearch::findNextWalksEveryMatch()
{
    QByteArray bytes;
    for (int i = 0; i < 400; ++i)
        bytes += i % 7 == 3 ? "a Lighthouse keeper\r\n" : "the river ran\r\n";
    const Book book = bookOf(bytes, 15);
    int matches = 0;
    Found found = BookSearch::find(book, u"LIGHT"_qs, 0, 0);
    while (found) {
        ++matches;
        QCOMPARE(BookSearch::viewText(book, found->page).mid(found->position, 5), u"Light"_qs);
        const Found next = BookSearch::find(book, u"light"_qs, found->page, found->position + 1);
        QCOMPARE(describe(next),
                 describe(plainFind(book, u"light"_qs, found->page, found->position + 1)));
        found = next;
    }
    QCOMPARE(matches, 57);
}

void tst_booksearch::sameAsPlainReading_data()
{
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 6; ++seed) {
        QTest::addRow("UTF-8 %u", seed) << true << seed;
        QTest::addRow("Windows-1252 %u", seed) << false << seed;
    }
}

void tst_booksearch::sameAsPlainReading()
{
    QFETCH(bool, utf8);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QStringList &alphabet = utf8 ? kTrickyUtf8 : kTricky1252;
    const TextEncoding encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    for (int round = 0; round < 20; ++round) {
        const QString text = randomText(random, alphabet, 5 + int(random.bounded(60)));
        QByteArray bytes = TextCodec::encode(text, encoding);
        if (!utf8)
            bytes += "\xE9"; // not UTF-8, even when the letters were all ASCII
        const Book book = bookOf(bytes, 1 + int(random.bounded(4)));
        if (!utf8)
            QCOMPARE(book.encoding(), TextEncoding::Windows1252);
        for (int i = 0; i < 40; ++i) {
            const QString needle = randomNeedle(random, text, alphabet);
            const int fromPage = int(random.bounded(qMax(1, book.pageCount())));
            const int from = int(random.bounded(8));
            const Found found = BookSearch::find(book, needle, fromPage, from);
            const Found expected = plainFind(book, needle, fromPage, from);
            if (describe(found) != describe(expected))
                qWarning() << "needle" << needle << "from page" << fromPage << from << "in" << text;
            QCOMPARE(describe(found), describe(expected));
        }
    }
}

QTEST_GUILESS_MAIN(tst_booksearch)
#include "tst_booksearch.moc"
