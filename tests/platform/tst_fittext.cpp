// Captions in fixed-size controls: shrunk until they fit, never below a readable size, and left
// alone when they fit already.
#include "platform/FitText.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QWidget>

class tst_fittext : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tooLongCaptionsShrinkUntilTheyFit();
    void captionsThatFitKeepTheirFont();
    void hopelessCaptionsStopAtTheFloor();
};

namespace {

QFont font(double points)
{
    QFont f = QApplication::font();
    f.setPointSizeF(points);
    return f;
}

} // namespace

void tst_fittext::tooLongCaptionsShrinkUntilTheyFit()
{
    QWidget window;
    window.setFont(font(10));
    auto *line = new QLabel(QStringLiteral("Load Last Book At StartUp"), &window);
    auto *wrapped = new QLabel(QStringLiteral("Number of Lines per Page (Will reload the book "
                                              "from page one)"),
                               &window);
    wrapped->setWordWrap(true);
    auto *check = new QCheckBox(QStringLiteral("Jump To Last Read Page"), &window);
    line->resize(line->sizeHint().width() * 8 / 10, line->sizeHint().height());
    wrapped->resize(120, wrapped->heightForWidth(120) * 3 / 4);
    check->resize(check->sizeHint().width() * 9 / 10, check->sizeHint().height());

    FitText::shrinkToFit(&window);

    QVERIFY(line->font().pointSizeF() < 10);
    QVERIFY(line->sizeHint().width() <= line->width());
    QVERIFY(wrapped->font().pointSizeF() < 10);
    QVERIFY(wrapped->heightForWidth(wrapped->width()) <= wrapped->height());
    QVERIFY(check->font().pointSizeF() < 10);
    QVERIFY(check->sizeHint().width() <= check->width());
}

void tst_fittext::captionsThatFitKeepTheirFont()
{
    QWidget window;
    window.setFont(font(10));
    auto *label = new QLabel(QStringLiteral("Page:"), &window);
    label->resize(label->sizeHint() + QSize(20, 0));
    auto *empty = new QLabel(&window);
    empty->resize(1, 1);
    FitText::shrinkToFit(&window);
    QCOMPARE(label->font().pointSizeF(), 10.0);
    QCOMPARE(empty->font().pointSizeF(), 10.0);
}

void tst_fittext::hopelessCaptionsStopAtTheFloor()
{
    QWidget window;
    window.setFont(font(10));
    auto *label =
        new QLabel(QStringLiteral("A caption far too long for a box of ten pixels"), &window);
    label->resize(10, 10);
    FitText::shrinkToFit(&window);
    QCOMPARE(label->font().pointSizeF(), 6.5);
}

QTEST_MAIN(tst_fittext)
#include "tst_fittext.moc"
