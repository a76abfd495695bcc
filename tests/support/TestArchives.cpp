#include "support/TestArchives.h"

#include <archive.h>

namespace TestArchives {

QByteArray make(int format, int filter, const QList<Entry> &entries, const char *options)
{
    QByteArray out;
    archive *a = archive_write_new();
    archive_write_set_format(a, format);
    archive_write_add_filter(a, filter);
    archive_write_set_bytes_in_last_block(a, 1); // no padding after the end
    if (options && (archive_write_set_options(a, options) || archive_write_set_passphrase(a, "pw")))
        return archive_write_free(a), QByteArray();
    const auto append = [](archive *, void *to, const void *bytes, size_t n) {
        static_cast<QByteArray *>(to)->append(static_cast<const char *>(bytes), qsizetype(n));
        return la_ssize_t(n);
    };
    archive_write_open(a, &out, nullptr, append, nullptr);
    archive_entry *header = archive_entry_new();
    for (const Entry &entry : entries) {
        archive_entry_clear(header);
        archive_entry_set_pathname_utf8(header, entry.name.toUtf8().constData());
        archive_entry_set_filetype(header, entry.type);
        const bool link = entry.type == AE_IFLNK;
        archive_entry_set_symlink(header, link ? entry.bytes.constData() : nullptr);
        archive_entry_set_size(header, link ? 0 : entry.bytes.size());
        archive_write_header(a, header);
        archive_write_data(a, entry.bytes.constData(), link ? 0 : size_t(entry.bytes.size()));
    }
    archive_entry_free(header);
    archive_write_free(a);
    return out;
}

} // namespace TestArchives
