#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Books held in a file compressed whole (gzip, bzip2, xz, zstd, lz4) or in an archive (zip, 7z,
// tar, compressed or not), read in place through libarchive: what a file's first bytes say it
// is, the text members it holds, and one member read into memory, never written to disk. Loading
// the bytes as a book, letting the reader choose a member and showing the messages are left to
// the caller.
namespace ArchiveFile {

enum class Kind { Plain, Compressed, Archive };

// The bytes kindOf looks at: a tar's mark lies at offset 257.
inline constexpr qsizetype KindHeadSize = 512;

// Told by the file's magic numbers, never by its name. A file compressed whole may hold a tar,
// which its listing tells. Plain is anything else, a file that cannot be read included: the
// book loader reports that.
Kind kindOf(QByteArrayView head);
Kind kindOfFile(const QString &path);

enum class Status {
    Ok,
    CannotOpen, // missing, unreadable, a folder, or not a regular file; detail says why
    Damaged, // truncated, corrupt, or packed in a way libarchive cannot undo; detail has its words
    UnknownFormat, // neither a compressed file nor an archive of a format read here
    Encrypted, // detail names the member, when one is known
    TooLarge, // unpacks past the bytes the caller takes; detail names the member
    NoText, // no member is text, or the one asked for (detail) is not
    NoSuchMember, // no text member of the name asked for, which detail holds
};

// A text member: a file (not a folder, not a link) whose first few KB hold no NUL byte, or are
// UTF-16 or UTF-32 as TextCodec::detectWide tells them. The one member of a file compressed
// whole is named after the file less its compression suffix: "book.txt.gz" holds "book.txt".
struct Member
{
    QString name;
    // As the archive declares it, unchecked (a gzip stream's modulo 4 GB); -1 where it declares
    // none, as bzip2 and xz streams do not.
    qint64 size = -1;
};

struct Listing
{
    Status status = Status::Ok;
    QString detail;
    QList<Member> members; // text members only, in the archive's order
};

// The text members of the archive at path, each told by the head of its data alone. An archive
// whose only members are encrypted lists as Encrypted; one without text as NoText.
Listing list(const QString &path);
// The same for an archive in memory; fileName names the member of a file compressed whole.
Listing listBytes(QByteArrayView data, const QString &fileName);

struct Contents
{
    Status status = Status::Ok;
    QString detail;
    QByteArray bytes;
    QString member; // the member read
};

// Reads member into memory: an empty name reads the first text member, which is the only one
// of a file compressed whole. More than maxBytes coming out refuses it as TooLarge there and
// then, whatever size the archive declares, so that no more than maxBytes + 1 are ever held.
Contents read(const QString &path, const QString &member, qint64 maxBytes);
Contents readBytes(QByteArrayView data, const QString &fileName, const QString &member,
                   qint64 maxBytes);

// The user's message for a failed list or read: the archive, what is wrong with it, and for
// TooLarge the most a book may unpack to.
QString message(Status status, const QString &archivePath, const QString &detail, qint64 maxBytes);

} // namespace ArchiveFile
