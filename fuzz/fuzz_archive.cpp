// Any file may be handed over as a compressed book or an archive: telling its kind, listing its
// members and reading one must hold for every byte sequence, and never give more than was asked.
#include "book/ArchiveFile.h"

#include <cstdint>
#include <cstdlib>

using namespace ArchiveFile;

namespace {

// Small, so that inputs that unpack to much are refused soon.
constexpr qint64 kMost = 64 * 1024;

void check(const Contents &contents)
{
    if (contents.bytes.size() > kMost
        || (contents.status != Status::Ok && !contents.bytes.isEmpty()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString fileName = QStringLiteral("book.txt.gz");
    const Kind kind = kindOf(bytes);
    const Listing listing = listBytes(bytes, fileName);
    if ((listing.status == Status::Ok) == listing.members.isEmpty())
        std::abort();
    if (kind == Kind::Plain && listing.status != Status::UnknownFormat)
        std::abort();

    const Contents first = readBytes(bytes, fileName, {}, kMost);
    check(first);
    // Reading without a name takes the member listed first; a listing that finds nothing to read
    // says why as the read does. (A listing goes on to the end and may fail past that member.)
    if (listing.status == Status::Ok && first.status == Status::Ok
        && first.member != listing.members.first().name)
        std::abort();
    if ((listing.status == Status::NoText || listing.status == Status::Encrypted)
        && first.status != listing.status)
        std::abort();
    for (qsizetype i = 0; i < qMin<qsizetype>(listing.members.size(), 4); ++i)
        check(readBytes(bytes, fileName, listing.members[i].name, kMost));
    return 0;
}
