#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

// Design geometry is kept in twips (1/1440 inch) and shown at the screen's logical resolution:
// 15 twips a pixel at 96 dpi.
namespace Twips {

inline double perPixel(const QWidget *widget)
{
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline int toPixels(double twips, const QWidget *widget)
{
    return int(std::lround(twips / perPixel(widget)));
}

inline double fromPixels(int pixels, const QWidget *widget)
{
    return pixels * perPixel(widget);
}

// Places widget at (left, top, width, height) twips within its parent; sizes below 0 become 0.
inline void place(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(toPixels(left, widget), toPixels(top, widget),
                        qMax(0, toPixels(width, widget)), qMax(0, toPixels(height, widget)));
}

} // namespace Twips
