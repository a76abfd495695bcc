#pragma once

#include "book/TextCodec.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

// Reads the bytes a book holds a character at a time, as the page view's decoding reads them, so
// that a search can compare characters, find where they start and count them without decoding a
// page: UTF-8 (each byte of a broken sequence a U+FFFD, as Qt decodes it), a code page of single
// bytes, or one of characters of one to four bytes (GB18030, Big5, Shift_JIS, EUC-JP, EUC-KR). In
// the last kind a byte of a character can look like the start of another, so where characters
// start is found by walking from a place known to start one. Two bytes that make no character of
// the code page read as the first alone, as ICU reads them. What the characters mean is the
// search's affair.
class CharacterReader
{
public:
    explicit CharacterReader(TextEncoding held);
    ~CharacterReader();
    CharacterReader(const CharacterReader &) = delete;
    CharacterReader &operator=(const CharacterReader &) = delete;

    // Whether bytes in encoding are read here: every encoding a book holds its bytes in.
    static bool reads(TextEncoding encoding);

    // The code point of the character at p, which starts one before end, and its length in bytes.
    char32_t read(const char *p, const char *end, int *length)
    {
        const auto byte = static_cast<unsigned char>(*p);
        *length = 1;
        if (m_bytes)
            return (*m_bytes)[byte];
        if (m_pairs)
            return byte < 0x80 ? (*m_pairs)[byte] : readPair(p, end, length);
        return byte < 0x80 ? byte : readUtf8(p, end, length);
    }

    // Where the character that holds p starts, and where the one before it starts (nullptr when
    // that is before from); from starts a character and is at or before p, which is before end.
    struct Starts
    {
        const char *start;
        const char *previous;
    };
    Starts startsAround(const char *from, const char *p, const char *end);

    // The UTF-16 units [begin, stop) makes in the page view's text, where a line end is one;
    // both start characters of a text that goes on to end.
    qsizetype viewLength(const char *begin, const char *stop, const char *end);
    // Goes from begin, which starts a character, over whole characters until `units` units of the
    // view's text or end, and returns where it stopped; *went gets the units it went over, one
    // more than asked where the last character is two.
    const char *advance(const char *begin, const char *end, qsizetype units, qsizetype *went)
    {
        return walk(begin, end, end, units, went);
    }

private:
    char32_t readUtf8(const char *p, const char *end, int *length) const;
    char32_t readPair(const char *p, const char *end, int *length);
    char32_t readLong(const char *p, int size, int *length);
    const char *utf8Start(const char *from, const char *p, const char *end);
    const char *walk(const char *begin, const char *stop, const char *end, qsizetype units,
                     qsizetype *went);

    TextEncoding m_held;
    const std::array<char16_t, 256> *m_bytes = nullptr; // a code page of single bytes
    const std::vector<char16_t> *m_pairs = nullptr; // a code page of longer characters
    TextCodec::CharacterLength m_length = nullptr;
    std::unique_ptr<TextDecoder> m_decoder; // for characters of more than two bytes
};
