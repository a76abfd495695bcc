// The HTML page of a text file byte for byte: its layout, line items, markup copied as it is,
// and encoding.
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "texttools/HtmlPage.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kBr = QByteArray("\r\n<br>") + kLineIndentation;

QByteArray page(const QByteArray &title, const QByteArray &body,
                const QByteArray &charset = "windows-1252")
{
    return TestFiles::htmlPage(title, body, charset);
}

} // namespace

class tst_htmlpage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactPage_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("expected");
        const QString n = QStringLiteral("n");
        // clang-format off
        QTest::newRow("empty") << QByteArray() << n << page("n", "");
        QTest::newRow("every line end, LF CR two") << QByteArray("a\r\nb\nc\rd\n\re") << n
            << page("n", "a" + kBr + "b" + kBr + "c" + kBr + "d" + kBr + "e");
        QTest::newRow("markup copied as it is") << QByteArray("a<b && c>d\r\n<i>x</i> &amp;")
            << QStringLiteral("<R&D>") << page("<R&D>", "a<b && c>d" + kBr + "<i>x</i> &amp;");
        QTest::newRow("Windows-1252 kept, name it holds") << QByteArray("caf\xE9 \x81\0z", 8)
            << QStringLiteral("caf\u00E9 \u20AC") << page("caf\xE9 \x80", QByteArray("caf\xE9 \x81\0z", 8));
        QTest::newRow("Windows-1252 after a UTF-8 mark") << QByteArray("\xEF\xBB\xBF\xE9") << n
            << page("n", "\xEF\xBB\xBF\xE9");
        QTest::newRow("Windows-1252, name it cannot hold") << QByteArray("na\xEFve")
            << QStringLiteral("\u041C\u0438 \U0001F600") << page("&#1052;&#1080; &#128512;", "na\xEFve");
        QTest::newRow("ASCII with UTF-8 mark") << QByteArray("\xEF\xBB\xBFx") << QStringLiteral("\u00E9")
                                               << page("\xC3\xA9", "x", "utf-8");
        QTest::newRow("UTF-8") << QByteArray("\xD0\x9C\xD0\xB8\r\n") << QStringLiteral("\u041C")
                               << page("\xD0\x9C", "\xD0\x9C\xD0\xB8" + kBr, "utf-8");
        // clang-format on
    }

    void exactPage()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, name);
        QFETCH(QByteArray, expected);
        QCOMPARE(TestFiles::htmlPageOf(source, name), expected);
    }

    // The source is read in blocks: what a block's edge cuts, a line end, a character or a
    // byte-order mark, makes the same page as when whole.
    void blockEdges_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<QByteArray>("expected");
        // U+1F600 as a surrogate pair, CR LF, "a", after the mark of UTF-16 LE.
        const QByteArray utf16("\xFF\xFE\x3D\xD8\x00\xDE\x0D\x00\x0A\x00"
                               "a",
                               12);
        // clang-format off
        QTest::newRow("CR LF cut") << QByteArray("ab\r\ncd") << 3 << page("n", "ab" + kBr + "cd");
        QTest::newRow("lone CR ends a block") << QByteArray("ab\rcd") << 3 << page("n", "ab" + kBr + "cd");
        QTest::newRow("LF starts a block") << QByteArray("abc\nd") << 3 << page("n", "abc" + kBr + "d");
        QTest::newRow("empty lines, a byte a block") << QByteArray("a\r\n\r\n\n\rb\r") << 1
            << page("n", "a" + kBr + "b" + kBr);
        QTest::newRow("a line of many blocks") << QByteArray("abcdefgh\r\nij") << 2
            << page("n", "abcdefgh" + kBr + "ij");
        QTest::newRow("UTF-8 sequences cut") << QByteArray("\xD0\x9C\xD0\xB8\r\n\xE2\x82\xAC") << 3
            << page("n", "\xD0\x9C\xD0\xB8" + kBr + "\xE2\x82\xAC", "utf-8");
        QTest::newRow("UTF-8 mark cut") << QByteArray("\xEF\xBB\xBFx\xC3\xA9") << 2
            << page("n", "x\xC3\xA9", "utf-8");
        QTest::newRow("not UTF-8 blocks later") << QByteArray("caf\xC3\xA9\r\nna\xEFve") << 4
            << page("n", "caf\xC3\xA9" + kBr + "na\xEFve");
        QTest::newRow("UTF-16 pair and CR LF cut") << utf16 << 3
            << page("n", "\xF0\x9F\x98\x80" + kBr + "a", "utf-8");
        // clang-format on
    }

    void blockEdges()
    {
        QFETCH(QByteArray, source);
        QFETCH(int, blockSize);
        QFETCH(QByteArray, expected);
        QCOMPARE(TestFiles::htmlPageOf(source, QStringLiteral("n"), blockSize), expected);
    }

    // A source that grows or shrinks after it was read through to tell its encoding: the page
    // holds what the source held when opened, or up to its new end.
    void sourceChangedWhileRead_data()
    {
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("grown") << QByteArray("a\r\nb\r\nc\r\nd") << page("n", "a" + kBr + "b");
        QTest::newRow("shrunk") << QByteArray("a\r") << page("n", "a" + kBr);
        QTest::newRow("emptied") << QByteArray() << page("n", "");
    }

    void sourceChangedWhileRead()
    {
        QFETCH(QByteArray, changed);
        QFETCH(QByteArray, expected);
        QTemporaryDir folder;
        const QString path = TestFiles::write(folder.filePath(QStringLiteral("n.txt")), "a\r\nb");
        HtmlPage page(2);
        QVERIFY(page.open(path, QStringLiteral("n")));
        TestFiles::write(path, changed);
        QByteArray written;
        qsizetype passes = 0;
        while (!page.atEnd() && passes++ < page.itemCount())
            QVERIFY(page.addNextItem(
                [&](QByteArrayView piece) { return !written.append(piece).isEmpty(); }));
        QCOMPARE(written, expected);
    }

    // Long enough texts that line ends and markup fall anywhere in the blocks the page builder
    // looks at together, and in the blocks it reads.
    void pagesMatchAPlainConversion()
    {
        QRandomGenerator random(7);
        const char pieces[] = {'\r', '\n', '&', '<', '>', 'x', 'y', ' ', '\xE9'};
        const char *const plainly[][2] = {{"\r\n", "\n"}, {"\r", "\n"}};
        for (int round = 0; round < 1500; ++round) {
            QByteArray source;
            for (const int length = random.bounded(0, 200); source.size() < length;) {
                const int kind = random.bounded(12);
                source +=
                    kind < 9 ? QByteArray(1, pieces[kind]) : QByteArray(random.bounded(1, 40), 'a');
            }
            QByteArray plain = source;
            for (const auto &[from, to] : plainly)
                plain.replace(from, to);
            const QList<QByteArray> items = plain.split('\n');
            QByteArray body;
            for (qsizetype i = 0; i + 1 < items.size(); ++i)
                body += items[i].isEmpty() ? QByteArray() : items[i] + kBr;
            QVERIFY2(TestFiles::htmlPageOf(source, QStringLiteral("n"), random.bounded(1, 64))
                         == page("n", body + items.last()),
                     source.toHex(' ').constData());
        }
    }
};

PAGELARK_TEST(tst_htmlpage);
#include "tst_htmlpage.moc"
