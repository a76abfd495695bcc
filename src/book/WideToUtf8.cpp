#include "book/WideToUtf8.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PAGELARK_WIDE_SSSE3 1
#endif

namespace {

constexpr char32_t kReplacement = 0xFFFD;

template<bool BigEndian> char32_t unit16(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return BigEndian ? char32_t(b[0]) << 8 | b[1] : char32_t(b[1]) << 8 | b[0];
}

template<bool BigEndian> char32_t unit32(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return BigEndian ? char32_t(b[0]) << 24 | char32_t(b[1]) << 16 | char32_t(b[2]) << 8 | b[3]
                     : char32_t(b[3]) << 24 | char32_t(b[2]) << 16 | char32_t(b[1]) << 8 | b[0];
}

char *putUtf8(char32_t c, char *out)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | c >> 18);
        *out++ = char(0x80 | (c >> 12 & 0x3F));
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

// One character of UTF-16 at p, before end: a unit or a surrogate pair. Returns what follows.
template<bool BigEndian> const char *utf16Character(const char *p, const char *end, char *&out)
{
    const char32_t unit = unit16<BigEndian>(p);
    p += 2;
    if (isHighSurrogate(unit) && end - p >= 2 && isLowSurrogate(unit16<BigEndian>(p))) {
        out = putUtf8(0x10000 + ((unit - 0xD800) << 10) + (unit16<BigEndian>(p) - 0xDC00), out);
        return p + 2;
    }
    out = putUtf8(isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit, out);
    return p;
}

// [p, end) holds whole units.
template<bool BigEndian> char *utf16Plain(const char *p, const char *end, char *out)
{
    while (p != end)
        p = utf16Character<BigEndian>(p, end, out);
    return out;
}

template<bool BigEndian> char *utf32Plain(const char *p, const char *end, char *out)
{
    for (; p != end; p += 4) {
        const char32_t c = unit32<BigEndian>(p);
        out = putUtf8(c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c, out);
    }
    return out;
}

#ifdef PAGELARK_WIDE_SSSE3

// For each set of ASCII units among eight (bit i for unit i): the bytes of the eight units'
// two-byte forms to keep, in order, and how many. An ASCII unit keeps its low byte only.
struct Compaction
{
    alignas(16) std::array<std::array<char, 16>, 256> shuffles;
    std::array<unsigned char, 256> lengths;
};

const Compaction &compaction()
{
    static const Compaction table = [] {
        Compaction c {};
        for (int ascii = 0; ascii < 256; ++ascii) {
            int n = 0;
            for (int i = 0; i < 8; ++i) {
                c.shuffles[size_t(ascii)][size_t(n++)] = char(2 * i);
                if (!(ascii >> i & 1))
                    c.shuffles[size_t(ascii)][size_t(n++)] = char(2 * i + 1);
            }
            c.lengths[size_t(ascii)] = static_cast<unsigned char>(n);
            for (; n < 16; ++n)
                c.shuffles[size_t(ascii)][size_t(n)] = char(0x80);
        }
        return c;
    }();
    return table;
}

template<bool BigEndian>
__attribute__((target("ssse3"))) char *utf16Ssse3(const char *p, const char *end, char *out)
{
    const Compaction &table = compaction();
    const __m128i swap = _mm_setr_epi8(1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14);
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (BigEndian)
            units = _mm_shuffle_epi8(units, swap);
        // Three-byte characters and surrogates go one at a time.
        const __m128i high = _mm_and_si128(units, _mm_set1_epi16(short(0xF800)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, zero)) != 0xFFFF) {
            const char *block = p + 16;
            while (p < block)
                p = utf16Character<BigEndian>(p, end, out);
            continue;
        }
        const __m128i asciiUnits = _mm_cmplt_epi16(units, _mm_set1_epi16(0x80));
        const int ascii = _mm_movemask_epi8(_mm_packs_epi16(asciiUnits, zero));
        p += 16;
        if (ascii == 0xFF) {
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(units, zero));
            out += 8;
            continue;
        }
        // 110xxxxx 10xxxxxx, the lead byte first; an ASCII unit stays itself.
        const __m128i lead = _mm_or_si128(_mm_srli_epi16(units, 6), _mm_set1_epi16(0xC0));
        const __m128i trail =
            _mm_or_si128(_mm_and_si128(units, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80));
        const __m128i pairs = _mm_or_si128(lead, _mm_slli_epi16(trail, 8));
        const __m128i forms =
            _mm_or_si128(_mm_and_si128(asciiUnits, units), _mm_andnot_si128(asciiUnits, pairs));
        const __m128i shuffle =
            _mm_load_si128(reinterpret_cast<const __m128i *>(table.shuffles[size_t(ascii)].data()));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_shuffle_epi8(forms, shuffle));
        out += table.lengths[size_t(ascii)];
    }
    return utf16Plain<BigEndian>(p, end, out);
}

#endif

char *utf16ToUtf8(const char *p, const char *end, bool bigEndian, char *out)
{
#ifdef PAGELARK_WIDE_SSSE3
    static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
    if (hasSsse3)
        return bigEndian ? utf16Ssse3<true>(p, end, out) : utf16Ssse3<false>(p, end, out);
#endif
    return bigEndian ? utf16Plain<true>(p, end, out) : utf16Plain<false>(p, end, out);
}

} // namespace

WideToUtf8::WideToUtf8(TextEncoding from)
    : m_unitSize(from == TextEncoding::Utf32LE || from == TextEncoding::Utf32BE ? 4 : 2),
      m_bigEndian(from == TextEncoding::Utf16BE || from == TextEncoding::Utf32BE)
{ }

qsizetype WideToUtf8::append(QByteArrayView bytes, QByteArray &out, bool last)
{
    qsizetype whole = bytes.size() - bytes.size() % m_unitSize;
    if (!last && m_unitSize == 2 && whole >= 2) {
        const char *unit = bytes.data() + whole - 2;
        if (isHighSurrogate(m_bigEndian ? unit16<true>(unit) : unit16<false>(unit)))
            whole -= 2;
    }
    const qsizetype take = last ? bytes.size() : whole;

    const qsizetype at = out.size();
    const qsizetype room = maxUtf8Size(take);
    if (out.capacity() < at + room)
        out.reserve(qMax(at + room, 2 * out.capacity()));
    out.resize(at + room);
    const char *begin = bytes.data();
    char *written = out.data() + at;
    if (m_unitSize == 2)
        written = utf16ToUtf8(begin, begin + whole, m_bigEndian, written);
    else
        written = m_bigEndian ? utf32Plain<true>(begin, begin + whole, written)
                              : utf32Plain<false>(begin, begin + whole, written);
    // Part of a unit at the very end is a broken character.
    if (take > whole)
        written = putUtf8(kReplacement, written);
    out.truncate(written - out.constData());
    return take;
}
