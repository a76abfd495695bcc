#include "book/BookSearch.h"

#include <QChar>

#include <array>
#include <cstring>
#include <vector>

namespace {

// The page view's find compares characters by their case folding (QChar::toCaseFolded), one
// UTF-16 unit of the needle against one of the page. The table holds that folding for the
// whole Basic Multilingual Plane.
const std::vector<char16_t> &foldTable()
{
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> folded(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c)
            folded[c] = char16_t(QChar::toCaseFolded(c));
        return folded;
    }();
    return table;
}

// A needle the bytes can be searched for directly: no line end, whose bytes may differ from the
// view's, no surrogate, as each of its characters is to match one character of the book, and no
// U+FFFD, which the view shows for bytes that make no character.
bool searchableInBytes(const QString &text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c.isSurrogate() || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

// The character of valid UTF-8 at p (before end) and its length in *length; 0xFFFFFFFF where the
// bytes are no valid sequence.
char32_t decodeUtf8(const unsigned char *p, const unsigned char *end, int *length)
{
    constexpr char32_t kInvalid = 0xFFFFFFFF;
    const unsigned char lead = *p;
    if (lead < 0x80) {
        *length = 1;
        return lead;
    }
    int n = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        c = lead & 0x07;
    } else {
        return kInvalid;
    }
    if (end - p < n)
        return kInvalid;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return kInvalid;
        c = (c << 6) | (p[i] & 0x3F);
    }
    static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kInvalid;
    *length = n;
    return c;
}

// Finds the needle in a book's bytes, UTF-8 or a code page of single bytes, with the view's
// matching rule, so that only the page a match lies on needs decoding. A line ends the same in the
// bytes and in the view, and the needle holds none, so a match found here is one the view's find
// finds, and the other way round; but for a match that runs across the end of a page cut inside a
// long line, where the view has a line end the bytes lack: the check on the page's view text
// drops it.
class ByteMatcher
{
public:
    ByteMatcher(const QString &text, TextEncoding encoding) : m_utf8(encoding == TextEncoding::Utf8)
    {
        const std::vector<char16_t> &fold = foldTable();
        for (const QChar c : text)
            m_needle.push_back(fold[c.unicode()]);
        if (!m_utf8) {
            const std::array<char16_t, 256> &table = *TextCodec::byteTable(encoding);
            for (int b = 0; b < 256; ++b)
                m_byteFold[size_t(b)] = fold[table[size_t(b)]];
        }
        // The bytes a match can start with: those that begin any character folding as the
        // needle's first one does.
        std::array<bool, 256> starts {};
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (fold[c] != m_needle.front() || (c >= 0xD800 && c <= 0xDFFF))
                continue;
            if (m_utf8) {
                const char16_t unit = char16_t(c);
                starts[size_t(static_cast<unsigned char>(
                    QString(reinterpret_cast<const QChar *>(&unit), 1).toUtf8().at(0)))] = true;
            }
        }
        if (!m_utf8) {
            for (int b = 0; b < 256; ++b)
                starts[size_t(b)] = m_byteFold[size_t(b)] == m_needle.front();
        }
        for (int b = 0; b < 256; ++b) {
            if (starts[size_t(b)])
                m_starts.push_back((unsigned char)b);
        }
    }

    // The first match in [begin, end), or nullptr.
    const char *find(const char *begin, const char *end)
    {
        const auto *p = reinterpret_cast<const unsigned char *>(begin);
        const auto *stop = reinterpret_cast<const unsigned char *>(end);
        if (m_starts.size() <= kMemchrStarts) {
            // Each start byte's next place is remembered, so every byte is looked at once per
            // start byte however often the others occur.
            std::array<const unsigned char *, kMemchrStarts> next {};
            for (size_t i = 0; i < m_starts.size(); ++i)
                next[i] = nextOf(m_starts[i], p, stop);
            for (;;) {
                const unsigned char *candidate = stop;
                for (size_t i = 0; i < m_starts.size(); ++i) {
                    if (next[i] < p)
                        next[i] = nextOf(m_starts[i], p, stop);
                    candidate = std::min(candidate, next[i]);
                }
                if (candidate == stop)
                    return nullptr;
                if (matchesAt(candidate, stop))
                    return reinterpret_cast<const char *>(candidate);
                p = candidate + 1;
            }
        }
        std::array<bool, 256> isStart {};
        for (const unsigned char b : m_starts)
            isStart[b] = true;
        for (; p != stop; ++p) {
            if (isStart[*p] && matchesAt(p, stop))
                return reinterpret_cast<const char *>(p);
        }
        return nullptr;
    }

