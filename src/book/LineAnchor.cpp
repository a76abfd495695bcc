#include "book/LineAnchor.h"

#include "book/LineEnds.h"

QString LineAnchor::textOf(QByteArrayView line, TextEncoding encoding)
{
    // A little more than is kept, so that the blanks left out at the start still leave enough.
    const QByteArrayView head = line.first(qMin(line.size(), qsizetype(TextLength) * 8));
    QString text = TextCodec::decode(head, encoding).trimmed();
    text.truncate(TextLength);
    return text;
}

LineAnchor LineAnchor::of(QByteArrayView text, TextEncoding encoding, const LineIndex &lines,
                          qint64 line)
{
    return {line, textOf(lines.lineBytes(text, line), encoding)};
}

LineAnchor LineAnchor::atOffset(QByteArrayView text, TextEncoding encoding, qsizetype offset)
{
    const char *begin = text.data();
    const char *at = begin + qBound(qsizetype(0), offset, text.size());
    // A CR just before a line's start that an LF follows ends one line, not two.
    const qint64 before = LineEnds::countLineEnds(begin, at)
        - (at != begin && at != begin + text.size() && at[-1] == '\r' && *at == '\n');
    const char *lineEnd = LineEnds::nextLineEnd(at, begin + text.size());
    return {before, textOf(QByteArrayView(at, lineEnd - at), encoding)};
}

std::optional<qint64> LineAnchor::locate(QByteArrayView text, TextEncoding encoding,
                                         const LineIndex &lines, qint64 radius) const
{
    const auto reads = [&](QByteArrayView bytes) {
        return textOf(bytes, encoding) == this->text;
    };
    if (line < lines.lineCount() && reads(lines.lineBytes(text, line)))
        return line;
    // The lines around it in one walk, the nearest that reads so winning.
    const qint64 first = qMax<qint64>(0, line - radius);
    const qint64 last = qMin(lines.lineCount() - 1, line + radius);
    std::optional<qint64> nearest;
    const char *end = text.data() + text.size();
    const char *p = text.data() + lines.offsetOf(text, first);
    for (qint64 at = first; at <= last && p != end; ++at) {
        const char *lineEnd = LineEnds::nextLineEnd(p, end);
        if ((!nearest || qAbs(at - line) < qAbs(*nearest - line))
            && reads(QByteArrayView(p, lineEnd - p)))
            nearest = at;
        p = LineEnds::nextLineStart(lineEnd, end);
    }
    return nearest;
}
