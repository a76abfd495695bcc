#include "book/CharacterReader.h"

#include <limits>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// No byte below this is ever the second or a later byte of a character in the code pages of
// longer characters (those start at 0x40, but for GB18030's digits 0x30..0x39), so a character
// starts just after one: the walks to where characters start begin there.
bool standsAlone(char byte)
{
    return static_cast<unsigned char>(byte) < 0x30;
}

bool isContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

CharacterReader::CharacterReader(TextEncoding held) : m_held(held)
{
    if (held == TextEncoding::Utf8)
        return;
    m_bytes = TextCodec::byteTable(held);
    if (!m_bytes) {
        m_length = TextCodec::characterLength(held);
        m_pairs = TextCodec::pairTable(held);
    }
}

CharacterReader::~CharacterReader() = default;

bool CharacterReader::reads(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || TextCodec::byteTable(encoding)
        || (TextCodec::characterLength(encoding) && TextCodec::pairTable(encoding));
}

char32_t CharacterReader::readUtf8(const char *p, const char *end, int *length) const
{
    const auto lead = static_cast<unsigned char>(*p);
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
        return kReplacement;
    }
    if (end - p < n)
        return kReplacement;
    for (int i = 1; i < n; ++i) {
        if (!isContinuation(p[i]))
            return kReplacement;
        c = (c << 6) | (static_cast<unsigned char>(p[i]) & 0x3F);
    }
    static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    *length = n;
    return c;
}

char32_t CharacterReader::readPair(const char *p, const char *end, int *length)
{
    const auto lead = static_cast<unsigned char>(*p);
    // The length function may look at the byte after the lead.
    const int size = end - p > 1 ? m_length(p) : 1;
    if (size == 2) {
        if (const char16_t pair = (*m_pairs)[lead * 256 + static_cast<unsigned char>(p[1])]) {
            *length = 2;
            return pair;
        }
    } else if (size > 2) {
        return readLong(p, int(qMin<qsizetype>(size, end - p)), length);
    }
    return (*m_pairs)[lead];
}

// Characters of three and four bytes are rare (GB18030's letters outside the Chinese sets,
// EUC-JP's supplementary ideographs): the converter reads each, and tells how many bytes it takes
// where they make none.
char32_t CharacterReader::readLong(const char *p, int size, int *length)
{
    if (!m_decoder)
        m_decoder = std::make_unique<TextDecoder>(m_held);
    return m_decoder->decodeFirst(QByteArrayView(p, size), length);
}

const char *CharacterReader::utf8Start(const char *from, const char *p, const char *end)
{
    const char *lead = p;
    while (lead > from && p - lead < 3 && isContinuation(*lead))
        --lead;
    int length = 1;
    if (lead < p)
        read(lead, end, &length);
    return lead + length > p ? lead : p;
}

CharacterReader::Starts CharacterReader::startsAround(const char *from, const char *p,
                                                      const char *end)
{
    if (m_bytes)
        return {p, p > from ? p - 1 : nullptr};
    if (!m_pairs) {
        const char *start = utf8Start(from, p, end);
        return {start, start > from ? utf8Start(from, start - 1, end) : nullptr};
    }
    const char *at = p;
    while (at > from && !standsAlone(at[-1]))
        --at;
    const char *previous = at > from ? at - 1 : nullptr;
    for (;;) {
        int length = 1;
        read(at, end, &length);
        if (at + length > p)
            return {at, previous};
        previous = at;
        at += length;
    }
}

const char *CharacterReader::walk(const char *begin, const char *stop, const char *end,
                                  qsizetype units, qsizetype *went)
{
    const char *p = begin;
    qsizetype counted = 0;
    while (counted < units && p < stop) {
        int length = 1;
        if (*p == '\r' && end - p > 1 && p[1] == '\n')
            length = 2;
        else if (read(p, end, &length) >= 0x10000)
            ++counted; // two units
        ++counted;
        p += length;
    }
    *went = counted;
    return p;
}

qsizetype CharacterReader::viewLength(const char *begin, const char *stop, const char *end)
{
    qsizetype units = 0;
    walk(begin, stop, end, std::numeric_limits<qsizetype>::max(), &units);
    return units;
}
