#pragma once

#include "texttools/ToolProgress.h"

#include <QStringList>

// Deletes one file of the selection list. Only files and links themselves go: a folder is
// refused, and a link is removed without touching what it points to. False, with the reason in
// *error, when nothing was deleted.
bool deleteListedFile(const QString &path, QString *error = nullptr);

// The Delete command once confirmed: deletes the listed files in order, showing after each the
// entry to go next (empty after the last), then what came of it all. Returns the entries of the
// files that could not be deleted, in their order: the list as it stands after the command.
QStringList deleteListedFiles(const QStringList &files, ToolProgress &progress);
