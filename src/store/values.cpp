#include "values.h"

#include "dates.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace store::engine {

QString cutToCharacters(QString text, int width)
{
    if (width <= 0 || text.size() <= width)
        return text;
    // A character outside the basic plane is two UTF-16 units: count characters.
    qsizetype at = 0;
    for (int kept = 0; at < text.size() && kept < width; ++kept)
        at += text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
    if (at >= text.size())
        return text;
    // Back to the start of the character as the reader sees it (a letter with its
    // combining marks, an emoji sequence), so that none is cut in two.
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    clusters.setPosition(at);
    if (!clusters.isAtBoundary())
        at = std::max<qsizetype>(clusters.toPreviousBoundary(), 0);
    text.truncate(at);
    return text;
}

QString withoutLoneSurrogates(QString text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!text[i].isSurrogate())
            continue;
        if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate())
            ++i;
        else
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QVariant storageValue(const Field& f, const QVariant& value, bool* ok)
{
    *ok = true;
    if (!value.isValid() || value.isNull())
        return {};
    const int t = value.typeId();
    switch (f.type) {
    case FieldType::AutoInc:
    case FieldType::Integer: {
        if (t == QMetaType::Bool)
            return QVariant(static_cast<qlonglong>(value.toBool() ? 1 : 0));
        if (t == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (s.isEmpty())
                return {};
            bool good = false;
            const int v = s.toInt(&good);
            if (!good)
                *ok = false;
            return good ? QVariant(static_cast<qlonglong>(v)) : QVariant();
        }
        bool good = false;
        const qlonglong v = value.toLongLong(&good);
        if (!good || v < INT32_MIN || v > INT32_MAX) {
            *ok = false;
            return {};
        }
        return QVariant(v);
    }
    case FieldType::Boolean: {
        if (t == QMetaType::Bool)
            return QVariant(static_cast<qlonglong>(value.toBool() ? 1 : 0));
        if (t == QMetaType::QString) {
            const QString s = value.toString().trimmed().toLower();
            if (s == QLatin1String("true") || s == QLatin1String("wahr") || s == QLatin1String("1") ||
                s == QLatin1String("ja"))
                return QVariant(qlonglong(1));
            if (s == QLatin1String("false") || s == QLatin1String("falsch") || s == QLatin1String("0") ||
                s == QLatin1String("nein"))
                return QVariant(qlonglong(0));
            if (s.isEmpty())
                return {};
            *ok = false;
            return {};
        }
        bool good = false;
        const qlonglong v = value.toLongLong(&good);
        if (!good) {
            *ok = false;
            return {};
        }
        return QVariant(static_cast<qlonglong>(v != 0 ? 1 : 0));
    }
    case FieldType::Date: {
        QDate d;
        if (t == QMetaType::QDate)
            d = value.toDate();
        else if (t == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else if (t == QMetaType::QString) {
            if (value.toString().trimmed().isEmpty())
                return {};
            d = parseDate(value.toString());
        }
        if (!d.isValid()) {
            *ok = false;
            return {};
        }
        if (d < firstStorableDate() || d > lastStorableDate())
            throw EngineError(
                QStringLiteral("Das Datum %1 kann nicht gespeichert werden: Es liegt außerhalb "
                               "des Bereichs %2 bis %3.")
                    .arg(formatDate(d), formatDate(firstStorableDate()), formatDate(lastStorableDate())));
        return d.toString(Qt::ISODate);
    }
    case FieldType::Time: {
        QTime tm;
        if (t == QMetaType::QTime)
            tm = value.toTime();
        else if (t == QMetaType::QDateTime)
            tm = value.toDateTime().time();
        else if (t == QMetaType::QString) {
            if (value.toString().trimmed().isEmpty())
                return {};
            tm = parseTime(value.toString());
        }
        if (!tm.isValid()) {
            *ok = false;
            return {};
        }
        return tm.toString(QStringLiteral("HH:mm:ss"));
    }
    case FieldType::Char:
        return cutToCharacters(
            withoutLoneSurrogates(t == QMetaType::QDate ? formatDate(value.toDate()) : value.toString()),
            f.width);
    case FieldType::Memo:
        return value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                       : withoutLoneSurrogates(value.toString());
    case FieldType::Graphic:
        return value.toByteArray();
    }
    return {};
}

QVariant fromStorage(const Field& f, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QVariant(static_cast<int>(v.toLongLong()));
    case FieldType::Boolean:
        return QVariant(v.toLongLong() != 0);
    case FieldType::Date:
        return QVariant(QDate::fromString(v.toString(), Qt::ISODate));
    case FieldType::Time:
        return QVariant(QTime::fromString(v.toString(), Qt::ISODate));
    case FieldType::Char:
    case FieldType::Memo:
        return QVariant(v.toString());
    case FieldType::Graphic:
        return QVariant(v.toByteArray());
    }
    return v;
}

QDate isoDate(sqlite3_value* raw)
{
    const auto* t = sqlite3_value_text(raw);
    const int n = sqlite3_value_bytes(raw);
    auto digits = [t](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return -1;
            v = v * 10 + (t[i] - '0');
        }
        return v;
    };
    if (t && n == 10 && t[4] == '-' && t[7] == '-') {
        const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (y >= 0 && m >= 0 && d >= 0)
            return QDate(y, m, d);
    }
    return QDate::fromString(QString::fromUtf8(reinterpret_cast<const char*>(t), n), Qt::ISODate);
}

QString conversionMessage(const Field& f, const QVariant& v)
{
    const QString text = v.toString();
    switch (f.type) {
    case FieldType::Date:
        return QStringLiteral("'%1' ist kein gültiges Datum").arg(text);
    case FieldType::Time:
        return QStringLiteral("'%1' ist keine gültige Zeit").arg(text);
    case FieldType::Boolean:
        return QStringLiteral("'%1' ist kein gültiger Boolescher Wert").arg(text);
    default:
        return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
    }
}

} // namespace store::engine
