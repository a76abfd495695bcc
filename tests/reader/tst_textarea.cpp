// The page view's contract with the reader: a new page takes on the format in force at the
// caret, a selection whose format is mixed reads as no value, and positions count characters,
// a line end as one.
#include "reader/TextArea.h"
#include "support/TestMain.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

// Shows text, makes its first `bold` characters bold at 20 points, shows next unless it is
// null, selects [from, from + length) and finds `find` from `from` unless it is null. The
// selection then starts at start, reads selected and is bold (1), not (0) or mixed (-1).
struct Row
{
    QString text;
    int bold;
    QString next;
    int from;
    int length;
    QString find;
    int start;
    QString selected;
    int isBold;
};

} // namespace

class tst_textarea : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contract_data()
    {
        QTest::addColumn<Row>("row");
        const QString none;
        const QString mixed = u"bold plain\r\nnext"_s;
        QTest::newRow("a new page takes on the format")
            << Row {u"first\r\n"_s, 99, u"two\r\n"_s, 0, 99, none, 0, u"two\n"_s, 1};
        QTest::newRow("the format at the caret goes on")
            << Row {mixed, 4, u"page two"_s, 0, 99, none, 0, u"page two"_s, 1};
        QTest::newRow("mixed selection")
            << Row {mixed, 4, none, 0, 99, none, 0, u"bold plain\nnext"_s, -1};
        QTest::newRow("the bold part") << Row {mixed, 4, none, 0, 4, none, 0, u"bold"_s, 1};
        QTest::newRow("the plain part")
            << Row {mixed, 4, none, 5, 99, none, 5, u"plain\nnext"_s, 0};
        QTest::newRow("a line end is one")
            << Row {u"a\r\nb\rc\nd"_s, 0, none, 6, 1, none, 6, u"d"_s, 0};
        QTest::newRow("every line end reads as one")
            << Row {u"a\r\nb\rc\nd\r"_s, 0, none, 0, 99, none, 0, u"a\nb\nc\nd\n"_s, 0};
        QTest::newRow("held to the text")
            << Row {u"one two"_s, 0, none, -3, 99, none, 0, u"one two"_s, 0};
        QTest::newRow("find ignores case, inside words")
            << Row {u"The Cat sat.\r\nCATALOGUE"_s, 0, none, 5, 0, u"cat"_s, 13, u"CAT"_s, 0};
        QTest::newRow("find from the match")
            << Row {u"The Cat"_s, 0, none, 4, 0, u"cAT"_s, 4, u"Cat"_s, 0};
        QTest::newRow("a miss keeps the selection")
            << Row {u"some text"_s, 0, none, 2, 3, u"absent"_s, 2, u"me "_s, 0};
    }

    void contract()
    {
        QFETCH(Row, row);
        TextArea view;
        view.setText(row.text);
        view.setSelLength(row.bold);
        view.setSelBold(row.bold > 0);
        view.setSelFontSize(row.bold > 0 ? 20 : 0);
        view.collapseSelection();
        if (!row.next.isNull())
            view.setText(row.next);
        view.setSelStart(row.from);
        view.setSelLength(row.length);
        if (!row.find.isNull())
            QCOMPARE(view.find(row.find, row.from),
                     row.selected.compare(row.find, Qt::CaseInsensitive) ? -1 : row.start);
        QCOMPARE(view.textCursor().selectionStart(), row.start);
        QCOMPARE(view.selectedText(), row.selected);
        QCOMPARE(view.selBold(), row.isBold < 0 ? std::nullopt : std::optional<bool>(row.isBold));
        QCOMPARE(view.selFontSize().has_value(), row.isBold >= 0);
        QCOMPARE(view.selFontSize() == 20.0, row.isBold == 1);
    }

    // A page of Latin text is laid out as one paragraph; one with right-to-left text a paragraph a
    // line, as the bidirectional rules would otherwise carry a line's end into the next line and
    // turn its punctuation around.
    void eachLineTakesItsOwnDirection()
    {
        TextArea view;
        view.setText(u"One.\r\nTwo.\nThree"_s);
        QCOMPARE(view.document()->blockCount(), 1);
        view.setText(u"Chapter 1\r\n\u05E9\u05DC\u05D5\u05DD.\n\u05E2\u05D5\u05DC\u05DD"_s);
        QCOMPARE(view.document()->blockCount(), 3);
        QCOMPARE(view.text(), u"Chapter 1\n\u05E9\u05DC\u05D5\u05DD.\n\u05E2\u05D5\u05DC\u05DD"_s);
    }

    // Every row is as high as the rest, Chinese glyphs from a taller font among them, on a page
    // shown after the layout and at another font size; the text keeps the margin from both sides.
    void rowsAndMargins_data()
    {
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<double>("points"); // set after the layout; 0: the view's own
        QTest::addColumn<QString>("page");
        QTest::newRow("as before") << 0 << 100 << 0.0 << u"ab\r\n\u4E2D\u6587\r\nab"_s;
        QTest::newRow("right-to-left") << 60 << 150 << 0.0 << u"ab\n\u05E9\u05DC\n\u4E2D"_s;
        QTest::newRow("larger font") << 200 << 200 << 20.0 << u"\u4E2D\r\nab\r\n\u4E2D"_s;
    }
    void rowsAndMargins()
    {
        QFETCH(int, margin);
        QFETCH(int, spacing);
        QFETCH(double, points);
        QFETCH(QString, page);
        TextArea view;
        view.resize(700, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.setText(u"the page before"_s);
        view.setPageLayout(margin, spacing);
        QFont font = view.font();
        if (points > 0) {
            font.setPointSizeF(points);
            view.selectWholeText();
            view.setSelFontSize(points);
        }
        view.setText(page);
        QCOMPARE(view.rowHeight(), qRound(QFontMetricsF(font).lineSpacing() * spacing / 100));
        QList<qreal> baselines;
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            view.document()->documentLayout()->blockBoundingRect(block);
            const QTextLayout *layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                baselines << layout->position().y() + line.y() + line.ascent();
                QCOMPARE(layout->position().x() + line.x(),
                         view.document()->documentMargin() + margin);
                QCOMPARE(line.width(), view.lineWidth());
            }
        }
        QCOMPARE(baselines.size(), 3);
        for (int i = 1; i < baselines.size(); ++i)
            QVERIFY(qAbs(baselines[i] - baselines[i - 1] - view.rowHeight()) < 0.05);
    }
};

PAGELARK_TEST(tst_textarea);
#include "tst_textarea.moc"
