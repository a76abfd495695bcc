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
    return std::strchr("ivxlcdm", folded(c)) != nullptr && c != '\0';
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

size_t keyOf(const char *p)
{
    return size_t(folded(p[0]) | folded(p[1]) << 8);
}

} // namespace

HeadingTriggers::Words::Words() : m_bucketOf(size_t(1) << 16, 0) { }

void HeadingTriggers::Words::add(const QString &word, TextEncoding encoding, bool numberFollows)
{
    for (const QString &form : HeadingLine::caseForms(word)) {
        const std::optional<QByteArray> bytes = encoded(form, encoding);
        if (!bytes || bytes->size() < 2)
            continue;
        const Pattern pattern {foldedBytes(*bytes), numberFollows};
        quint16 &bucket = m_bucketOf[keyOf(pattern.bytes.constData())];
        if (bucket == 0) {
            m_buckets.emplace_back();
            bucket = quint16(m_buckets.size());
        }
        std::vector<Pattern> &patterns = m_buckets[bucket - 1];
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
    const quint16 bucket = m_bucketOf[keyOf(p)];
    if (bucket == 0)
        return false;
    for (const Pattern &pattern : m_buckets[bucket - 1]) {
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
    for (const HeadingLine::LeadWord &lead : HeadingLine::leadWords())
        m_leads.add(lead.word, encoding, lead.numberFollows);
    for (const QString &word : HeadingLine::numberWords())
        m_numbers.add(word, encoding);
    for (const QChar blank : HeadingLine::blanks()) {
        const std::optional<QByteArray> bytes = encoded(QString(blank), encoding);
        if (bytes && (bytes->size() > 1 || isWide(bytes->at(0))))
            m_wideBlanks.push_back(*bytes);
    }
}

const char *HeadingTriggers::skipBlanks(const char *p, const char *end) const
{
    while (p != end) {
        if (isAsciiBlank(*p)) {
            ++p;
            continue;
        }
        if (!isWide(*p))
            return p;
        const auto wide =
            std::find_if(m_wideBlanks.begin(), m_wideBlanks.end(), [&](const QByteArray &b) {
                return end - p >= b.size() && std::memcmp(p, b.constData(), size_t(b.size())) == 0;
            });
        if (wide == m_wideBlanks.end())
            return p;
        p += wide->size();
    }
    return p;
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
    if (isDigit(*number)
        || m_numbers.startsWith(number, end, [](bool, const char *) { return true; }))
        return true;
    const char *token = number;
    while (number != end && isRomanLetter(*number))
        ++number;
    if (number == token || (number != end && isAsciiLetter(*number)))
        return false;
    return HeadingLine::roman(QString::fromLatin1(token, number - token)).has_value();
}

bool HeadingTriggers::mayBeHeading(const char *begin, const char *end) const
{
    const char *p = skipBlanks(begin, end);
    if (p == end)
        return false;
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
