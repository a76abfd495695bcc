#include "book/ArchiveFile.h"

#include "app/ReadWholeFile.h"
#include "book/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <limits>

namespace ArchiveFile {
namespace {

// How much of a member tells whether it is text.
constexpr qsizetype kTextHeadSize = 8 * 1024;
// A file is handed to the decompressor in blocks this large, so that it is called seldom.
constexpr size_t kFileBlockSize = 1024 * 1024;
// The least room a read makes for what comes out, and what a listing's head takes.
constexpr qsizetype kLeastRoom = 64 * 1024;

bool hasAt(QByteArrayView head, qsizetype at, QByteArrayView mark)
{
    return head.size() >= at + mark.size() && head.sliced(at, mark.size()) == mark;
}

// "BZh" and a block size are common enough at the start of a text; the mark of the first block,
// or of the end of an empty stream, that follows them is not.
bool isBzip2(QByteArrayView head)
{
    return head.size() >= 10 && head.startsWith("BZh") && head[3] >= '1' && head[3] <= '9'
        && (hasAt(head, 4, "\x31\x41\x59\x26\x53\x59")
            || hasAt(head, 4, "\x17\x72\x45\x38\x50\x90"));
}

qint64 littleEndian(QByteArrayView bytes)
{
    quint64 value = 0;
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[i]);
    return value > quint64(std::numeric_limits<qint64>::max()) ? -1 : qint64(value);
}

// The size a stream compressed whole says it unpacks to, where its format keeps one: gzip's
// last four bytes (modulo 4 GB, and of its last member only), or the content size zstd's frame
// header and lz4's frame descriptor may hold. Untrusted: it only sizes the first room for the
// data. -1 where none is told.
qint64 declaredStreamSize(QByteArrayView head, QByteArrayView tail)
{
    if (head.startsWith("\x1F\x8B") && tail.size() == 4)
        return littleEndian(tail);
    if (head.startsWith("\x28\xB5\x2F\xFD") && head.size() > 4) {
        const uchar flags = uchar(head[4]);
        const bool singleSegment = flags & 0x20;
        const int fieldBytes = flags >> 6 ? 1 << (flags >> 6) : (singleSegment ? 1 : 0);
        const qsizetype at = 5 + (singleSegment ? 0 : 1) + ((flags & 3) == 3 ? 4 : flags & 3);
        if (fieldBytes == 0 || head.size() < at + fieldBytes)
            return -1;
        return littleEndian(head.sliced(at, fieldBytes)) + (fieldBytes == 2 ? 256 : 0);
    }
    if (head.startsWith("\x04\x22\x4D\x18") && head.size() >= 14 && (head[4] & 0x08))
        return littleEndian(head.sliced(6, 8));
    return -1;
}

bool isText(QByteArrayView head)
{
    return !head.contains('\0') || TextCodec::detectWide(head).has_value();
}

// The name of the one member of a file compressed whole: the file's, less its suffix.
QString streamMemberName(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    for (const QLatin1String suffix :
         {QLatin1String(".gz"), QLatin1String(".bz2"), QLatin1String(".xz"), QLatin1String(".zst"),
          QLatin1String(".lz4")}) {
        if (name.size() > suffix.size() && name.endsWith(suffix, Qt::CaseInsensitive))
            return name.chopped(suffix.size());
    }
    return name;
}

// Goes through an archive's members with libarchive, from a file or from memory, stopping at
// those that may be books, and says what went wrong in the terms of Status. Which member to
// take, and what to do with its data, is the caller's.
class MemberWalk
{
public:
    explicit MemberWalk(const QString &fileName) : m_streamName(streamMemberName(fileName)) { }
    ~MemberWalk()
    {
        if (m_archive)
            archive_read_free(m_archive);
    }
    MemberWalk(const MemberWalk &) = delete;
    MemberWalk &operator=(const MemberWalk &) = delete;

