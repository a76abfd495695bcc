#pragma once

#include <QString>

class QGroupBox;
class QToolButton;

// What the panels beside the page view share: a light cyan frame, and a button that closes it.
namespace SidePanel {

// Gives panel the frame's colour and a close button named name, whose place is the panel's.
QToolButton *dress(QGroupBox *panel, const char *name, const QString &closeTip);

} // namespace SidePanel
