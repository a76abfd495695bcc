#include "platform/ShortcutsFirst.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

ShortcutsFirst::ShortcutsFirst(QWidget *window) : QObject(window), m_window(window)
{
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls)
        control->installEventFilter(this);
}

// A shortcut the control would take for itself is handed back, not accepted, so the window's
// action gets it.
bool ShortcutsFirst::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    const QList<QAction *> actions = m_window->findChildren<QAction *>();
    for (const QAction *action : actions) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return false;
}
