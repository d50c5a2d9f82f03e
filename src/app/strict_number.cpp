#include "strict_number.h"

#include <cmath>

std::optional<double> StrictNumber(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    // Qt also reads "inf" and "nan"; neither is a count of hours or minutes.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
