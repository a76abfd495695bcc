#pragma once

#include <QIcon>
#include <QString>

// The toolbar's image list: the desktop theme's icon for each image key, with a small icon of
// our own where the theme has none, so that no button is ever blank.
namespace ToolbarIcons {

QIcon icon(const QString &imageKey);

} // namespace ToolbarIcons
