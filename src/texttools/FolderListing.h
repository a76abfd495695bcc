#pragma once

#include <QStringList>

#include <optional>

// What the tools window's tree and file list show of a folder, in the platform's order.
// Hidden entries are left out, as the desktop's own lists do. nullopt: the folder cannot be
// listed (missing, not a folder, not readable).
namespace FolderListing {

std::optional<QStringList> subfolders(const QString &folder);
// True when folder has at least one subfolder; stops at the first.
bool hasSubfolders(const QString &folder);
// The names of the "*.txt" files.
std::optional<QStringList> textFiles(const QString &folder);

} // namespace FolderListing
