#pragma once

#include <QString>

// Deletes one file of the selection list. Only files and links themselves go: a folder is
// refused, and a link is removed without touching what it points to. False, with the reason in
// *error, when nothing was deleted.
bool deleteListedFile(const QString &path, QString *error = nullptr);
