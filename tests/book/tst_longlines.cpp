// Lines too long for a page are cut into pieces that count as lines: the pieces hold the line's
// bytes and nothing more, and search sees the pages as the view shows them.
#include "book/Book.h"
#include "book/BookSearch.h"
#include "support/TestMain.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

// Bytes read at a number of lines a page: how many pages, and the first and the last of them.
// clang-format off
struct Cut { QByteArray bytes; int linesPerPage, pages; QByteArray firstPage, lastPage; };
// clang-format on

class tst_longlines : public QObject
{
    Q_OBJECT

    static QByteArray xs(qsizetype n) { return QByteArray(n, 'x'); }

private Q_SLOTS:
    void cuts_data()
    {
        QTest::addColumn<Cut>("cut");

        // Pieces of a small book hold 80 bytes; at one line a page, a page is a piece.
        const qsizetype limit = Book::LongLineLimit;
        const QByteArray words = QByteArray("abcdefgh ").repeated(7300);
        // Shift_JIS puts ASCII bytes after a character's first byte: only its own reading tells.
        QStringEncoder toShiftJis("Shift_JIS");
        const QByteArray sjis =
            "x" + QByteArray(toShiftJis(u"吾輩は猫である。名前はまだ無い。"_s.repeated(2049)));
        QTest::newRow("at the limit: whole")
            << Cut {xs(limit) + "\r\nz", 1, 2, xs(limit) + "\r\n", "z"};
        // The CR ends one block of the scan and its LF starts the next.
        QTest::newRow("at the limit after a CR LF split")
            << Cut {xs(31) + "\r\n" + xs(limit), 1, 2, xs(31) + "\r\n", xs(limit)};
        QTest::newRow("a byte over, no blank") << Cut {xs(limit + 1), 1, 820, xs(80), xs(17)};
        QTest::newRow("after the last blank")
            << Cut {words, 1, 913, words.left(72), words.left(36)};
        QTest::newRow("UTF-8 character across the limit")
            << Cut {xs(78) + "\xE2\x82\xAC" + xs(limit), 1, 821, xs(78), xs(19)};
        QTest::newRow("Shift_JIS character across the limit")
            << Cut {sjis, 1, 820, sjis.left(79), sjis.right(50)};
        QTest::newRow("CR LF at the limit stays whole")
            << Cut {xs(limit + 63) + "\r\n", 1, 820, xs(80), xs(79) + "\r\n"};
        QTest::newRow("pages of pieces") << Cut {"a\r\nb\r\n" + xs(limit + 1), 15, 55,
                                                 "a\r\nb\r\n" + xs(13 * 80), xs(11 * 80 + 17)};
    }

    void cuts()
    {
        QFETCH(Cut, cut);
        Book book;
        QCOMPARE(book.loadBytes(cut.bytes, cut.linesPerPage).status, Book::Status::Loaded);
        QCOMPARE(book.pageCount(), cut.pages);
        QCOMPARE(book.pageBytes(0).toByteArray(), cut.firstPage);
        QCOMPARE(book.pageBytes(cut.pages - 1).toByteArray(), cut.lastPage);
        QByteArray joined;
        for (int i = 0; i < cut.pages; ++i) {
            // No line end comes between the pieces on a page, and no character is split.
            const QByteArray page = book.pageBytes(i).toByteArray();
            const bool ended = page.endsWith('\n') || page.endsWith('\r');
            QCOMPARE(book.pageText(i).count(u"\r\n"), page.count("\r\n") + (ended ? 0 : 1));
            QVERIFY(!book.pageText(i).contains(QChar::ReplacementCharacter));
            joined += page;
        }
        QCOMPARE(joined, cut.bytes);
    }

    // The word runs across the cut after 160 bytes, in the bytes the book's own search scans: it is
    // found where the cut falls inside a page, and not where a page ends at the cut.
    void searchAcrossACut()
    {
        const QByteArray bytes = xs(156) + "needle" + xs(Book::LongLineLimit) + "\nneedle";
        QStringList found;
        for (const int linesPerPage : {15, 1}) {
            Book book;
            QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
            const auto match = BookSearch::find(book, u"NEEDLE"_s, 0);
            QVERIFY(match);
            found << u"%1:%2 "_s.arg(match->page).arg(match->position)
                    + BookSearch::viewText(book, 1).right(5);
        }
        QCOMPARE(found, (QStringList {u"0:156 xxxx\n"_s, u"822:0 need\n"_s}));
    }
};

PAGELARK_TEST(tst_longlines);
#include "tst_longlines.moc"
