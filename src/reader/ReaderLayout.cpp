#include "reader/ReaderLayout.h"

#include "reader/FilePanel.h"
#include "reader/Twips.h"

#include <QLayout>

#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>
#include <algorithm>

void ReaderLayout::place(QWidget *control, const QRectF &twips)
{
    m_twips.insert(control, twips);
    Twips::place(control, twips.x(), twips.y(), twips.width(), twips.height());
}

void ReaderLayout::moveBy(QWidget *control, double dx)
{
    place(control, m_twips.value(control).translated(dx, 0));
}

double ReaderLayout::outerWidth() const
{
    return Twips::fromPixels(m_c.window->width(), m_c.window);
}

void ReaderLayout::restartFromCurrentWidth()
{
    OldWidth = outerWidth();
}

void ReaderLayout::resize()
{
    if (m_c.window->isMinimized() || m_c.client->width() == 0)
        return;
    if (m_pageOnly) {
        m_c.view->setGeometry(m_c.client->rect());
        return;
    }
    const double dW = outerWidth() - OldWidth;
    const double width = Twips::fromPixels(m_c.client->width(), m_c.window);
    const double height = Twips::fromPixels(m_c.client->height(), m_c.window);

    QRectF view = m_twips.value(m_c.view);
    view.setWidth(view.width() + dW);
    view.setHeight(height - 1500);
    place(m_c.view, view);
    moveBy(m_c.pageLabel, dW);
    m_c.pageLabel->adjustSize(); // auto-sized: the text decides its size, not the design's
    moveBy(m_c.pageNumber, dW);
    moveBy(m_c.title, dW / 2);
    m_c.filePanel->setFileListHeight(height / 2 - 1000);
    QRectF panel = m_twips.value(m_c.filePanel);
    panel.setHeight(height - 1200);
    place(m_c.filePanel, panel);
    place(m_c.contentsPanel, panel);

    // The toolbar and the status bar follow the window's edges by their alignment. The status
    // bar takes the height its font needs where that is more than the design's, which would cut
    // off the descenders of its text; the page view ends well above it.
    const double barHeight =
        std::max(270.0, Twips::fromPixels(m_c.statusBar->sizeHint().height(), m_c.window));
    place(m_c.toolBar, {0, 0, width, 420});
    place(m_c.statusBar, {0, height - barHeight, width, barHeight});

    OldWidth = outerWidth();
}

void ReaderLayout::setFullScreen(QMainWindow &window, bool on)
{
    if (on == m_pageOnly)
        return;
    window.menuBar()->setVisible(!on);
    window.layout()->activate(); // the client area takes the menu bar's room now, not later
    m_pageOnly = on;
    if (on) {
        m_stateBeforeFullScreen = window.windowState();
        window.showFullScreen();
        m_hiddenForPage.clear();
        for (QWidget *control :
             {m_c.toolBar, m_c.statusBar, static_cast<QWidget *>(m_c.filePanel), m_c.contentsPanel,
              m_c.title, m_c.pageLabel, m_c.pageNumber, m_c.totalLabel, m_c.total}) {
            if (control->isVisible()) {
                m_hiddenForPage.append(control);
                control->hide();
            }
        }
        m_c.view->setGeometry(m_c.client->rect());
        return;
    }
    for (QWidget *control : std::as_const(m_hiddenForPage))
        control->show();
    m_hiddenForPage.clear();
    place(m_c.view, m_twips.value(m_c.view));
    window.setWindowState(m_stateBeforeFullScreen);
}

void ReaderLayout::showPanel(QWidget *panel)
{
    const bool wasShown = m_panel != nullptr;
    m_panel = panel;
    m_c.filePanel->setVisible(panel == m_c.filePanel);
    m_c.contentsPanel->setVisible(panel == m_c.contentsPanel);
    if (wasShown == (panel != nullptr))
        return;
    const bool shown = panel != nullptr;
    QRectF view = m_twips.value(m_c.view);
    view.moveLeft(view.left() + (shown ? 2100 : -2100));
    view.setWidth(view.width() - (shown ? 2000 : -2000));
    place(m_c.view, view);
}
