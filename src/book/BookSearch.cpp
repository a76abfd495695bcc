#include "book/BookSearch.h"

#include <array>
#include <cstring>

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table {};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = (i >= 'A' && i <= 'Z') ? (unsigned char)(i + 32) : (unsigned char)i;
    return table;
}

const std::array<unsigned char, 256> kFold = makeFoldTable();

// The first place in [begin, end) where needle (already folded) occurs, ASCII letters folded.
// Multi-byte UTF-8 sequences and Windows-1252 high bytes never hold an ASCII byte, so a match
// found here is a match of characters.
const char *findFolded(const char *begin, const char *end, const QByteArray &needle)
{
    const size_t n = size_t(needle.size());
    if (n == 0 || size_t(end - begin) < n)
        return nullptr;
    const unsigned char first = (unsigned char)needle[0];
    const unsigned char upper = (first >= 'a' && first <= 'z') ? first - 32 : first;
    const char *last = end - n;
    const char *p = begin;
    while (p <= last) {
        // Jump to the next byte that can start a match, in either letter case.
        const char *lower = static_cast<const char *>(std::memchr(p, first, size_t(last - p) + 1));
        const char *other = upper == first
            ? nullptr
            : static_cast<const char *>(std::memchr(p, upper, size_t(last - p) + 1));
        const char *candidate = !lower ? other : (!other ? lower : std::min(lower, other));
        if (!candidate)
            return nullptr;
        size_t i = 1;
        while (i < n && kFold[(unsigned char)candidate[i]] == (unsigned char)needle[int(i)])
            ++i;
        if (i == n)
            return candidate;
        p = candidate + 1;
    }
    return nullptr;
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

    const int onFirst =
        int(viewText(book, fromPage).indexOf(text, qMax(0, from), Qt::CaseInsensitive));
    if (onFirst >= 0)
        return Match {fromPage, onFirst};

    if (!isAscii(text)) {
        for (int page = fromPage + 1; page < book.pageCount(); ++page) {
            const int at = int(viewText(book, page).indexOf(text, 0, Qt::CaseInsensitive));
            if (at >= 0)
                return Match {page, at};
        }
        return std::nullopt;
    }

    // An ASCII text is looked up in the bytes of the following pages at once; only the page it
    // lands on is decoded.
    QByteArray needle = text.toLatin1();
    for (char &c : needle)
        c = char(kFold[(unsigned char)c]);
    if (fromPage + 1 >= book.pageCount())
        return std::nullopt;
    const QByteArrayView all = book.bytesFrom(0);
    const QByteArrayView rest = book.bytesFrom(fromPage + 1);
    const char *end = rest.data() + rest.size();
    const char *p = rest.data();
    while (const char *hit = findFolded(p, end, needle)) {
        const int page = book.pageAt(hit - all.data());
        const int at = int(viewText(book, page).indexOf(text, 0, Qt::CaseInsensitive));
        if (at >= 0)
            return Match {page, at};
        p = hit + 1;
    }
    return std::nullopt;
}

} // namespace BookSearch
