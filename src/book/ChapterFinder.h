#pragma once

#include "book/TextCodec.h"

#include <QByteArrayView>
#include <QList>
#include <QRegularExpression>
#include <QString>

// One entry of a book's contents.
struct Chapter
{
    qsizetype offset = 0; // byte offset of the heading line's start within `text`
    qint64 line = 0; // the line's number from 0: CR LF, a lone CR and a lone LF each end one
    int level = 1; // 1 = coarsest
    QString title; // trimmed, for the contents list

    bool operator==(const Chapter &other) const
    {
        return offset == other.offset && line == other.line && level == other.level
            && title == other.title;
    }
};

// Finds the chapters of a plain-text book in its bytes. Rules are tried from the safest to the
// loosest, keeping the first whose entries make a plausible contents: headings with a keyword
// and a number (or a named part such as a prologue), then numbers alone on a line between blank
// lines. Guards drop a heading printed twice, a book's own printed table of contents, a
// Project Gutenberg book's front and back matter and stray hits that break a numbered run. Lines
// are looked at by their first bytes and only the few that may be headings are decoded, so that
// the whole costs about one pass over the bytes. What a line reads as is HeadingLine's; showing
// the entries and keeping the reader's corrections are the caller's.
namespace ChapterFinder {

// Automatic detection over the book's bytes. `text` is the book's text as the reader holds it
// (Book::bytesFrom(0): past any byte-order mark) and `encoding` its bytes' encoding
// (Book::bytesEncoding(): UTF-8 or a code page; wide books are held as UTF-8).
QList<Chapter> find(QByteArrayView text, TextEncoding encoding);

// Every line the pattern matches (QRegularExpression, Unicode, matched against each decoded
// line without its line end), level 1, the title the line trimmed. An invalid pattern finds
// nothing.
QList<Chapter> findByPattern(QByteArrayView text, TextEncoding encoding,
                             const QRegularExpression &pattern);

} // namespace ChapterFinder
