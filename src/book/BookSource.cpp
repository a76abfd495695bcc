#include "book/BookSource.h"

#include "book/BaseName.h"

#include <QFileInfo>

namespace BookSource {

Location split(const QString &name)
{
    if (QFileInfo(name).isFile())
        return {name, {}};
    qsizetype at = name.lastIndexOf(Separator);
    for (qsizetype first = name.indexOf(Separator); first >= 0;
         first = name.indexOf(Separator, first + 1)) {
        if (QFileInfo(name.left(first)).isFile()) {
            at = first;
            break;
        }
    }
    if (at < 0)
        return {name, {}};
    return {name.left(at), name.mid(at + Separator.size())};
}

QString join(const QString &file, const QString &member)
{
    return member.isEmpty() ? file : file + Separator + member;
}

Opened load(Book &book, const QString &name, int linesPerPage, std::optional<TextEncoding> encoding)
{
    const Location at = split(name);
    const ArchiveFile::Kind kind = ArchiveFile::kindOfFile(at.file);
    if (kind == ArchiveFile::Kind::Plain && at.member.isEmpty())
        return {book.load(name, linesPerPage, encoding), {}, BaseName(name), {}};

    const qint64 most = Book::largestBook();
    const auto refused = [&](ArchiveFile::Status status, const QString &detail) {
        return Opened {{Book::Status::ReadFailed, detail},
                       ArchiveFile::message(status, at.file, detail, most),
                       {},
                       {}};
    };
    QString member = at.member;
    if (member.isEmpty()) {
        const ArchiveFile::Listing listing = ArchiveFile::list(at.file);
        if (listing.status != ArchiveFile::Status::Ok)
            return refused(listing.status, listing.detail);
        if (listing.members.size() > 1)
            return {{Book::Status::ReadFailed, {}}, {}, {}, listing.members};
        member = listing.members.value(0).name;
    }
    ArchiveFile::Contents contents = ArchiveFile::read(at.file, member, most);
    if (contents.status != ArchiveFile::Status::Ok)
        return refused(contents.status, contents.detail);
    return {book.loadBytes(std::move(contents.bytes), linesPerPage, encoding),
            {},
            BaseName(contents.member.section(u'/', -1)),
            {}};
}

} // namespace BookSource
