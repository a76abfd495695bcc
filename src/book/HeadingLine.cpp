#include "book/HeadingLine.h"

#include <QHash>

#include <array>
#include <vector>

namespace HeadingLine {

QStringView blanks()
{
    return u" \t\v\f\u00A0\u3000";
}

namespace {

// A heading line alone, or with a title after a blank, is at most this long; after a separator
// (a colon, a full stop, a dash) a title may make it longer. CJK lines hold about twice the words
// in the same characters.
constexpr qsizetype kShortLine = 60;
constexpr qsizetype kLongLine = 100;
constexpr qsizetype kShortCjkLine = 30;
constexpr qsizetype kLongCjkLine = 50;
// Numbers in digits longer than this are no chapter numbers; bare ones are at most a year's.
constexpr qsizetype kMostDigits = 6;
constexpr qsizetype kMostBareDigits = 4;

struct Keyword
{
    const char16_t *word;
    Kind kind;
};

// Each keyword in English, French, German, Spanish, Italian, Portuguese and Russian.
constexpr std::array kNumbered = {
    Keyword {u"Volume", Kind::Volume},    Keyword {u"Vol.", Kind::Volume},
    Keyword {u"Tome", Kind::Volume},      Keyword {u"Band", Kind::Volume},
    Keyword {u"Volumen", Kind::Volume},   Keyword {u"Tomo", Kind::Volume},
    Keyword {u"Том", Kind::Volume},       Keyword {u"Book", Kind::Book},
    Keyword {u"Livre", Kind::Book},       Keyword {u"Buch", Kind::Book},
    Keyword {u"Libro", Kind::Book},       Keyword {u"Livro", Kind::Book},
    Keyword {u"Книга", Kind::Book},       Keyword {u"Part", Kind::Part},
    Keyword {u"Partie", Kind::Part},      Keyword {u"Teil", Kind::Part},
    Keyword {u"Parte", Kind::Part},       Keyword {u"Часть", Kind::Part},
    Keyword {u"Act", Kind::Act},          Keyword {u"Acte", Kind::Act},
    Keyword {u"Akt", Kind::Act},          Keyword {u"Aufzug", Kind::Act},
    Keyword {u"Acto", Kind::Act},         Keyword {u"Atto", Kind::Act},
    Keyword {u"Ato", Kind::Act},          Keyword {u"Действие", Kind::Act},
    Keyword {u"Chapter", Kind::Chapter},  Keyword {u"Chap.", Kind::Chapter},
    Keyword {u"Chapitre", Kind::Chapter}, Keyword {u"Kapitel", Kind::Chapter},
    Keyword {u"Capítulo", Kind::Chapter}, Keyword {u"Capitulo", Kind::Chapter},
    Keyword {u"Capitolo", Kind::Chapter}, Keyword {u"Глава", Kind::Chapter},
    Keyword {u"Section", Kind::Section},  Keyword {u"Abschnitt", Kind::Section},
    Keyword {u"Sección", Kind::Section},  Keyword {u"Seccion", Kind::Section},
    Keyword {u"Sezione", Kind::Section},  Keyword {u"Secção", Kind::Section},
    Keyword {u"Seção", Kind::Section},    Keyword {u"Раздел", Kind::Section},
    Keyword {u"Scene", Kind::Scene},      Keyword {u"Scène", Kind::Scene},
    Keyword {u"Szene", Kind::Scene},      Keyword {u"Auftritt", Kind::Scene},
    Keyword {u"Escena", Kind::Scene},     Keyword {u"Scena", Kind::Scene},
    Keyword {u"Cena", Kind::Scene},       Keyword {u"Сцена", Kind::Scene},
    Keyword {u"Явление", Kind::Scene},
};

// Parts that go without a number; a word's place in the list tells one part from another.
constexpr std::array kNamed = {
    u"Prologue",   u"Epilogue",     u"Preface",      u"Foreword",    u"Introduction",
    u"Afterword",  u"Appendix",     u"Conclusion",   u"Postscript",  u"Épilogue",
    u"Préface",    u"Avant-propos", u"Postface",     u"Annexe",      u"Appendice",
    u"Prolog",     u"Epilog",       u"Vorwort",      u"Vorrede",     u"Einleitung",
    u"Nachwort",   u"Anhang",       u"Schluss",      u"Prólogo",     u"Epílogo",
    u"Prefacio",   u"Introducción", u"Apéndice",     u"Conclusión",  u"Prologo",
    u"Epilogo",    u"Prefazione",   u"Introduzione", u"Postfazione", u"Conclusione",
    u"Prefácio",   u"Introdução",   u"Posfácio",     u"Apêndice",    u"Conclusão",
    u"Пролог",     u"Эпилог",       u"Предисловие",  u"Введение",    u"Послесловие",
    u"Приложение", u"Заключение",
};

constexpr std::array kCjkNamed = {
    u"序章", u"序言", u"序",   u"楔子", u"引子",       u"前言",       u"后记",     u"後記",
    u"尾声", u"尾聲", u"终章", u"終章", u"プロローグ", u"エピローグ", u"あとがき", u"まえがき",
};

// 第 + number + one of these: volume, collection, part, section of a work, chapter, chapter of
// a traditional novel, episode, section, act.
constexpr std::array<std::pair<char16_t, Kind>, 11> kCjkKinds = {{
    {u'卷', Kind::Volume},
    {u'集', Kind::Volume},
    {u'部', Kind::Part},
    {u'篇', Kind::Part},
    {u'章', Kind::Chapter},
    {u'回', Kind::Chapter},
    {u'话', Kind::Chapter},
    {u'話', Kind::Chapter},
    {u'节', Kind::Section},
    {u'節', Kind::Section},
    {u'幕', Kind::Act},
}};

// Number words by value, cardinal and ordinal. A stem ending in '+' takes the German endings,
// '*' the Romance ones (-o, -a), '~' the Russian ones.
struct NumberWords
{
    int value;
    const char16_t *cardinals;
    const char16_t *ordinals;
};

constexpr std::array<NumberWords, 28> kNumberWords = {{
    {1, u"one un une eins uno una um uma один одна одно",
     u"first premier première ier ire erst+ primer primer* prim* primeir* перв~"},
    {2, u"two deux zwei dos due dois duas два две",
     u"second seconde deuxième zweit+ segund* second* втор~"},
    {3, u"three trois drei tres tre três три",
     u"third troisième dritt+ tercer tercer* terz* terceir* трет~"},
    {4, u"four quatre vier cuatro quattro quatro четыре",
     u"fourth quatrième viert+ cuart* quart* четвёрт~ четверт~"},
    {5, u"five cinq fünf cinco cinque пять", u"fifth cinquième fünft+ quint* пят~"},
    {6, u"six sechs seis sei шесть", u"sixth sixième sechst+ sext* sest* шест~"},
    {7, u"seven sept sieben siete sette sete семь",
     u"seventh septième siebent+ siebt+ séptim* septim* settim* sétim* седьм~"},
    {8, u"eight huit acht ocho otto oito восемь",
     u"eighth huitième acht+ octav* ottav* oitav* восьм~"},
    {9, u"nine neuf neun nueve nove девять", u"ninth neuvième neunt+ noven* non* девят~"},
    {10, u"ten dix zehn diez dieci dez десять", u"tenth dixième zehnt+ décim* decim* десят~"},
    {11, u"eleven onze elf once undici одиннадцать",
     u"eleventh onzième elft+ undécim* undicesim* одиннадцат~"},
    {12, u"twelve douze zwölf doce dodici doze двенадцать",
     u"twelfth douzième zwölft+ duodécim* dodicesim* двенадцат~"},
    {13, u"thirteen treize dreizehn trece tredici treze тринадцать",
     u"thirteenth treizième dreizehnt+ tredicesim* тринадцат~"},
    {14, u"fourteen quatorze vierzehn catorce quattordici catorze четырнадцать",
     u"fourteenth quatorzième vierzehnt+ quattordicesim* четырнадцат~"},
    {15, u"fifteen quinze fünfzehn quince quindici пятнадцать",
     u"fifteenth quinzième fünfzehnt+ quindicesim* пятнадцат~"},
    {16, u"sixteen seize sechzehn dieciséis sedici dezesseis dezasseis шестнадцать",
     u"sixteenth seizième sechzehnt+ sedicesim* шестнадцат~"},
    {17, u"seventeen dix-sept siebzehn diecisiete diciassette dezessete dezassete семнадцать",
     u"seventeenth dix-septième siebzehnt+ diciassettesim* семнадцат~"},
    {18, u"eighteen dix-huit achtzehn dieciocho diciotto dezoito восемнадцать",
     u"eighteenth dix-huitième achtzehnt+ diciottesim* восемнадцат~"},
    {19, u"nineteen dix-neuf neunzehn diecinueve diciannove dezenove dezanove девятнадцать",
     u"nineteenth dix-neuvième neunzehnt+ diciannovesim* девятнадцат~"},
    {20, u"twenty vingt zwanzig veinte venti vinte двадцать",
     u"twentieth vingtième zwanzigst+ vigésim* ventesim* двадцат~"},
    {30, u"thirty", u"thirtieth"},
    {40, u"forty", u"fortieth"},
    {50, u"fifty", u"fiftieth"},
    {60, u"sixty", u"sixtieth"},
    {70, u"seventy", u"seventieth"},
    {80, u"eighty", u"eightieth"},
    {90, u"ninety", u"ninetieth"},
    {100, u"hundred", u"hundredth"},
}};

struct NumberWord
{
    int value;
    bool ordinal;
    QList<QString> forms; // its case forms
};

const QHash<QString, NumberWord> &numberTable()
{
    static const QHash<QString, NumberWord> words = [] {
        QHash<QString, NumberWord> all;
        const auto insert = [&all](const QString &word, int value, bool ordinal) {
            all.insert(word, {value, ordinal, caseForms(word)});
        };
        const auto add = [&insert](QStringView list, int value, bool ordinal) {
            for (const QStringView word : list.split(u' ')) {
                const QString stem = word.chopped(1).toString();
                if (word.endsWith(u'+')) {
                    for (const char16_t *ending : {u"", u"e", u"er", u"es", u"en"})
                        insert(stem + QString::fromUtf16(ending), value, ordinal);
                } else if (word.endsWith(u'*')) {
                    for (const char16_t *ending : {u"o", u"a"})
                        insert(stem + QString::fromUtf16(ending), value, ordinal);
                } else if (word.endsWith(u'~')) {
                    for (const char16_t *ending : {u"ая", u"ый", u"ой", u"ое", u"ий", u"ья", u"ье"})
                        insert(stem + QString::fromUtf16(ending), value, ordinal);
                } else {
                    insert(word.toString(), value, ordinal);
                }
            }
        };
        for (const NumberWords &words : kNumberWords) {
            add(words.cardinals, words.value, false);
            add(words.ordinals, words.value, true);
        }
        return all;
    }();
    return words;
}

bool isBlank(QChar c)
{
    return blanks().contains(c);
}

QStringView skipBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    return s;
}

// Letters of ASCII to lower case and nothing else: the byte scan folds letter case the same way.
QChar asciiLower(QChar c)
{
    return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c;
}

QString asciiLower(QStringView s)
{
    QString folded = s.toString();
    for (QChar &c : folded)
        c = asciiLower(c);
    return folded;
}

// Whether text is one of a word's case forms.
bool isInCase(QStringView text, const QList<QString> &forms)
{
    for (const QString &form : forms) {
        if (form.size() != text.size())
            continue;
        qsizetype i = 0;
        while (i < text.size() && asciiLower(text[i]) == form[i])
            ++i;
        if (i == text.size())
            return true;
    }
    return false;
}

// A keyword or a named part with its case forms, made once.
struct KnownWord
{
    QStringView word;
    Kind kind;
    QList<QString> forms;
};
using KnownWords = std::vector<KnownWord>;

const KnownWords &numberedWords()
{
    static const KnownWords words = [] {
        KnownWords all;
        for (const Keyword &keyword : kNumbered)
            all.push_back({keyword.word, keyword.kind, caseForms(keyword.word)});
        return all;
    }();
    return words;
}

const KnownWords &namedWords()
{
    static const KnownWords words = [] {
        KnownWords all;
        for (const char16_t *word : kNamed)
            all.push_back({word, Kind::Named, caseForms(word)});
        return all;
    }();
    return words;
}

// Whether the line starts with a keyword or a named part in one of its case forms, and no letter
// follows it, unless the word ends in a full stop.
bool startsWithWord(QStringView line, const KnownWord &known)
{
    const QStringView w = known.word;
    if (line.size() < w.size() || !isInCase(line.first(w.size()), known.forms))
        return false;
    return w.endsWith(u'.') || line.size() == w.size() || !line[w.size()].isLetter();
}

bool isSeparator(QChar c)
{
    return QStringView(u".:;,-–—―|)]·•：、．，").contains(c);
}

bool isWordChar(QChar c)
{
    return c.isLetter() || c.isMark();
}

// A word's letters, with hyphens inside it ("twenty-one", "dix-sept").
qsizetype wordLength(QStringView s)
{
    qsizetype n = 0;
    while (n < s.size()) {
        if (isWordChar(s[n]))
            ++n;
        else if (s[n] == u'-' && n > 0 && n + 1 < s.size() && isWordChar(s[n + 1]))
            ++n;
        else
            break;
    }
    return n;
}

int romanDigit(QChar c)
{
    static const int values[] = {1, 5, 10, 50, 100, 500, 1000};
    const qsizetype at = c.unicode() < 0x80 ? QStringView(u"IVXLCDM").indexOf(c.toUpper()) : -1;
    return at < 0 ? 0 : values[at];
}

QString romanNumeral(int value)
{
    static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char16_t *const letters[] = {u"M",  u"CM", u"D",  u"CD", u"C",  u"XC", u"L",
                                              u"XL", u"X",  u"IX", u"V",  u"IV", u"I"};
    QString numeral;
    for (size_t i = 0; i < std::size(values); ++i) {
        for (; value >= values[i]; value -= values[i])
            numeral += QStringView(letters[i]);
    }
    return numeral;
}

// A number word of the table in one of its case forms.
std::optional<NumberWord> tableWord(QStringView token)
{
    const auto found = numberTable().constFind(token.toString().toLower());
    if (found == numberTable().constEnd() || !isInCase(token, found->forms))
        return std::nullopt;
    return *found;
}

std::optional<NumberWord> numberWord(QStringView token)
{
    if (const std::optional<NumberWord> word = tableWord(token))
        return word;
    // English compounds: "twenty-one", "thirty-second".
    const qsizetype hyphen = token.indexOf(u'-');
    if (hyphen < 0)
        return std::nullopt;
    const std::optional<NumberWord> tens = tableWord(token.first(hyphen));
    const std::optional<NumberWord> units = tableWord(token.sliced(hyphen + 1));
    if (!tens || !units || tens->ordinal || tens->value % 10 != 0 || tens->value < 20
        || tens->value > 90 || units->value > 9)
        return std::nullopt;
    return NumberWord {tens->value + units->value, units->ordinal, {}};
}

// Digits of ASCII or their full-width forms: the digits a heading's number is written in.
int digitOf(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
        return c.unicode() - 0xFF10;
    return -1;
}

struct Number
{
    int value;
    qsizetype length; // of its text
    bool word;
    bool ordinal;
};

std::optional<Number> readNumber(QStringView s, bool allowWords = true)
{
    if (s.isEmpty())
        return std::nullopt;
    if (digitOf(s.front()) >= 0) {
        qsizetype n = 0;
        int value = 0;
        for (; n < s.size() && digitOf(s[n]) >= 0; ++n) {
            if (n == kMostDigits)
                return std::nullopt;
            value = value * 10 + digitOf(s[n]);
        }
        return Number {value, n, false, false};
    }
    const qsizetype n = wordLength(s);
    if (n == 0)
        return std::nullopt;
    const QStringView token = s.first(n);
    if (allowWords) {
        if (const std::optional<NumberWord> word = numberWord(token)) {
            // "Twenty One", "vingt et un" is left out.
            const QStringView after = skipBlanks(s.sliced(n));
            const qsizetype next = wordLength(after);
            if (!word->ordinal && word->value >= 20 && word->value <= 90 && next > 0) {
                const std::optional<NumberWord> unit = numberWord(after.first(next));
                if (unit && unit->value < 10)
                    return Number {word->value + unit->value, s.size() - after.size() + next, true,
                                   unit->ordinal};
            }
            return Number {word->value, n, true, word->ordinal};
        }
    }
    if (const std::optional<int> value = roman(token))
        return Number {*value, n, false, false};
    // "Chapter the First"
    if (allowWords && token.compare(u"the", Qt::CaseInsensitive) == 0) {
        const QStringView after = skipBlanks(s.sliced(n));
        if (after.size() < s.size() - n) {
            const std::optional<Number> number = readNumber(after);
            if (number && number->word)
                return Number {number->value, s.size() - after.size() + number->length, true,
                               number->ordinal};
        }
    }
    return std::nullopt;
}

// The Chinese numerals: digits (with the financial forms and the circle some texts write for
// zero) and the units that multiply them.
int cjkDigit(QChar c)
{
    static const QStringView digits[] = {u"〇零○０", u"一壹１", u"二贰貳两兩２", u"三叁參３",
                                         u"四肆４",  u"五伍５", u"六陆陸６",     u"七柒７",
                                         u"八捌８",  u"九玖９"};
    for (int d = 0; d < 10; ++d) {
        if (digits[d].contains(c))
            return d;
    }
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    return -1;
}

int cjkUnit(QChar c)
{
    switch (c.unicode()) {
    case u'十':
    case u'拾':
        return 10;
    case u'百':
    case u'佰':
        return 100;
    case u'千':
    case u'仟':
        return 1000;
    default:
        return 0;
    }
}

// 十四 is 14, 一百零五 105; 一七 and 一○○, digit by digit, are 17 and 100.
int cjkValue(QStringView numeral)
{
    bool withUnits = false;
    for (const QChar c : numeral)
        withUnits = withUnits || cjkUnit(c) > 0;
    int value = 0;
    int digit = 0;
    for (const QChar c : numeral) {
        if (const int unit = cjkUnit(c)) {
            value += (digit == 0 ? 1 : digit) * unit;
            digit = 0;
        } else if (withUnits) {
            digit = cjkDigit(c);
        } else {
            value = value * 10 + cjkDigit(c);
        }
    }
    return value + digit;
}

// What may follow a CJK heading word: the end, a blank or punctuation, never another letter,
// which would make the heading the start of a longer word (第六回合, 第一部分, 第三节课).
bool endsCjkWord(QStringView rest)
{
    return rest.isEmpty() || isBlank(rest.front()) || rest.front().isPunct()
        || rest.front().isSymbol();
}

bool fitsCjk(QStringView line, QStringView rest)
{
    const bool separated = !rest.isEmpty() && !isBlank(rest.front());
    return line.size() <= (separated ? kLongCjkLine : kShortCjkLine);
}

std::optional<Heading> readCjk(QStringView line)
{
    for (int i = 0; i < int(kCjkNamed.size()); ++i) {
        const QStringView word(kCjkNamed[size_t(i)]);
        if (!line.startsWith(word) || !endsCjkWord(line.sliced(word.size())))
            continue;
        const QStringView rest = line.sliced(word.size());
        if (!fitsCjk(line, rest))
            return std::nullopt;
        return Heading {Kind::Named, -1, int(kNamed.size()) + i, trimmed(rest).isEmpty(), true};
    }
    if (!line.startsWith(u'第'))
        return std::nullopt;
    qsizetype n = 1;
    while (n < line.size() && n <= 8 && (cjkDigit(line[n]) >= 0 || cjkUnit(line[n]) > 0))
        ++n;
    if (n == 1 || n == line.size())
        return std::nullopt;
    for (const auto &[mark, kind] : kCjkKinds) {
        if (line[n] != mark)
            continue;
        const QStringView rest = line.sliced(n + 1);
        if (!endsCjkWord(rest) || !fitsCjk(line, rest))
            return std::nullopt;
        return Heading {kind, cjkValue(line.sliced(1, n - 1)), -1, trimmed(rest).isEmpty(), true};
    }
    return std::nullopt;
}

bool hasLower(QStringView s)
{
    for (const QChar c : s) {
        if (c.isLower())
            return true;
    }
    return false;
}

// What follows a heading's keyword and number: nothing, a separator and a title, or, after a
// number in digits or Roman numerals, a blank and a title that starts like one. Sets
// onlyNumber; false when the line is text.
bool readsAfterNumber(QStringView line, QStringView rest, bool word, Heading &heading)
{
    const QStringView afterBlanks = skipBlanks(rest);
    if (afterBlanks.isEmpty()) {
        heading.onlyNumber = true;
        return line.size() <= kShortLine;
    }
    if (isSeparator(afterBlanks.front())) {
        qsizetype n = 0;
        while (n < afterBlanks.size() && isSeparator(afterBlanks[n]))
            ++n;
        const QStringView title = skipBlanks(afterBlanks.sliced(n));
        // "1.2" and "I,5" are numbers of another kind.
        const bool stopOnly = n == 1 && (afterBlanks[0] == u'.' || afterBlanks[0] == u',');
        if (stopOnly && !title.isEmpty() && title.size() == afterBlanks.size() - 1)
            return false;
        heading.onlyNumber = title.isEmpty();
        return line.size() <= (title.isEmpty() ? kShortLine : kLongLine);
    }
    if (afterBlanks.size() == rest.size() || word || afterBlanks.front().isLower())
        return false;
    return line.size() <= kShortLine;
}

// A keyword of a numbered kind after its number: "1. Kapitel", "II. Teil", "Erstes Kapitel",
// "Primera parte".
std::optional<Heading> readNumberFirst(QStringView line)
{
    std::optional<Number> number = readNumber(line, false);
    QStringView rest;
    if (number) {
        rest = line.sliced(number->length);
        if (!rest.startsWith(u'.') || line.front().unicode() >= 0x80)
            return std::nullopt;
        rest = rest.sliced(1);
    } else {
        // An ordinal word of the table, in one of its case forms.
        const QStringView token = line.first(wordLength(line));
        const std::optional<NumberWord> word = tableWord(token);
        if (!word || !word->ordinal)
            return std::nullopt;
        number = Number {word->value, token.size(), true, true};
        rest = line.sliced(token.size());
    }
    const QStringView keyword = skipBlanks(rest);
    if (keyword.size() == rest.size())
        return std::nullopt;
    for (const KnownWord &candidate : numberedWords()) {
        const QStringView word = candidate.word;
        if (!startsWithWord(keyword, candidate))
            continue;
        Heading heading {candidate.kind, number->value};
        const QStringView after = keyword.sliced(word.size());
        // Only the end or a separator: a blank and more words would be a sentence.
        const QStringView next = skipBlanks(after);
        if (!next.isEmpty() && !isSeparator(next.front()))
            return std::nullopt;
        if (!readsAfterNumber(line, after, true, heading))
            return std::nullopt;
        return heading;
    }
    return std::nullopt;
}

// The longest of the words the line starts with, its index in the list, or -1.
int longestKeyword(QStringView line, const KnownWords &words)
{
    int best = -1;
    for (int i = 0; i < int(words.size()); ++i) {
        const KnownWord &word = words[size_t(i)];
        if ((best < 0 || word.word.size() > words[size_t(best)].word.size())
            && startsWithWord(line, word))
            best = i;
    }
    return best;
}

// A line that starts with a keyword of a numbered kind is that heading or text.
std::optional<Heading> readNumbered(QStringView line, int found)
{
    const QStringView word = numberedWords()[size_t(found)].word;
    const QStringView rest = line.sliced(word.size());
    const QStringView numberText = skipBlanks(rest);
    if (numberText.size() == rest.size() && !word.endsWith(u'.'))
        return std::nullopt;
    const std::optional<Number> number = readNumber(numberText);
    if (!number)
        return std::nullopt;
    Heading heading {numberedWords()[size_t(found)].kind, number->value};
    if (!readsAfterNumber(line, numberText.sliced(number->length), number->word, heading))
        return std::nullopt;
    return heading;
}

std::optional<Heading> readNamed(QStringView line)
{
    const int found = longestKeyword(line, namedWords());
    if (found < 0)
        return std::nullopt;
    const QStringView rest = line.sliced(namedWords()[size_t(found)].word.size());
    const QStringView after = skipBlanks(rest);
    Heading heading {Kind::Named, -1, found};
    if (after.isEmpty() || isSeparator(after.front()))
        return readsAfterNumber(line, rest, false, heading) ? std::optional(heading) : std::nullopt;
    // "Appendix A", "Appendix 2"
    if (after.size() != rest.size()) {
        const bool letter = after.front().isUpper() && (after.size() == 1 || !isWordChar(after[1]));
        const std::optional<Number> number = readNumber(after, false);
        if (letter || number) {
            heading.number = letter ? after.front().unicode() : number->value;
            const QStringView tail = after.sliced(letter ? 1 : number->length);
            if (readsAfterNumber(line, tail, false, heading))
                return heading;
        }
    }
    // "PREFACE TO THE SECOND EDITION": a line all in capitals is no sentence.
    if (after.size() != rest.size() && !hasLower(line) && line.size() <= kShortLine)
        return heading;
    return std::nullopt;
}

// A line holding only a number in ASCII digits or a Roman numeral, with an optional full stop.
std::optional<Heading> readBare(QStringView line)
{
    const QStringView numeral = line.endsWith(u'.') ? line.chopped(1) : line;
    if (numeral.isEmpty())
        return std::nullopt;
    bool digits = numeral.size() <= kMostBareDigits;
    int value = 0;
    for (qsizetype i = 0; digits && i < numeral.size(); ++i) {
        digits = numeral[i] >= u'0' && numeral[i] <= u'9';
        value = value * 10 + (numeral[i].unicode() & 0xF);
    }
    if (digits)
        return Heading {Kind::Number, value, -1, true};
    if (const std::optional<int> r = roman(numeral))
        return Heading {Kind::Number, *r, -1, true};
    return std::nullopt;
}

} // namespace

