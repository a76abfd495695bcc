#pragma once

#include <QtAlgorithms>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PAGELARK_PLACES_SSE2 1
#endif

// The bytes a match can begin with: its first byte, and where that is known to be one of a few,
// its second; and the way BytePlaces looks for them.
class FirstBytes
{
public:
    // second all false: any byte.
    FirstBytes(const std::array<bool, 256> &first, const std::array<bool, 256> &second)
        : m_first(first), m_second(second), m_firsts(listOf(first)), m_seconds(listOf(second))
    {
#ifdef PAGELARK_PLACES_SSE2
        if (!m_firsts.empty() && !m_seconds.empty() && m_firsts.size() <= kCompared
            && m_seconds.size() <= kCompared)
            m_mode = Mode::Pairs;
        else
#endif
            m_mode = m_firsts.size() <= kRemembered ? Mode::Memchr : Mode::Lookup;
    }

private:
    friend class BytePlaces;
    enum class Mode { Pairs, Memchr, Lookup };
    static constexpr size_t kCompared = 4;
    static constexpr size_t kRemembered = 3;

    static std::vector<unsigned char> listOf(const std::array<bool, 256> &set)
    {
        std::vector<unsigned char> list;
        for (int b = 0; b < 256; ++b) {
            if (set[size_t(b)])
                list.push_back((unsigned char)b);
        }
        return list;
    }

    std::array<bool, 256> m_first;
    std::array<bool, 256> m_second;
    std::vector<unsigned char> m_firsts;
    std::vector<unsigned char> m_seconds;
    Mode m_mode;
};

// The places in [begin, end) where a match may begin, in order, found without looking at each
// byte on its own: where a few first and second bytes are wanted, both are compared 16 places at
// a time; where only a few first bytes are, each one's next place is found by memchr and
// remembered, so every byte is looked at once per byte wanted however often the others occur;
// else each byte is looked up in turn.
class BytePlaces
{
public:
    BytePlaces(const FirstBytes &wanted, const char *begin, const char *end)
        : m_wanted(wanted), m_at(begin), m_end(end)
    {
#ifdef PAGELARK_PLACES_SSE2
        if (wanted.m_mode == Mode::Pairs) {
            for (size_t i = 0; i < wanted.m_firsts.size(); ++i)
                m_first[i] = _mm_set1_epi8(char(wanted.m_firsts[i]));
            for (size_t i = 0; i < wanted.m_seconds.size(); ++i)
                m_second[i] = _mm_set1_epi8(char(wanted.m_seconds[i]));
        }
#endif
        if (wanted.m_mode == Mode::Memchr) {
            for (size_t i = 0; i < wanted.m_firsts.size(); ++i)
                m_next[i] = nextOf(wanted.m_firsts[i]);
        }
    }

    // The next place, after the one given before; nullptr when there is none.
    const char *next()
    {
        switch (m_wanted.m_mode) {
        case Mode::Pairs:
            return nextPair();
        case Mode::Memchr: {
            const char *candidate = m_end;
            for (size_t i = 0; i < m_wanted.m_firsts.size(); ++i) {
                if (m_next[i] < m_at)
                    m_next[i] = nextOf(m_wanted.m_firsts[i]);
                candidate = std::min(candidate, m_next[i]);
            }
            m_at = candidate + 1;
            return candidate == m_end ? nullptr : candidate;
        }
        case Mode::Lookup:
            break;
        }
        for (; m_at < m_end; ++m_at) {
            if (m_wanted.m_first[static_cast<unsigned char>(*m_at)])
                return m_at++;
        }
        return nullptr;
    }

private:
    using Mode = FirstBytes::Mode;

    const char *nextOf(unsigned char byte) const
    {
        const void *found = std::memchr(m_at, byte, size_t(m_end - m_at));
        return found ? static_cast<const char *>(found) : m_end;
    }

    const char *nextPair()
    {
#ifdef PAGELARK_PLACES_SSE2
        for (;;) {
            if (m_hits) {
                const char *hit = m_block + qCountTrailingZeroBits(m_hits);
                m_hits &= m_hits - 1;
                return hit;
            }
            // The 16 places from m_at, and the byte after each.
            if (m_end - m_at < 17)
                break;
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_at));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_at + 1));
            __m128i first = _mm_cmpeq_epi8(bytes, m_first[0]);
            for (size_t i = 1; i < m_wanted.m_firsts.size(); ++i)
                first = _mm_or_si128(first, _mm_cmpeq_epi8(bytes, m_first[i]));
            __m128i second = _mm_cmpeq_epi8(after, m_second[0]);
            for (size_t i = 1; i < m_wanted.m_seconds.size(); ++i)
                second = _mm_or_si128(second, _mm_cmpeq_epi8(after, m_second[i]));
            m_hits = quint32(_mm_movemask_epi8(_mm_and_si128(first, second)));
            m_block = m_at;
            m_at += 16;
        }
#endif
        for (; m_end - m_at > 1; ++m_at) {
            if (m_wanted.m_first[static_cast<unsigned char>(m_at[0])]
                && m_wanted.m_second[static_cast<unsigned char>(m_at[1])])
                return m_at++;
        }
        return nullptr;
    }

    const FirstBytes &m_wanted;
    const char *m_at;
    const char *m_end;
    std::array<const char *, FirstBytes::kRemembered> m_next {};
#ifdef PAGELARK_PLACES_SSE2
    __m128i m_first[FirstBytes::kCompared] {};
    __m128i m_second[FirstBytes::kCompared] {};
    const char *m_block = nullptr;
    quint32 m_hits = 0;
#endif
};
