#pragma once

// Dates and times as the user sees them: the default locale's short date format,
// always with a four-digit year, and its long time format.

#include <QDate>
#include <QString>
#include <QTime>

namespace store {

// The default locale's short date format with the year widened to four digits
// ("dd.MM.yyyy" for German). Qt's own German short format has a two-digit year and
// would read "19.05.26" as 1926.
QString shortDateFormat();
QString formatDate(const QDate& date); // empty for an invalid date

// The days a DATE field can hold, 01.01.0001 to 31.12.9999 (stored as "YYYY-MM-DD");
// the engine refuses to store any other.
inline QDate firstStorableDate()
{
    return QDate(1, 1, 1);
}
inline QDate lastStorableDate()
{
    return QDate(9999, 12, 31);
}
// Reads a date in shortDateFormat(); one-digit days and months are accepted, a
// two-digit year is not. Invalid QDate when the text is no such date.
QDate parseDate(const QString& text);

// Whole calendar days from `start` to `end` (the proleptic Gregorian calendar, so 1900
// and 2100 are common years and 2000 a leap year); negative when `start` lies after
// `end`, 0 when either date is invalid.
int Vergangene_Tage(const QDate& start, const QDate& end);

QString longTimeFormat(); // "HH:mm:ss" for German
QString formatTime(const QTime& time);
QTime parseTime(const QString& text); // "HH:mm:ss" or "HH:mm"

} // namespace store
