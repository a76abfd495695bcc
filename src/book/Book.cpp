#include "book/Book.h"

#include "app/ReadWholeFile.h"
#include "book/WideToUtf8.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace {

using LineEnds::LongLines;
using LineEnds::Scan;
using LineEnds::scanLineEnds;
using LineEnds::ScanResult;

bool endsWithLineEnd(const char *begin, const char *end)
{
    return end > begin && (end[-1] == '\r' || end[-1] == '\n');
}

// Appends text to out with every line end written as CR LF and a final CR LF where missing.
void appendWithCrLf(QString &out, QStringView text)
{
    qsizetype lineStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        out += text.sliced(lineStart, i - lineStart);
        out += u"\r\n";
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < n) {
        out += text.sliced(lineStart);
        out += u"\r\n";
    }
}

// A wide book is read in pieces of this size, each converted before the next is read.
constexpr qsizetype kPieceSize = 256 * 1024;

bool readHead(QFile &file, QByteArray &head)
{
    head = QByteArray(TextCodec::WideHeadSize, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < head.size()) {
        const qint64 got = file.read(head.data() + filled, head.size() - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += qsizetype(got);
    }
    head.truncate(filled);
    return true;
}

// The byte-order mark of encoding that bytes start with, to be dropped; 0 when there is none.
qsizetype markLength(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype mark = 0;
    return TextCodec::detectWide(bytes, &mark) == encoding ? mark : 0;
}

// Reads the rest of a file in a wide encoding into out in UTF-8. The room held for it is what
// the start of the file foretells, a little over: a buffer of about the book's size is one the
// allocator reuses from one load to the next, where one of the most it could take (half as much
// again) would be new memory every time. A book that turns out longer gets that most.
bool readAsUtf8(QFile &file, qint64 fileSize, QByteArrayView head, TextEncoding encoding,
                QByteArray &out)
{
    WideToUtf8 converter(encoding);
    const qsizetype most = WideToUtf8::maxUtf8Size(qsizetype(fileSize));
    QByteArray start;
    WideToUtf8(encoding).append(head, start, true);
    const double ratio = head.isEmpty() ? 1.0 : double(start.size()) / double(head.size());
    out.reserve(qMin(most, qsizetype(double(fileSize) * ratio * 1.05) + 64 * 1024));
    askForLargePages(out.data(), out.capacity());
    QByteArray piece(kPieceSize + 8, Qt::Uninitialized);
    qsizetype kept = 0; // the end of the piece before, which made no whole character
    qint64 left = fileSize - file.pos(); // never past the size the file had when opened
    for (;;) {
        const qint64 got = file.read(piece.data() + kept, qMin<qint64>(kPieceSize, left));
        if (got < 0)
            return false;
        const qsizetype size = kept + qsizetype(got);
        if (out.capacity() - out.size() < WideToUtf8::maxUtf8Size(size))
            out.reserve(qMax(most, out.size() + WideToUtf8::maxUtf8Size(size)));
        const qsizetype taken =
            converter.append(QByteArrayView(piece.constData(), size), out, got == 0);
        if (got == 0)
            return true;
        left -= got;
        kept = size - taken;
        std::memmove(piece.data(), piece.constData() + taken, size_t(kept));
    }
}

} // namespace

Book::LoadResult Book::load(const QString &path, int linesPerPage,
                            std::optional<TextEncoding> encoding)
{
    QFile file;
    QString error;
    switch (openRegularFile(file, path, &error)) {
    case OpenFile::Opened:
        break;
    case OpenFile::NotRegular:
        return {Status::NotRegular, {}};
    case OpenFile::Failed:
        return {Status::CannotOpen, error};
    }
    // What is checked is all that is read, however the file grows meanwhile.
    const qint64 size = file.size();
    if (size > largestBook())
        return {Status::TooLarge, QString::number(size)};

    // The start of the file tells a wide book, which is converted to UTF-8 as it is read: the
    // whole file and its UTF-8 at once would take up to two and a half times its size.
    QByteArray head;
    if (!readHead(file, head))
        return {Status::ReadFailed, file.errorString()};
    qsizetype mark = 0;
    const std::optional<TextEncoding> wide = encoding
        ? (TextCodec::isWide(*encoding) ? encoding : std::nullopt)
        : TextCodec::detectWide(head, &mark);
    if (encoding && wide)
        mark = markLength(head, *wide);

    QByteArray bytes;
    if (!file.seek(wide ? mark : 0))
        return {Status::ReadFailed, file.errorString()};
    if (wide) {
        if (!readAsUtf8(file, size, QByteArrayView(head).sliced(mark), *wide, bytes))
            return {Status::ReadFailed, file.errorString()};
        return adopt(std::move(bytes), *wide, 0, linesPerPage);
    }
    head = QByteArray();
    if (!readWholeFile(file, size, bytes))
        return {Status::ReadFailed, file.errorString()};
    return loadBytes(std::move(bytes), linesPerPage, encoding);
}

