#include "book/Book.h"

#include "app/ReadWholeFile.h"
#include "book/LineEnds.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <limits>

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

} // namespace

Book::LoadResult Book::load(const QString &path, int linesPerPage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {Status::CannotOpen, file.errorString()};
    if (file.size() > MaxFileSize)
        return {Status::TooLarge, {}};

    QByteArray bytes;
    if (!readWholeFile(file, bytes))
        return {Status::ReadFailed, file.errorString()};
    return loadBytes(std::move(bytes), linesPerPage);
}

Book::LoadResult Book::loadBytes(QByteArray bytes, int linesPerPage)
{
    Book fresh;
    fresh.m_bytes = std::move(bytes);
    const LoadResult result = fresh.paginate(linesPerPage);
    if (result.status == Status::Loaded)
        *this = std::move(fresh);
    return result;
}

qsizetype Book::pieceSize(int linesPerPage, qsizetype bookBytes)
{
    // A quarter more than MaxPages pages of full pieces would need, as a cut at a blank leaves
    // most pieces a little short of full.
    const qsizetype forMaxPages =
        bookBytes * 5 / 4 / (qsizetype(MaxPages) * std::max(linesPerPage, 1)) + 1;
    return std::max(LinePieceSize, forMaxPages);
}

Book::LoadResult Book::paginate(int linesPerPage)
{
    qsizetype bom = 0;
    m_encoding = TextCodec::detect(m_bytes, &bom);

    const char *data = m_bytes.constData();
    const char *begin = data + bom;
    const char *end = data + m_bytes.size();
    m_pageStarts.assign(1, bom);
    if (begin == end)
        return {};

    // A book of one page has no page to keep light.
    const LongLines cut {linesPerPage < 1 ? std::numeric_limits<qsizetype>::max() : LongLineLimit,
                         pieceSize(linesPerPage, m_bytes.size()), m_encoding == TextEncoding::Utf8};
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
        const ScanResult result =
            scanLineEnds(begin, end, linesPerPage, cut, [&](const char *next) {
                m_pageStarts.push_back(next - data);
                return pageCount() <= MaxPages;
            });
        scan = result.scan;
        if (scan == Scan::Completed) {
            const int linesOnLastPage = result.sinceLast + (endsWithLineEnd(begin, end) ? 0 : 1);
            if (linesOnLastPage > 0)
                m_pageStarts.push_back(m_bytes.size());
        }
        if (pageCount() > MaxPages)
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
    const QString decoded = TextCodec::decode(bytes, m_encoding);
    QString text;
    text.reserve(decoded.size() + 64);
    appendWithCrLf(text, decoded);
    return text;
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
