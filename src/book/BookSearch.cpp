#include "book/BookSearch.h"

#include "book/BytePlaces.h"
#include "book/CharacterReader.h"
#include "book/LineEnds.h"

#include <QChar>

#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using BookSearch::Options;

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

// Whether a character at the edge of a match and the one beyond it make one word.
bool joined(char32_t inside, char32_t outside)
{
    return QChar::isLetterOrNumber(inside) && QChar::isLetterOrNumber(outside);
}

char32_t codePointAt(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

char32_t codePointBefore(QStringView text, qsizetype i)
{
    if (text[i - 1].isLowSurrogate() && i > 1 && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], text[i - 1]);
    return text[i - 1].unicode();
}

// Finds the needle in the bytes of a page with the view's matching rule, so that only the page a
// match lies on needs decoding. A line ends the same in the bytes and in the view, and the needle
// holds none, so a match found here is one the view's find finds, and the other way round; a page
// cut inside a long line ends where its bytes end, with a line end the bytes lack, and the scan
// of a page stops there too. In a code page of longer characters the bytes of one character can
// look like those of another, or straddle two: a match counts only where a character starts.
class ByteMatcher
{
public:
    ByteMatcher(const QString &text, const Options &options, TextEncoding encoding)
        : m_reader(encoding),
          m_fold(options.matchCase ? nullptr : &foldTable()),
          m_wholeWords(options.wholeWords),
          m_needle(keys(text)),
          m_firstBytes(firstBytes(encoding))
    { }

    // Calls found(p) for each match that starts at p in the page [begin, end), in order, until
    // it returns false; false then.
    template<typename Found> bool scan(const char *begin, const char *end, Found &&found)
    {
        const char *known = begin; // where a character starts
        BytePlaces places(m_firstBytes, begin, end);
        while (const char *p = places.next()) {
            const char *last = nullptr;
            const char *after = matchAt(p, end, &last);
            if (!after)
                continue;
            const CharacterReader::Starts starts = m_reader.startsAround(known, p, end);
            known = starts.start;
            if (starts.start != p
                || (m_wholeWords && !isWhole(starts.previous, p, last, after, end)))
                continue;
            if (!found(p))
                return false;
        }
        return true;
    }

private:
    // What a character is compared by: its folding, or itself where case is to match. One beyond
    // the plane is two units in the view, and no unit of a needle (which holds no surrogate)
    // compares as either.
    char16_t key(char32_t c) const
    {
        if (c >= 0x10000)
            return u'\xD800';
        return m_fold ? (*m_fold)[c] : char16_t(c);
    }

    std::vector<char16_t> keys(const QString &text) const
    {
        std::vector<char16_t> units;
        for (const QChar c : text)
            units.push_back(key(c.unicode()));
        return units;
    }

    // The bytes a match can begin with: the first byte of any character that compares as the
    // needle's first one, and the byte after it, the second of that character or the first of
    // the next.
    FirstBytes firstBytes(TextEncoding encoding) const
    {
        std::array<bool, 256> first {};
        std::array<bool, 256> second {};
        std::array<bool, 256> afterFirst {}; // first bytes of characters like the needle's second
        if (m_needle.size() > 1) {
            for (const QByteArray &bytes : spellings(m_needle[1], encoding))
                afterFirst[static_cast<unsigned char>(bytes.at(0))] = true;
        }
        bool anySecond = false;
        for (const QByteArray &bytes : spellings(m_needle.front(), encoding)) {
            first[static_cast<unsigned char>(bytes.at(0))] = true;
            if (bytes.size() > 1)
                second[static_cast<unsigned char>(bytes.at(1))] = true;
            else if (m_needle.size() > 1)
                std::transform(second.begin(), second.end(), afterFirst.begin(), second.begin(),
                               std::logical_or<>());
            else
                anySecond = true;
        }
        return FirstBytes(first, anySecond ? std::array<bool, 256> {} : second);
    }

