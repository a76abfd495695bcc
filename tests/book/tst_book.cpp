// Cutting a book into pages: line ends, page sizes, encodings and the limits of a page count.
#include "app/ReadWholeFile.h"
#include "book/Book.h"
#include "book/LineEnds.h"
#include "book/TextCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Book::Status)
Q_DECLARE_METATYPE(TextEncoding)

namespace {

QStringList allPages(const Book &book)
{
    QStringList pages;
    for (int i = 0; i < book.pageCount(); ++i)
        pages.append(book.pageText(i));
    return pages;
}

// The text of the lines "line first" to "line last" of TestFiles::lines, each ended by CR LF.
QString linesText(int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    return text;
}

} // namespace

class tst_book : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data();
    void pages();
    void pageSizes_data();
    void pageSizes();
    void pagesMatchAPlainReading();
    void encodings_data();
    void encodings();
    void everyByteComesBackUnchanged();
    void byteOffsetsMapToPages();
    void pageLimits_data();
    void pageLimits();
    void refusedFiles_data();
    void refusedFiles();
    void readsFromDisk();
};

void tst_book::pages_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QStringList>("pages");

    QTest::newRow("empty file") << QByteArray() << 15 << QStringList();
    QTest::newRow("one line without an end")
        << QByteArray("only line") << 15 << QStringList {QStringLiteral("only line\r\n")};
    QTest::newRow("final CR LF adds no line")
        << QByteArray("a\r\nb\r\n") << 1
        << QStringList {QStringLiteral("a\r\n"), QStringLiteral("b\r\n")};
    QTest::newRow("final CR LF CR LF: one empty last line")
        << QByteArray("a\r\nb\r\n\r\n") << 2
        << QStringList {QStringLiteral("a\r\nb\r\n"), QStringLiteral("\r\n")};
    QTest::newRow("a lone line end is one empty line")
        << QByteArray("\r\n") << 15 << QStringList {QStringLiteral("\r\n")};
    QTest::newRow("LF only") << QByteArray("a\nb\nc\n") << 2
                             << QStringList {QStringLiteral("a\r\nb\r\n"), QStringLiteral("c\r\n")};
    QTest::newRow("lone CR") << QByteArray("a\rb\rc") << 2
                             << QStringList {QStringLiteral("a\r\nb\r\n"), QStringLiteral("c\r\n")};
    QTest::newRow("mixed line ends")
        << QByteArray("a\r\nb\nc\rd") << 1
        << QStringList {QStringLiteral("a\r\n"), QStringLiteral("b\r\n"), QStringLiteral("c\r\n"),
                        QStringLiteral("d\r\n")};
    // LF CR is two line ends, and CR CR LF a lone CR then a CR LF.
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << 1
                           << QStringList {QStringLiteral("a\r\n"), QStringLiteral("\r\n"),
                                           QStringLiteral("b\r\n")};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << 1
                              << QStringList {QStringLiteral("a\r\n"), QStringLiteral("\r\n"),
                                              QStringLiteral("b\r\n")};
    QTest::newRow("blank lines keep their place")
        << QByteArray("\n\nx\n\n") << 3
        << QStringList {QStringLiteral("\r\n\r\nx\r\n"), QStringLiteral("\r\n")};
    QTest::newRow("no page size: one page")
        << QByteArray("a\nb\nc\n") << 0 << QStringList {QStringLiteral("a\r\nb\r\nc\r\n")};
    QTest::newRow("negative page size: one page")
        << QByteArray("a\r\nb") << -5 << QStringList {QStringLiteral("a\r\nb\r\n")};
}

void tst_book::pages()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, linesPerPage);
    QFETCH(QStringList, pages);

    Book book;
    QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
    QCOMPARE(book.pageCount(), pages.size());
    QCOMPARE(book.isEmpty(), pages.isEmpty());
    QCOMPARE(allPages(book), pages);
    // Asking beyond the book gives nothing rather than a neighbour's text.
    QCOMPARE(book.pageText(-1), QString());
    QCOMPARE(book.pageText(book.pageCount()), QString());
}

