#include "platform/OleColor.h"

#include <QApplication>
#include <QPalette>

namespace {

QPalette::ColorRole roleOf(quint32 index)
{
    switch (index) {
    case 5:
        return QPalette::Base;
    case 7:
    case 8:
        return QPalette::Text;
    case 9:
    case 14:
        return QPalette::HighlightedText;
    case 13:
        return QPalette::Highlight;
    case 15:
    case 22:
        return QPalette::Button;
    case 16:
        return QPalette::Dark;
    case 17:
        return QPalette::PlaceholderText;
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

} // namespace

namespace OleColor {

QColor toQColor(quint32 ole)
{
    if (ole & SystemFlag)
        return QApplication::palette().color(roleOf(ole & 0xFFu));
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

quint32 fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

} // namespace OleColor