    bool openFile(const QString &path)
    {
        QString error;
        switch (openRegularFile(m_file, path, &error)) {
        case OpenFile::Opened:
            break;
        case OpenFile::NotRegular:
            return fail(Status::CannotOpen, notRegularReason());
        case OpenFile::Failed:
            return fail(Status::CannotOpen, error);
        }
        const QByteArray head = m_file.read(KindHeadSize);
        m_sourceSize = m_file.size();
        const QByteArray tail =
            m_file.seek(qMax<qint64>(0, m_sourceSize - 4)) ? m_file.read(4) : QByteArray();
        if (m_file.error() != QFileDevice::NoError || !m_file.seek(0))
            return fail(Status::CannotOpen, m_file.errorString());
        m_streamSize = declaredStreamSize(head, tail);
        return start(kindOf(head))
            && opened(archive_read_open_fd(m_archive, m_file.handle(), kFileBlockSize));
    }

    bool openMemory(QByteArrayView data)
    {
        m_sourceSize = data.size();
        m_streamSize = declaredStreamSize(data, data.last(qMin<qsizetype>(4, data.size())));
        return start(kindOf(data))
            && opened(archive_read_open_memory(m_archive, data.data(), size_t(data.size())));
    }

    // Moves to the next member that may be a book: a file, not a link. False at the end (the
    // status then Ok) and on a failure.
    bool next()
    {
        while (!m_ended) {
            const int result = archive_read_next_header(m_archive, &m_entry);
            if (result == ARCHIVE_EOF) {
                m_ended = true;
                m_entry = nullptr;
                // A stream of no bytes is taken by libarchive's empty format: an empty book.
                return archive_format(m_archive) == ARCHIVE_FORMAT_EMPTY;
            }
            if (result < ARCHIVE_WARN)
                return failFromArchive();
            m_seen = true;
            // A raw stream is the one member; a look for another would unpack it to its end.
            m_ended = archive_format(m_archive) == ARCHIVE_FORMAT_RAW;
            if (archive_entry_filetype(m_entry) == AE_IFREG && !archive_entry_hardlink(m_entry))
                return true;
        }
        return false;
    }

    QString name() const
    {
        if (!m_entry || archive_format(m_archive) == ARCHIVE_FORMAT_RAW)
            return m_streamName;
        if (const char *utf8 = archive_entry_pathname_utf8(m_entry))
            return QString::fromUtf8(utf8);
        return QString::fromLocal8Bit(archive_entry_pathname(m_entry));
    }
    qint64 declaredSize() const
    {
        if (!m_entry || archive_format(m_archive) == ARCHIVE_FORMAT_RAW)
            return m_streamSize;
        return archive_entry_size_is_set(m_entry) ? archive_entry_size(m_entry) : -1;
    }
    bool encrypted() const { return m_entry && archive_entry_is_encrypted(m_entry); }

    // Room for a member of maxBytes at the most before its data is read: as much as it
    // declares, or where nothing is declared a few times the packed size. A room that fits is
    // never copied, and the allocator hands it out again to the next book of the same size.
    qsizetype expectedRoom(qint64 maxBytes) const
    {
        const qint64 declared = declaredSize();
        if (declared >= maxBytes)
            return qsizetype(maxBytes + 1);
        return qsizetype(declared >= 0 ? declared + 1
                                       : qMin(qMax(kLeastRoom, m_sourceSize * 4), maxBytes + 1));
    }

    // Appends the member's data to out until it holds until bytes or the member ends: straight
    // into out's free space, which grows twofold when full but never past until.
    bool readUpTo(QByteArray &out, qsizetype until)
    {
        qsizetype filled = out.size();
        while (m_entry && filled < until) {
            if (filled == out.size()) {
                const qsizetype room =
                    qMin(until, qMax(out.capacity(), qMax(2 * filled, kLeastRoom)));
                out.reserve(room);
                askForLargePages(out.data(), out.capacity());
                out.resize(room);
            }
            const la_ssize_t got =
                archive_read_data(m_archive, out.data() + filled, size_t(out.size() - filled));
            if (got <= 0) {
                out.resize(filled);
                return got == 0 || failFromArchive();
            }
            filled += qsizetype(got);
        }
        out.resize(filled);
        return true;
    }

