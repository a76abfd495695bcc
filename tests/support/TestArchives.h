#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <archive_entry.h>

// Archives and compressed files for tests, made by libarchive's writer in memory.
namespace TestArchives {

// A member; a link's bytes are its target.
// clang-format off
struct Entry { QString name; QByteArray bytes; mode_t type = AE_IFREG; };
// clang-format on

// An archive of format (ARCHIVE_FORMAT_RAW: a stream compressed whole) through filter; null where
// this libarchive cannot take the options.
QByteArray make(int format, int filter, const QList<Entry> &entries, const char *options = nullptr);

} // namespace TestArchives
