#pragma once

#include "book/LineIndex.h"
#include "book/TextCodec.h"

#include <QString>

#include <optional>

// A place in a book kept so that it survives an edited file: a line's number and a short copy of
// its text. In the book as it is now, the line is found again by its text near where it was: a
// book with lines added or removed above it has moved it, not lost it.
struct LineAnchor
{
    // The most characters of a line's text an anchor keeps.
    static constexpr int TextLength = 60;

    qint64 line = 0;
    QString text; // the line's text, blanks at either end left out, at most TextLength characters

    // The anchor of line in text (held in encoding, indexed by lines).
    static LineAnchor of(QByteArrayView text, TextEncoding encoding, const LineIndex &lines,
                         qint64 line);
    // The anchor of the line that starts at offset, its number counted from the start of text.
    static LineAnchor atOffset(QByteArrayView text, TextEncoding encoding, qsizetype offset);
    // The line's text as an anchor keeps it.
    static QString textOf(QByteArrayView line, TextEncoding encoding);

    // The line nearest to this one's number, within radius lines either way, whose text reads as
    // this one's: the line itself when it still does. nullopt when no line does.
    std::optional<qint64> locate(QByteArrayView text, TextEncoding encoding, const LineIndex &lines,
                                 qint64 radius = 2000) const;
};
