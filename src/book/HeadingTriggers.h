#pragma once

#include "book/TextCodec.h"

#include <QByteArray>

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
    bool mayBeHeading(const char *begin, const char *end) const;
    // Past the blanks at p, those HeadingLine trims.
    const char *skipBlanks(const char *p, const char *end) const;

    explicit HeadingTriggers(TextEncoding encoding);

private:
    // Words in an encoding, each in its case forms, found by their first two bytes; letters of
    // ASCII compare in any case.
    class Words
    {
    public:
        Words();
        void add(const QString &word, TextEncoding encoding, bool numberFollows = false);
        // Calls accept(numberFollows, after) for each word the bytes at p start with, after being
        // where the word ends, until it returns true; true then.
        template<typename Accept>
        bool startsWith(const char *p, const char *end, Accept accept) const;

    private:
        struct Pattern
        {
            QByteArray bytes; // letters of ASCII in lower case
            bool numberFollows;
        };
        // An index into m_buckets plus one, 0 where no word starts so.
        std::vector<quint16> m_bucketOf;
        std::vector<std::vector<Pattern>> m_buckets;
    };

    bool mayBeNumber(const char *p, const char *end, bool afterStop) const;

    Words m_leads;
    Words m_numbers;
    std::vector<QByteArray> m_wideBlanks; // the blanks other than ASCII ones, encoded
};
