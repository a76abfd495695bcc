// The HTML page of a text file: its layout byte for byte, the line items, escaping and encoding.
#include "texttools/HtmlPage.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const QByteArray I = kLineIndentation;

QByteArray head(const QByteArray &name, const QByteArray &charset = "windows-1252")
{
    return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset="
        + charset + "\">\r\n<title>" + name
        + "</title>\r\n</head>\r\n<body leftmargin=64 style=\"border-left: medium solid "
          "rgb(111,0,221); border-top: medium solid rgb(84,0,168)\">\r\n<br><font "
          "color=\"navy\"><H2>"
        + name + "</H2></font>\r\n<p align=\"justify\">" + I;
}

const QByteArray kTail = "</p>\r\n<hr color=rgb(84,0,168)>\r\n<br><br><br><br>\r\n</body>\r\n"
                         "</html>\r\n";

// The paragraph of a page: what follows the indentation of line 8 up to "</p>".
QByteArray paragraph(const QByteArray &page)
{
    const qsizetype start = page.indexOf("<p align=\"justify\">") + 19 + I.size();
    return page.mid(start, page.lastIndexOf("</p>") - start);
}

} // namespace

class tst_htmlpage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storyPageByteForByte();
    void lineItems_data();
    void lineItems();
    void markupIsEscaped();
    void pagesMatchAPlainConversion();
    void encodingFollowsSource_data();
    void encodingFollowsSource();
};

void tst_htmlpage::storyPageByteForByte()
{
    HtmlPage page("Hello\r\n\r\nWorld\r\n", QStringLiteral("story"));
    QCOMPARE(page.itemCount(), 4);
    int passes = 0;
    while (!page.atEnd()) {
        page.addNextItem();
        ++passes;
    }
    QCOMPARE(passes, 4);
    const QByteArray expected = head("story") + "Hello\r\n<br>" + I + "World\r\n<br>" + I + kTail;
    QCOMPARE(page.bytes(), expected);
}

void tst_htmlpage::lineItems_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("body");

    const QByteArray br = "\r\n<br>" + I;
    QTest::newRow("empty file") << QByteArray() << QByteArray();
    QTest::newRow("no line end") << QByteArray("one line") << QByteArray("one line");
    QTest::newRow("tail after last line end") << QByteArray("a\r\nb") << QByteArray("a" + br + "b");
    QTest::newRow("LF ends") << QByteArray("a\nb\n") << QByteArray("a" + br + "b" + br);
    QTest::newRow("lone CR ends") << QByteArray("a\rb") << QByteArray("a" + br + "b");
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd")
                                << QByteArray("a" + br + "b" + br + "c" + br + "d");
    QTest::newRow("LF CR is two ends, the empty line dropped")
        << QByteArray("a\n\rb") << QByteArray("a" + br + "b");
    QTest::newRow("only line ends") << QByteArray("\r\n\n\r") << QByteArray();
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xEF\xBB\xBFx") << QByteArray("x");
    QTest::newRow("bytes kept") << QByteArray("caf\xE9 \x81\x00z", 8)
                                << QByteArray("caf\xE9 \x81\x00z", 8);
}

void tst_htmlpage::lineItems()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, body);
    const QByteArray page = HtmlPage::build(source, QStringLiteral("n"));
    QVERIFY(page.endsWith(kTail));
    QCOMPARE(paragraph(page), body);
}

void tst_htmlpage::markupIsEscaped()
{
    const QByteArray page =
        HtmlPage::build("a<b && c>d\r\n<script>x</script>", QStringLiteral("<R&D>"));
    QCOMPARE(paragraph(page),
             "a&lt;b &amp;&amp; c&gt;d\r\n<br>" + I + "&lt;script&gt;x&lt;/script&gt;");
    QVERIFY(page.contains("<title>&lt;R&amp;D&gt;</title>"));
    QVERIFY(page.contains("<H2>&lt;R&amp;D&gt;</H2>"));
    QVERIFY(!page.contains("<script>"));
}

void tst_htmlpage::pagesMatchAPlainConversion()
{
    // Long enough texts that line ends and markup fall anywhere in the blocks the page builder
    // looks at together.
    QRandomGenerator random(7);
    const char pieces[] = {'\r', '\n', '&', '<', '>', 'x', 'y', ' ', '\xE9'};
    for (int round = 0; round < 1500; ++round) {
        QByteArray source;
        const int length = random.bounded(0, 200);
        while (source.size() < length) {
            const int kind = random.bounded(12);
            if (kind < int(sizeof pieces))
                source += pieces[kind];
            else
                source += QByteArray(random.bounded(1, 40), 'a');
        }

        QByteArray expected;
        QByteArray item;
        qsizetype items = 1;
        for (qsizetype i = 0; i < source.size(); ++i) {
            const char c = source[i];
            if (c == '&' || c == '<' || c == '>') {
                item += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
                continue;
            }
            if (c != '\r' && c != '\n') {
                item += c;
                continue;
            }
            if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n')
                ++i;
            if (!item.isEmpty())
                expected += item + "\r\n<br>" + I;
            item.clear();
            ++items;
        }
        expected += item;

        HtmlPage page(source, QStringLiteral("n"));
        QCOMPARE(page.itemCount(), items);
        qsizetype passes = 0;
        while (!page.atEnd()) {
            page.addNextItem();
            ++passes;
        }
        QCOMPARE(passes, items);
        QVERIFY2(paragraph(page.bytes()) == expected, source.toHex(' ').constData());
    }
}

void tst_htmlpage::encodingFollowsSource_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("encodedName");

    QTest::newRow("Windows-1252 source, name it can hold")
        << QByteArray("caf\xE9") << QStringLiteral("caf\u00E9 \u20AC") << QByteArray("windows-1252")
        << QByteArray("caf\xE9 \x80");
    QTest::newRow("Windows-1252 source, name it cannot hold")
        << QByteArray("na\xEFve") << QStringLiteral("\u041C\u0438\u0440 \U0001F600")
        << QByteArray("windows-1252") << QByteArray("&#1052;&#1080;&#1088; &#128512;");
    QTest::newRow("ASCII source") << QByteArray("plain") << QStringLiteral("\u00E9")
                                  << QByteArray("windows-1252") << QByteArray("\xE9");
    QTest::newRow("ASCII source with UTF-8 mark")
        << QByteArray("\xEF\xBB\xBFplain") << QStringLiteral("\u00E9") << QByteArray("utf-8")
        << QByteArray("\xC3\xA9");
    QTest::newRow("UTF-8 source") << QByteArray("\xD0\x9C\xD0\xB8\xD1\x80")
                                  << QStringLiteral("\u041C\u0438\u0440") << QByteArray("utf-8")
                                  << QByteArray("\xD0\x9C\xD0\xB8\xD1\x80");
}

void tst_htmlpage::encodingFollowsSource()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, name);
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, encodedName);
    const QByteArray page = HtmlPage::build(source, name);
    QVERIFY(page.startsWith(head(encodedName, charset)));
    QCOMPARE(paragraph(page), source.startsWith("\xEF\xBB\xBF") ? source.mid(3) : source);
}

QTEST_APPLESS_MAIN(tst_htmlpage)
#include "tst_htmlpage.moc"
