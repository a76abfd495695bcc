#pragma once

#include "book/EncodingGuess.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <QString>

#include <array>
#include <optional>
#include <vector>

struct UConverter;

// The encodings a book or a tool's source file is read in. Windows-1252 is a codec of our own:
// one character a byte, the five bytes the code page leaves undefined mapped to the C1 controls
// of the same value, so that decoding then encoding gives back the same bytes. The Unicode
// encodings are Qt's (a book in UTF-16 or UTF-32 is held in UTF-8, see WideToUtf8); the other
// code pages are ICU's, each read with the converter of its name (a superset where one is in
// common use: EUC-KR as Windows-949).
enum class TextEncoding {
    Windows1252,
    Utf8,
    Utf16LE,
    Utf16BE,
    Utf32LE,
    Utf32BE,
    Iso8859_15,
    Iso8859_3,
    Iso8859_10,
    Windows1250,
    Iso8859_2,
    Windows1257,
    Iso8859_13,
    Iso8859_4,
    Windows1251,
    Koi8R,
    Koi8U,
    Iso8859_5,
    Ibm866,
    Windows1253,
    Iso8859_7,
    Windows1254,
    Windows1255,
    Iso8859_8,
    Windows1256,
    Iso8859_6,
    Windows874,
    Windows1258,
    Gb18030,
    Big5,
    ShiftJis,
    EucJp,
    EucKr,
};

namespace TextCodec {

// How a menu of encodings names one: "Windows-1251" of the script "Cyrillic".
struct EncodingName
{
    TextEncoding encoding;
    QLatin1String name;
    QLatin1String script;
};

// Every encoding, in the order a menu offers them (Unicode first, then by script).
const std::vector<EncodingName> &encodings();

// The name users know the encoding by, as a menu or a status bar shows it: "UTF-16 LE".
QString displayName(TextEncoding encoding);

// The encoding a name stands for: a display name, a charset name, or one of the names other
// programs and the detector use ("cp1251", "UHC", "ISO-8859-1"), in any letter case. A name for
// a subset reads as its superset, as web browsers read it.
std::optional<TextEncoding> encodingForName(QAnyStringView name);

// The charset name a file or an HTML page declares: "utf-8", "windows-1252", "KOI8-R".
QString charsetName(TextEncoding encoding);

// UTF-16 and UTF-32, whose line ends are not single bytes.
bool isWide(TextEncoding encoding);

// The encoding of bytes; *bomLength receives the length of the byte-order mark to drop (0, 2, 3
// or 4; a UTF-8 mark is dropped from UTF-8 only). In turn: a byte-order mark; UTF-16 recognised by
// its NUL bytes; valid UTF-8; the code page the detector names for a text that is neither, where it
// is sure of a non-Western one; else Windows-1252. A text with NUL bytes that is not UTF-16 is not
// given to the detector.
TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength = nullptr);

// The start of a file that tells a wide encoding: the detection above looks this far for the
// NUL bytes of UTF-16 without a mark.
inline constexpr qsizetype WideHeadSize = 64 * 1024;

// UTF-16 or UTF-32 as far as head (the first WideHeadSize bytes or fewer) tells, with the length
// of its byte-order mark in *bomLength; nothing for any other text.
std::optional<TextEncoding> detectWide(QByteArrayView head, qsizetype *bomLength = nullptr);

QString decode(QByteArrayView bytes, TextEncoding encoding);

// True when the encoding can hold ch, so that encoding and decoding give it back.
bool canEncode(char32_t ch, TextEncoding encoding);

// Encodes text; a character the encoding cannot hold becomes '?'. Callers that must keep every
// character check canEncode first.
QByteArray encode(QStringView text, TextEncoding encoding);

// The character of each byte of a single-byte code page (Windows-1252 and every code page of
// ICU's that is one); nullptr for any other encoding. A byte that stands for no character
// decodes to U+FFFD or U+001A, as ICU decodes it.
const std::array<char16_t, 256> *byteTable(TextEncoding encoding);

// In a code page whose characters take one or more bytes (GB18030, Big5, Shift_JIS, EUC-JP,
// EUC-KR), the number of bytes of the character that starts at a byte, which may look at the byte
// after it; nullptr for every other encoding.
using CharacterLength = int (*)(const char *at);
CharacterLength characterLength(TextEncoding encoding);

// For those same code pages, what each byte and each pair of bytes from a lead byte make, as
// IcuCodec::pairTable tells (a table of 65536 entries); nullptr for every other encoding.
const std::vector<char16_t> *pairTable(TextEncoding encoding);

} // namespace TextCodec

// Decodes one text after another in the same encoding, keeping what that takes (a converter of
// ICU's) from one to the next.
class TextDecoder
{
public:
    explicit TextDecoder(TextEncoding encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder &) = delete;
    TextDecoder &operator=(const TextDecoder &) = delete;

    // Replaces out with the text of bytes, keeping out's room; bytes that make no character
    // become U+FFFD. A byte-order mark is a character here: callers drop the one a file starts
    // with.
    void decode(QByteArrayView bytes, QString &out);
    // The same for one piece of a text after another, in a code page (not UTF-16 or UTF-32: see
    // WideToUtf8): a character a piece breaks off is finished by the next; after the last, one
    // left unfinished is broken.
    void decodePiece(QByteArrayView bytes, QString &out, bool last);

    // In a code page of ICU's, the first character of bytes, read as the end of a text, and in
    // *taken how many of them make it.
    char32_t decodeFirst(QByteArrayView bytes, int *taken);

private:
    TextEncoding m_encoding;
    const std::array<char16_t, 256> *m_table = nullptr;
    UConverter *m_converter = nullptr;
};

// Tells the encoding of a text read a piece at a time, as TextCodec::detect tells it of the whole
// text, holding no more than the start of the text, the detector's sample and a few bytes. Reading
// the text is the caller's.
class EncodingDetector
{
public:
    // The next piece of the text, from its first byte on.
    void add(QByteArrayView piece);
    // What TextCodec::detect tells of all the pieces added as one text.
    TextEncoding encoding(qsizetype *bomLength = nullptr) const;
    // Whether every byte added is below 0x80.
    bool isAscii() const { return m_ascii; }

private:
    void checkUtf8(QByteArrayView piece);

    QByteArray m_head; // the first WideHeadSize bytes
    qint64 m_size = 0;
    bool m_ascii = true;
    bool m_utf8 = true; // as far as checked
    QByteArray m_unfinished; // a sequence the pieces so far break off, checked with what follows
    EncodingGuess::Sample m_sample;
};
