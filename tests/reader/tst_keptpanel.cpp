// A text box whose panel is kept as a picture looks, pixel for pixel, as one whose panel is drawn
// anew, over a coloured window and in each state the panel shows.
#include "reader/KeptPanelStyle.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_keptpanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samePixels_data();
    void samePixels();
};

void tst_keptpanel::samePixels_data()
{
    QTest::addColumn<QString>("state");
    for (const QString &state : {u"plain"_s, u"focused"_s, u"disabled"_s, u"read-only"_s})
        QTest::newRow(qPrintable(state)) << state;
}

void tst_keptpanel::samePixels()
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

PAGELARK_TEST(tst_keptpanel);
#include "tst_keptpanel.moc"
