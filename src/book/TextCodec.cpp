#include "book/TextCodec.h"

#include <QList>
#include <QStringDecoder>

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PAGELARK_UTF8_SSSE3 1
#endif

namespace {

// Windows-1252 0x80..0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

// The byte for ch in Windows-1252, or -1 when it has none.
int unicodeToCp1252(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

#ifdef PAGELARK_UTF8_SSSE3

// UTF-8 validation 16 bytes at a time by table lookups on each byte and the one before it (Keiser
// and Lemire, "Validating UTF-8 in less than one instruction per byte"). It accepts exactly what
// Qt's validator accepts, shortest forms up to U+10FFFF without surrogates, at several times its
// speed; opening a book is mostly this check.
namespace Utf8Lookup {

constexpr char TooShort = 1 << 0; // a lead byte not followed by a continuation
constexpr char TooLong = 1 << 1; // a continuation after an ASCII byte
constexpr char Overlong3 = 1 << 2; // E0 80..9F
constexpr char TooLarge = 1 << 3; // F4 90..BF, F5..FF
constexpr char Surrogate = 1 << 4; // ED A0..BF
constexpr char Overlong2 = 1 << 5; // C0, C1
constexpr char TooLarge1000 = 1 << 6; // F5..FF 80..8F
constexpr char Overlong4 = 1 << 6; // F0 80..8F
constexpr char TwoConts = char(1 << 7); // a continuation after a continuation: fine only inside
constexpr char Carry = TooShort | TooLong | TwoConts;

struct State
{
    __m128i error;
    __m128i previous;
    __m128i incomplete;
};

__attribute__((target("ssse3"))) inline void checkBlock(State &state, __m128i input)
{
    const __m128i byte1HighTable = _mm_setr_epi8(
        TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TwoConts, TwoConts,
        TwoConts, TwoConts, TooShort | Overlong2, TooShort, TooShort | Overlong3 | Surrogate,
        TooShort | TooLarge | TooLarge1000 | Overlong4);
    const __m128i byte1LowTable =
        _mm_setr_epi8(Carry | Overlong3 | Overlong2 | Overlong4, Carry | Overlong2, Carry, Carry,
                      Carry | TooLarge, Carry | TooLarge | TooLarge1000,
                      Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                      Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                      Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                      Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000 | Surrogate,
                      Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000);
    const __m128i byte2HighTable = _mm_setr_epi8(
        TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort,
        TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge1000 | Overlong4,
        TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge,
        TooLong | Overlong2 | TwoConts | Surrogate | TooLarge,
        TooLong | Overlong2 | TwoConts | Surrogate | TooLarge, TooShort, TooShort, TooShort,
        TooShort);
    const __m128i lowNibble = _mm_set1_epi8(0x0F);

    const __m128i prev1 = _mm_alignr_epi8(input, state.previous, 15);
    const __m128i byte1High =
        _mm_shuffle_epi8(byte1HighTable, _mm_and_si128(_mm_srli_epi16(prev1, 4), lowNibble));
    const __m128i byte1Low = _mm_shuffle_epi8(byte1LowTable, _mm_and_si128(prev1, lowNibble));
    const __m128i byte2High =
        _mm_shuffle_epi8(byte2HighTable, _mm_and_si128(_mm_srli_epi16(input, 4), lowNibble));
    const __m128i special = _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);

    // Two continuations in a row are right only as the 2nd and 3rd byte after a 3- or 4-byte lead.
    const __m128i prev2 = _mm_alignr_epi8(input, state.previous, 14);
    const __m128i prev3 = _mm_alignr_epi8(input, state.previous, 13);
    const __m128i third = _mm_subs_epu8(prev2, _mm_set1_epi8(char(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(prev3, _mm_set1_epi8(char(0xF0 - 0x80)));
    const __m128i mustContinue =
        _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(char(0x80)));
    state.error = _mm_or_si128(state.error, _mm_xor_si128(mustContinue, special));

    // A lead byte too close to the end of the block needs the next block to finish it.
    const __m128i lastLeads =
        _mm_setr_epi8(char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
                      char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
                      char(0xFF), char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    state.incomplete = _mm_subs_epu8(input, lastLeads);
    state.previous = input;
}

__attribute__((target("ssse3"))) inline __m128i load(const char *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

__attribute__((target("ssse3"))) bool isValid(const char *data, qsizetype size)
{
    State state {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
    qsizetype i = 0;
    // 64 bytes at a time: ASCII runs are skipped whole, and in text with a few non-ASCII
    // characters on every line there is no guessing per block.
    for (; i + 64 <= size; i += 64) {
        const __m128i a = load(data + i);
        const __m128i b = load(data + i + 16);
        const __m128i c = load(data + i + 32);
        const __m128i d = load(data + i + 48);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) == 0) {
            // Fine unless the bytes before broke off inside a sequence.
            state.error = _mm_or_si128(state.error, state.incomplete);
            state.incomplete = _mm_setzero_si128();
            state.previous = d;
            continue;
        }
        checkBlock(state, a);
        checkBlock(state, b);
        checkBlock(state, c);
        checkBlock(state, d);
    }
    for (; i + 16 <= size; i += 16)
        checkBlock(state, load(data + i));
    if (i < size) {
        // Zero padding is ASCII: a sequence cut off by the end of the text shows as too short.
        alignas(16) char tail[16] = {};
        std::memcpy(tail, data + i, size_t(size - i));
        checkBlock(state, _mm_load_si128(reinterpret_cast<const __m128i *>(tail)));
    }
    const __m128i error = _mm_or_si128(state.error, state.incomplete);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF;
}

} // namespace Utf8Lookup

#endif

bool isValidUtf8(QByteArrayView bytes)
{
#ifdef PAGELARK_UTF8_SSSE3
    static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
    if (hasSsse3)
        return Utf8Lookup::isValid(bytes.data(), bytes.size());
#endif
    return bytes.isValidUtf8();
}

} // namespace

namespace TextCodec {

TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength)
{
    qsizetype bom = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bom = 3;
    if (bomLength)
        *bomLength = bom;
    const QByteArrayView body = bytes.sliced(bom);
    if (bom == 0 && body.isEmpty())
        return TextEncoding::Windows1252;
    return isValidUtf8(body) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

QString decode(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) {
        // A byte-order mark is dropped by the caller where it starts a file; anywhere else, as
        // at the start of a page, it is a character of the text.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes)
        *out++ = cp1252ToUnicode(static_cast<unsigned char>(c));
    return text;
}

bool canEncode(char32_t ch, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || unicodeToCp1252(ch) >= 0;
}

QByteArray encode(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const uint ch : text.toUcs4()) {
        const int byte = unicodeToCp1252(ch);
        bytes.append(byte >= 0 ? char(byte) : '?');
    }
    return bytes;
}

QString charsetName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QStringLiteral("utf-8")
                                          : QStringLiteral("windows-1252");
}

} // namespace TextCodec
