#pragma once

#include "book/ChapterFinder.h"
#include "book/ChapterMarks.h"
#include "book/LineIndex.h"

#include <QByteArray>
#include <QList>

// A book's contents as the reader sees them: the chapters the rules find, or those the reader's
// pattern finds, with the lines the reader marked as chapters added and those marked as none
// left out. Places are offsets into the book's text (Book::bytesFrom(0)). It holds the book's
// bytes it was made of (shared, not copied) and knows their lines, so that a mark is taken from
// an offset. Finding the chapters is ChapterFinder's; showing them is the window's.
class BookContents
{
public:
    BookContents() = default;
    // The contents of the text of bytes from start on, held in encoding: one pass for the
    // lines, one for the chapters. Made on a worker thread while the reader reads.
    BookContents(QByteArray bytes, qsizetype start, TextEncoding encoding,
                 const ChapterMarks &marks);

    const QList<Chapter> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The last entry that begins before end; -1 when none does.
    int lastBefore(qsizetype end) const;
    // The line that holds offset, as a mark keeps it.
    LineAnchor anchorAt(qsizetype offset) const;
    // Where the line a mark kept is now (see LineAnchor::locate).
    std::optional<qint64> locate(const LineAnchor &at) const;
    qsizetype offsetOfLine(qint64 line) const { return m_lines.offsetOf(text(), line); }
    qint64 lineCount() const { return m_lines.lineCount(); }
    // The line an entry begins on is one of the chapters marked by the reader.
    bool isMarked(qint64 line) const;

private:
    QByteArrayView text() const { return QByteArrayView(m_bytes).sliced(m_start); }

    QByteArray m_bytes;
    qsizetype m_start = 0;
    TextEncoding m_encoding = TextEncoding::Utf8;
    LineIndex m_lines;
    QList<Chapter> m_entries;
    QList<qint64> m_markedLines;
};
