#pragma once

#include <QList>
#include <QRect>

// Where a window reopens: where it was left, moved and if need be shrunk so that it lies whole
// on one of the screens present now (the one it overlaps most, else the first). Screens are
// given by the area windows may take on each.
namespace WindowPlacement {

QRect fit(const QRect &wanted, const QList<QRect> &screens);

} // namespace WindowPlacement
