#pragma once

#include "book/ArchiveFile.h"
#include "book/Book.h"

#include <QString>

#include <optional>

// Where a book is read from: a file, or a member of an archive, named "archive › member". A
// file compressed whole is a book under its own name. Every way of opening a book goes through
// here, so that all of them open compressed books and archives alike; which member of several to
// read is the caller's to ask.
namespace BookSource {

// Between an archive's path and its member's name.
inline const QString Separator = QStringLiteral(" \u203A ");

struct Location
{
    QString file;
    QString member; // empty for a file that is not an archive
};

// A name's archive and member: split at the separator after which the archive is an existing
// file, or at the last one.
Location split(const QString &name);
QString join(const QString &file, const QString &member);

struct Opened
{
    Book::LoadResult result; // Loaded, or why not
    QString message; // for a compressed file or an archive that could not be read: why
    QString title; // the book's title: its member's name, or its file's, without the extension
    // Several text members and none asked for: nothing read, one to be chosen.
    QList<ArchiveFile::Member> choices;
};

// Reads the book of that name into book, as Book::load reads a file: a plain file as it is, a
// file compressed whole as the book it holds, an archive's member, or its only text member. A
// book that would unpack past Book::largestBook() is refused where reading reaches that size.
Opened load(Book &book, const QString &name, int linesPerPage,
            std::optional<TextEncoding> encoding);

} // namespace BookSource