    Status status = Status::Ok;
    QString detail;

private:
    bool fail(Status why, const QString &words)
    {
        status = why;
        detail = words;
        return false;
    }

    bool start(Kind kind)
    {
        if (kind == Kind::Plain)
            return fail(Status::UnknownFormat, {});
        m_archive = archive_read_new();
        archive_read_support_filter_gzip(m_archive);
        archive_read_support_filter_bzip2(m_archive);
        archive_read_support_filter_xz(m_archive);
        archive_read_support_filter_zstd(m_archive);
        archive_read_support_filter_lz4(m_archive);
        archive_read_support_format_tar(m_archive);
        archive_read_support_format_zip(m_archive);
        archive_read_support_format_7zip(m_archive);
        // A stream that holds no tar is the book itself; raw bids lowest of all formats.
        if (kind == Kind::Compressed) {
            archive_read_support_format_raw(m_archive);
            archive_read_support_format_empty(m_archive);
        }
        return true;
    }

    bool opened(int result) { return result == ARCHIVE_OK || failFromArchive(); }

    bool failFromArchive()
    {
        const char *words = archive_error_string(m_archive);
        detail = words ? QString::fromLocal8Bit(words) : QString();
        // No format took the data: libarchive's errno for that is EILSEQ on this system. Nor
        // may it be asked about encryption then, which it answers through the format.
        const bool formatKnown = archive_format(m_archive) != 0;
        if (!formatKnown && archive_errno(m_archive) == EILSEQ)
            status = Status::UnknownFormat;
        // Members whose data is encrypted are never read; a list of members can be.
        else if (formatKnown && !m_seen && archive_read_has_encrypted_entries(m_archive) > 0)
            status = Status::Encrypted;
        else
            status = Status::Damaged;
        return false;
    }

    QString m_streamName;
    QFile m_file;
    qint64 m_sourceSize = 0;
    qint64 m_streamSize = -1;
    archive *m_archive = nullptr;
    archive_entry *m_entry = nullptr;
    bool m_seen = false; // a header was read
    bool m_ended = false;
};

Listing listWith(MemberWalk &walk)
{
    Listing listing;
    QString lockedMember;
    while (walk.next()) {
        if (walk.encrypted()) {
            if (lockedMember.isEmpty())
                lockedMember = walk.name();
            continue;
        }
        QByteArray head;
        if (!walk.readUpTo(head, kTextHeadSize))
            return {walk.status, walk.detail, {}};
        if (isText(head))
            listing.members.append({walk.name(), walk.declaredSize()});
    }
    if (walk.status != Status::Ok)
        return {walk.status, walk.detail, {}};
    if (listing.members.isEmpty())
        return {lockedMember.isEmpty() ? Status::NoText : Status::Encrypted, lockedMember, {}};
    return listing;
}

Contents readWith(MemberWalk &walk, const QString &member, qint64 maxBytes)
{
    maxBytes = qBound<qint64>(0, maxBytes, std::numeric_limits<qsizetype>::max() / 2);
    QString lockedMember;
    while (walk.next()) {
        const QString name = walk.name();
        if (!member.isEmpty() && name != member)
            continue;
        if (walk.encrypted()) {
            if (!member.isEmpty())
                return {Status::Encrypted, name, {}, name};
            lockedMember = lockedMember.isEmpty() ? name : lockedMember;
            continue;
        }
        QByteArray bytes;
        bytes.reserve(walk.expectedRoom(maxBytes));
        askForLargePages(bytes.data(), bytes.capacity());
        if (!walk.readUpTo(bytes, qMin(kTextHeadSize, qsizetype(maxBytes) + 1)))
            break;
        if (!isText(bytes)) {
            if (member.isEmpty())
                continue;
            return {Status::NoText, name, {}, name};
        }
        if (!walk.readUpTo(bytes, qsizetype(maxBytes) + 1))
            break;
        if (bytes.size() > maxBytes)
            return {Status::TooLarge, name, {}, name};
        // What the room left over holds goes back to the system; realloc shrinks in place.
        if (bytes.capacity() - bytes.size() > bytes.size() / 8 + kLeastRoom)
            bytes.squeeze();
        return {Status::Ok, {}, std::move(bytes), name};
    }
    if (walk.status != Status::Ok)
        return {walk.status, walk.detail, {}, {}};
    if (!member.isEmpty())
        return {Status::NoSuchMember, member, {}, {}};
    return {lockedMember.isEmpty() ? Status::NoText : Status::Encrypted, lockedMember, {}, {}};
}

} // namespace

