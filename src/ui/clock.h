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

} // namespace quorbel