std::optional<int> roman(QStringView token)
{
    if (token.isEmpty() || token.size() > 15)
        return std::nullopt;
    const bool upper = token.front().isUpper();
    int value = 0;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const int digit = romanDigit(token[i]);
        if (digit == 0 || token[i].isUpper() != upper)
            return std::nullopt;
        const int next = i + 1 < token.size() ? romanDigit(token[i + 1]) : 0;
        value += next > digit ? -digit : digit;
    }
    if (value <= 0 || value >= 4000 || romanNumeral(value) != token.toString().toUpper())
        return std::nullopt;
    return value;
}

QStringView trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

QList<QString> caseForms(QStringView word)
{
    const QString lower = word.toString().toLower();
    const QString title = lower.left(1).toUpper() + lower.mid(1);
    QList<QString> forms;
    for (const QString &form : {word.toString(), lower, word.toString().toUpper(), title}) {
        const QString folded = asciiLower(form);
        if (!forms.contains(folded))
            forms.append(folded);
    }
    return forms;
}

std::optional<Heading> read(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty() || line.size() > kLongLine)
        return std::nullopt;
    if (const std::optional<Heading> cjk = readCjk(line))
        return cjk;
    if (const std::optional<Heading> bare = readBare(line))
        return bare;
    if (const int keyword = longestKeyword(line, numberedWords()); keyword >= 0)
        return readNumbered(line, keyword);
    if (const std::optional<Heading> named = readNamed(line))
        return named;
    return readNumberFirst(line);
}

