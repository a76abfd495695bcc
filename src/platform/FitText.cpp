#include "platform/FitText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

constexpr double kSmallestPointSize = 6.5;

template<typename Fits> void shrinkUntil(QWidget *control, Fits fits)
{
    QFont font = control->font();
    if (font.pointSizeF() <= 0) // a pixel-sized font is left as it was set
        return;
    while (!fits() && font.pointSizeF() - 0.5 >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control->setFont(font);
    }
}

} // namespace

namespace FitText {

void shrinkToFit(QWidget *window)
{
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text().isEmpty())
            continue;
        if (!label->wordWrap()) {
            shrinkUntil(label, [&] { return label->sizeHint().width() <= label->width(); });
            continue;
        }
        const int room = label->contentsRect().width();
        const int frame = label->height() - label->contentsRect().height();
        shrinkUntil(label, [&] { return label->heightForWidth(room) - frame <= label->height(); });
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!qobject_cast<QCheckBox *>(button) && !qobject_cast<QRadioButton *>(button))
            continue;
        shrinkUntil(button, [&] { return button->sizeHint().width() <= button->width(); });
    }
}

void fitBefore(QLabel *label, const QWidget *box)
{
    QFont font = label->font();
    font.setPointSizeF(qMax(6.0, font.pointSizeF() - 1));
    label->setFont(font);
    const int room = box->x() - label->x() - 2;
    while (label->sizeHint().width() > room && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
    label->adjustSize();
}

void fitBox(QLineEdit *box, const QString &widest)
{
    // A line edit keeps two pixels between its frame and its text.
    constexpr int kInnerMargin = 2;
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    const int width = room.width() - margins.left() - margins.right() - 2 * kInnerMargin;
    // The text scrolls unless it leaves room for the cursor, a pixel wide, and one pixel more.
    const int cursor = box->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, box);
    shrinkUntil(box,
                [&] { return box->fontMetrics().horizontalAdvance(widest) + cursor + 1 <= width; });
}

void growToHold(QWidget *window)
{
    constexpr int kMargin = 6;
    QSize needed = window->size();
    const QList<QWidget *> controls = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *control : controls) {
        if (control->isWindow() || control->isHidden())
            continue;
        // A control laid from the window's very edge, as a toolbar is, spans it by design.
        const QRect at = control->geometry();
        if (at.left() > 0)
            needed.setWidth(qMax(needed.width(), at.right() + 1 + kMargin));
        if (at.top() > 0)
            needed.setHeight(qMax(needed.height(), at.bottom() + 1 + kMargin));
    }
    if (needed != window->size())
        window->setFixedSize(needed);
}

} // namespace FitText
