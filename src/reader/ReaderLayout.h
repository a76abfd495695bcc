#pragma once

#include "reader/FilePanel.h"

#include <QHash>
#include <QList>
#include <QRectF>

class QMainWindow;
class QWidget;

// The reader window's design geometry in twips and the rule by which its controls follow the
// window's size: widths change by what the window's width changed since the last resize,
// heights are computed afresh from the client height. Building the controls is the window's.
class ReaderLayout
{
public:
    struct Controls
    {
        QWidget *window = nullptr; // whose outer width the rule follows
        QWidget *client = nullptr; // the area the controls are placed in
        QWidget *toolBar = nullptr;
        QWidget *statusBar = nullptr;
        FilePanel *filePanel = nullptr;
        QWidget *contentsPanel = nullptr; // in the file panel's place, one shown at a time
        QWidget *title = nullptr;
        QWidget *pageLabel = nullptr;
        QWidget *pageNumber = nullptr;
        QWidget *view = nullptr;
        QWidget *totalLabel = nullptr;
        QWidget *total = nullptr;
    };

    void setControls(const Controls &controls)
    {
        m_c = controls;
        m_panel = controls.filePanel;
    }
    void place(QWidget *control, const QRectF &twips);
    QRectF twips(const QWidget *control) const { return m_twips.value(control); }

    // The width the next resize is measured from: the window's now.
    void restartFromCurrentWidth();
    // A minimized window keeps its layout and the width it is measured from, so that restoring
    // it gives back the layout it had.
    void resize();
    // Shows panel beside the page view (the file panel or the contents), the other hidden, or
    // none. Hiding the panels moves the page view 2100 to the left and widens it by 2000,
    // showing one does the reverse; the right edge moves by the 100 between them.
    void showPanel(QWidget *panel);
    QWidget *panelShown() const { return m_panel; }
    // The page view alone fills the window, shown full screen, without its menu bar; the other
    // controls and the window's state come back as they were.
    void setFullScreen(QMainWindow &window, bool on);
    bool pageOnly() const { return m_pageOnly; }

private:
    void moveBy(QWidget *control, double dx);
    double outerWidth() const;

    Controls m_c;
    QHash<const QWidget *, QRectF> m_twips;
    double OldWidth = 0;
    bool m_pageOnly = false;
    QWidget *m_panel = nullptr; // set by showPanel; the file panel at first
    Qt::WindowStates m_stateBeforeFullScreen;
    QList<QWidget *> m_hiddenForPage;
};