private:
    static constexpr size_t kMemchrStarts = 3;

    static const unsigned char *nextOf(unsigned char byte, const unsigned char *p,
                                       const unsigned char *stop)
    {
        const void *found = std::memchr(p, byte, size_t(stop - p));
        return found ? static_cast<const unsigned char *>(found) : stop;
    }

    bool matchesAt(const unsigned char *p, const unsigned char *stop) const
    {
        const std::vector<char16_t> &fold = foldTable();
        for (const char16_t wanted : m_needle) {
            if (p == stop)
                return false;
            if (!m_utf8) {
                if (m_byteFold[*p++] != wanted)
                    return false;
                continue;
            }
            int length = 1;
            const char32_t c = decodeUtf8(p, stop, &length);
            // A character beyond the plane is two units in the view, and no needle unit (it
            // holds no surrogate) folds like either of them.
            if (c >= 0x10000 || fold[c] != wanted)
                return false;
            p += length;
        }
        return true;
    }

    bool m_utf8 = false;
    std::vector<char16_t> m_needle; // folded
    std::array<char16_t, 256> m_byteFold {}; // single bytes: each byte's folded character
    std::vector<unsigned char> m_starts;
};

int findOnPage(const Book &book, const QString &text, int page, int from)
{
    return int(BookSearch::viewText(book, page).indexOf(text, from, Qt::CaseInsensitive));
}

// In a multi-byte code page the bytes of one character can look like those of another, so the
// pages are decoded one by one, into one buffer, and searched as text; a needle without line
// ends matches the decoded page where it matches the view's text.
std::optional<BookSearch::Match> findInDecodedPages(const Book &book, const QString &text,
                                                    int first)
{
    TextDecoder decoder(book.bytesEncoding());
    QString decoded;
    for (int page = first; page < book.pageCount(); ++page) {
        decoder.decode(book.pageBytes(page), decoded);
        if (!decoded.contains(text, Qt::CaseInsensitive))
            continue;
        const int at = findOnPage(book, text, page, 0);
        if (at >= 0)
            return BookSearch::Match {page, at};
    }
    return std::nullopt;
}

} // namespace

namespace BookSearch {

QString viewText(const Book &book, int page)
{
    QString text = book.pageText(page);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::optional<Match> find(const Book &book, const QString &text, int fromPage, int from)
{
    if (text.isEmpty() || fromPage < 0 || fromPage >= book.pageCount())
        return std::nullopt;

    const int onFirst = findOnPage(book, text, fromPage, qMax(0, from));
    if (onFirst >= 0)
        return Match {fromPage, onFirst};
    if (fromPage + 1 >= book.pageCount())
        return std::nullopt;

    if (!searchableInBytes(text)) {
        for (int page = fromPage + 1; page < book.pageCount(); ++page) {
            const int at = findOnPage(book, text, page, 0);
            if (at >= 0)
                return Match {page, at};
        }
        return std::nullopt;
    }

    const TextEncoding encoding = book.bytesEncoding();
    if (encoding != TextEncoding::Utf8 && !TextCodec::byteTable(encoding))
        return findInDecodedPages(book, text, fromPage + 1);

    // The following pages are searched in their bytes at once; only the page a match lands on
    // is decoded, for the match's place in the view text.
    ByteMatcher matcher(text, encoding);
    const QByteArrayView all = book.bytesFrom(0);
    const char *end = all.data() + all.size();
    const char *p = book.bytesFrom(fromPage + 1).data();
    while (const char *hit = matcher.find(p, end)) {
        const int page = book.pageAt(hit - all.data());
        const int at = findOnPage(book, text, page, 0);
        if (at >= 0)
            return Match {page, at};
        // The match runs past the page's end, cut inside a line: any later one starting on this
        // page would too, so the search goes on with the next page.
        if (page + 1 >= book.pageCount())
            break;
        p = book.bytesFrom(page + 1).data();
    }
    return std::nullopt;
}

} // namespace BookSearch
