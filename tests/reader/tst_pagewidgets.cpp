// The controls that change with every page shown and keep what they can between pages: the
// status bar's page share in a slot of its own gets the room its new text needs before the
// repaint that shows it, and the page-number box whose panel is kept as a picture looks, pixel
// for pixel, as one whose panel is drawn anew.
#include "reader/KeptPanelStyle.h"
#include "reader/LabelSlot.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_pagewidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotMakesRoom_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hidden"); // the bar, while the text changes
        QTest::newRow("wider") << u"page 10 of 19"_s << false;
        QTest::newRow("wider while hidden") << u"page 10 of 19"_s << true;
    }

    void slotMakesRoom()
    {
        QFETCH(QString, text);
        QFETCH(bool, hidden);
        QStatusBar bar;
        auto *label = new QLabel(u"page 1 of 9"_s);
        auto *slot = new LabelSlot(label);
        bar.addPermanentWidget(slot);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.setVisible(!hidden);
        if (hidden)
            label->setText(text); // as code holding the label itself might
        else
            slot->setText(text);
        bar.show();
        QCoreApplication::processEvents(); // one pass, as a page turn has before it shows
        QCOMPARE(label->geometry(), slot->rect());
        QCOMPARE(slot->width(), label->sizeHint().width());
    }

    void keptPanelLooksTheSame_data()
    {
        QTest::addColumn<QString>("state");
        for (const QString &state : {u"plain"_s, u"focused"_s, u"disabled"_s, u"read-only"_s})
            QTest::newRow(qPrintable(state)) << state;
    }

    // Over a coloured window, in each state the panel shows.
    void keptPanelLooksTheSame()
    {
        QFETCH(QString, state);
        QWidget window;
        window.setPalette(QColor(255, 255, 225));
        window.setAutoFillBackground(true);
        auto *drawn = new QLineEdit(u"123"_s, &window);
        auto *kept = new QLineEdit(u"123"_s, &window);
        auto *style = new KeptPanelStyle;
        style->setParent(&window); // setStyle() does not take it
        kept->setStyle(style);
        kept->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto look = [&](QLineEdit *box) {
            box->setEnabled(state != u"disabled");
            box->setReadOnly(state == u"read-only");
            if (state == u"focused")
                box->setFocus();
            else
                box->clearFocus(); // the window gave the first box the focus
            window.grab(box->geometry()); // fills the kept picture
            return window.grab(box->geometry()).toImage();
        };
        QCOMPARE(look(kept), look(drawn));
    }
};

PAGELARK_TEST(tst_pagewidgets);
#include "tst_pagewidgets.moc"
