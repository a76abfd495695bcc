// Find All, Next and Previous on short books saved in UTF-8, Windows-1252 and the CJK code pages:
// every match in the book's order with its page, position and line, letter case and whole words
// as asked, and in a code page of longer characters none where a needle's bytes straddle two.
#include "book/BookSearch.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;
using BookSearch::Match;
using BookSearch::Options;

namespace {

// A book of one line a page saved in charset, a text to find, the options, and each match as
// "page:position".
// clang-format off
struct SearchRow { const char *charset; QString text, needle; bool matchCase, wholeWords;
             QString matches; };
// clang-format on

Book bookOf(const QString &text, const char *charset, int linesPerPage)
{
    Book book;
    book.loadBytes(QStringEncoder(charset)(text), linesPerPage,
                   TextCodec::encodingForName(QLatin1String(charset)));
    return book;
}

QString said(const std::optional<Match> &match)
{
    return match ? u"%1:%2"_s.arg(match->page).arg(match->position) : u"none"_s;
}

// The matches in pages of view text, found the plain way: each place indexOf finds, less, where
// whole words are asked, those where a letter or digit at an edge meets one outside. The texts
// hold no character beyond the plane.
QList<Match> plainMatches(const QStringList &views, const QString &needle, const Options &options)
{
    const auto joined = [](QChar a, QChar b) {
        return a.isLetterOrNumber() && b.isLetterOrNumber();
    };
    QList<Match> matches;
    for (int page = 0; page < views.size(); ++page) {
        const QString &view = views[page];
        const auto cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (int at = 0; (at = int(view.indexOf(needle, at, cs))) >= 0; ++at) {
            const int end = at + int(needle.size());
            if (!options.wholeWords
                || ((at == 0 || !joined(view[at], view[at - 1]))
                    && (end == view.size() || !joined(view[end - 1], view[end]))))
                matches << Match {page, at};
        }
    }
    return matches;
}

} // namespace

