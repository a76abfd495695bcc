#include "book/Book.h"

#include <QFile>

#include <cstring>

namespace {

// Finds line ends in [begin, end): CR LF, a lone CR and a lone LF. The next CR and the next LF
// are each looked up once with memchr and reused until passed, so every byte is scanned about
// once, and a file without any CR takes the LF-only path.
class LineScanner
{
public:
    LineScanner(const char *begin, const char *end)
        : m_pos(begin), m_end(end), m_nextCr(find('\r', begin)), m_nextLf(find('\n', begin))
    { }

    bool atEnd() const { return m_pos >= m_end; }
    const char *position() const { return m_pos; }

    // Moves past the next line and its terminator; a last line without one ends at the end.
    void skipLine()
    {
        if (m_nextCr && m_nextCr < m_pos)
            m_nextCr = find('\r', m_pos);
        if (m_nextLf && m_nextLf < m_pos)
            m_nextLf = find('\n', m_pos);
        if (m_nextCr && (!m_nextLf || m_nextCr < m_nextLf)) {
            m_pos = m_nextCr + 1;
            if (m_pos == m_nextLf)
                ++m_pos;
        } else if (m_nextLf) {
            m_pos = m_nextLf + 1;
        } else {
            m_pos = m_end;
        }
    }

private:
    const char *find(char c, const char *from) const
    {
        if (from >= m_end)
            return nullptr;
        return static_cast<const char *>(std::memchr(from, c, size_t(m_end - from)));
    }

    const char *m_pos;
    const char *m_end;
    const char *m_nextCr;
    const char *m_nextLf;
};

bool readWhole(QFile &file, QByteArray &bytes)
{
    const qint64 expected = file.size();
    bytes.resize(qsizetype(expected));
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(filled + qMax<qsizetype>(filled / 2, 64 * 1024));
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += qsizetype(got);
    }
    bytes.truncate(filled);
    return true;
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
    if (!file.open(QIODevice::ReadOnly))
        return {Status::CannotOpen, file.errorString()};
    if (file.size() > MaxFileSize)
        return {Status::TooLarge, {}};

    QByteArray bytes;
    if (!readWhole(file, bytes))
        return {Status::ReadFailed, file.errorString()};
    return loadBytes(std::move(bytes), linesPerPage);
}

Book::LoadResult Book::loadBytes(QByteArray bytes, int linesPerPage)
{
    if (std::memchr(bytes.constData(), '\0', size_t(bytes.size())))
        return {Status::NotText, {}};
    Book fresh;
    fresh.m_bytes = std::move(bytes);
    const LoadResult result = fresh.paginate(linesPerPage);
    if (result.status == Status::Loaded)
        *this = std::move(fresh);
    return result;
}

Book::LoadResult Book::paginate(int linesPerPage)
{
    qsizetype bom = 0;
    m_encoding = TextCodec::detect(m_bytes, &bom);

    const char *data = m_bytes.constData();
    LineScanner scanner(data + bom, data + m_bytes.size());
    m_pageStarts.assign(1, bom);
    if (scanner.atEnd())
        return {};

    if (linesPerPage < 1) {
        int lines = 0;
        while (!scanner.atEnd()) {
            scanner.skipLine();
            if (++lines > MaxLinesOnOnePage)
                return {Status::TooManyLines, {}};
        }
        m_pageStarts.push_back(m_bytes.size());
        return {};
    }

    int lineOnPage = 0;
    while (!scanner.atEnd()) {
        scanner.skipLine();
        if (++lineOnPage == linesPerPage) {
            lineOnPage = 0;
            m_pageStarts.push_back(scanner.position() - data);
            if (pageCount() > MaxPages)
                return {Status::TooManyPages, {}};
        }
    }
    if (lineOnPage > 0) {
        m_pageStarts.push_back(m_bytes.size());
        if (pageCount() > MaxPages)
            return {Status::TooManyPages, {}};
    }
    return {};
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
