#include "settings/LinesPerPageRule.h"

#include <cmath>

namespace LinesPerPageRule {

Result check(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {Verdict::TooSmall, 0};
    bool ok = false;
    double number = locale.toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale::c().toDouble(trimmed, &ok);
    // NaN compares false with everything, so it must be refused before the range tests.
    if (!ok || std::isnan(number) || number < 1.0)
        return {Verdict::TooSmall, 0};
    if (number >= 32768.0)
        return {Verdict::TooLarge, 0};
    return {Verdict::Ok, qint16(std::floor(number))};
}

} // namespace LinesPerPageRule
