#include "book/PageFit.h"

#include "book/LineEnds.h"

#include <algorithm>

namespace {

// The most bytes of a line measured at once: a line of a whole book is measured in pieces of
// about a page of the widest window, each cut where a row begins.
constexpr qsizetype kPiece = 16 * 1024;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

// What measuring a text takes, kept from one text to the next.
struct PageFit::Rows
{
    explicit Rows(TextEncoding held) : decoder(held), reader(held) { }
    TextDecoder decoder;
    CharacterReader reader;
    QString text;
    std::vector<int> units;
    std::vector<qsizetype> starts;
};

PageFit::PageFit(const Book &book, int rowsPerPage, Measure measure, qsizetype place)
    : m_held(book.heldBytes()),
      m_text(m_held.constData() + book.textStart()),
      m_size(book.byteSize() - book.textStart()),
      m_rows(std::max(1, rowsPerPage)),
      m_measure(std::move(measure)),
      m_place(std::clamp<qsizetype>(place, 0, m_size)),
      m_work(std::make_unique<Rows>(book.bytesEncoding())),
      m_back(m_place),
      m_forward(m_place)
{ }

PageFit::~PageFit() = default;

bool PageFit::work(qsizetype bytes)
{
    // Back and forth in turn, so that the pages on either side of the place come first.
    for (qsizetype spent = 0; spent < bytes && !done();) {
        if (!backDone())
            spent += workBack();
        if (!forwardDone())
            spent += workForward();
    }
    return !done();
}

qsizetype PageFit::lineStartBefore(qsizetype offset) const
{
    while (offset > 0 && !isLineEnd(m_text[offset - 1]))
        --offset;
    return offset;
}

qsizetype PageFit::lineEndAfter(qsizetype offset) const
{
    return LineEnds::nextLineEnd(m_text + offset, m_text + m_size) - m_text;
}

qsizetype PageFit::measurePiece(qsizetype from, qsizetype stop, bool last,
                                std::vector<qsizetype> &starts)
{
    Rows &w = *m_work;
    const char *begin = m_text + from;
    const char *end = m_text + stop;
    w.decoder.decode(QByteArrayView(begin, end - begin), w.text);
    w.units.clear();
    m_measure(w.text, w.units);
    starts.push_back(from);
    const char *p = begin;
    qsizetype unitsPassed = 0;
    for (const int unit : w.units) {
        if (unit <= unitsPassed)
            continue;
        qsizetype went = 0;
        p = w.reader.advance(p, end, unit - unitsPassed, &went);
        unitsPassed += went;
        if (p == end)
            break;
        starts.push_back(p - m_text);
    }
    if (last)
        return stop;
    // The last row may end where the piece was cut: it is measured again with what follows.
    if (starts.back() == from)
        return stop; // a row longer than the piece: taken as it is
    const qsizetype next = starts.back();
    starts.pop_back();
    return next;
}

qsizetype PageFit::pieceEnd(qsizetype from) const
{
    const char *at = m_text + from + kPiece;
    const char *start = m_work->reader.startsAround(m_text + from, at, m_text + m_size).start;
    return (start > m_text + from ? start : at) - m_text;
}

// One line before m_back, or a piece of it when it is long; its rows counted from the last.
qsizetype PageFit::workBack()
{
    if (m_pending.empty()) {
        // m_back starts a line, or is the place inside one.
        qsizetype end = m_back;
        if (isLineEnd(m_text[end - 1])) {
            --end;
            if (end > 0 && m_text[end] == '\n' && m_text[end - 1] == '\r')
                --end;
        }
        m_pendingAt = lineStartBefore(end);
        m_pendingEnd = end;
    }
    const qsizetype from = m_pendingAt;
    if (m_pendingEnd - from > kPiece) {
        m_pendingAt = measurePiece(from, pieceEnd(from), false, m_pending);
        return m_pendingAt - from;
    }
    measurePiece(from, m_pendingEnd, true, m_pending);
    const qsizetype lineStart = m_pending.front();
    for (auto row = m_pending.rbegin(); row != m_pending.rend(); ++row) {
        if (++m_backRows == m_rows) {
            m_backStarts.push_back(*row);
            m_backRows = 0;
        }
    }
    m_pending.clear();
    m_back = lineStart;
    return std::max<qsizetype>(m_pendingEnd - from, 1);
}

// One line from m_forward, or a piece of it when it is long. A line's end is looked for no
// further than a piece, so a book of one line costs no more than one of many.
qsizetype PageFit::workForward()
{
    const qsizetype from = m_forward;
    const char *limit = m_text + std::min(m_size, from + kPiece + 1);
    const qsizetype lineEnd = LineEnds::nextLineEnd(m_text + from, limit) - m_text;
    const bool last = lineEnd < limit - m_text || lineEnd == m_size;
    std::vector<qsizetype> &rows = m_work->starts;
    rows.clear();
    const qsizetype next = measurePiece(from, last ? lineEnd : pieceEnd(from), last, rows);
    for (const qsizetype row : rows) {
        if (m_forwardRows == m_rows) {
            m_forwardStarts.push_back(row);
            m_forwardRows = 0;
        }
        ++m_forwardRows;
    }
    m_forward = last ? LineEnds::nextLineStart(m_text + lineEnd, m_text + m_size) - m_text : next;
    return std::max<qsizetype>(m_forward - from, 1);
}

qsizetype PageFit::bytesPerPage() const
{
    const qsizetype low = m_backStarts.empty() ? m_place : m_backStarts.back();
    const qsizetype high = m_forwardStarts.empty() ? m_place : m_forwardStarts.back();
    const size_t whole = m_backStarts.size() + m_forwardStarts.size();
    if (whole > 0)
        return std::max<qsizetype>((high - low) / qsizetype(whole), 1);
    if (m_forwardRows > 0 && m_forward > m_place)
        return std::max<qsizetype>((m_forward - m_place) * m_rows / m_forwardRows, 1);
    return 2048;
}

void PageFit::guess(qsizetype from, qsizetype to, qsizetype every,
                    std::vector<qsizetype> &out) const
{
    const char *end = m_text + to;
    for (qsizetype at = from + every; at < to;) {
        // The first line start at or after at, looked for as far as a page's bytes; in a line
        // that runs on further, a character's start.
        const char *p = m_text + at;
        if (!isLineEnd(p[-1])) {
            const char *limit = std::min(end, p + every);
            const char *lineEnd = LineEnds::nextLineEnd(p, limit);
            if (lineEnd != limit)
                p = LineEnds::nextLineStart(lineEnd, m_text + m_size);
            else if (limit != end)
                p = std::max(
                    p - at + out.back() + 1, // past the last page's start
                    m_work->reader.startsAround(m_text + out.back(), p, m_text + m_size).start);
            else
                return;
        }
        if (p >= end)
            return;
        out.push_back(p - m_text);
        at = out.back() + every;
    }
}

std::vector<qsizetype> PageFit::pages() const
{
    const qsizetype every = bytesPerPage();
    std::vector<qsizetype> out {0};
    const qsizetype low = m_backStarts.empty() ? m_place : m_backStarts.back();
    if (!backDone())
        guess(0, low, every, out);
    for (auto start = m_backStarts.rbegin(); start != m_backStarts.rend(); ++start) {
        if (*start > out.back())
            out.push_back(*start);
    }
    if (m_place > out.back() && m_place < m_size)
        out.push_back(m_place);
    out.insert(out.end(), m_forwardStarts.begin(), m_forwardStarts.end());
    if (!forwardDone())
        guess(std::max(out.back(), m_forward - every), m_size, every, out);
    return out;
}