Marker marker(QStringView line)
{
    line = trimmed(line);
    const bool star = line.startsWith(u'*');
    if (!star && !line.startsWith(u"End of", Qt::CaseInsensitive))
        return Marker::None;
    const bool gutenberg = line.contains(u"PROJECT GUTENBERG", Qt::CaseInsensitive);
    if (star) {
        if (gutenberg && line.contains(u"START OF", Qt::CaseInsensitive))
            return Marker::Start;
        if (gutenberg && line.contains(u"END OF", Qt::CaseInsensitive))
            return Marker::End;
        // The older books' licence ends so, and the book starts after it.
        if (line.startsWith(u"*END*THE SMALL PRINT", Qt::CaseInsensitive))
            return Marker::Start;
    }
    if (gutenberg && line.startsWith(u"End of", Qt::CaseInsensitive))
        return Marker::End;
    return Marker::None;
}

bool readsAsTitle(QStringView line, bool cjk)
{
    line = trimmed(line);
    if (line.isEmpty() || line.size() > (cjk ? kShortCjkLine : kShortLine))
        return false;
    if (read(line) || marker(line) != Marker::None)
        return false;
    const QChar first = line.front();
    if (first.isLower() || QStringView(u"\"'“‘«„‚—–-(…").contains(first))
        return false;
    if (QStringView(u",;:、，").contains(line.back()))
        return false;
    // A sentence's end: a title in capitals may end with a full stop, a line of a story may not.
    if (QStringView(u".!?…\"”’»。！？").contains(line.back()) && (hasLower(line) || cjk))
        return false;
    return !line.contains(u'，') && !line.contains(u'。');
}

