#pragma once

#include <QLocale>
#include <QString>

// How the Options dialog reads the lines-per-page text. Pages are counted in 16-bit signed
// integers, so a value must lie in 1..32767; anything else is refused, never wrapped.
namespace LinesPerPageRule {

enum class Verdict { Ok, TooSmall, TooLarge };

struct Result
{
    Verdict verdict = Verdict::TooSmall;
    qint16 value = 0; // the number rounded down; meaningful only when verdict is Ok
};

// A number by the locale's rules or else the C locale's, blanks around it allowed. Text that is
// not a number (including an empty text, which is what a cancelled input box gives) counts as
// too small, so that it gets the same warning and another try.
Result check(const QString &text, const QLocale &locale = QLocale());

} // namespace LinesPerPageRule
