#include "book/EncodingGuess.h"

#include "book/TextCodec.h"

#include <uchardet.h>

#include <QByteArray>

#include <array>
#include <cstring>

namespace {

// The detector weighs every byte it is shown against dozens of code pages at once, at a few
// megabytes a second: it sees a sample of the lines that hold bytes beyond ASCII, which is what
// tells one code page from another, and never a whole book.
constexpr qsizetype kSampleSize = 8 * 1024;
// A text without line ends still gives lines of this length around its bytes beyond ASCII.
constexpr qsizetype kLongestLine = 1024;

// What a sample shows of the bytes beyond ASCII.
struct Findings
{
    qsizetype high = 0; // bytes beyond ASCII
    qsizetype inRuns = 0; // of them, those next to another
    int distinct = 0; // byte values beyond ASCII
    bool controls = false; // bytes 0x80..0x9F

    // Scripts of their own (Cyrillic, Greek, CJK) write words of several letters beyond ASCII;
    // a Western text has one here and there, on which the detector guesses wildly.
    bool isConvincing() const
    {
        return high >= 24 || (high >= 6 && 2 * inRuns >= high && distinct >= 4);
    }
};

bool isHigh(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// A C0 control character, or NUL, that a text does not hold: all but tab, line ends and form feed.
bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\f' && !isLineEnd(c);
}

const char *findHigh(const char *p, const char *end)
{
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; p != end; ++p) {
        if (isHigh(*p))
            return p;
    }
    return end;
}

Findings findingsOf(const QByteArray &s)
{
    Findings found;
    std::array<bool, 128> seen {};
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (!isHigh(s[i]))
            continue;
        ++found.high;
        bool &known = seen[static_cast<unsigned char>(s[i]) - 0x80];
        found.distinct += !known;
        known = true;
        found.controls |= static_cast<unsigned char>(s[i]) < 0xA0;
        if ((i > 0 && isHigh(s[i - 1])) || (i + 1 < s.size() && isHigh(s[i + 1])))
            ++found.inRuns;
    }
    return found;
}

QByteArray detectorAnswer(const QByteArray &sample)
{
    uchardet_t detector = uchardet_new();
    if (!detector)
        return {};
    QByteArray answer;
    if (uchardet_handle_data(detector, sample.constData(), size_t(sample.size())) == 0) {
        uchardet_data_end(detector);
        answer = uchardet_get_charset(detector);
    }
    uchardet_delete(detector);
    return answer;
}

// ISO-8859 code pages have control characters at 0x80..0x9F, which texts do not hold; Windows's
// code page of the same script has punctuation there (dashes, quotes) and the same letters.
std::optional<TextEncoding> windowsSibling(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Iso8859_2:
        return TextEncoding::Windows1250;
    case TextEncoding::Iso8859_4:
    case TextEncoding::Iso8859_13:
        return TextEncoding::Windows1257;
    case TextEncoding::Iso8859_5:
        return TextEncoding::Windows1251;
    case TextEncoding::Iso8859_6:
        return TextEncoding::Windows1256;
    case TextEncoding::Iso8859_7:
        return TextEncoding::Windows1253;
    case TextEncoding::Iso8859_8:
        return TextEncoding::Windows1255;
    default:
        return std::nullopt;
    }
}

} // namespace

namespace EncodingGuess {

std::optional<TextEncoding> utf16(QByteArrayView head)
{
    const qsizetype size = head.size() & ~qsizetype(1);
    // Per reading, little-endian [0] and big-endian [1]: the NUL bytes where that reading puts
    // the high byte of a character, the line ends it reads, and the control characters it reads
    // there, which text does not hold.
    qsizetype nulHigh[2] = {0, 0};
    qsizetype lineEnds[2] = {0, 0};
    qsizetype controls[2] = {0, 0};
    for (qsizetype i = 0; i < size; i += 2) {
        const char first = head[i];
        const char second = head[i + 1];
        nulHigh[0] += second == 0;
        nulHigh[1] += first == 0;
        lineEnds[0] += second == 0 && isLineEnd(first);
        lineEnds[1] += first == 0 && isLineEnd(second);
        controls[0] += second == 0 && isControl(first);
        controls[1] += first == 0 && isControl(second);
    }
    const qsizetype units = size / 2;
    const auto reads = [&](int reading) {
        const int other = 1 - reading;
        // A stray NUL in a text of single bytes is no sign of it: UTF-16 text has characters in
        // ASCII now and then.
        if (nulHigh[reading] < 2 || nulHigh[reading] * 128 < units)
            return false;
        // Binary data has its NULs wherever; a text in UTF-16 has a control character (a form
        // feed, an end-of-file mark) once in a long while.
        if (controls[reading] * 16 > nulHigh[reading])
            return false;
        if (lineEnds[reading] != lineEnds[other])
            return lineEnds[reading] > lineEnds[other];
        return nulHigh[reading] >= 4 * nulHigh[other];
    };
    if (reads(0))
        return TextEncoding::Utf16LE;
    if (reads(1))
        return TextEncoding::Utf16BE;
    return std::nullopt;
}

// A line is taken from kLongestLine bytes before its first byte beyond ASCII, or from its start
// when nearer, to kLongestLine bytes after that byte, or to its line end, which is taken too.
void Sample::add(QByteArrayView piece)
{
    const char *p = piece.data();
    const char *end = p + piece.size();
    while (p != end) {
        if (m_following >= 0) {
            const char *stop = p;
            while (stop != end && m_following < kLongestLine && !isLineEnd(*stop)) {
                ++stop;
                ++m_following;
            }
            m_bytes.append(p, stop - p);
            if (stop == end)
                return; // the line may go on in the next piece
            if (isLineEnd(*stop))
                m_bytes.append(*stop++);
            m_following = -1;
            p = stop;
            continue;
        }
        if (m_bytes.size() >= kSampleSize)
            return;
        const char *high = findHigh(p, end);
        if (high == end) {
            // Only the last line's worth can be needed.
            const char *from = end - p > kLongestLine ? end - kLongestLine : p;
            m_before.append(from, end - from);
            if (m_before.size() > kLongestLine)
                m_before.remove(0, m_before.size() - kLongestLine);
            return;
        }
        const char *start = high;
        while (start > p && high - start < kLongestLine && !isLineEnd(start[-1]))
            --start;
        // The line may have begun in the pieces before.
        qsizetype earlier = m_before.size();
        if (start == p) {
            while (earlier > 0 && (high - start) + (m_before.size() - earlier) < kLongestLine
                   && !isLineEnd(m_before[earlier - 1]))
                --earlier;
            m_bytes.append(m_before.sliced(earlier));
        }
        m_bytes.append(start, high - start);
        m_before.clear();
        m_following = 0;
        p = high;
    }
}

TextEncoding codePage(QByteArrayView bytes)
{
    Sample sample;
    sample.add(bytes);
    return codePage(sample);
}

TextEncoding codePage(const Sample &sample)
{
    const Findings found = findingsOf(sample.bytes());
    if (!found.isConvincing())
        return TextEncoding::Windows1252;
    const QByteArray answer = detectorAnswer(sample.bytes());
    const std::optional<TextEncoding> named = TextCodec::encodingForName(answer);
    if (!named || *named == TextEncoding::Iso8859_15 || *named == TextEncoding::Utf8
        || TextCodec::isWide(*named))
        return TextEncoding::Windows1252;
    if (found.controls)
        return windowsSibling(*named).value_or(*named);
    return *named;
}

} // namespace EncodingGuess
