#pragma once

#include <QIcon>
#include <QString>

class QToolBar;

// The reader's toolbar buttons and their image list: the desktop theme's icon for each image
// key, with a small icon of our own where the theme has none, so that no button is ever blank.
namespace ToolbarIcons {

QIcon icon(const QString &imageKey);

// Adds the buttons, each an action named "tbToolBar_" and its key, with the key in its "Key"
// property; what a button does is the window's.
void fill(QToolBar *toolBar);

} // namespace ToolbarIcons
