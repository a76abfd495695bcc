#include "book/PageNumberRule.h"

#include <cmath>
#include <limits>

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
    if (index < double(std::numeric_limits<int>::min())
        || index > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(index);
}

} // namespace PageNumberRule
