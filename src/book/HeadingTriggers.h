#pragma once

#include "book/TextCodec.h"

#include <QByteArray>
#include <QtEndian>

#include <array>
#include <vector>

// Picks from a line's first bytes, in the book's own encoding, the lines that may be headings or
// Project Gutenberg's markers, so that only those are decoded: a keyword or a named part in one
// of its letter cases (a numbered kind's followed by what can start a number), 第, a number
// alone, a star. It lets through every line HeadingLine would read as one, and few others;
// reading them is HeadingLine's.
class HeadingTriggers
{
public:
    // The triggers of an encoding of single bytes or of several bytes a character (UTF-8 or a
    // code page, never a wide one), made once and kept.
    static const HeadingTriggers &of(TextEncoding encoding);

    // Whether the line [begin, end), its line end left out, may be a heading or a marker.
    bool mayBeHeading(const char *begin, const char *end) const
    {
        const char *p = skipBlanks(begin, end);
        return p != end && startsHeading(p, end);
    }

    // A first look at a line whose first byte after its blanks is at p, not a line end, and
    // whose end is not yet known: false for most lines that mayBeHeading() would refuse, told
    // by their first four bytes (those of the line end and beyond included) without a branch
    // that could go either way; never false for one it would let through.
    bool mayStartHeading(const char *p, const char *textEnd) const
    {
        if (textEnd - p < 4)
            return true;
        const quint32 head = foldedHead(p);
        const quint8 first = m_byteClass[byteAt(p)];
        const bool lead = bitAt(m_leadStarts[0].data(), head & 0xFFFF)
            | bitAt(m_leadStarts[1].data(), keyOf(head & 0xFFFFFF))
            | bitAt(m_leadStarts[2].data(), keyOf(head));
        const bool numeral = (first & Numeral) && (m_byteClass[byteAt(p + 1)] & AfterNumeral);
        return lead || numeral || (first & Star);
    }

    // Past the blanks at p, those HeadingLine trims.
    const char *skipBlanks(const char *p, const char *end) const
    {
        while (p != end && (m_byteClass[byteAt(p)] & (Blank | WideBlankStart))) {
            if (m_byteClass[byteAt(p)] & Blank)
                ++p;
            else if (!skipWideBlank(p, end))
                break;
        }
        return p;
    }

    // Whether the line whose first byte past its blanks is at p holds nothing else.
    bool isBlankAt(const char *p, const char *end) const
    {
        return p == end || (m_byteClass[byteAt(p)] & LineEnd);
    }

    explicit HeadingTriggers(TextEncoding encoding);

private:
    // What a byte may be at the start of a line.
    enum ByteClass : quint8 {
        Blank = 1, // an ASCII blank
        WideBlankStart = 2, // the first byte of another blank
        Numeral = 4, // a digit or a letter of Roman numerals
        AfterNumeral = 8, // what may follow one alone, before a full stop, or a line end
        Star = 16,
        LineEnd = 32, // CR or LF
    };

    static size_t byteAt(const char *p) { return static_cast<unsigned char>(*p); }
    static quint64 bitAt(const quint64 *bits, size_t i) { return bits[i / 64] >> (i % 64) & 1; }
    static bool hasBit(const quint64 *bits, size_t i) { return bitAt(bits, i) != 0; }
    // The first four bytes, letters of ASCII in lower case, the first in the lowest byte. The
    // four are folded at once: a byte below 0x80 from 'A' to 'Z' gains 0x20.
    static quint32 foldedHead(const char *p)
    {
        const quint32 head = qFromLittleEndian<quint32>(p);
        const quint32 low = head & 0x7F7F7F7Fu;
        const quint32 fromA = low + 0x3F3F3F3Fu; // high bit set from 'A' on
        const quint32 pastZ = low + 0x25252525u; // and from past 'Z' on
        return head | ((fromA & ~pastZ & ~head & 0x80808080u) >> 2);
    }
    // Bytes mixed into 16 bits.
    static size_t keyOf(quint32 bytes) { return (bytes * 0x9E3779B1u) >> 16; }

    bool skipWideBlank(const char *&p, const char *end) const;
    bool startsHeading(const char *p, const char *end) const;

    // Words in an encoding, each in its case forms, found by their first two bytes; letters of
    // ASCII compare in any case.
    class Words
    {
    public:
        Words();
        void add(const QString &word, TextEncoding encoding, bool numberFollows);
        // Calls accept(numberFollows, after) for each word the bytes at p start with, after being
        // where the word ends, until it returns true; true then.
        template<typename Accept>
        bool startsWith(const char *p, const char *end, Accept accept) const;
        // Calls visit(bytes) with each word's bytes, ASCII letters in lower case.
        template<typename Visit> void forEachStart(Visit visit) const;

    private:
        struct Pattern
        {
            QByteArray bytes; // letters of ASCII in lower case
            bool numberFollows;
        };
        // Which two bytes words start with, a bit each, looked at before m_bucketOf: it is
        // small enough to stay in the processor's nearest cache.
        std::array<quint64, 1024> m_pairs {};
        // The words that start with the same two bytes, and the bytes they go on with, a bit
        // each: all of them when a word ends there.
        struct Bucket
        {
            std::array<quint64, 4> third {};
            std::vector<Pattern> patterns;
        };
        // The index of the bucket of two bytes, -1 for none: m_slots holds each pair with its
        // bucket's index plus one, 16 bits each, from the pair's own place on; 0 ends a search.
        int bucketOf(size_t pair) const;
        std::vector<quint32> m_slots;
        std::vector<Bucket> m_buckets;
    };

    bool mayBeNumber(const char *p, const char *end, bool afterStop) const;

    std::array<quint8, 256> m_byteClass {};
    // The starts of the lead words, a bit each: the words of two bytes by their bytes, of three
    // and the first four bytes of the longer ones by keyOf.
    std::array<std::array<quint64, 1024>, 3> m_leadStarts {};
    Words m_leads;
    Words m_numbers;
    std::vector<QByteArray> m_wideBlanks; // the blanks other than ASCII ones, encoded
};
