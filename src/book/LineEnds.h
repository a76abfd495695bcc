#pragma once

#include <QtAlgorithms>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PAGELARK_LINES_SSE2 1
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define PAGELARK_LINES_AVX2 1
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

// The 32 bytes from `at`: in place, or for the last, shorter block a copy padded with blanks, as
// zero padding would read as NUL and a blank is neither a line end nor NUL.
inline const char *blockAt(const char *begin, qsizetype at, qsizetype size, char (&tail)[32])
{
    if (size - at >= 32)
        return begin + at;
    std::memset(tail, ' ', sizeof tail);
    std::memcpy(tail, begin + at, size_t(size - at));
    return tail;
}

// Whether any of 32 bytes is a control byte up to CR: the only ones that can be a line end or NUL,
// and rare in a line of text.
inline bool anyLowControl(const char *block)
{
#ifdef PAGELARK_LINES_SSE2
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16));
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i atMostCr = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(low, cr), low),
                                          _mm_cmpeq_epi8(_mm_min_epu8(high, cr), high));
    return _mm_movemask_epi8(atMostCr) != 0;
#else
    for (int i = 0; i < 32; ++i) {
        if (static_cast<unsigned char>(block[i]) <= '\r')
            return true;
    }
    return false;
#endif
}

enum class Scan { Completed, Stopped, FoundNul };

struct ScanResult
{
    Scan scan;
    // The line ends after the last one reported, when the scan completed.
    int sinceLast;
};

// How lines too long for a page are cut for paging: into pieces of consecutive bytes, each
// counting as a line. A cut adds nothing to the text.
struct LongLines
{
    qsizetype longerThan; // lines of at most this many bytes, line end not counted, stay whole
    qsizetype pieceSize; // the most bytes a piece holds, line end not counted
    bool utf8; // a cut keeps off the continuation bytes of a UTF-8 sequence
    // In a code page of characters of several bytes, the length of the character at a byte; a
    // cut is found by walking the piece's characters from its start. nullptr: a byte a character.
    int (*charLength)(const char *at) = nullptr;
};

// The last blank (space or tab) in [from, to), or nullptr. Looked for 16 bytes at a time from the
// end: in text of words one look finds it.
inline const char *lastBlank(const char *from, const char *to)
{
#ifdef PAGELARK_LINES_SSE2
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (; to - from >= 16; to -= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(to - 16));
        const auto blanks = quint32(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab))));
        if (blanks)
            return to - 16 + (31 - qCountLeadingZeroBits(blanks));
    }
#endif
    while (to != from) {
        --to;
        if (*to == ' ' || *to == '\t')
            return to;
    }
    return nullptr;
}

// The end of the piece that starts at `from` in a line whose text ends at lineEnd, more than
// pieceSize bytes away: just after the last blank among the piece's pieceSize bytes, else after
// all of them, moved back to the start of the character a cut there would split.
inline const char *pieceEnd(const char *from, const char *lineEnd, const LongLines &cut)
{
    Q_ASSERT(lineEnd - from > cut.pieceSize);
    const char *limit = from + cut.pieceSize;
    if (const char *blank = lastBlank(from, limit))
        return blank + 1;
    const char *at = limit;
    if (cut.charLength) {
        // The piece starts on a character: the cut goes after the last one whole by the limit.
        const char *next = from;
        while (next < limit) {
            const char *after = next + cut.charLength(next);
            if (after > limit)
                break;
            next = after;
        }
        at = next > from ? next : limit;
    } else if (cut.utf8) {
        while (at > from && (static_cast<unsigned char>(*at) & 0xC0) == 0x80)
            --at;
        if (at == from) // no sequence starts in the piece: cutting anywhere splits one
            at = limit;
    }
    return at;
}

// What cutLongLine found: how the scan goes on, the lines counted since the last one reported,
// and where the line ends (the end of the text when no line end closes it).
struct LongLineScan
{
    Scan scan;
    int since;
    qsizetype lineEnd;
};

