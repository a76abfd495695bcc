#include "book/LineIndex.h"

#include "book/LineEnds.h"

#include <algorithm>

LineIndex::LineIndex(QByteArrayView text)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    for (const char *p = begin; p != end;) {
        p = LineEnds::nextLineStart(p, end);
        ++m_lineCount;
        if (m_lineCount % Every == 0 && p != end)
            m_starts.push_back(p - begin);
    }
}

qsizetype LineIndex::offsetOf(QByteArrayView text, qint64 line) const
{
    if (line >= m_lineCount)
        return text.size();
    line = std::max<qint64>(line, 0);
    const char *begin = text.data();
    const char *end = begin + text.size();
    const char *p = begin + m_starts[size_t(line / Every)];
    for (qint64 rest = line % Every; rest > 0; --rest)
        p = LineEnds::nextLineStart(p, end);
    return p - begin;
}

qint64 LineIndex::lineAt(QByteArrayView text, qsizetype offset) const
{
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    qint64 line = qint64(after - m_starts.begin() - 1) * Every;
    const char *begin = text.data();
    const char *end = begin + text.size();
    for (const char *p = begin + m_starts[size_t(line / Every)];; ++line) {
        const char *next = LineEnds::nextLineStart(p, end);
        if (next - begin > offset || next == end)
            return std::min(line, std::max<qint64>(m_lineCount - 1, 0));
        p = next;
    }
}

QByteArrayView LineIndex::lineBytes(QByteArrayView text, qint64 line) const
{
    if (line < 0 || line >= m_lineCount)
        return {};
    const qsizetype start = offsetOf(text, line);
    const char *begin = text.data() + start;
    const char *lineEnd = LineEnds::nextLineEnd(begin, text.data() + text.size());
    return QByteArrayView(begin, lineEnd - begin);
}
