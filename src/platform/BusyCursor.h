#pragma once

#include <QCursor>
#include <QWidget>

// Shows the hourglass over a window for as long as it lives, then the pointer the window had,
// on every way out of the scope that made it.
class BusyCursor
{
public:
    explicit BusyCursor(QWidget *window)
        : m_window(window),
          m_hadCursor(window->testAttribute(Qt::WA_SetCursor)),
          m_old(window->cursor())
    {
        m_window->setCursor(Qt::WaitCursor);
    }
    ~BusyCursor()
    {
        if (m_hadCursor)
            m_window->setCursor(m_old);
        else
            m_window->unsetCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    QWidget *m_window;
    bool m_hadCursor;
    QCursor m_old;
};
