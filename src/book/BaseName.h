#pragma once

#include <QString>

// The last component of a path without its last extension: "/books/War.and.Peace.txt" gives
// "War.and.Peace", "b.c.txt" gives "b.c", "notes" gives "notes".
QString BaseName(const QString &path);