Kind kindOf(QByteArrayView head)
{
    // gzip, xz (its mark ends in a NUL), zstd and lz4; bzip2's is looked at more closely.
    static const QByteArrayView compressed[] = {
        "\x1F\x8B", {"\xFD\x37zXZ", 6}, "\x28\xB5\x2F\xFD", "\x04\x22\x4D\x18"};
    // zip (a local header, or the end of an empty archive) and 7z; tar's lies further in.
    static const QByteArrayView archives[] = {"PK\x03\x04", "PK\x05\x06", "7z\xBC\xAF\x27\x1C"};
    const auto startsWithAny = [head](const auto &marks) {
        return std::any_of(std::begin(marks), std::end(marks),
                           [head](QByteArrayView mark) { return head.startsWith(mark); });
    };
    if (startsWithAny(compressed) || isBzip2(head))
        return Kind::Compressed;
    if (startsWithAny(archives) || hasAt(head, 257, "ustar"))
        return Kind::Archive;
    return Kind::Plain;
}

Kind kindOfFile(const QString &path)
{
    QFile file;
    if (openRegularFile(file, path) != OpenFile::Opened)
        return Kind::Plain;
    return kindOf(file.read(KindHeadSize));
}

Listing list(const QString &path)
{
    MemberWalk walk(path);
    if (!walk.openFile(path))
        return {walk.status, walk.detail, {}};
    return listWith(walk);
}

Listing listBytes(QByteArrayView data, const QString &fileName)
{
    MemberWalk walk(fileName);
    if (!walk.openMemory(data))
        return {walk.status, walk.detail, {}};
    return listWith(walk);
}

Contents read(const QString &path, const QString &member, qint64 maxBytes)
{
    MemberWalk walk(path);
    if (!walk.openFile(path))
        return {walk.status, walk.detail, {}, {}};
    return readWith(walk, member, maxBytes);
}

Contents readBytes(QByteArrayView data, const QString &fileName, const QString &member,
                   qint64 maxBytes)
{
    MemberWalk walk(fileName);
    if (!walk.openMemory(data))
        return {walk.status, walk.detail, {}, {}};
    return readWith(walk, member, maxBytes);
}

QString message(Status status, const QString &archivePath, const QString &detail, qint64 maxBytes)
{
    QString said;
    switch (status) {
    case Status::Ok:
        return {};
    case Status::CannotOpen:
        said = QStringLiteral("The archive could not be opened:");
        break;
    case Status::Damaged:
        said = QStringLiteral("The archive is damaged or incomplete, and could not be read:");
        break;
    case Status::UnknownFormat:
        said = QStringLiteral("This is neither a compressed file nor an archive Pagelark reads:");
        break;
    case Status::Encrypted:
        said = QStringLiteral("The archive is encrypted; Pagelark cannot read encrypted books:");
        break;
    case Status::TooLarge:
        said =
            QStringLiteral("The book in this archive is too large to open (books of up to %1 "
                           "can be read):")
                .arg(QLocale().formattedDataSize(maxBytes, 0, QLocale::DataSizeTraditionalFormat));
        break;
    case Status::NoText:
        said = QStringLiteral("The archive holds no plain-text book:");
        break;
    case Status::NoSuchMember:
        said = QStringLiteral("The archive does not hold the book asked for:");
        break;
    }
    said += u'\n' + QDir::toNativeSeparators(archivePath);
    return detail.isEmpty() ? said : said + u'\n' + detail;
}

} // namespace ArchiveFile