void tst_book::pageSizes_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QList<int>>("pageLines"); // lines on each page

    QTest::newRow("31 at 15") << QByteArray("\r\n") << 31 << 15 << QList<int> {15, 15, 1};
    QTest::newRow("30 at 15") << QByteArray("\r\n") << 30 << 15 << QList<int> {15, 15};
    QTest::newRow("31 at 15, LF") << QByteArray("\n") << 31 << 15 << QList<int> {15, 15, 1};
    QTest::newRow("14 at 15") << QByteArray("\r\n") << 14 << 15 << QList<int> {14};
    QTest::newRow("5 at 1") << QByteArray("\r") << 5 << 1 << QList<int> {1, 1, 1, 1, 1};
}

void tst_book::pageSizes()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(int, lines);
    QFETCH(int, linesPerPage);
    QFETCH(QList<int>, pageLines);

    Book book;
    QCOMPARE(book.loadBytes(TestFiles::lines(lines, lineEnd), linesPerPage).status,
             Book::Status::Loaded);
    QCOMPARE(book.pageCount(), pageLines.size());
    int first = 1;
    for (int i = 0; i < pageLines.size(); ++i) {
        QCOMPARE(book.pageText(i), linesText(first, first + pageLines[i] - 1));
        first += pageLines[i];
    }
}

// Text of line ends and short and long lines, read byte by byte the plain way, must give the same
// pages as the book's own scan, whatever block sizes that scan works in.
void tst_book::pagesMatchAPlainReading()
{
    QRandomGenerator random(31);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(0, 300);
        while (bytes.size() < length) {
            switch (random.bounded(6)) {
            case 0:
                bytes += '\r';
                break;
            case 1:
                bytes += '\n';
                break;
            case 2:
                bytes += "\r\n";
                break;
            case 3:
                bytes += QByteArray(random.bounded(1, 70), 'x');
                break;
            default:
                bytes += char('a' + random.bounded(26));
                break;
            }
        }
        const int linesPerPage = random.bounded(-1, 6);

        QStringList lines;
        QString line;
        qsizetype lineEnds = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c != '\r' && c != '\n') {
                line += QLatin1Char(c);
                continue;
            }
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++lineEnds;
            lines.append(line);
            line.clear();
        }
        if (!line.isEmpty())
            lines.append(line);
        QStringList expected;
        const int size = linesPerPage < 1 ? qMax(1, int(lines.size())) : linesPerPage;
        for (int first = 0; first < lines.size(); first += size) {
            QString page;
            for (const QString &l : lines.mid(first, size))
                page += l + u"\r\n";
            expected.append(page);
        }

        Book book;
        QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
        QVERIFY2(allPages(book) == expected, bytes.toHex(' ').constData());
        QCOMPARE(LineEnds::countLineEnds(bytes.constBegin(), bytes.constEnd()), lineEnds);
    }

    // Long runs of nothing but line ends, far past where the counting adds up its counters.
    const QList<QPair<QByteArray, int>> units = {
        {"\n", 1}, {"\r", 1}, {"\r\n", 1}, {"\r\r\n\n", 3}};
    for (const auto &[unit, ends] : units) {
        const int repeats = 20011;
        const QByteArray bytes = unit.repeated(repeats);
        QCOMPARE(LineEnds::countLineEnds(bytes.constBegin(), bytes.constEnd()),
                 qsizetype(ends) * repeats);
    }
}