// Follows a line that has run on to `known` without a line end, from its start just after the
// last line end in the block at lastEndsAt, to its end. On the way, once the line is longer than
// cut.longerThan, it is cut into pieces while its bytes are at hand: each piece but the last
// counts as a line, `since` being the lines counted before it, and onLineEnd hears of every
// `every`-th; the line's end counts the last piece. Kept apart from the scan's loop, whose
// counters then stay in registers.
template<typename OnLineEnd>
__attribute__((noinline)) LongLineScan
cutLongLine(const char *begin, qsizetype size, qsizetype lastEndsAt, qsizetype known, int every,
            int since, const LongLines &cut, OnLineEnd &onLineEnd)
{
    constexpr qsizetype Block = 32;
    qsizetype start = std::min(lastEndsAt + Block, known);
    while (start > 0 && start > lastEndsAt && begin[start - 1] != '\r' && begin[start - 1] != '\n')
        --start;
    if (start > 0 && begin[start - 1] == '\r' && start < size && begin[start] == '\n')
        ++start;
    const char *piece = begin + start;
    qsizetype stop = known; // the line runs on past stop, or ends there once ended is set
    bool ended = false;
    for (;;) {
        // The pieces that lie wholly before stop.
        if (stop - start > cut.longerThan) {
            while (begin + stop - piece > cut.pieceSize) {
                piece = pieceEnd(piece, begin + stop, cut);
                if (++since < every)
                    continue;
                since = 0;
                if (!onLineEnd(piece))
                    return {Scan::Stopped, 0, 0};
            }
        }
        if (ended || stop == size)
            return {Scan::Completed, since, stop};
        alignas(16) char tail[Block];
        const char *block = blockAt(begin, stop, size, tail);
        if (!anyLowControl(block)) {
            stop = std::min(stop + Block, size);
            continue;
        }
        const BlockMasks masks = masksOf(block);
        if (masks.nul)
            return {Scan::FoundNul, 0, 0};
        if (const quint32 ends = masks.cr | masks.lf) {
            stop += qsizetype(qCountTrailingZeroBits(ends));
            ended = true;
        } else {
            stop = std::min(stop + Block, size);
        }
    }
}

// The loop of scanLineEnds, to be inlined where it is called: there the population count becomes
// one instruction where the processor has it.
template<typename OnLineEnd>
__attribute__((always_inline)) inline ScanResult
scanLoop(const char *begin, const char *end, int every, const LongLines &cut, OnLineEnd &onLineEnd)
{
    constexpr qsizetype Block = 32;
    const qsizetype size = end - begin;
    quint32 crBefore = 0; // the block before ended with a CR
    int since = 0;
    qsizetype lastEndsAt = -Block; // the last block that held a line end
    const qsizetype farApart = cut.longerThan - Block;
    for (qsizetype at = 0; at < size; at += Block) {
        // A line that has run on this far without a line end may be one to cut: it is followed
        // to its end at once, and the scan goes on from the block that holds that end.
        if (at - lastEndsAt > farApart) {
            const LongLineScan line =
                cutLongLine(begin, size, lastEndsAt, at, every, since, cut, onLineEnd);
            if (line.scan != Scan::Completed || line.lineEnd == size)
                return {line.scan, line.since};
            since = line.since;
            at = line.lineEnd / Block * Block - Block;
            lastEndsAt = at; // the long line counts as seen; its end is counted below
            crBefore = 0;
            continue;
        }
        alignas(16) char tail[Block];
        const char *block = blockAt(begin, at, size, tail);
        const BlockMasks masks = masksOf(block);
        if (masks.nul)
            return {Scan::FoundNul, since};
        // The LF of a CR LF pair ends no line of its own.
        quint32 ends = masks.cr | (masks.lf & ~((masks.cr << 1) | crBefore));
        crBefore = masks.cr >> 31;
        // A block that holds a line end becomes the last to, chosen without a branch: one would
        // guess wrong at every other block of ordinary text.
        qsizetype keep = -qsizetype(ends != 0);
        asm("" : "+r"(keep));
        lastEndsAt += (at - lastEndsAt) & keep;
        // Most blocks hold no line end to report: they are counted whole.
        const int count = int(qPopulationCount(ends));
        if (since + count < every) {
            since += count;
            continue;
        }
        for (; ends; ends &= ends - 1) {
            if (++since < every)
                continue;
            since = 0;
            const qsizetype offset = at + qsizetype(qCountTrailingZeroBits(ends));
            const char *next = begin + offset + 1;
            if (begin[offset] == '\r' && next < end && *next == '\n')
                ++next;
            if (!onLineEnd(next))
                return {Scan::Stopped, since};
        }
    }
    return {Scan::Completed, since};
}

#if defined(__x86_64__) && !defined(__POPCNT__)
template<typename OnLineEnd>
__attribute__((target("popcnt"))) ScanResult scanLoopWithPopcnt(const char *begin, const char *end,
                                                                int every, const LongLines &cut,
                                                                OnLineEnd &onLineEnd)
{
    return scanLoop(begin, end, every, cut, onLineEnd);
}
#endif

