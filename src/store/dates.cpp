#include "dates.h"

#include <QLocale>
#include <QRegularExpression>

namespace store {

namespace {

// Widens every year section of a Qt date format to "yyyy".
QString widenYear(QString format)
{
    static const QRegularExpression years(QStringLiteral("y+"));
    format.replace(years, QStringLiteral("yyyy"));
    return format;
}

// "dd" -> "d", "MM" -> "M": Qt then reads one or two digits.
QString lenient(QString format)
{
    static const QRegularExpression days(QStringLiteral("(?<!d)dd(?!d)"));
    static const QRegularExpression months(QStringLiteral("(?<!M)MM(?!M)"));
    format.replace(days, QStringLiteral("d"));
    format.replace(months, QStringLiteral("M"));
    return format;
}

} // namespace

QString shortDateFormat()
{
    return widenYear(QLocale().dateFormat(QLocale::ShortFormat));
}

int Vergangene_Tage(const QDate& start, const QDate& end)
{
    if (!start.isValid() || !end.isValid())
        return 0;
    return static_cast<int>(start.daysTo(end));
}

QString formatDate(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QLocale().toString(date, shortDateFormat());
}

QDate parseDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QString format = shortDateFormat();
    QDate d = QLocale().toDate(t, format);
    if (!d.isValid())
        d = QLocale().toDate(t, lenient(format));
    // Qt accepts fewer digits for "yyyy" in some versions; insist on four.
    if (d.isValid()) {
        static const QRegularExpression fourDigits(QStringLiteral("\\d{4}"));
        if (!fourDigits.match(t).hasMatch())
            return {};
    }
    return d;
}

QString longTimeFormat()
{
    // The locale's long format carries a zone name ("HH:mm:ss t"); a time of day
    // in a table has none.
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    f.replace(zone, QString());
    return f.trimmed();
}

QString formatTime(const QTime& time)
{
    if (!time.isValid())
        return {};
    return QLocale().toString(time, longTimeFormat());
}

QTime parseTime(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QTime r = QLocale().toTime(t, longTimeFormat());
    if (!r.isValid())
        r = QTime::fromString(t, QStringLiteral("H:mm:ss"));
    if (!r.isValid())
        r = QTime::fromString(t, QStringLiteral("H:mm"));
    return r;
}

} // namespace store