void tst_book::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QStringList>("pages"); // at one line a page

    QTest::newRow("ASCII") << QByteArray("plain\n") << TextEncoding::Utf8
                           << QStringList {QStringLiteral("plain\r\n")};
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9\n\xE2\x82\xAC") << TextEncoding::Utf8
                           << QStringList {QStringLiteral("caf\u00E9\r\n"),
                                           QStringLiteral("\u20AC\r\n")};
    QTest::newRow("UTF-8, byte-order mark dropped")
        << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n") << TextEncoding::Utf8
        << QStringList {QStringLiteral("\u00E9t\u00E9\r\n")};
    QTest::newRow("byte-order mark alone")
        << QByteArray("\xEF\xBB\xBF") << TextEncoding::Utf8 << QStringList();
    // Only the file's first mark is a mark; one that starts a later page is a character.
    QTest::newRow("mark inside the text")
        << QByteArray("\xEF\xBB\xBF"
                      "a\n\xEF\xBB\xBF"
                      "b")
        << TextEncoding::Utf8
        << QStringList {QStringLiteral("a\r\n"), QStringLiteral("\uFEFFb\r\n")};
    QTest::newRow("invalid UTF-8: Windows-1252")
        << QByteArray("caf\xE9\r\n\x80 \x93quoted\x94") << TextEncoding::Windows1252
        << QStringList {QStringLiteral("caf\u00E9\r\n"),
                        QStringLiteral("\u20AC \u201Cquoted\u201D\r\n")};
    QTest::newRow("one bad byte late in UTF-8")
        << QByteArray("caf\xC3\xA9\n\xFF") << TextEncoding::Windows1252
        << QStringList {QStringLiteral("caf\u00C3\u00A9\r\n"), QStringLiteral("\u00FF\r\n")};
}

void tst_book::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QStringList, pages);

    Book book;
    QCOMPARE(book.loadBytes(bytes, 1).status, Book::Status::Loaded);
    QCOMPARE(book.encoding(), encoding);
    QCOMPARE(allPages(book), pages);
}

// A Windows-1252 book shows one character for every byte, the five bytes the code page leaves
// undefined included, and encoding the page again gives back the file's bytes.
void tst_book::everyByteComesBackUnchanged()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    }
    Book book;
    QCOMPARE(book.loadBytes(bytes, 15).status, Book::Status::Loaded);
    QCOMPARE(book.encoding(), TextEncoding::Windows1252);
    QCOMPARE(book.pageCount(), 1);
    QString text = book.pageText(0);
    QVERIFY(text.endsWith(u"\r\n"));
    text.chop(2);
    QCOMPARE(text.size(), bytes.size());
    QCOMPARE(TextCodec::encode(text, TextEncoding::Windows1252), bytes);
    for (const char16_t undefined : {u'\u0081', u'\u008D', u'\u008F', u'\u0090', u'\u009D'})
        QVERIFY(text.contains(QChar(undefined)));
}

// Search finds matches in the book's bytes and asks which page holds them.
void tst_book::byteOffsetsMapToPages()
{
    Book book;
    QCOMPARE(book.loadBytes("\xEF\xBB\xBF"
                            "ab\r\ncd\r\nef\r\ng",
                            2)
                 .status,
             Book::Status::Loaded);
    QCOMPARE(book.pageCount(), 2);
    QCOMPARE(book.pageBytes(0).toByteArray(), QByteArray("ab\r\ncd\r\n"));
    QCOMPARE(book.pageBytes(1).toByteArray(), QByteArray("ef\r\ng"));
    QCOMPARE(book.bytesFrom(0).toByteArray(), QByteArray("ab\r\ncd\r\nef\r\ng"));
    QCOMPARE(book.bytesFrom(1).toByteArray(), QByteArray("ef\r\ng"));
    QVERIFY(book.bytesFrom(2).isEmpty());
    QCOMPARE(book.pageAt(0), 0);
    QCOMPARE(book.pageAt(7), 0);
    QCOMPARE(book.pageAt(8), 1);
    QCOMPARE(book.pageAt(12), 1);
}

