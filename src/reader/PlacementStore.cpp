#include "reader/PlacementStore.h"

#include "app/AppInfo.h"
#include "reader/Twips.h"
#include "settings/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

QSettings &group(QSettings &store)
{
    store.beginGroup(QStringLiteral("Settings"));
    return store;
}

} // namespace

namespace PlacementStore {

void write(QWidget &window)
{
    QSettings settings(AppInfo::title(), AppInfo::title());
    QSettings &store = group(settings);
    store.setValue(QStringLiteral("MainGeometry"), window.saveGeometry());
    const QRect frame = window.frameGeometry();
    const auto twips = [&](int pixels) {
        return QString::number(Twips::fromPixels(pixels, &window));
    };
    store.setValue(QStringLiteral("MainLeft"), twips(frame.x()));
    store.setValue(QStringLiteral("MainTop"), twips(frame.y()));
    store.setValue(QStringLiteral("MainWidth"), twips(frame.width()));
    store.setValue(QStringLiteral("MainHeight"), twips(frame.height()));
}

void read(QWidget &window)
{
    QSettings settings(AppInfo::title(), AppInfo::title());
    QSettings &store = group(settings);
    const QByteArray saved = store.value(QStringLiteral("MainGeometry")).toByteArray();
    if (saved.isEmpty() || !window.restoreGeometry(saved)) {
        bool ok[4] = {};
        const auto pixels = [&](const char *key, int i) {
            return Twips::toPixels(store.value(QLatin1String(key)).toString().toDouble(&ok[i]),
                                   &window);
        };
        const QRect frame(pixels("MainLeft", 0), pixels("MainTop", 1), pixels("MainWidth", 2),
                          pixels("MainHeight", 3));
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || !frame.isValid())
            return;
        window.setGeometry(frame);
    }
    if (window.isMaximized())
        return;
    QList<QRect> screens;
    const QList<QScreen *> present = QGuiApplication::screens();
    for (const QScreen *screen : present)
        screens.append(screen->availableGeometry());
    const QRect placed = WindowPlacement::fit(window.geometry(), screens);
    if (placed != window.geometry())
        window.setGeometry(placed);
}

} // namespace PlacementStore
