#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Reads one decoded line of a book as a heading: "Chapter IV", "CAPÍTULO TERCERO. De lo que…",
// "Глава первая", "Erstes Kapitel", "第十四回　心猿歸正", "Prologue", a Roman numeral alone. It
// says what kind of heading the line is, its number, and whether the line holds nothing but the
// keyword and the number, so that a title on a line of its own may join it. Which of a book's
// headings make its contents (blank lines around, runs, repeats, a printed table of contents) is
// ChapterFinder's to decide.
namespace HeadingLine {

// From the coarsest to the finest; Named is a part without a number (Prologue, 序章), Number a
// line holding only a number.
enum class Kind : quint8 { Volume, Book, Part, Act, Chapter, Section, Scene, Named, Number };

struct Heading
{
    Kind kind = Kind::Chapter;
    int number = -1; // the value of its number, -1 for a named part without one
    int name = -1; // for a named part, which word it is (the same word, the same part)
    bool onlyNumber = false; // the keyword and the number alone: a title may follow
    bool cjk = false; // written the Chinese or Japanese way, whose lines are shorter
};

// The line as a heading, or nothing for a line of text. Blanks around the line do not count.
std::optional<Heading> read(QStringView line);

// The lines of a Project Gutenberg book that open and close the book's own text.
enum class Marker { None, Start, End };
Marker marker(QStringView line);

// Whether a line can be the title of the heading just before it: short, not a heading itself,
// and not a sentence of the story (lower-case or quoted start, a comma or a full stop at the
// end). Whether a paragraph goes on below it is the caller's to know.
bool readsAsTitle(QStringView line, bool cjk);

// The heading and the title of the line after it as one entry: "Chapter I: The Title", a blank
// instead of ": " after a heading that ends in punctuation or is written the CJK way.
QString joined(QStringView heading, QStringView title, bool cjk);

// The blanks that may stand around a heading and between its words: those of ASCII, the
// no-break space and the CJK full-width one.
QStringView blanks();

// The value of a Roman numeral in one letter case, written the usual way (IV, not IIII), up to
// 3999.
std::optional<int> roman(QStringView numeral);

// The line without the blanks around it.
QStringView trimmed(QStringView line);

// The forms a word is known in: as written, in lower case, in capitals and with a capital first,
// each with its ASCII letters then in lower case (they match in any case).
QList<QString> caseForms(QStringView word);

// A word for scanning bytes without decoding them, with whether a number must follow it after a
// blank.
struct StartWord
{
    QString word;
    bool numberFollows;
};

// The words a heading line can start with.
const QList<StartWord> &leadWords();

// The words a number after a keyword can start with, in lower case: the number words ("one",
// "premier", "первая"), "the" as in "Chapter the First", and the full-width digits.
const QList<StartWord> &numberWords();

} // namespace HeadingLine
