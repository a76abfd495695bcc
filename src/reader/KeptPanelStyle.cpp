#include "reader/KeptPanelStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionFrame>

bool drawsOnWholePixels(const QPainter *painter)
{
    const QTransform &transform = painter->deviceTransform();
    return transform.type() <= QTransform::TxTranslate && transform.dx() == int(transform.dx())
        && transform.dy() == int(transform.dy());
}

KeptPanelStyle::KeptPanelStyle() : QProxyStyle(QApplication::style()->name()) { }

bool KeptPanelStyle::Key::operator==(const Key &other) const
{
    return size == other.size && state == other.state && direction == other.direction
        && palette == other.palette && group == other.group && under == other.under
        && lineWidth == other.lineWidth && midLineWidth == other.midLineWidth
        && features == other.features;
}

// The panel is drawn into the picture over the colour its parent fills the box's place with, as
// it would be drawn in place, so that the picture holds the very pixels; a box over anything but
// one colour has its panel drawn anew.
void KeptPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                   QPainter *painter, const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const QWidget *parent = widget ? widget->parentWidget() : nullptr;
    const QBrush under = parent && parent->autoFillBackground()
        ? parent->palette().brush(parent->backgroundRole())
        : QBrush();
    if (element != PE_PanelLineEdit || !frame || under.style() != Qt::SolidPattern
        || !under.isOpaque() || !drawsOnWholePixels(painter)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const Key key {frame->rect.size(),
                   frame->state,
                   frame->direction,
                   frame->palette.cacheKey(),
                   frame->palette.currentColorGroup(),
                   under.color().rgba(),
                   frame->lineWidth,
                   frame->midLineWidth,
                   int(frame->features)};
    if (!(key == m_key) || m_panel.isNull()) {
        m_panel = QImage(frame->rect.size(), QImage::Format_ARGB32_Premultiplied);
        m_panel.fill(under.color());
        QStyleOptionFrame atOrigin = *frame;
        atOrigin.rect.moveTo(0, 0);
        QPainter picture(&m_panel);
        QProxyStyle::drawPrimitive(element, &atOrigin, &picture, widget);
        m_key = key;
    }
    painter->drawImage(frame->rect.topLeft(), m_panel);
}