    // The bytes of each character that compares as `unit`, as the encoding writes it; in a code
    // page of longer characters also the bytes that read as one without being how it is written.
    std::vector<QByteArray> spellings(char16_t unit, TextEncoding encoding) const
    {
        std::vector<QByteArray> found;
        if (const std::array<char16_t, 256> *bytes = TextCodec::byteTable(encoding)) {
            for (int b = 0; b < 256; ++b) {
                if (key((*bytes)[size_t(b)]) == unit)
                    found.push_back(QByteArray(1, char(b)));
            }
            return found;
        }
        const std::vector<char16_t> *pairs = TextCodec::pairTable(encoding);
        if (pairs) {
            for (size_t i = 0; i < pairs->size(); ++i) {
                const char bytes[2] = {char(i >> 8), char(i)};
                if ((*pairs)[i] && key((*pairs)[i]) == unit)
                    found.push_back(i < 256 ? QByteArray(1, char(i)) : QByteArray(bytes, 2));
            }
        }
        for (char32_t c = 0; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || key(c) != unit)
                continue;
            const QString character = QString::fromUcs4(&c, 1);
            if (!pairs)
                found.push_back(character.toUtf8());
            else if (const QByteArray bytes = TextCodec::encode(character, encoding);
                     bytes.size() > 2)
                found.push_back(bytes);
        }
        return found;
    }

    // Where the match that starts at p ends, *last at the start of its last character; nullptr
    // for none.
    const char *matchAt(const char *p, const char *end, const char **last)
    {
        for (const char16_t wanted : m_needle) {
            if (p == end)
                return nullptr;
            int length = 1;
            if (key(m_reader.read(p, end, &length)) != wanted)
                return nullptr;
            *last = p;
            p += length;
        }
        return p;
    }

    bool isWhole(const char *previous, const char *first, const char *last, const char *after,
                 const char *end)
    {
        int length = 1;
        if (previous
            && joined(m_reader.read(first, end, &length), m_reader.read(previous, end, &length)))
            return false;
        return after == end
            || !joined(m_reader.read(last, end, &length), m_reader.read(after, end, &length));
    }

    CharacterReader m_reader;
    const std::vector<char16_t> *m_fold; // none where case is to match
    bool m_wholeWords;
    std::vector<char16_t> m_needle; // as key() gives it
    FirstBytes m_firstBytes;
};

// Calls found(page, offset, position) for each occurrence on pages first to last - 1, in order,
// until it returns false: its offset into the held text (-1 for one that starts inside a
// character, at the second half of one beyond the plane), and its position in the page's view
// text where that was worked out on the way (else -1).
template<typename Found>
void forEachOccurrence(const Book &book, const QString &text, const Options &options, int first,
                       int last, Found &&found)
{
    if (text.isEmpty() || first >= last)
        return;
    const char *base = book.bytesFrom(0).data();
    const TextEncoding encoding = book.bytesEncoding();
    if (searchableInBytes(text) && CharacterReader::reads(encoding)) {
        ByteMatcher matcher(text, options, encoding);
        for (int page = first; page < last; ++page) {
            const QByteArrayView bytes = book.pageBytes(page);
            if (!matcher.scan(bytes.data(), bytes.data() + bytes.size(),
                              [&](const char *p) { return found(page, p - base, -1); }))
                return;
        }
        return;
    }
    // Any other needle is looked for in each page's view text, and its places taken back to the
    // bytes. One that starts at the line end the view gives a page cut inside a line has none.
    CharacterReader reader(encoding);
    for (int page = first; page < last; ++page) {
        const QString view = BookSearch::viewText(book, page);
        const QByteArrayView bytes = book.pageBytes(page);
        const char *end = bytes.data() + bytes.size();
        const char *at = bytes.data();
        qsizetype position = 0;
        for (int next = nextInView(view, text, options, 0); next >= 0;
             next = nextInView(view, text, options, next + 1)) {
            qsizetype went = 0;
            at = reader.advance(at, end, next - position, &went);
            position += went;
            if (at < end && !found(page, position == next ? at - base : -1, next))
                return;
        }
    }
}

int positionOf(const Book &book, int page, qsizetype offset, int position)
{
    if (position >= 0)
        return position;
    CharacterReader reader(book.bytesEncoding());
    const QByteArrayView bytes = book.pageBytes(page);
    return int(reader.viewLength(bytes.data(), book.bytesFrom(0).data() + offset,
                                 bytes.data() + bytes.size()));
}

} // namespace

namespace BookSearch {

int nextInView(QStringView view, const QString &text, const Options &options, qsizetype from)
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = from; (at = view.indexOf(text, at, cs)) >= 0; ++at) {
        const qsizetype end = at + text.size();
        if (!options.wholeWords
            || !((at > 0 && joined(codePointAt(view, at), codePointBefore(view, at)))
                 || (end < view.size()
                     && joined(codePointBefore(view, end), codePointAt(view, end)))))
            return int(at);
    }
    return -1;
}

