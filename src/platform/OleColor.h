#pragma once

#include <QColor>

// Colours as the settings record keeps them: 32-bit 0x00BBGGRR, red in the low byte;
// 0x80000000 + n is system colour n, taken from the matching QPalette role.
namespace OleColor {

constexpr quint32 SystemFlag = 0x80000000u;
constexpr quint32 InfoBackground = SystemFlag + 24; // the tooltip background
constexpr quint32 WindowBackground = SystemFlag + 5;

QColor toQColor(quint32 ole);
quint32 fromQColor(const QColor &color);

} // namespace OleColor
