#include "book/HeadingTriggers.h"

#include "book/HeadingLine.h"

#include <QMutex>

#include <cstring>
#include <map>
#include <memory>

namespace {

unsigned char folded(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

QByteArray foldedBytes(QByteArray bytes)
{
    for (char &c : bytes)
        c = char(folded(c));
    return bytes;
}

bool isAsciiBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isRomanLetter(char c)
{
    switch (folded(c)) {
    case 'i':
    case 'v':
    case 'x':
    case 'l':
    case 'c':
    case 'd':
    case 'm':
        return true;
    default:
        return false;
    }
}

bool isWide(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// The text in the encoding, or nothing when the encoding cannot hold all of it.
std::optional<QByteArray> encoded(const QString &text, TextEncoding encoding)
{
    const QByteArray bytes = TextCodec::encode(text, encoding);
    if (TextCodec::decode(bytes, encoding) != text)
        return std::nullopt;
    return bytes;
}

void setBit(quint64 *bits, size_t i)
{
    bits[i / 64] |= quint64(1) << (i % 64);
}

size_t pairKey(const char *p)
{
    return size_t(folded(p[0]) | folded(p[1]) << 8);
}

} // namespace

// Room for four times the words' case forms (under a thousand in either list), so that the table
// never fills and a search stops soon.
constexpr size_t kSlots = 4096;

HeadingTriggers::Words::Words() : m_slots(kSlots, 0) { }

int HeadingTriggers::Words::bucketOf(size_t pair) const
{
    for (size_t slot = pair % kSlots;; slot = (slot + 1) % kSlots) {
        if (m_slots[slot] == 0)
            return -1;
        if ((m_slots[slot] & 0xFFFF) == pair)
            return int(m_slots[slot] >> 16) - 1;
    }
}

void HeadingTriggers::Words::add(const QString &word, TextEncoding encoding, bool numberFollows)
{
    for (const QString &form : HeadingLine::caseForms(word)) {
        const std::optional<QByteArray> bytes = encoded(form, encoding);
        if (!bytes || bytes->size() < 2)
            continue;
        const Pattern pattern {foldedBytes(*bytes), numberFollows};
        const size_t key = pairKey(pattern.bytes.constData());
        setBit(m_pairs.data(), key);
        if (bucketOf(key) < 0) {
            size_t slot = key % kSlots;
            while (m_slots[slot] != 0)
                slot = (slot + 1) % kSlots;
            m_buckets.emplace_back();
            m_slots[slot] = quint32(key) | quint32(m_buckets.size()) << 16;
        }
        Bucket &words = m_buckets[size_t(bucketOf(key))];
        if (pattern.bytes.size() == 2)
            words.third.fill(~quint64(0));
        else
            setBit(words.third.data(), folded(pattern.bytes[2]));
        std::vector<Pattern> &patterns = words.patterns;
        const bool known = std::any_of(patterns.begin(), patterns.end(), [&](const Pattern &p) {
            return p.bytes == pattern.bytes && p.numberFollows == pattern.numberFollows;
        });
        if (!known)
            patterns.push_back(pattern);
    }
}

template<typename Accept>
bool HeadingTriggers::Words::startsWith(const char *p, const char *end, Accept accept) const
{
    if (end - p < 2)
        return false;
    const size_t key = pairKey(p);
    if (!hasBit(m_pairs.data(), key))
        return false;
    const Bucket &words = m_buckets[size_t(bucketOf(key))];
    if (end - p > 2 && !hasBit(words.third.data(), folded(p[2])))
        return false;
    for (const Pattern &pattern : words.patterns) {
        const qsizetype n = pattern.bytes.size();
        if (end - p < n)
            continue;
        qsizetype i = 2;
        while (i < n && folded(p[i]) == static_cast<unsigned char>(pattern.bytes[i]))
            ++i;
        if (i == n && accept(pattern.numberFollows, p + n))
            return true;
    }
    return false;
}

template<typename Visit> void HeadingTriggers::Words::forEachStart(Visit visit) const
{
    for (const Bucket &bucket : m_buckets) {
        for (const Pattern &pattern : bucket.patterns)
            visit(pattern.bytes);
    }
}

const HeadingTriggers &HeadingTriggers::of(TextEncoding encoding)
{
    static QMutex mutex;
    static std::map<TextEncoding, std::unique_ptr<HeadingTriggers>> made;
    const QMutexLocker lock(&mutex);
    std::unique_ptr<HeadingTriggers> &triggers = made[encoding];
    if (!triggers)
        triggers = std::make_unique<HeadingTriggers>(encoding);
    return *triggers;
}

HeadingTriggers::HeadingTriggers(TextEncoding encoding)
{
    for (const HeadingLine::StartWord &lead : HeadingLine::leadWords())
        m_leads.add(lead.word, encoding, lead.numberFollows);
    for (const HeadingLine::StartWord &number : HeadingLine::numberWords())
        m_numbers.add(number.word, encoding, number.numberFollows);
    for (const QChar blank : HeadingLine::blanks()) {
        const std::optional<QByteArray> bytes = encoded(QString(blank), encoding);
        if (!bytes || bytes->isEmpty())
            continue;
        if (bytes->size() == 1 && isAsciiBlank(bytes->at(0))) {
            m_byteClass[byteAt(bytes->constData())] |= Blank;
        } else {
            m_byteClass[byteAt(bytes->constData())] |= WideBlankStart;
            m_wideBlanks.push_back(*bytes);
        }
    }
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        if (isDigit(c) || isRomanLetter(c))
            m_byteClass[size_t(b)] |= Numeral | AfterNumeral;
        if (c == '.' || c == '\r' || c == '\n' || isAsciiBlank(c) || isWide(c))
            m_byteClass[size_t(b)] |= AfterNumeral;
    }
    m_byteClass[byteAt("*")] |= Star;
    m_byteClass[byteAt("\r")] |= LineEnd;
    m_byteClass[byteAt("\n")] |= LineEnd;
    m_leads.forEachStart([&](const QByteArray &word) {
        const qsizetype n = std::min(word.size(), qsizetype(4));
        char head[4] = {};
        std::memcpy(head, word.constData(), size_t(n));
        const quint32 folded = foldedHead(head);
        setBit(m_leadStarts[size_t(n - 2)].data(), n == 2 ? folded : keyOf(folded));
    });
}

bool HeadingTriggers::skipWideBlank(const char *&p, const char *end) const
{
    for (const QByteArray &blank : m_wideBlanks) {
        if (end - p >= blank.size()
            && std::memcmp(p, blank.constData(), size_t(blank.size())) == 0) {
            p += blank.size();
            return true;
        }
    }
    return false;
}

// What can stand after a keyword of a numbered kind: blanks (none needed after a full stop), then
// digits, a Roman numeral, or the start of a number word.
bool HeadingTriggers::mayBeNumber(const char *p, const char *end, bool afterStop) const
{
    if (!afterStop) {
        if (p == end || (!isAsciiBlank(*p) && !isWide(*p)))
            return false;
    }
    const char *number = skipBlanks(p, end);
    if (number == end)
        return false;
    // "the" is followed by a number word, as in "Chapter the First".
    const auto accept = [&](bool numberFollows, const char *after) {
        return !numberFollows || mayBeNumber(after, end, false);
    };
    if (isDigit(*number) || m_numbers.startsWith(number, end, accept))
        return true;
    const char *token = number;
    while (number != end && isRomanLetter(*number))
        ++number;
    // A Roman numeral is at most 15 letters.
    char16_t letters[16];
    if (number == token || number - token > 15 || (number != end && isAsciiLetter(*number)))
        return false;
    std::copy(token, number, letters);
    return HeadingLine::roman(QStringView(letters, number - token)).has_value();
}

bool HeadingTriggers::startsHeading(const char *p, const char *end) const
{
    if (*p == '*')
        return true;
    const auto accept = [&](bool numberFollows, const char *after) {
        return !numberFollows || mayBeNumber(after, end, after[-1] == '.');
    };
    if (m_leads.startsWith(p, end, accept))
        return true;
    // A number alone, or one before a full stop and a keyword ("1. Kapitel", "II. Teil").
    if (!isDigit(*p) && !isRomanLetter(*p))
        return false;
    const bool digits = isDigit(*p);
    while (p != end && (digits ? isDigit(*p) : isRomanLetter(*p)))
        ++p;
    if (p != end && (*p == '.' || isWide(*p)))
        return true;
    while (p != end && isAsciiBlank(*p))
        ++p;
    return p == end || isWide(*p);
}
