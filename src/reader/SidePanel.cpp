#include "reader/SidePanel.h"

#include <QGroupBox>
#include <QIcon>
#include <QToolButton>

namespace SidePanel {

QToolButton *dress(QGroupBox *panel, const char *name, const QString &closeTip)
{
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, QColor(128, 255, 255));
    panel->setPalette(p);

    auto *close = new QToolButton(panel);
    close->setObjectName(QLatin1String(name));
    close->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                    QIcon(QStringLiteral(":/toolbar/close.svg"))));
    close->setToolTip(closeTip);
    close->setAutoRaise(true);
    return close;
}

} // namespace SidePanel
