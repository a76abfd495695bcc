#include "reader/LabelSlot.h"

#include <QEvent>
#include <QLabel>

LabelSlot::LabelSlot(QLabel *label, QWidget *parent)
    : QWidget(parent),
      m_label(label),
      m_hint(label->sizeHint()),
      m_minimum(label->minimumSizeHint())
{
    label->setParent(this);
    setSizePolicy(label->sizePolicy());
}

// Asked at once rather than when the label's own request arrives, which comes after the repaint
// already under way and would show the new text in the old room for a moment.
void LabelSlot::setText(const QString &text)
{
    m_label->setText(text);
    askForRoom();
}

QSize LabelSlot::sizeHint() const
{
    return m_label->sizeHint();
}

QSize LabelSlot::minimumSizeHint() const
{
    return m_label->minimumSizeHint();
}

void LabelSlot::askForRoom()
{
    const QSize hint = m_label->sizeHint();
    const QSize minimum = m_label->minimumSizeHint();
    if (hint == m_hint && minimum == m_minimum)
        return;
    m_hint = hint;
    m_minimum = minimum;
    updateGeometry();
}

// The label asks for a layout whenever its text or font changes, whether or not its size did; a
// hidden slot hears nothing of it, so it looks again when it is shown.
bool LabelSlot::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::LayoutRequest || type == QEvent::Show)
        askForRoom();
    return type == QEvent::LayoutRequest || QWidget::event(event);
}

void LabelSlot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_label->setGeometry(rect());
}
