#include "csv.h"

#include <store/dates.h>

namespace extras {

namespace {

bool siehtAusWieFormel(const QString& text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

QString text(const QString& value)
{
    QString t = siehtAusWieFormel(value) ? QLatin1Char('\'') + value : value;
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\r')) ||
        t.contains(QLatin1Char('\n'))) {
        t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        t = QLatin1Char('"') + t + QLatin1Char('"');
    }
    return t;
}

} // namespace

QString csvFeld(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        return QString::number(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    case QMetaType::QDate:
        return store::formatDate(value.toDate());
    case QMetaType::QTime:
        return store::formatTime(value.toTime());
    case QMetaType::QByteArray:
        return text(QString::fromUtf8(value.toByteArray()));
    default:
        return text(value.toString());
    }
}

QByteArray csvZeile(const QVariantList& values)
{
    QString zeile;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            zeile += QLatin1Char(';');
        zeile += csvFeld(values[i]);
    }
    zeile += QStringLiteral("\r\n");
    return zeile.toUtf8();
}

} // namespace extras
