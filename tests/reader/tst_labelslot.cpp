// A label in a slot: a new text of another size is laid out before the repaint that shows it,
// and one of the same size leaves the status bar's layout alone.
#include "reader/LabelSlot.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct LayoutCount : QObject
{
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

} // namespace

class tst_labelslot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newText_data();
    void newText();
};

void tst_labelslot::newText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hidden"); // the bar, while the text changes
    QTest::addColumn<bool>("laidOut");
    QTest::newRow("same width") << u"page 2 of 9"_s << false << false;
    QTest::newRow("wider") << u"page 10 of 19"_s << false << true;
    QTest::newRow("narrower") << u"p"_s << false << true;
    QTest::newRow("wider while hidden") << u"page 10 of 19"_s << true << true;
}

void tst_labelslot::newText()
{
    QFETCH(QString, text);
    QFETCH(bool, hidden);
    QFETCH(bool, laidOut);
    QStatusBar bar;
    auto *label = new QLabel(u"page 1 of 9"_s);
    auto *slot = new LabelSlot(label);
    bar.addPermanentWidget(slot);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    LayoutCount layouts;
    bar.installEventFilter(&layouts);
    bar.setVisible(!hidden);
    if (hidden)
        label->setText(text); // as code holding the label itself might
    else
        slot->setText(text);
    bar.show();
    QCoreApplication::processEvents(); // one pass, as a page turn has before it shows
    QCOMPARE(layouts.count > 0, laidOut);
    QCOMPARE(label->geometry(), slot->rect());
    QCOMPARE(slot->width(), label->sizeHint().width());
}

PAGELARK_TEST(tst_labelslot);
#include "tst_labelslot.moc"
