#include "book/PageNumberRule.h"

#include <cmath>

namespace PageNumberRule {

Reading read(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (text.isEmpty())
        return {Kind::Empty, 0};
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return {Kind::NotNumeric, 0};
    return {Kind::Numeric, value};
}

std::optional<int> pageIndex(double value)
{
    const double index = std::floor(value) - 1;
    if (index < -32768.0 || index > 32767.0)
        return std::nullopt;
    return int(index);
}

} // namespace PageNumberRule
