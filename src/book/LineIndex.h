#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

// Where the lines of a text start, kept for every Every-th line, so that a line's number and its
// place in the bytes are found from each other by looking at no more than that many lines. CR LF,
// a lone CR and a lone LF each end a line; a last line without an end counts when it has bytes.
// The text itself is the caller's, handed to every call, and must be the one the index was made
// of.
class LineIndex
{
public:
    static constexpr qint64 Every = 1024;

    LineIndex() = default;
    // One pass over the text.
    explicit LineIndex(QByteArrayView text);

    qint64 lineCount() const { return m_lineCount; }
    // Where line starts; the text's end for a line past the last.
    qsizetype offsetOf(QByteArrayView text, qint64 line) const;
    // The line that holds the byte at offset; a line end belongs to the line it ends.
    qint64 lineAt(QByteArrayView text, qsizetype offset) const;
    // The bytes of line without its line end; empty past the last.
    QByteArrayView lineBytes(QByteArrayView text, qint64 line) const;

private:
    std::vector<qsizetype> m_starts {0}; // of lines 0, Every, 2 * Every, ...
    qint64 m_lineCount = 0;
};
