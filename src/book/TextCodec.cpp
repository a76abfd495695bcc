#include "book/TextCodec.h"

#include "book/EncodingGuess.h"
#include "book/IcuCodec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstring>
#include <mutex>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PAGELARK_UTF8_AVX2 1
#endif

namespace {

using ByteTable = std::array<char16_t, 256>;

struct Entry
{
    TextEncoding encoding;
    const char *name; // as users know it
    const char *script;
    const char *charset; // as files declare it
    const char *icu; // ICU's converter; none for our own codec and Qt's
};

// In the order a menu offers them.
constexpr Entry kEntries[] = {
    {TextEncoding::Utf8, "UTF-8", "Unicode", "utf-8", nullptr},
    {TextEncoding::Utf16LE, "UTF-16 LE", "Unicode", "UTF-16LE", nullptr},
    {TextEncoding::Utf16BE, "UTF-16 BE", "Unicode", "UTF-16BE", nullptr},
    {TextEncoding::Utf32LE, "UTF-32 LE", "Unicode", "UTF-32LE", nullptr},
    {TextEncoding::Utf32BE, "UTF-32 BE", "Unicode", "UTF-32BE", nullptr},
    {TextEncoding::Windows1252, "Windows-1252", "Western", "windows-1252", nullptr},
    {TextEncoding::Iso8859_15, "ISO-8859-15", "Western", "ISO-8859-15", "ISO-8859-15"},
    {TextEncoding::Iso8859_3, "ISO-8859-3", "South European", "ISO-8859-3", "ISO-8859-3"},
    {TextEncoding::Iso8859_10, "ISO-8859-10", "Nordic", "ISO-8859-10", "ISO-8859-10"},
    {TextEncoding::Windows1250, "Windows-1250", "Central European", "windows-1250", "windows-1250"},
    {TextEncoding::Iso8859_2, "ISO-8859-2", "Central European", "ISO-8859-2", "ISO-8859-2"},
    {TextEncoding::Windows1257, "Windows-1257", "Baltic", "windows-1257", "windows-1257"},
    {TextEncoding::Iso8859_13, "ISO-8859-13", "Baltic", "ISO-8859-13", "ISO-8859-13"},
    {TextEncoding::Iso8859_4, "ISO-8859-4", "Baltic", "ISO-8859-4", "ISO-8859-4"},
    {TextEncoding::Windows1251, "Windows-1251", "Cyrillic", "windows-1251", "windows-1251"},
    {TextEncoding::Koi8R, "KOI8-R", "Cyrillic", "KOI8-R", "KOI8-R"},
    {TextEncoding::Koi8U, "KOI8-U", "Cyrillic", "KOI8-U", "KOI8-U"},
    {TextEncoding::Iso8859_5, "ISO-8859-5", "Cyrillic", "ISO-8859-5", "ISO-8859-5"},
    {TextEncoding::Ibm866, "IBM866", "Cyrillic", "IBM866", "IBM866"},
    {TextEncoding::Windows1253, "Windows-1253", "Greek", "windows-1253", "windows-1253"},
    {TextEncoding::Iso8859_7, "ISO-8859-7", "Greek", "ISO-8859-7", "ISO-8859-7"},
    {TextEncoding::Windows1254, "Windows-1254", "Turkish", "windows-1254", "windows-1254"},
    {TextEncoding::Windows1255, "Windows-1255", "Hebrew", "windows-1255", "windows-1255"},
    {TextEncoding::Iso8859_8, "ISO-8859-8", "Hebrew", "ISO-8859-8", "ISO-8859-8"},
    {TextEncoding::Windows1256, "Windows-1256", "Arabic", "windows-1256", "windows-1256"},
    {TextEncoding::Iso8859_6, "ISO-8859-6", "Arabic", "ISO-8859-6", "ISO-8859-6"},
    {TextEncoding::Windows874, "Windows-874", "Thai", "windows-874", "windows-874"},
    {TextEncoding::Windows1258, "Windows-1258", "Vietnamese", "windows-1258", "windows-1258"},
    {TextEncoding::Gb18030, "GB18030", "Chinese Simplified", "GB18030", "GB18030"},
    {TextEncoding::Big5, "Big5", "Chinese Traditional", "Big5", "Big5"},
    {TextEncoding::ShiftJis, "Shift_JIS", "Japanese", "Shift_JIS", "Shift_JIS"},
    {TextEncoding::EucJp, "EUC-JP", "Japanese", "EUC-JP", "EUC-JP"},
    // Windows-949 holds all of EUC-KR and the syllables Windows added to it.
    {TextEncoding::EucKr, "EUC-KR", "Korean", "EUC-KR", "windows-949"},
};
constexpr int kEncodingCount = int(std::size(kEntries));

// Other names of the encodings, as other programs and the detector give them. The subsets read
// as their supersets, as web browsers read them: a text declared ISO-8859-1 is Windows-1252 with
// its printable characters where ISO-8859-1 has controls.
constexpr std::pair<const char *, TextEncoding> kAliases[] = {
    {"ascii", TextEncoding::Windows1252},    {"usascii", TextEncoding::Windows1252},
    {"iso88591", TextEncoding::Windows1252}, {"latin1", TextEncoding::Windows1252},
    {"iso88599", TextEncoding::Windows1254}, {"uhc", TextEncoding::EucKr},
    {"cp949", TextEncoding::EucKr},          {"windows949", TextEncoding::EucKr},
    {"tis620", TextEncoding::Windows874},    {"iso885911", TextEncoding::Windows874},
    {"cp874", TextEncoding::Windows874},     {"gbk", TextEncoding::Gb18030},
    {"gb2312", TextEncoding::Gb18030},       {"euccn", TextEncoding::Gb18030},
    {"cp936", TextEncoding::Gb18030},        {"cp950", TextEncoding::Big5},
    {"sjis", TextEncoding::ShiftJis},        {"windows31j", TextEncoding::ShiftJis},
    {"cp932", TextEncoding::ShiftJis},       {"cp866", TextEncoding::Ibm866},
    {"utf16", TextEncoding::Utf16LE},        {"utf32", TextEncoding::Utf32LE},
};

const Entry &entryOf(TextEncoding encoding)
{
    for (const Entry &entry : kEntries) {
        if (entry.encoding == encoding)
            return entry;
    }
    return kEntries[0];
}

int indexOf(TextEncoding encoding)
{
    return int(&entryOf(encoding) - kEntries);
}

// Letters and digits only, in lower case: "UTF-16 LE", "utf-16le" and "UTF16LE" are one name.
QString normalized(QStringView name)
{
    QString key;
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    if (key.startsWith(u"cp125"))
        key.replace(0, 2, QStringLiteral("windows"));
    return key;
}

QStringConverter::Encoding qtEncoding(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case TextEncoding::Utf16BE:
        return QStringConverter::Utf16BE;
    case TextEncoding::Utf32LE:
        return QStringConverter::Utf32LE;
    case TextEncoding::Utf32BE:
        return QStringConverter::Utf32BE;
    default:
        return QStringConverter::Utf8;
    }
}

constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

bool hasNul(QByteArrayView bytes)
{
    return !bytes.isEmpty() && std::memchr(bytes.data(), 0, size_t(bytes.size()));
}

// Windows-1252 0x80..0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const ByteTable &cp1252Table()
{
    static const ByteTable table = [] {
        ByteTable t {};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = b >= 0x80 && b < 0xA0 ? kHighControls[size_t(b - 0x80)] : char16_t(b);
        return t;
    }();
    return table;
}

// The byte for ch in Windows-1252, or -1 when it has none.
int unicodeToCp1252(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[size_t(i)] == ch)
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

// A table of an encoding's, made once, on the first call that asks for it, from any thread;
// nullptr when make makes none.
template<typename Table, typename Make> const Table *madeOnce(TextEncoding encoding, Make make)
{
    static std::array<std::once_flag, kEncodingCount> made;
    static std::array<std::optional<Table>, kEncodingCount> tables;
    const int index = indexOf(encoding);
    std::call_once(made[size_t(index)], [&] { tables[size_t(index)] = make(); });
    return tables[size_t(index)] ? &*tables[size_t(index)] : nullptr;
}

bool isValidUtf8(QByteArrayView bytes)
{
#ifdef PAGELARK_UTF8_AVX2
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2)
        return Utf8Lookup::isValid(bytes.data(), bytes.size());
