#pragma once

#include <QDate>
#include <QDateTime>

namespace quorbel {

// The program's only source of today's date and the time of day.
class Clock
{
public:
    virtual ~Clock();
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// The first and the last day the tables can hold.
inline const QDate kErsterTag(1, 1, 1);
inline const QDate kLetzterTag(9999, 12, 31);

// `datum` moved by `tage` days (backwards when negative), kept within kErsterTag and
// kLetzterTag: a reminder or a planner limit computed beyond them takes the day at the
// edge, and so does a `datum` beyond them. An invalid date stays invalid.
QDate tageWeiter(const QDate& datum, qint64 tage);

} // namespace quorbel
