#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// How the text of the page-number box is read.
namespace PageNumberRule {

enum class Kind { Empty, NotNumeric, Numeric };

struct Reading
{
    Kind kind = Kind::Empty;
    double value = 0;
};

// Numeric by the locale's rules (decimal fractions, a sign and blanks around it allowed), or by
// the C locale's, so that "2.9" is a number everywhere.
Reading read(const QString &text, const QLocale &locale = QLocale());

// The page index (from 0) a numeric value asks for: rounded down, minus 1. Values outside the
// range of page indices give nullopt rather than overflowing.
std::optional<int> pageIndex(double value);

} // namespace PageNumberRule