// Calls onLineEnd(next) at every `every`-th line end in [begin, end), next being where the
// following line starts. A line cut by `cut` counts as its pieces, and a piece's end is reported
// as a line end. Stops when onLineEnd returns false, and at a NUL byte, which makes the text no
// text at all.
template<typename OnLineEnd>
ScanResult scanLineEnds(const char *begin, const char *end, int every, const LongLines &cut,
                        OnLineEnd onLineEnd)
{
    Q_ASSERT(every >= 1);
    Q_ASSERT(cut.pieceSize >= 4 && cut.pieceSize <= cut.longerThan);
#if defined(__x86_64__) && !defined(__POPCNT__)
    static const bool hasPopcnt = __builtin_cpu_supports("popcnt");
    if (hasPopcnt)
        return scanLoopWithPopcnt(begin, end, every, cut, onLineEnd);
#endif
    return scanLoop(begin, end, every, cut, onLineEnd);
}

// The first CR or LF in [p, end), or end. The bytes are looked at 32 at a time.
inline const char *nextLineEnd(const char *p, const char *end)
{
#ifdef PAGELARK_LINES_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto hitsIn = [&](const char *at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        return _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf));
    };
    // 32 bytes a round, one test for both halves.
    for (; end - p >= 32; p += 32) {
        const quint32 mask = quint32(_mm_movemask_epi8(hitsIn(p)))
            | quint32(_mm_movemask_epi8(hitsIn(p + 16))) << 16;
        if (mask)
            return p + qCountTrailingZeroBits(mask);
    }
    if (end - p >= 16) {
        if (const int mask = _mm_movemask_epi8(hitsIn(p)))
            return p + qCountTrailingZeroBits(quint32(mask));
        p += 16;
    }
#endif
    for (; p != end; ++p) {
        if (*p == '\r' || *p == '\n')
            return p;
    }
    return end;
}

// Where the line after the one that holds p starts: past its line end, or end.
inline const char *nextLineStart(const char *p, const char *end)
{
    p = nextLineEnd(p, end);
    if (p == end)
        return end;
    return (*p == '\r' && p + 1 != end && p[1] == '\n') ? p + 2 : p + 1;
}

// Calls onLine(start, end) for every line of [begin, end), its line end left out, in order, until
// it returns false; the last line counts when it has bytes. NUL bytes count as text.
template<typename OnLine> void forEachLine(const char *begin, const char *end, OnLine onLine)
{
    constexpr qsizetype Block = 32;
    const qsizetype size = end - begin;
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < size; at += Block) {
        alignas(16) char tail[Block];
        const BlockMasks masks = masksOf(blockAt(begin, at, size, tail));
        for (quint32 ends = masks.cr | masks.lf; ends; ends &= ends - 1) {
            const qsizetype offset = at + qsizetype(qCountTrailingZeroBits(ends));
            if (offset < lineStart) // the LF of a CR LF
                continue;
            if (!onLine(begin + lineStart, begin + offset))
                return;
            lineStart = offset + 1;
            if (begin[offset] == '\r' && lineStart < size && begin[lineStart] == '\n')
                ++lineStart;
        }
    }
    if (lineStart < size)
        onLine(begin + lineStart, end);
}

// The CR and LF bytes among 64, bit i for byte i.
struct LineEndMasks
{
    quint64 cr;
    quint64 lf;
};

inline LineEndMasks lineEndsOf64(const char *block)
{
    const BlockMasks low = masksOf(block);
    const BlockMasks high = masksOf(block + 32);
    return {quint64(low.cr) | quint64(high.cr) << 32, quint64(low.lf) | quint64(high.lf) << 32};
}

#ifdef PAGELARK_LINES_AVX2
__attribute__((target("avx2"))) inline quint32 maskOf32(__m256i bytes, char c)
{
    return quint32(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c))));
}

__attribute__((target("avx2"))) inline LineEndMasks lineEndsOf64Avx2(const char *block)
{
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(block));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(block + 32));
    return {quint64(maskOf32(low, '\r')) | quint64(maskOf32(high, '\r')) << 32,
            quint64(maskOf32(low, '\n')) | quint64(maskOf32(high, '\n')) << 32};
}
#endif

