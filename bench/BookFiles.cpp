#include "BookFiles.h"

#include "book/TextCodec.h"

#include <QFile>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr std::array<const char *, 24> kAsciiWords = {
    "the",   "river", "ran",    "past", "an",      "old",   "mill",  "where",
    "grain", "was",   "ground", "for",  "bread",   "and",   "a",     "keeper",
    "wrote", "every", "season", "into", "ledgers", "while", "swans", "slept"};

// Two-, three- and four-byte sequences; each is one UTF-16 unit, as the line length counts.
constexpr std::array<const char *, 12> kWideWords = {"caf\xC3\xA9",
                                                     "na\xC3\xAFve",
                                                     "Gr\xC3\xBC\xC3\x9F"
                                                     "e",
                                                     "\xC5\xBC\xC3\xB3\xC5\x82w",
                                                     "\xE2\x82\xAC"
                                                     "12",
                                                     "se\xC3\xB1or",
                                                     "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
                                                     "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0",
                                                     "\xE2\x80\x9Cquoted\xE2\x80\x9D",
                                                     "\xE6\x9C\xAC",
                                                     "fa\xC3\xA7"
                                                     "ade",
                                                     "\xC3\xA5r"};

constexpr std::array<const char *, 24> kRussianWords = {
    "река",  "текла", "мимо",   "старой",    "мельницы",  "где",    "мололи", "зерно",
    "для",   "хлеба", "и",      "хранитель", "записывал", "каждый", "сезон",  "в",
    "книги", "пока",  "лебеди", "спали",     "у",         "воды",   "тихо",   "ночью"};

// The same story in Chinese and Japanese, punctuation as words of their own.
constexpr std::array<const char *, 24> kSimplifiedWords = {
    "河水", "流过",   "古老的", "磨坊", "那里", "磨着", "做面包的", "谷物",
    "和",   "看守人", "把",     "每个", "季节", "写进", "账本",     "天鹅",
    "在",   "水边",   "安静地", "睡着", "夜里", "我们", "，",       "。"};
constexpr std::array<const char *, 24> kTraditionalWords = {
    "河水", "流過",   "古老的", "磨坊", "那裡", "磨著", "做麵包的", "穀物",
    "和",   "看守人", "把",     "每個", "季節", "寫進", "賬本",     "天鵝",
    "在",   "水邊",   "安靜地", "睡著", "夜裡", "我們", "，",       "。"};
constexpr std::array<const char *, 24> kJapaneseWords = {
    "川は",   "古い",   "水車小屋の", "そばを", "流れ",   "パンの", "ための", "穀物が",
    "挽かれ", "番人は", "季節ごとに", "帳簿に", "書き",   "白鳥は", "水辺で", "眠って",
    "いた",   "夜",     "そして",     "私たち", "静かに", "ある",   "、",     "。"};

// A fixed linear congruential generator: std:: distributions differ between libraries.
class Sequence
{
public:
    quint32 next(quint32 bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 33) % bound;
    }

private:
    std::uint64_t m_state = 20240611;
};

struct Word
{
    QByteArray bytes;
    qsizetype characters;
};

QByteArray encoded(const char *text, TextEncoding encoding)
{
    return TextCodec::encode(QString::fromUtf8(text), encoding);
}

template<size_t N>
std::vector<Word> words(const std::array<const char *, N> &list, TextEncoding encoding)
{
    std::vector<Word> result;
    for (const char *word : list)
        result.push_back({encoded(word, encoding), QString::fromUtf8(word).size()});
    return result;
}

} // namespace

namespace BookFiles {

QByteArray generate(qsizetype size, LineEnd lineEnd, Charset charset)
{
    static const std::map<Charset, TextEncoding> encodings = {
        {Charset::Windows1251, TextEncoding::Windows1251},
        {Charset::Utf16, TextEncoding::Utf16LE},
        {Charset::Gb18030, TextEncoding::Gb18030},
        {Charset::Big5, TextEncoding::Big5},
        {Charset::ShiftJis, TextEncoding::ShiftJis}};
    const auto known = encodings.find(charset);
    const TextEncoding encoding = known == encodings.end() ? TextEncoding::Utf8 : known->second;
    const QByteArray end = encoded(lineEnd == LineEnd::CrLf     ? "\r\n"
                                       : lineEnd == LineEnd::Lf ? "\n"
                                                                : " ",
                                   encoding);
    const bool cjk = charset >= Charset::Gb18030;
    const QByteArray space = cjk ? QByteArray() : encoded(" ", encoding);
    const std::vector<Word> plain = charset == Charset::Gb18030 ? words(kSimplifiedWords, encoding)
        : charset == Charset::Big5                              ? words(kTraditionalWords, encoding)
        : charset == Charset::ShiftJis                          ? words(kJapaneseWords, encoding)
        : encoding == TextEncoding::Utf8                        ? words(kAsciiWords, encoding)
                                                                : words(kRussianWords, encoding);
    const std::vector<Word> wide = words(kWideWords, encoding);
    Sequence sequence;
    QByteArray bytes;
    bytes.reserve(size + 512);
    if (charset == Charset::Utf16)
        bytes += "\xFF\xFE";
    while (bytes.size() < size) {
        // Words are at most 10 characters, so a line of up to target fills to at least 40.
        const qsizetype target = 50 + sequence.next(31);
        qsizetype length = 0;
        bool first = true;
        for (;;) {
            const bool pickWide = charset == Charset::Utf8 && (first || sequence.next(6) == 0);
            const std::vector<Word> &list = pickWide ? wide : plain;
            const Word &word = list[sequence.next(quint32(list.size()))];
            const qsizetype wordLength = word.characters + (first || cjk ? 0 : 1);
            if (length + wordLength > target)
                break;
            if (!first)
                bytes += space;
            bytes += word.bytes;
            length += wordLength;
            first = false;
        }
        bytes += end;
    }
    return bytes;
}

bool write(const QString &path, qsizetype size, LineEnd lineEnd, Charset charset, int chapterEvery)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray bytes = generate(size, lineEnd, charset);
    if (chapterEvery > 0)
        bytes = withChapters(bytes, chapterEvery);
    return file.write(bytes) == bytes.size() && file.flush();
}

QByteArray withChapters(const QByteArray &book, int every)
{
    const QByteArray end = book.contains("\r\n") ? "\r\n" : "\n";
    QByteArray result;
    result.reserve(book.size() + book.size() / every);
    qsizetype from = 0;
    for (int line = 0, chapter = 1; from < book.size(); ++line) {
        if (line % every == 0)
            result += end + "Chapter " + QByteArray::number(chapter++) + end + end;
        qsizetype next = book.indexOf(end, from);
        next = next < 0 ? book.size() : next + end.size();
        result += QByteArrayView(book).sliced(from, next - from);
        from = next;
    }
    return result;
}

QString kindName(LineEnd lineEnd, Charset charset)
{
    const QString end = lineEnd == LineEnd::CrLf ? QStringLiteral("crlf")
        : lineEnd == LineEnd::Lf                 ? QStringLiteral("lf")
                                                 : QStringLiteral("none");
    static const char *const sets[] = {"ascii",   "utf8", "cp1251", "utf16",
                                       "gb18030", "big5", "sjis"};
    const QString set = QLatin1String(sets[int(charset)]);
    return end + u'-' + set;
}

} // namespace BookFiles