Book::LoadResult Book::loadBytes(QByteArray bytes, int linesPerPage,
                                 std::optional<TextEncoding> encoding)
{
    qsizetype mark = 0;
    const TextEncoding chosen = encoding ? *encoding : TextCodec::detect(bytes, &mark);
    if (encoding)
        mark = markLength(bytes, chosen);
    if (TextCodec::isWide(chosen)) {
        WideToUtf8 converter(chosen);
        const QByteArrayView text = QByteArrayView(bytes).sliced(mark);
        QByteArray held;
        held.reserve(WideToUtf8::maxUtf8Size(text.size()));
        converter.append(text, held, true);
        return adopt(std::move(held), chosen, 0, linesPerPage);
    }
    return adopt(std::move(bytes), chosen, mark, linesPerPage);
}

Book::LoadResult Book::adopt(QByteArray held, TextEncoding encoding, qsizetype textStart,
                             int linesPerPage)
{
    Book fresh;
    fresh.m_bytes = std::move(held);
    fresh.m_encoding = encoding;
    fresh.m_textStart = textStart;
    const LoadResult result = fresh.paginate(linesPerPage);
    if (result.status == Status::Loaded)
        *this = std::move(fresh);
    return result;
}

qint64 Book::largestBook()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return qint64(1) << 30;
    return qint64(pages) * pageSize / 4;
}

qint64 Book::mostPages(qsizetype bookBytes)
{
    // An index entry a page, no larger than the book itself.
    return std::min<qint64>(std::numeric_limits<int>::max(),
                            std::max<qint64>(bookBytes / qint64(sizeof(qsizetype)), 1 << 20));
}

Book::LoadResult Book::paginate(int linesPerPage)
{
    const qsizetype bom = m_textStart;

    const char *data = m_bytes.constData();
    const char *begin = data + bom;
    const char *end = data + m_bytes.size();
    m_pageStarts.assign(1, bom);
    if (begin == end)
        return {};

    // A book of one page has no page to keep light.
    const LongLines &cut = m_cut = {
        linesPerPage < 1 ? std::numeric_limits<qsizetype>::max() : LongLineLimit, LinePieceSize,
        bytesEncoding() == TextEncoding::Utf8, TextCodec::characterLength(bytesEncoding())};
    Status status = Status::Loaded;
    Scan scan = Scan::Completed;
    if (linesPerPage < 1) {
        // One page of every line, unless there are more than it may hold: a line end past them
        // stops the count.
        const ScanResult result = scanLineEnds(begin, end, MaxLinesOnOnePage + 1, cut,
                                               [](const char *) { return false; });
        scan = result.scan;
        const int lines = result.sinceLast + (endsWithLineEnd(begin, end) ? 0 : 1);
        if (scan == Scan::Stopped || lines > MaxLinesOnOnePage)
            status = Status::TooManyLines;
        else
            m_pageStarts.push_back(m_bytes.size());
    } else {
        const qint64 most = mostPages(m_bytes.size());
        const ScanResult result =
            scanLineEnds(begin, end, linesPerPage, cut, [&](const char *next) {
                m_pageStarts.push_back(next - data);
                return pageCount() <= most;
            });
        scan = result.scan;
        if (scan == Scan::Completed) {
            const int linesOnLastPage = result.sinceLast + (endsWithLineEnd(begin, end) ? 0 : 1);
            if (linesOnLastPage > 0)
                m_pageStarts.push_back(m_bytes.size());
        }
        if (pageCount() > most)
            status = Status::TooManyPages;
    }
    // A NUL anywhere makes the file no text, also past where counting gave up.
    if (scan == Scan::FoundNul
        || (scan == Scan::Stopped && std::memchr(begin, '\0', size_t(end - begin))))
        return {Status::NotText, {}};
    return {status, {}};
}

QByteArrayView Book::pageBytes(int index) const
{
    if (index < 0 || index >= pageCount())
        return {};
    const qsizetype begin = m_pageStarts[size_t(index)];
    const qsizetype end = m_pageStarts[size_t(index) + 1];
    return QByteArrayView(m_bytes.constData() + begin, end - begin);
}

QString Book::pageText(int index) const
{
    const QByteArrayView bytes = pageBytes(index);
    if (bytes.isEmpty())
        return {};
    const QString decoded = TextCodec::decode(bytes, bytesEncoding());
    QString text;
    text.reserve(decoded.size() + 64);
    appendWithCrLf(text, decoded);
    return text;
}