#endif
    return bytes.isValidUtf8();
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether every byte is below 0x80; stops at the first that is not, most often on the first line.
bool onlyAscii(QByteArrayView text)
{
    constexpr quint64 HighBits = 0x8080808080808080ULL;
    const char *p = text.data();
    const char *end = p + text.size();
    // 32 bytes a round, eight at a time; the compiler widens this further.
    for (; end - p >= 32; p += 32) {
        quint64 words[4];
        std::memcpy(words, p, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & HighBits)
            return false;
    }
    for (; p != end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

namespace TextCodec {

const std::vector<EncodingName> &encodings()
{
    static const std::vector<EncodingName> list = [] {
        std::vector<EncodingName> names;
        for (const Entry &entry : kEntries)
            names.push_back(
                {entry.encoding, QLatin1String(entry.name), QLatin1String(entry.script)});
        return names;
    }();
    return list;
}

QString displayName(TextEncoding encoding)
{
    return QLatin1String(entryOf(encoding).name);
}

std::optional<TextEncoding> encodingForName(QAnyStringView name)
{
    const QString key = normalized(name.toString());
    if (key.isEmpty())
        return std::nullopt;
    for (const Entry &entry : kEntries) {
        if (key == normalized(QString::fromLatin1(entry.name))
            || key == normalized(QString::fromLatin1(entry.charset)))
            return entry.encoding;
    }
    for (const auto &[alias, encoding] : kAliases) {
        if (key == QLatin1String(alias))
            return encoding;
    }
    return std::nullopt;
}

QString charsetName(TextEncoding encoding)
{
    return QLatin1String(entryOf(encoding).charset);
}

bool isWide(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE
        || encoding == TextEncoding::Utf32LE || encoding == TextEncoding::Utf32BE;
}

std::optional<TextEncoding> detectWide(QByteArrayView head, qsizetype *bomLength)
{
    head = head.first(qMin(head.size(), WideHeadSize));
    // UTF-32 LE first: its mark starts with that of UTF-16 LE.
    static const std::pair<QByteArrayView, TextEncoding> marks[] = {
        {QByteArrayView("\xFF\xFE\0\0", 4), TextEncoding::Utf32LE},
        {QByteArrayView("\0\0\xFE\xFF", 4), TextEncoding::Utf32BE},
        {QByteArrayView("\xFF\xFE", 2), TextEncoding::Utf16LE},
        {QByteArrayView("\xFE\xFF", 2), TextEncoding::Utf16BE},
    };
    for (const auto &[mark, encoding] : marks) {
        if (head.startsWith(mark)) {
            if (bomLength)
                *bomLength = mark.size();
            return encoding;
        }
    }
    if (bomLength)
        *bomLength = 0;
    if (head.startsWith(kUtf8Mark) || !hasNul(head))
        return std::nullopt;
    return EncodingGuess::utf16(head);
}

} // namespace TextCodec

namespace {

// What detect() tells, from what it looks at: the start of the text, whether the text is empty,
// and, asked only when needed, whether the text is valid UTF-8 and which code page the detector
// names.
template<typename IsUtf8, typename CodePage>
TextEncoding decide(QByteArrayView head, bool empty, qsizetype *bomLength, IsUtf8 isUtf8,
                    CodePage codePage)
{
    qsizetype bom = 0;
    if (const std::optional<TextEncoding> wide = TextCodec::detectWide(head, &bom)) {
        if (bomLength)
            *bomLength = bom;
        return *wide;
    }
    if (bomLength)
        *bomLength = 0;
    const qsizetype mark = head.startsWith(kUtf8Mark) ? 3 : 0;
    if (mark == 0 && empty)
        return TextEncoding::Windows1252;
    if (isUtf8()) {
        if (bomLength)
            *bomLength = mark;
        return TextEncoding::Utf8;
    }
    // The mark is dropped only from UTF-8: in a text of any other encoding its bytes are
    // characters like any others. NUL bytes that are not UTF-16 make no text: they are read byte
    // for byte as ever.
    if (hasNul(head.first(qMin(head.size(), TextCodec::WideHeadSize))))
        return TextEncoding::Windows1252;
    return codePage();
}

} // namespace

namespace TextCodec {

TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength)
{
    return decide(
        bytes, bytes.isEmpty(), bomLength,
        [&] { return isValidUtf8(bytes.sliced(bytes.startsWith(kUtf8Mark) ? 3 : 0)); },
        [&] { return EncodingGuess::codePage(bytes); });
}

QString decode(QByteArrayView bytes, TextEncoding encoding)
{
    QString text;
    TextDecoder(encoding).decode(bytes, text);
    return text;
}

bool canEncode(char32_t ch, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return unicodeToCp1252(ch) >= 0;
    if (encoding == TextEncoding::Utf8 || isWide(encoding))
        return true;
    const QString text = QString::fromUcs4(&ch, 1);
    return decode(encode(text, encoding), encoding) == text;
}

QByteArray encode(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    if (isWide(encoding))
        return QStringEncoder(qtEncoding(encoding), QStringConverter::Flag::Stateless).encode(text);
    if (const char *icu = entryOf(encoding).icu)
        return IcuCodec::encode(icu, text);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const uint ch : text.toUcs4()) {
        const int byte = unicodeToCp1252(ch);
        bytes.append(byte >= 0 ? char(byte) : '?');
    }
    return bytes;
}

const ByteTable *byteTable(TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return &cp1252Table();
    const char *icu = entryOf(encoding).icu;
    if (!icu)
        return nullptr;
    return madeOnce<ByteTable>(encoding, [icu] { return IcuCodec::byteTable(icu); });
}

const std::vector<char16_t> *pairTable(TextEncoding encoding)
{
    if (!characterLength(encoding))
        return nullptr;
    return madeOnce<std::vector<char16_t>>(
        encoding, [&] { return IcuCodec::pairTable(entryOf(encoding).icu); });
}

// The lead bytes each code page gives its longer characters; trail bytes never matter, as the
// walk always starts on a character.
CharacterLength characterLength(TextEncoding encoding)
{
    using Byte = unsigned char;
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return [](const char *at) {
            const Byte b = Byte(*at);
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
        };
    case TextEncoding::Big5:
    case TextEncoding::EucKr:
        return [](const char *at) {
            return Byte(*at) >= 0x81 && Byte(*at) <= 0xFE ? 2 : 1;
        };
    case TextEncoding::Gb18030:
        return [](const char *at) {
            if (Byte(*at) < 0x81 || Byte(*at) > 0xFE)
                return 1;
            return Byte(at[1]) >= 0x30 && Byte(at[1]) <= 0x39 ? 4 : 2;
        };
    case TextEncoding::EucJp:
        return [](const char *at) {
            const Byte b = Byte(*at);
            return b == 0x8F ? 3 : b == 0x8E || (b >= 0xA1 && b <= 0xFE) ? 2 : 1;
        };
    default:
        return nullptr;
    }
}

} // namespace TextCodec

