#include "book/TextCodec.h"

#include <QList>
#include <QStringDecoder>

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PAGELARK_UTF8_AVX2 1
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

#ifdef PAGELARK_UTF8_AVX2

// UTF-8 validation 32 bytes at a time by table lookups on each byte and the one before it (Keiser
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
    __m256i error;
    __m256i previous;
    __m256i incomplete;
};

#define PAGELARK_AVX2 __attribute__((target("avx2")))

// A 16-entry table in both 128-bit lanes, as the byte shuffle looks up within a lane.
PAGELARK_AVX2 inline __m256i table(char e0, char e1, char e2, char e3, char e4, char e5, char e6,
                                   char e7, char e8, char e9, char e10, char e11, char e12,
                                   char e13, char e14, char e15)
{
    return _mm256_broadcastsi128_si256(
        _mm_setr_epi8(e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15));
}

PAGELARK_AVX2 inline void checkBlock(State &state, __m256i input)
{
    const __m256i byte1HighTable =
        table(TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TwoConts,
              TwoConts, TwoConts, TwoConts, TooShort | Overlong2, TooShort,
              TooShort | Overlong3 | Surrogate, TooShort | TooLarge | TooLarge1000 | Overlong4);
    const __m256i byte1LowTable =
        table(Carry | Overlong3 | Overlong2 | Overlong4, Carry | Overlong2, Carry, Carry,
              Carry | TooLarge, Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
              Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
              Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
              Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
              Carry | TooLarge | TooLarge1000 | Surrogate, Carry | TooLarge | TooLarge1000,
              Carry | TooLarge | TooLarge1000);
    const __m256i byte2HighTable =
        table(TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort,
              TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge1000 | Overlong4,
              TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge,
              TooLong | Overlong2 | TwoConts | Surrogate | TooLarge,
              TooLong | Overlong2 | TwoConts | Surrogate | TooLarge, TooShort, TooShort, TooShort,
              TooShort);
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);

    // The bytes before each byte of the block: the shuffles work within 128-bit lanes, so the
    // upper half of the previous block is put in front of the lower half of this one.
    const __m256i before = _mm256_permute2x128_si256(state.previous, input, 0x21);
    const __m256i prev1 = _mm256_alignr_epi8(input, before, 15);
    const __m256i byte1High = _mm256_shuffle_epi8(
        byte1HighTable, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), lowNibble));
    const __m256i byte1Low = _mm256_shuffle_epi8(byte1LowTable, _mm256_and_si256(prev1, lowNibble));
    const __m256i byte2High = _mm256_shuffle_epi8(
        byte2HighTable, _mm256_and_si256(_mm256_srli_epi16(input, 4), lowNibble));
    const __m256i special = _mm256_and_si256(_mm256_and_si256(byte1High, byte1Low), byte2High);

    // Two continuations in a row are right only as the 2nd and 3rd byte after a 3- or 4-byte lead.
    const __m256i prev2 = _mm256_alignr_epi8(input, before, 14);
    const __m256i prev3 = _mm256_alignr_epi8(input, before, 13);
    const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(char(0xE0 - 0x80)));
    const __m256i fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(char(0xF0 - 0x80)));
    const __m256i mustContinue =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(char(0x80)));
    state.error = _mm256_or_si256(state.error, _mm256_xor_si256(mustContinue, special));

    // A lead byte too close to the end of the block needs the next block to finish it.
    const __m256i lastLeads = _mm256_setr_epi8(
        char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
        char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
        char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
        char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
        char(0xFF), char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    state.incomplete = _mm256_subs_epu8(input, lastLeads);
    state.previous = input;
}

PAGELARK_AVX2 inline __m256i load(const char *at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
}

PAGELARK_AVX2 bool isValid(const char *data, qsizetype size)
{
    State state {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
    qsizetype i = 0;
    // 64 bytes at a time: ASCII runs are skipped whole, and in text with a few non-ASCII
    // characters on every line there is no guessing per block.
    for (; i + 64 <= size; i += 64) {
        const __m256i a = load(data + i);
        const __m256i b = load(data + i + 32);
        if (_mm256_movemask_epi8(_mm256_or_si256(a, b)) == 0) {
            // Fine unless the bytes before broke off inside a sequence.
            state.error = _mm256_or_si256(state.error, state.incomplete);
            state.incomplete = _mm256_setzero_si256();
            state.previous = b;
            continue;
        }
        checkBlock(state, a);
        checkBlock(state, b);
    }
    for (; i + 32 <= size; i += 32)
        checkBlock(state, load(data + i));
    if (i < size) {
        // Zero padding is ASCII: a sequence cut off by the end of the text shows as too short.
        alignas(32) char tail[32] = {};
        std::memcpy(tail, data + i, size_t(size - i));
        checkBlock(state, _mm256_load_si256(reinterpret_cast<const __m256i *>(tail)));
    }
    const __m256i error = _mm256_or_si256(state.error, state.incomplete);
    return _mm256_testz_si256(error, error);
}

#undef PAGELARK_AVX2

} // namespace Utf8Lookup

#endif

bool isValidUtf8(QByteArrayView bytes)
{
#ifdef PAGELARK_UTF8_AVX2
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2)
        return Utf8Lookup::isValid(bytes.data(), bytes.size());
#endif
    return bytes.isValidUtf8();
}

} // namespace

namespace TextCodec {

TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength)
{
    const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QByteArrayView body = bytes.sliced(bom);
    const bool utf8 = (bom != 0 || !body.isEmpty()) && isValidUtf8(body);
    // The mark is dropped only from UTF-8: in a Windows-1252 text its bytes are three characters
    // of the text like any others.
    if (bomLength)
        *bomLength = utf8 ? bom : 0;
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
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
