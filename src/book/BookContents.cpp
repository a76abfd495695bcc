#include "book/BookContents.h"

#include <QRegularExpression>

#include <algorithm>

BookContents::BookContents(QByteArray bytes, qsizetype start, TextEncoding encoding,
                           const ChapterMarks &marks)
    : m_bytes(std::move(bytes)), m_start(start), m_encoding(encoding), m_lines(text())
{
    const QByteArrayView all = text();
    m_entries = marks.pattern.isEmpty()
        ? ChapterFinder::find(all, encoding)
        : ChapterFinder::findByPattern(
            all, encoding,
            QRegularExpression(marks.pattern, QRegularExpression::UseUnicodePropertiesOption));
    // A line marked as none, where it is now, is no entry; a line marked as a chapter is one,
    // at the level of the entry before it.
    for (const LineAnchor &none : marks.unmarked) {
        if (const std::optional<qint64> line = none.locate(all, encoding, m_lines))
            m_entries.removeIf([&](const Chapter &entry) { return entry.line == *line; });
    }
    for (const LineAnchor &chapter : marks.marked) {
        const std::optional<qint64> line = chapter.locate(all, encoding, m_lines);
        if (!line)
            continue;
        m_markedLines.append(*line);
        const auto after = std::lower_bound(
            m_entries.begin(), m_entries.end(), *line,
            [](const Chapter &entry, qint64 wanted) { return entry.line < wanted; });
        if (after != m_entries.end() && after->line == *line)
            continue;
        const int level = after == m_entries.begin() ? 1 : std::prev(after)->level;
        const qsizetype offset = m_lines.offsetOf(all, *line);
        m_entries.insert(after,
                         Chapter {offset, *line, level,
                                  LineAnchor::textOf(m_lines.lineBytes(all, *line), encoding)});
    }
}

int BookContents::lastBefore(qsizetype end) const
{
    const auto after = std::lower_bound(
        m_entries.begin(), m_entries.end(), end,
        [](const Chapter &entry, qsizetype wanted) { return entry.offset < wanted; });
    return int(after - m_entries.begin()) - 1;
}

LineAnchor BookContents::anchorAt(qsizetype offset) const
{
    return LineAnchor::of(text(), m_encoding, m_lines, m_lines.lineAt(text(), offset));
}

std::optional<qint64> BookContents::locate(const LineAnchor &at) const
{
    return at.locate(text(), m_encoding, m_lines);
}

bool BookContents::isMarked(qint64 line) const
{
    return m_markedLines.contains(line);
}