TextDecoder::TextDecoder(TextEncoding encoding)
    : m_encoding(encoding), m_table(TextCodec::byteTable(encoding))
{
    if (!m_table) {
        if (const char *icu = entryOf(encoding).icu)
            m_converter = IcuCodec::open(icu).release();
    }
}

TextDecoder::~TextDecoder()
{
    IcuCodec::CloseConverter()(m_converter);
}

void TextDecoder::decode(QByteArrayView bytes, QString &out)
{
    if (m_table) {
        out.resize(bytes.size());
        char16_t *units = reinterpret_cast<char16_t *>(out.data());
        for (const char c : bytes)
            *units++ = (*m_table)[static_cast<unsigned char>(c)];
        return;
    }
    if (m_converter) {
        IcuCodec::decode(m_converter, bytes, out);
        return;
    }
    // A sequence cut off at the end is a broken one, shown as such.
    QStringDecoder decoder(qtEncoding(m_encoding),
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    out = decoder.decode(bytes);
}

char32_t TextDecoder::decodeFirst(QByteArrayView bytes, int *taken)
{
    Q_ASSERT(m_converter);
    return IcuCodec::decodeFirst(m_converter, bytes, taken);
}

void TextDecoder::decodePiece(QByteArrayView bytes, QString &out, bool last)
{
    Q_ASSERT(m_table || m_converter);
    if (m_converter)
        IcuCodec::decodePiece(m_converter, bytes, out, last);
    else
        decode(bytes, out);
}

void EncodingDetector::add(QByteArrayView piece)
{
    m_size += piece.size();
    if (m_head.size() < TextCodec::WideHeadSize)
        m_head.append(piece.first(qMin(piece.size(), TextCodec::WideHeadSize - m_head.size())));
    m_ascii = m_ascii && onlyAscii(piece);
    m_sample.add(piece);
    if (m_utf8)
        checkUtf8(piece);
}

// The pieces are checked apart, each cut just before a byte that starts a sequence, as valid
// UTF-8 is then valid on both sides of the cut and invalid UTF-8 on one side at least. What
// follows the last such byte of a piece waits for the continuation bytes of the next.
void EncodingDetector::checkUtf8(QByteArrayView piece)
{
    qsizetype continued = 0;
    while (continued < piece.size() && continued < 4 && isContinuation(piece[continued]))
        ++continued;
    if (!m_unfinished.isEmpty() || continued > 0) {
        m_unfinished.append(piece.first(continued));
        piece = piece.sliced(continued);
        // No sequence is longer than four bytes.
        if (piece.isEmpty() && m_unfinished.size() <= 4)
            return;
        m_utf8 = isValidUtf8(m_unfinished);
        m_unfinished.clear();
        if (!m_utf8)
            return;
    }
    qsizetype cut = piece.size();
    for (qsizetype i = piece.size() - 1; i >= 0 && i >= piece.size() - 4; --i) {
        if (!isContinuation(piece[i])) {
            if (static_cast<unsigned char>(piece[i]) >= 0x80)
                cut = i;
            break;
        }
    }
    m_utf8 = isValidUtf8(piece.first(cut));
    if (m_utf8)
        m_unfinished = piece.sliced(cut).toByteArray();
}

TextEncoding EncodingDetector::encoding(qsizetype *bomLength) const
{
    // The mark is a whole character: the text is valid UTF-8 with it exactly when without it.
    return decide(
        m_head, m_size == 0, bomLength, [&] { return m_utf8 && isValidUtf8(m_unfinished); },
        [&] { return EncodingGuess::codePage(m_sample); });
}
