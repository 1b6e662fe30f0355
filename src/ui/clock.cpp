#include "clock.h"

#include <algorithm>

namespace quorbel {

Clock::~Clock() = default;

QDate tageWeiter(const QDate& datum, qint64 tage)
{
    if (!datum.isValid())
        return datum;
    const qint64 erster = kErsterTag.toJulianDay();
    const qint64 letzter = kLetzterTag.toJulianDay();
    const qint64 tag = std::clamp(datum.toJulianDay(), erster, letzter);
    // Compared before adding, so that no sum of two large numbers runs over.
    if (tage >= 0)
        return QDate::fromJulianDay(tage > letzter - tag ? letzter : tag + tage);
    return QDate::fromJulianDay(tage < erster - tag ? erster : tag + tage);
}

} // namespace quorbel
