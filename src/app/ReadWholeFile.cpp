#include "app/ReadWholeFile.h"

#include <QtGlobal>

#include <cstring>

// Reads straight into one buffer of the file's size. A file that turns out longer than its size
// said (growing, or one of the system's files that report 0) is read on in steps.
bool readWholeFile(QFile &file, QByteArray &bytes)
{
    // Exactly the size: resize() would round a large book up to a block the allocator always
    // takes fresh from the system, paying a page fault for every 4 KB of it on every load.
    bytes = QByteArray(qsizetype(file.size()), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            // Look for more before making room for it, so a file of the size it said is read
            // into exactly its size.
            char probe[4096];
            const qint64 got = file.read(probe, sizeof probe);
            if (got < 0)
                return false;
            if (got == 0)
                break;
            bytes.resize(filled + qMax<qsizetype>(filled / 2, 64 * 1024));
            std::memcpy(bytes.data() + filled, probe, size_t(got));
            filled += qsizetype(got);
            continue;
        }
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += qsizetype(got);
    }
    bytes.truncate(filled);
    return true;
}