qsizetype Book::lineOffset(int page, int line) const
{
    if (page < 0 || page >= pageCount())
        return pageOffset(page);
    int walked = 0;
    return walkLines(m_pageStarts, page, line, std::numeric_limits<qsizetype>::max(), &walked);
}

qsizetype Book::walkLines(const std::vector<qsizetype> &starts, int page, int line,
                          qsizetype stopAt, int *walked) const
{
    const char *data = m_bytes.constData();
    const char *end = data + starts[size_t(page) + 1];
    const char *p = data + starts[size_t(page)];
    const char *stop = stopAt >= m_bytes.size() - starts.front() ? data + m_bytes.size()
                                                                 : data + starts.front() + stopAt;
    const qsizetype longerThan = m_cut.longerThan;
    // Pages of another cut show a line as one, pieces or not.
    const bool pieces = &starts != &m_pageStarts || m_fixedStarts.empty();
    for (*walked = 0; *walked < line && p != end; ++*walked) {
        // Within a line cut into pieces the next piece starts where a cut ends; the line is one
        // of those when the page starts inside it or it runs on past the limit.
        const char *next;
        const bool insideLine =
            pieces && p > data + starts.front() && p[-1] != '\r' && p[-1] != '\n';
        const char *farthest = end - p > longerThan ? p + longerThan + 1 : end;
        const char *lineEnd = LineEnds::nextLineEnd(p, farthest);
        const bool cut = insideLine || (pieces && lineEnd == farthest && farthest != end);
        if (cut
            && LineEnds::nextLineEnd(p, std::min(end, p + m_cut.pieceSize + 1)) - p
                > m_cut.pieceSize)
            next = LineEnds::pieceEnd(p, std::min(end, p + m_cut.pieceSize + 1), m_cut);
        else
            next = LineEnds::nextLineStart(p, end);
        if (next > stop)
            break;
        p = next;
    }
    return p - data - starts.front();
}

void Book::usePages(const std::vector<qsizetype> &starts)
{
    if (m_fixedStarts.empty())
        m_fixedStarts = m_pageStarts;
    const qsizetype base = m_fixedStarts.front();
    m_pageStarts.clear();
    m_pageStarts.reserve(starts.size() + 1);
    for (const qsizetype start : starts)
        m_pageStarts.push_back(base + start);
    if (m_pageStarts.empty() || m_pageStarts.back() != m_fixedStarts.back())
        m_pageStarts.push_back(m_fixedStarts.back());
}

void Book::useFixedPages()
{
    if (!m_fixedStarts.empty())
        m_pageStarts = std::move(m_fixedStarts);
    m_fixedStarts.clear();
}

int Book::fixedPageAt(qsizetype offset) const
{
    const std::vector<qsizetype> &starts = fixedStarts();
    const auto after = std::upper_bound(starts.begin(), starts.end(), starts.front() + offset);
    return std::clamp(int(after - starts.begin()) - 1, 0, std::max(0, int(starts.size()) - 2));
}

qint64 Book::fixedLineAt(qsizetype offset, int linesPerPage) const
{
    if (isEmpty())
        return 0;
    const int page = fixedPageAt(offset);
    int walked = 0;
    walkLines(fixedStarts(), page, std::numeric_limits<int>::max(), offset, &walked);
    // A page of every line (fewer than one a page) counts its lines from the book's first.
    return qint64(page) * std::max(linesPerPage, 0) + walked;
}

qsizetype Book::fixedLineOffset(qint64 line, int linesPerPage) const
{
    if (isEmpty())
        return 0;
    const std::vector<qsizetype> &starts = fixedStarts();
    const int pages = int(starts.size()) - 1;
    const int page = linesPerPage < 1 ? 0 : int(std::min<qint64>(line / linesPerPage, pages - 1));
    const qint64 within = line - qint64(page) * std::max(linesPerPage, 0);
    int walked = 0;
    return walkLines(starts, page, int(std::min<qint64>(within, std::numeric_limits<int>::max())),
                     std::numeric_limits<qsizetype>::max(), &walked);
}

QByteArrayView Book::bytesFrom(int first) const
{
    if (first < 0 || first >= pageCount())
        return {};
    const qsizetype begin = m_pageStarts[size_t(first)];
    return QByteArrayView(m_bytes.constData() + begin, m_pageStarts.back() - begin);
}

int Book::pageAt(qsizetype offset) const
{
    const qsizetype absolute = m_pageStarts.front() + offset;
    const auto after = std::upper_bound(m_pageStarts.begin(), m_pageStarts.end(), absolute);
    return int(after - m_pageStarts.begin()) - 1;
}
