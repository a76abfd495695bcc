#pragma once

#include <QtAlgorithms>
#include <QtGlobal>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PAGELARK_LINES_SSE2 1
#endif

// Finding line ends in a text's bytes: CR LF, a lone CR and a lone LF each end a line. Bytes are
// looked at 32 at a time, so the cost is one pass over the text whatever the length of its lines.
namespace LineEnds {

// The CR, LF and NUL bytes among 32 bytes, bit i for byte i.
struct BlockMasks
{
    quint32 cr;
    quint32 lf;
    quint32 nul;
};

#ifdef PAGELARK_LINES_SSE2
inline quint32 maskOf(__m128i low, __m128i high, char c)
{
    const __m128i wanted = _mm_set1_epi8(c);
    return quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(low, wanted)))
        | quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(high, wanted))) << 16;
}

inline BlockMasks masksOf(const char *block)
{
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16));
    return {maskOf(low, high, '\r'), maskOf(low, high, '\n'), maskOf(low, high, '\0')};
}
#else
inline BlockMasks masksOf(const char *block)
{
    BlockMasks masks {0, 0, 0};
    for (int i = 0; i < 32; ++i) {
        masks.cr |= quint32(block[i] == '\r') << i;
        masks.lf |= quint32(block[i] == '\n') << i;
        masks.nul |= quint32(block[i] == '\0') << i;
    }
    return masks;
}
#endif

enum class Scan { Completed, Stopped, FoundNul };
// Whether a NUL byte ends the scan (a book holding one is no text) or is a byte like any other.
enum class Nul { Stops, Passes };

// Calls onLineEnd(next) for every line end in [begin, end), next being where the following line
// starts. Stops when onLineEnd returns false, and, unless told otherwise, at a NUL byte.
template<Nul nul = Nul::Stops, typename OnLineEnd>
Scan scanLineEnds(const char *begin, const char *end, OnLineEnd onLineEnd)
{
    constexpr qsizetype Block = 32;
    const qsizetype size = end - begin;
    quint32 crBefore = 0; // the block before ended with a CR
    for (qsizetype at = 0; at < size; at += Block) {
        alignas(16) char tail[Block];
        const char *block = begin + at;
        if (size - at < Block) {
            // Zero padding would read as NUL: pad with a byte that is neither a line end nor NUL.
            std::memset(tail, ' ', sizeof tail);
            std::memcpy(tail, block, size_t(size - at));
            block = tail;
        }
        const BlockMasks masks = masksOf(block);
        if (nul == Nul::Stops && masks.nul)
            return Scan::FoundNul;
        // The LF of a CR LF pair ends no line of its own.
        quint32 ends = masks.cr | (masks.lf & ~((masks.cr << 1) | crBefore));
        crBefore = masks.cr >> 31;
        while (ends) {
            const qsizetype offset = at + qsizetype(qCountTrailingZeroBits(ends));
            const char *next = begin + offset + 1;
            if (begin[offset] == '\r' && next < end && *next == '\n')
                ++next;
            if (!onLineEnd(next))
                return Scan::Stopped;
            ends &= ends - 1;
        }
    }
    return Scan::Completed;
}

// The number of line ends in [begin, end), NUL bytes counting as text.
inline qsizetype countLineEnds(const char *begin, const char *end)
{
    qsizetype count = 0;
    scanLineEnds<Nul::Passes>(begin, end, [&count](const char *) {
        ++count;
        return true;
    });
    return count;
}

} // namespace LineEnds
