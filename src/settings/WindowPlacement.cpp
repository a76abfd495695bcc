#include "settings/WindowPlacement.h"

namespace WindowPlacement {

QRect fit(const QRect &wanted, const QList<QRect> &screens)
{
    if (screens.isEmpty() || !wanted.isValid())
        return wanted;
    QRect screen = screens.first();
    qint64 most = 0;
    for (const QRect &candidate : screens) {
        const QRect common = candidate.intersected(wanted);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > most) {
            most = area;
            screen = candidate;
        }
    }
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(screen.size()));
    if (placed.right() > screen.right())
        placed.moveRight(screen.right());
    if (placed.bottom() > screen.bottom())
        placed.moveBottom(screen.bottom());
    if (placed.left() < screen.left())
        placed.moveLeft(screen.left());
    if (placed.top() < screen.top())
        placed.moveTop(screen.top());
    return placed;
}

} // namespace WindowPlacement
