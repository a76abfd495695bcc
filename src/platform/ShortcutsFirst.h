#pragma once

#include <QObject>

class QWidget;

// Makes a window's shortcuts win wherever the focus is in it: a line edit would otherwise take
// Ctrl+E as "end of line" and Ctrl+C as a copy of its own text. It watches the window's controls
// as they are when it is made, and lives as long as the window.
class ShortcutsFirst : public QObject
{
public:
    explicit ShortcutsFirst(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
