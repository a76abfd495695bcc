#pragma once

#include <QWidget>

class QLabel;

// A place in a layout that one label fills. A label in its parent's layout has the parent laid
// out anew with every new text, and a status bar then repaints all of its panels; in a slot, a
// new text repaints the label alone, and the slot asks its layout for room only when the label's
// size changes.
class LabelSlot : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(LabelSlot)

public:
    // The slot becomes the label's parent.
    explicit LabelSlot(QLabel *label, QWidget *parent = nullptr);

    // The label's new text; a new size is laid out with the label's next repaint.
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void askForRoom();

    QLabel *m_label;
    // The label's sizes when the slot last asked its layout for room.
    QSize m_hint;
    QSize m_minimum;
};