QString joined(QStringView heading, QStringView title, bool cjk)
{
    heading = trimmed(heading);
    title = trimmed(title);
    const bool punctuated = !heading.isEmpty() && heading.back().isPunct();
    return heading.toString() + QLatin1String(cjk || punctuated ? " " : ": ") + title.toString();
}

const QList<StartWord> &leadWords()
{
    static const QList<StartWord> words = [] {
        QList<StartWord> all;
        for (const Keyword &keyword : kNumbered)
            all.append({QString::fromUtf16(keyword.word), true});
        for (const char16_t *word : kNamed)
            all.append({QString::fromUtf16(word), false});
        for (const char16_t *word : kCjkNamed)
            all.append({QString::fromUtf16(word), false});
        for (auto it = numberTable().cbegin(); it != numberTable().cend(); ++it) {
            if (it->ordinal)
                all.append({it.key(), false});
        }
        all.append({QStringLiteral("第"), false});
        all.append({QStringLiteral("End of"), false});
        return all;
    }();
    return words;
}

const QList<StartWord> &numberWords()
{
    static const QList<StartWord> words = [] {
        QList<StartWord> all {{QStringLiteral("the"), true}};
        for (auto it = numberTable().cbegin(); it != numberTable().cend(); ++it)
            all.append({it.key(), false});
        for (char16_t digit = 0xFF10; digit <= 0xFF19; ++digit)
            all.append({QString(QChar(digit)), false});
        return all;
    }();
    return words;
}

} // namespace HeadingLine
