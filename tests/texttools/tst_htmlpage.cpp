// The HTML page of a text file byte for byte: its layout, line items, markup copied as it is,
// and encoding.
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "texttools/HtmlPage.h"

#include <QRandomGenerator>
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

    // Long enough texts that line ends and markup fall anywhere in the blocks the page builder
    // looks at together.
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
            QVERIFY2(TestFiles::htmlPageOf(source, QStringLiteral("n"))
                         == page("n", body + items.last()),
                     source.toHex(' ').constData());
        }
    }
};

PAGELARK_TEST(tst_htmlpage);
#include "tst_htmlpage.moc"