// The loop of forEachLineStart, to be inlined where it is called, as scanLoop is, with the way
// the line ends of 64 bytes are found.
template<typename OnStarts, typename LineEndsOf>
__attribute__((always_inline)) inline void lineStartLoop(const char *begin, qsizetype size,
                                                         OnStarts &onStarts, LineEndsOf lineEndsOf)
{
    constexpr qsizetype Block = 64;
    constexpr int Batch = 1024;
    qsizetype starts[Batch + Block];
    int n = 0;
    starts[n++] = 0;
    quint64 lfBefore = 0; // the block before ended with an LF
    quint64 crBefore = 0; // or with a CR
    for (qsizetype at = 0; at < size; at += Block) {
        // The last block is read from a copy, padded with blanks.
        alignas(32) char tail[Block];
        const char *block = begin + at;
        if (size - at < Block) {
            std::memset(tail, ' ', sizeof tail);
            std::memcpy(tail, block, size_t(size - at));
            block = tail;
        }
        const LineEndMasks ends = lineEndsOf(block);
        // A line starts after an LF, and after a CR that no LF follows.
        quint64 found = (ends.lf << 1 | lfBefore) | ((ends.cr << 1 | crBefore) & ~ends.lf);
        lfBefore = ends.lf >> 63;
        crBefore = ends.cr >> 63;
        if (size - at < Block)
            found &= (quint64(1) << (size - at)) - 1;
        // Ordinary lines hold more than 32 bytes: two places are written whatever the count, and
        // a loop is needed only for shorter lines.
        const int count = int(qPopulationCount(found));
        starts[n] = at + qsizetype(qCountTrailingZeroBits(found));
        found &= found - 1;
        starts[n + 1] = at + qsizetype(qCountTrailingZeroBits(found));
        found &= found - 1;
        for (int k = 2; found; ++k, found &= found - 1)
            starts[n + k] = at + qsizetype(qCountTrailingZeroBits(found));
        n += count;
        if (n >= Batch) {
            if (!onStarts(static_cast<const qsizetype *>(starts), n))
                return;
            n = 0;
        }
    }
    if (n > 0)
        onStarts(static_cast<const qsizetype *>(starts), n);
}

#ifdef PAGELARK_LINES_AVX2
template<typename OnStarts>
__attribute__((target("avx2,popcnt,bmi"))) void lineStartLoopAvx2(const char *begin, qsizetype size,
                                                                  OnStarts &onStarts)
{
    lineStartLoop(begin, size, onStarts, lineEndsOf64Avx2);
}
#endif

#if defined(__x86_64__) && !defined(__POPCNT__)
template<typename OnStarts>
__attribute__((target("popcnt"))) void lineStartLoopWithPopcnt(const char *begin, qsizetype size,
                                                               OnStarts &onStarts)
{
    lineStartLoop(begin, size, onStarts, lineEndsOf64);
}
#endif

// Calls onStarts(starts, count) with the offsets from begin of the lines of [begin, end) that
// start there, in order and a batch at a time, until it returns false: 0 for the first line,
// then each place just after a line end that is not the text's end. The bytes are looked at 64
// at a time (with AVX2 where the processor has it), and a line's start found without a branch
// that depends on the length of its line.
template<typename OnStarts>
void forEachLineStart(const char *begin, const char *end, OnStarts onStarts)
{
    if (end == begin)
        return;
#ifdef PAGELARK_LINES_AVX2
    static const bool hasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")
        && __builtin_cpu_supports("bmi");
    if (hasAvx2)
        return lineStartLoopAvx2(begin, end - begin, onStarts);
#endif
#if defined(__x86_64__) && !defined(__POPCNT__)
    static const bool hasPopcnt = __builtin_cpu_supports("popcnt");
    if (hasPopcnt)
        return lineStartLoopWithPopcnt(begin, end - begin, onStarts);
#endif
    lineStartLoop(begin, end - begin, onStarts, lineEndsOf64);
}

// The number of line ends in [begin, end), NUL bytes counting as text: every LF, and every CR but
// one an LF follows, as that pair ends a single line. Counted 16 bytes at a time, without looking
// at each line end on its own.
inline qsizetype countLineEnds(const char *begin, const char *end)
{
    qsizetype count = 0;
    const char *p = begin;
#ifdef PAGELARK_LINES_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    // The byte after the 16 is read too, so 17 must be left.
    while (end - p > 16) {
        // One counter a byte position, subtracting the compare's -1 per line end; they are added
        // up before they can wrap.
        __m128i counters = _mm_setzero_si128();
        for (int round = 0; round < 255 && end - p > 16; ++round, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(bytes, cr));
            counters = _mm_sub_epi8(counters, _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), loneCr));
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; p != end; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n')))
            ++count;
    }
    return count;
}

} // namespace LineEnds
