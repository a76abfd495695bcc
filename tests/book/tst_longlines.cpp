// Lines too long for a page are cut into pieces that count as lines: the pieces hold the line's
// bytes and nothing more, and search sees the pages as the view shows them.
#include "book/Book.h"
#include "book/BookSearch.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

QByteArray xs(qsizetype n)
{
    return QByteArray(n, 'x');
}

} // namespace

class tst_longlines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cuts_data();
    void cuts();
    void searchAcrossACut_data();
    void searchAcrossACut();
};

void tst_longlines::cuts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QByteArray>("firstPage");
    QTest::addColumn<QByteArray>("lastPage");

    // Pieces of a small book hold 80 bytes; at one line a page, a page is a piece.
    const qsizetype limit = Book::LongLineLimit;
    const QByteArray words = QByteArray("abcdefgh ").repeated(7300);
    QTest::newRow("at the limit: whole") << xs(limit) + "\r\nz" << 1 << 2 << xs(limit) + "\r\n"
                                         << QByteArray("z");
    // The CR ends one block of the scan and its LF starts the next.
    QTest::newRow("at the limit after a CR LF split") << xs(31) + "\r\n"
            + xs(limit) << 1 << 2 << xs(31) + "\r\n" << xs(limit);
    QTest::newRow("a byte over, no blank") << xs(limit + 1) << 1 << 820 << xs(80) << xs(17);
    QTest::newRow("after the last blank") << words << 1 << 913 << words.left(72) << words.left(36);
    QTest::newRow("a tab is a blank")
        << xs(70) + '\t' + xs(limit) << 1 << 821 << xs(70) + '\t' << xs(16);
    QTest::newRow("two-byte character across the limit")
        << xs(79) + "\xC3\xA9" + xs(limit) << 1 << 821 << xs(79) << xs(18);
    QTest::newRow("three-byte character across the limit")
        << xs(78) + "\xE2\x82\xAC" + xs(limit) << 1 << 821 << xs(78) << xs(19);
    QTest::newRow("Windows-1252: a byte a character")
        << xs(79) + "\xE9" + xs(limit) << 1 << 821 << xs(79) + "\xE9" << xs(16);
    QTest::newRow("CR LF at the limit stays whole") << xs(limit + 63) + "\r\n"
                                                    << 1 << 820 << xs(80) << xs(79) + "\r\n";
    QTest::newRow("pages of pieces") << "a\r\nb\r\n" + xs(limit + 1) << 15 << 55
                                     << "a\r\nb\r\n" + xs(13 * 80) << xs(11 * 80 + 17);
}

void tst_longlines::cuts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, linesPerPage);
    QFETCH(int, pages);
    QFETCH(QByteArray, firstPage);
    QFETCH(QByteArray, lastPage);

    Book book;
    QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
    QCOMPARE(book.pageCount(), pages);
    QCOMPARE(book.pageBytes(0).toByteArray(), firstPage);
    QCOMPARE(book.pageBytes(pages - 1).toByteArray(), lastPage);
    qsizetype total = 0;
    for (int i = 0; i < pages; ++i) {
        // No line end comes between the pieces on a page, and no character is split.
        const QByteArray page = book.pageBytes(i).toByteArray();
        const bool ended = page.endsWith('\n') || page.endsWith('\r');
        QCOMPARE(book.pageText(i).count(u"\r\n"), page.count("\r\n") + (ended ? 0 : 1));
        QVERIFY(!book.pageText(i).contains(QChar::ReplacementCharacter));
        total += page.size();
    }
    QCOMPARE(total, bytes.size());
}

void tst_longlines::searchAcrossACut_data()
{
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("position");

    // The word runs across the cut after 160 bytes, in the bytes the book's own search scans.
    QTest::newRow("cut inside a page: found there") << 15 << 0 << 156;
    QTest::newRow("cut at a page's end: not found there") << 1 << 822 << 0;
}

void tst_longlines::searchAcrossACut()
{
    QFETCH(int, linesPerPage);
    QFETCH(int, page);
    QFETCH(int, position);

    Book book;
    const QByteArray bytes = xs(156) + "needle" + xs(Book::LongLineLimit) + "\nneedle";
    QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
    const auto match = BookSearch::find(book, QStringLiteral("NEEDLE"), 0);
    QVERIFY(match);
    QCOMPARE(match->page, page);
    QCOMPARE(match->position, position);
    QCOMPARE(BookSearch::viewText(book, 1).endsWith(u"need\n"), linesPerPage == 1);
}

PAGELARK_TEST(tst_longlines);
#include "tst_longlines.moc"
