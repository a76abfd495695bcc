#pragma once

#include <QImage>
#include <QPalette>
#include <QProxyStyle>

class QPainter;

// Whether the painter draws a picture on whole pixels and unscaled: only then is a kept picture
// the very pixels that drawing anew would give.
bool drawsOnWholePixels(const QPainter *painter);

// The application's style for a text box whose text changes more often than its look: the
// box's panel, whose smoothed round frame costs a repaint more than its text does, is drawn
// once into a picture and copied from it for as long as the box's size, state, palette and the
// colour below it stay. A painter that scales draws it anew.
class KeptPanelStyle : public QProxyStyle
{
public:
    KeptPanelStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

private:
    struct Key
    {
        QSize size;
        QStyle::State state;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        qint64 palette = 0;
        QPalette::ColorGroup group = QPalette::Active;
        QRgb under = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        int features = 0;
        bool operator==(const Key &other) const;
    };

    mutable Key m_key;
    mutable QImage m_panel;
};