QString viewText(const Book &book, int page)
{
    QString text = book.pageText(page);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::optional<Match> find(const Book &book, const QString &text, int fromPage, int from,
                          const Options &options)
{
    if (text.isEmpty() || fromPage < 0 || fromPage >= book.pageCount())
        return std::nullopt;
    const int onFirst = nextInView(viewText(book, fromPage), text, options, qMax(0, from));
    if (onFirst >= 0)
        return Match {fromPage, onFirst};
    std::optional<Match> found;
    forEachOccurrence(book, text, options, fromPage + 1, book.pageCount(),
                      [&](int page, qsizetype offset, int position) {
                          found = Match {page, positionOf(book, page, offset, position)};
                          return false;
                      });
    return found;
}

std::optional<Match> findBefore(const Book &book, const QString &text, int page, int before,
                                const Options &options)
{
    if (text.isEmpty() || page < 0 || page >= book.pageCount())
        return std::nullopt;
    const QString view = viewText(book, page);
    int last = -1;
    for (int at = nextInView(view, text, options, 0); at >= 0 && (before < 0 || at < before);
         at = nextInView(view, text, options, at + 1))
        last = at;
    if (last >= 0)
        return Match {page, last};
    // The pages before are searched forwards in runs that double going back, so that a match
    // near costs little and none costs about one scan of them.
    int runEnd = page;
    for (int run = 16; runEnd > 0; run *= 2) {
        const int runStart = qMax(0, runEnd - run);
        std::optional<Match> lastFound;
        qsizetype lastOffset = 0;
        forEachOccurrence(book, text, options, runStart, runEnd,
                          [&](int at, qsizetype offset, int position) {
                              lastFound = Match {at, position};
                              lastOffset = offset;
                              return true;
                          });
        if (lastFound)
            return Match {lastFound->page,
                          positionOf(book, lastFound->page, lastOffset, lastFound->position)};
        runEnd = runStart;
    }
    return std::nullopt;
}

std::vector<qsizetype> findAll(const Book &book, const QString &text, const Options &options,
                               qsizetype limit, qsizetype *total)
{
    std::vector<qsizetype> offsets;
    qsizetype count = 0;
    if (limit > 0 || total) {
        forEachOccurrence(book, text, options, 0, book.pageCount(),
                          [&](int, qsizetype offset, int) {
                              if (offset < 0) // no place in the bytes to give
                                  return true;
                              if (qsizetype(offsets.size()) < limit)
                                  offsets.push_back(offset);
                              ++count;
                              return total || qsizetype(offsets.size()) < limit;
                          });
    }
    if (total)
        *total = count;
    return offsets;
}

Place placeOf(const Book &book, qsizetype offset, const QString &text)
{
    const QByteArrayView all = book.bytesFrom(0);
    if (offset < 0 || offset >= all.size())
        return {};
    Place place;
    place.page = book.pageAt(offset);
    place.length = int(text.size());
    const QByteArrayView bytes = book.pageBytes(place.page);
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    const char *at = all.data() + offset;
    CharacterReader reader(book.bytesEncoding());
    place.position = int(reader.viewLength(begin, at, end));

    // The line, as far as LineContext bytes either side, cut where a character starts.
    const char *lineBegin = at;
    const char *reach = at - qMin(at - begin, LineContext);
    while (lineBegin > reach && lineBegin[-1] != '\n' && lineBegin[-1] != '\r')
        --lineBegin;
    if (lineBegin > begin && lineBegin[-1] != '\n' && lineBegin[-1] != '\r') {
        const char *start = reader.startsAround(begin, lineBegin, end).start;
        int length = 0;
        reader.read(start, end, &length);
        lineBegin = start == lineBegin ? lineBegin : start + length;
    }
    qsizetype went = 0;
    const char *after = reader.advance(at, end, text.size(), &went);
    const char *lineEnd = LineEnds::nextLineEnd(after, after + qMin(end - after, LineContext));
    if (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
        lineEnd = reader.startsAround(after, lineEnd, end).start;
    place.line =
        TextCodec::decode(QByteArrayView(lineBegin, lineEnd - lineBegin), book.bytesEncoding());
    place.lineStart = int(reader.viewLength(lineBegin, at, end));
    return place;
}

} // namespace BookSearch
