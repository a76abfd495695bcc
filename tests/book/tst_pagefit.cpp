// Pages cut to the window, with a measure of fixed width (a row every few characters, whatever
// they are), so that the rows below hold on any machine.
#include "book/Book.h"
#include "book/BookState.h"
#include "book/PageFit.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

PageFit::Measure everyUnits(int width)
{
    return [width](const QString &line, std::vector<int> &rowStarts) {
        for (int at = width; at < line.size(); at += width)
            rowStarts.push_back(at);
    };
}

std::vector<qsizetype> fitted(const Book &book, int rows, int width, qsizetype place)
{
    PageFit fit(book, rows, everyUnits(width), place);
    while (fit.work(1)) { }
    return fit.pages();
}

using Starts = std::vector<qsizetype>;

} // namespace

Q_DECLARE_METATYPE(Starts)

class tst_pagefit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cuts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("place");
        QTest::addColumn<Starts>("pages");

        // Rows begin at 0 3 | 5 8 | 11: a line the page cannot hold goes on at the next.
        const QByteArray three = "aaaa\nbb\ncccccc\n";
        QTest::newRow("rows run on across pages")
            << three << ""_ba << 2 << 3 << 0 << Starts {0, 5, 11};
        QTest::newRow("place inside a line: the rows before it make page 1")
            << three << ""_ba << 2 << 3 << 3 << Starts {0, 3, 8};
        QTest::newRow("empty lines and every line end") << "a\r\n\r\nb\rc"_ba
                                                        << ""_ba << 2 << 3 << 0 << Starts {0, 5};
        QTest::newRow("no line end: one line of rows") << "abcdefgh"_ba
                                                       << ""_ba << 1 << 3 << 0 << Starts {0, 3, 6};
        QTest::newRow("a page more than the book") << three << ""_ba << 40 << 3 << 0 << Starts {0};
        const QByteArray five = "aa\nbb\ncc\ndd\nee\n";
        QTest::newRow("place at a line start, pages before it whole")
            << five << ""_ba << 2 << 10 << 6 << Starts {0, 6, 12};
        QTest::newRow("place leaves one line for page 1")
            << five << ""_ba << 2 << 10 << 3 << Starts {0, 3, 9};
        QTest::newRow("UTF-8 rows end between characters")
            << "\u00e9\u00e9\u00e9\u00e9\u00e9\n"_ba
            << ""_ba << 1 << 2 << 0 << Starts {0, 4, 8};
        QTest::newRow("Shift_JIS rows of two-byte characters")
            << QByteArray(QStringEncoder("Shift_JIS")(u"日本語です"_s)) << "Shift_JIS"_ba << 1 << 2
            << 0 << Starts {0, 4, 8};
        // A line longer than is measured at once: rows every 100 bytes, pages every 5000.
        Starts fiveThousands;
        for (qsizetype at = 0; at < 40000; at += 5000)
            fiveThousands.push_back(at);
        QTest::newRow("one long line, measured in pieces")
            << QByteArray(40000, 'x') << ""_ba << 50 << 100 << 0 << fiveThousands;
        QTest::newRow("one long line, from a place inside it")
            << QByteArray(40000, 'x') << ""_ba << 50 << 100 << 20000 << fiveThousands;
    }

    void cuts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, encoding);
        QFETCH(int, rows);
        QFETCH(int, width);
        QFETCH(int, place);
        QFETCH(Starts, pages);
        Book book;
        const auto chosen = encoding.isEmpty()
            ? std::nullopt
            : TextCodec::encodingForName(QString::fromLatin1(encoding));
        QCOMPARE(book.loadBytes(bytes, 15, chosen).status, Book::Status::Loaded);
        QCOMPARE(fitted(book, rows, width, place), pages);
    }

    // A book of lines of any length, counted a little at a time: at every moment the pages run
    // from the start to the end in order and hold the place's page; at the end they are those
    // the rows give, worked out here from the decoded text.
    void countsABookInParts()
    {
        QRandomGenerator random(26);
        QString text;
        const QStringList ends {u"\r\n"_s, u"\n"_s, u"\r"_s};
        const QString letters = u"abc d\u00e9f \u65e5\u672c x"_s;
        for (int line = 0; line < 20000; ++line) {
            const int length = random.bounded(random.bounded(8) ? 90 : 400);
            for (int i = 0; i < length; ++i)
                text += letters[random.bounded(int(letters.size()))];
            text += ends[random.bounded(3)];
        }
        const QByteArray all = text.toUtf8();
        Book book;
        QCOMPARE(book.loadBytes(all, 15).status, Book::Status::Loaded);
        const int rows = 23;
        const int width = 61;
        // Every row start in bytes: lines split at CR LF, LF and CR, rows every 61 units.
        const qsizetype mark = 0;
        std::vector<qsizetype> rowStarts;
        qsizetype lineStart = mark;
        for (qsizetype i = mark; i <= all.size(); ++i) {
            if (i < all.size() && all[i] != '\r' && all[i] != '\n')
                continue;
            const QString line = QString::fromUtf8(all.mid(lineStart, i - lineStart));
            if (i < all.size() || i > lineStart) {
                for (qsizetype unit = 0; unit == 0 || unit < line.size(); unit += width)
                    rowStarts.push_back(lineStart - mark + line.left(unit).toUtf8().size());
            }
            if (i + 1 < all.size() && all[i] == '\r' && all[i + 1] == '\n')
                ++i;
            lineStart = i + 1;
        }
        const size_t placeRow = 9000;
        Starts expected;
        for (size_t row = placeRow % rows; row < rowStarts.size(); row += rows)
            expected.push_back(rowStarts[row]);
        if (placeRow % rows)
            expected.insert(expected.begin(), 0);

        PageFit fit(book, rows, everyUnits(width), rowStarts[placeRow]);
        for (int part = 0; fit.work(4096); ++part) {
            if (part % 16)
                continue;
            const Starts pages = fit.pages();
            QCOMPARE(pages.front(), 0);
            QVERIFY(std::is_sorted(pages.begin(), pages.end()));
            QVERIFY(std::adjacent_find(pages.begin(), pages.end()) == pages.end());
            QVERIFY(pages.back() < book.byteSize());
            QVERIFY(std::binary_search(pages.begin(), pages.end(), rowStarts[placeRow]));
        }
        QCOMPARE(fit.pages(), expected);
    }

    // The reader's state on such pages: the share says "about" until the count is done, the
    // place is kept by line, and the page text leaves out its last line end.
    void stateOnFittedPages()
    {
        QTemporaryDir folder;
        const QString path = TestFiles::write(folder.filePath(u"b.txt"_s),
                                              "l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7\nl8\nl9\n");
        BookState state;
        state.openBook(path);
        state.resumeAt(4); // the line "l4"
        const BookState::LoadAnswer loaded = state.LoadBook(3, 0);
        QVERIFY(loaded.loaded);
        QCOMPARE(loaded.place, 12);
        state.usePages({0, 6, 12, 21}, false, loaded.place);
        QCOMPARE(state.currentPage(), 2);
        QCOMPARE(state.pageShare(), u"page 3 of about 4 \u00B7 75%"_s);
        QCOMPARE(state.pageText(2), u"l4\r\nl5\r\nl6"_s);
        QCOMPARE(state.firstLineShown(), 4);
        QCOMPARE(state.fixedPageShown(), 1);
        state.usePages({0, 15}, true, state.placeShown());
        QCOMPARE(state.pageShare(), u"page 1 of 2 \u00B7 50%"_s);
        QCOMPARE(state.firstLineShown(), 0);
        state.useFixedPages(15); // "l5"
        QCOMPARE(state.currentPage(), 1);
        QCOMPARE(state.pageText(1), u"l3\r\nl4\r\nl5\r\n"_s);
    }
};

PAGELARK_TEST(tst_pagefit);
#include "tst_pagefit.moc"