class tst_search : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findAll_data()
    {
        QTest::addColumn<SearchRow>("row");
        const QString latin = u"Café noir\nthe CAFÉ-noir\ncafénoir café\nnothing"_s;
        // Each letter folds to the needle's one unit for unit: ß and ẞ, ſ and s, the Kelvin sign
        // and k, final ς and σ; SS is two letters.
        const QString folds =
            u"STRASSE straße STRAẞE\nſtark Stark\nKelvin kelvin\nΣίσυφος ΣΊΣΥΦΟΣ"_s;
        // Ideographs are letters, full-width Latin letters fold, and the middle bytes of the
        // first two characters make a third, found nowhere.
        const std::tuple<const char *, QString, QString, QString> cjk[] = {
            {"GB18030", u"长江流过，黄河也流过。\n看长江ａＡ\n“长江”"_s, u"长江"_s, u"そ"_s},
            {"Big5", u"長江流過，黃河也流過。\n看長江ａＡ\n「長江」"_s, u"長江"_s, u"囍"_s},
            {"Shift_JIS", u"日本の川、黄河も川。\n見日本ａＡ\n「日本」"_s, u"日本"_s, u"坙"_s}};
        const auto add = [](const char *charset, const char *name, const QString &text,
                            const QString &needle, bool matchCase, bool wholeWords,
                            const QString &matches) {
            QTest::addRow("%s %s", charset, name)
                << SearchRow {charset, text, needle, matchCase, wholeWords, matches};
        };
        for (const char *charset : {"UTF-8", "windows-1252"}) {
            add(charset, "any", latin, u"café"_s, false, false, u"0:0 1:4 2:0 2:9"_s);
            add(charset, "case", latin, u"café"_s, true, false, u"2:0 2:9"_s);
            add(charset, "words", latin, u"café"_s, false, true, u"0:0 1:4 2:9"_s);
            add(charset, "both", latin, u"CAFÉ"_s, true, true, u"1:4"_s);
            add(charset, "no line end inside", latin, u"noirthe"_s, false, false, {});
        }
        add("UTF-8", "folds", folds, u"straße"_s, false, false, u"0:8 0:15"_s);
        add("UTF-8", "folds s", folds, u"STARK"_s, false, true, u"1:0 1:6"_s);
        add("UTF-8", "folds k", folds, u"kelvin"_s, false, false, u"2:0 2:7"_s);
        add("UTF-8", "folds sigma", folds, u"σίσυφος"_s, false, true, u"3:0 3:8"_s);
        for (const auto &[charset, text, word, straddle] : cjk) {
            add(charset, "any", text, word, false, false, u"0:0 1:1 2:1"_s);
            add(charset, "words", text, word, false, true, u"2:1"_s);
            add(charset, "folded", text, u"Ａ"_s, false, false, u"1:3 1:4"_s);
            add(charset, "case", text, u"Ａ"_s, true, false, u"1:4"_s);
            add(charset, "straddling", text, straddle, false, false, {});
        }
    }

    // Next from each match finds the one after, Previous the one before.
    void findAll()
    {
        QFETCH(SearchRow, row);
        const Book book = bookOf(row.text, row.charset, 1);
        const Options options {row.matchCase, row.wholeWords};
        qsizetype total = 0;
        const std::vector<qsizetype> offsets =
            BookSearch::findAll(book, row.needle, options, 100, &total);
        QStringList found;
        std::optional<Match> before;
        for (const qsizetype offset : offsets) {
            const BookSearch::Place place = BookSearch::placeOf(book, offset, row.needle);
            const Match match {place.page, place.position};
            found << said(match);
            QCOMPARE(place.line, row.text.section(u'\n', place.page, place.page));
            QCOMPARE(place.lineStart, place.position);
            QCOMPARE(said(BookSearch::find(book, row.needle, before ? before->page : 0,
                                           before ? before->position + 1 : 0, options)),
                     said(match));
            QCOMPARE(
                said(BookSearch::findBefore(book, row.needle, match.page, match.position, options)),
                said(before));
            before = match;
        }
        QCOMPARE(found.join(u' '), row.matches);
        QCOMPARE(total, qsizetype(offsets.size()));
        QCOMPARE(said(BookSearch::findBefore(book, row.needle, book.pageCount() - 1, -1, options)),
                 said(before));
    }

    // A long line is given as far as LineContext bytes either side of the match, cut between
    // characters: 199 two-byte ideographs and an "x" make 399 bytes.
    void longLineIsCut()
    {
        const QString side = QString(1000, u'长');
        const Book book = bookOf(side + u"xneedlex" + side, "GB18030", 1);
        const std::vector<qsizetype> offsets = BookSearch::findAll(book, u"NEEDLE"_s, {}, 9);
        QCOMPARE(offsets.size(), size_t(1));
        const BookSearch::Place place = BookSearch::placeOf(book, offsets[0], u"NEEDLE"_s);
        QCOMPARE(place.line, QString(199, u'长') + u"xneedlex" + QString(199, u'长'));
        QCOMPARE(place.lineStart, 200);
        QCOMPARE(place.position, 1001);
    }

    // Random lines of letters that fold, ideographs, full-width forms and line ends; needles cut
    // from the text with their case changed, every option.
    void codePagesMatchAPlainReading()
    {
        for (const char *charset : {"GB18030", "Big5", "Shift_JIS"}) {
            QStringList letters;
            for (const QChar c : u"aAkKsS σΣдД1１ａＡｋＫ，。长江長江日本ソ表能坙條そ囍"_s) {
                if (QStringDecoder(charset)(QStringEncoder(charset)(QString(c))) == QString(c))
                    letters << QString(c);
            }
            QRandomGenerator random(7);
            for (int round = 0; round < 150; ++round) {
                const QString text =
                    TestFiles::randomLines(random, letters, 1 + random.bounded(25));
                const int linesPerPage = 1 + random.bounded(4);
                const Book book = bookOf(text, charset, linesPerPage);
                QStringList lines =
                    QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').split(u'\n');
                lines.removeLast();
                QStringList views;
                for (int line = 0; line < lines.size(); line += linesPerPage)
                    views << lines.mid(line, linesPerPage).join(u'\n') + u'\n';
                for (int step = 0; step < 8; ++step) {
                    QString needle;
                    for (const QChar c :
                         text.mid(random.bounded(text.size()), random.bounded(1, 4)))
                        needle += random.bounded(2) ? c.toUpper() : c.toLower();
                    if (needle.contains(u'\n') || needle.contains(u'\r'))
                        continue;
                    const Options options {bool(random.bounded(2)), bool(random.bounded(2))};
                    const QList<Match> plain = plainMatches(views, needle, options);
                    QStringList expected, found;
                    for (const Match &match : plain)
                        expected << said(match);
                    for (const qsizetype offset : BookSearch::findAll(book, needle, options, 999)) {
                        const BookSearch::Place place = BookSearch::placeOf(book, offset, needle);
                        found << said(Match {place.page, place.position});
                    }
                    QCOMPARE(found, expected);
                    const int page = random.bounded(int(views.size()));
                    const int before = random.bounded(int(views[page].size()) + 1);
                    std::optional<Match> last;
                    for (const Match &match : plain) {
                        if (match.page < page || (match.page == page && match.position < before))
                            last = match;
                    }
                    QCOMPARE(said(BookSearch::findBefore(book, needle, page, before, options)),
                             said(last));
                }
            }
        }
    }
};

PAGELARK_TEST(tst_search);
#include "tst_search.moc"