void tst_book::pageLimits_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<Book::Status>("status");
    QTest::addColumn<int>("pages");

    QTest::newRow("32767 pages") << 32767 << 1 << Book::Status::Loaded << 32767;
    QTest::newRow("32768 full pages") << 32768 << 1 << Book::Status::TooManyPages << 0;
    QTest::newRow("a short page past the limit")
        << 2 * 32767 + 1 << 2 << Book::Status::TooManyPages << 0;
    QTest::newRow("one page of 32767 lines") << 32767 << 0 << Book::Status::Loaded << 1;
    QTest::newRow("one page of 32768 lines") << 32768 << 0 << Book::Status::TooManyLines << 0;
}

// A book the reader cannot count is refused whole, and the book held before stays as it was.
void tst_book::pageLimits()
{
    QFETCH(int, lines);
    QFETCH(int, linesPerPage);
    QFETCH(Book::Status, status);
    QFETCH(int, pages);

    Book book;
    QCOMPARE(book.loadBytes("before\r\nit\r\n", 1).status, Book::Status::Loaded);
    QCOMPARE(book.loadBytes(TestFiles::lines(lines, "\n"), linesPerPage).status, status);
    if (status == Book::Status::Loaded) {
        QCOMPARE(book.pageCount(), pages);
        QCOMPARE(book.pageText(book.pageCount() - 1).right(9), QStringLiteral("e 32767\r\n"));
    } else {
        QCOMPARE(allPages(book),
                 (QStringList {QStringLiteral("before\r\n"), QStringLiteral("it\r\n")}));
    }
}

void tst_book::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Book::Status>("status");

    QTest::newRow("NUL bytes") << QStringLiteral("binary.dat") << Book::Status::NotText;
    QTest::newRow("NUL after many lines") << QStringLiteral("late.dat") << Book::Status::NotText;
    QTest::newRow("missing") << QStringLiteral("nowhere.txt") << Book::Status::CannotOpen;
    QTest::newRow("folder") << QStringLiteral("shelf") << Book::Status::CannotOpen;
}

void tst_book::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(Book::Status, status);

    QTemporaryDir dir;
    TestFiles::write(dir.filePath(QStringLiteral("binary.dat")), QByteArray("text\0more\n", 10));
    TestFiles::write(dir.filePath(QStringLiteral("late.dat")),
                     TestFiles::lines(40000, "\n") + QByteArray("end\0", 4));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("shelf"))));

    Book book;
    QCOMPARE(book.loadBytes("kept\n", 15).status, Book::Status::Loaded);
    QCOMPARE(book.load(dir.filePath(name), 15).status, status);
    QCOMPARE(allPages(book), QStringList {QStringLiteral("kept\r\n")});
}

void tst_book::readsFromDisk()
{
    QTemporaryDir dir;
    const QString path =
        TestFiles::write(dir.filePath(QStringLiteral("book one.txt")), TestFiles::lines(31, "\n"));
    Book book;
    const Book::LoadResult result = book.load(path, 15);
    QCOMPARE(result.status, Book::Status::Loaded);
    QCOMPARE(book.pageCount(), 3);
    QCOMPARE(book.pageText(2), QStringLiteral("line 31\r\n"));
    QCOMPARE(book.byteSize(), TestFiles::lines(31, "\n").size());

    const QString empty = TestFiles::write(dir.filePath(QStringLiteral("empty.txt")), {});
    QCOMPARE(book.load(empty, 15).status, Book::Status::Loaded);
    QCOMPARE(book.pageCount(), 0);

    // Files that say nothing of their size, or less than they hold, are read whole all the same.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        QCOMPARE(status.size(), 0);
        QByteArray bytes;
        QVERIFY(readWholeFile(status, bytes));
        QVERIFY(bytes.startsWith("Name:"));
        QVERIFY(bytes.endsWith('\n'));
    }
}

QTEST_GUILESS_MAIN(tst_book)
#include "tst_book.moc"
