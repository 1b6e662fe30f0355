#include "csv.h"

#include <QDate>
#include <QTime>
#include <algorithm>
#include <charconv>

namespace extras {

namespace {

bool formelZeichen(char32_t c)
{
    return c == '=' || c == '+' || c == '-' || c == '@';
}

// What a spreadsheet passes over before the first character it looks at: blanks (also
// the no-break and full-width ones), zero-width and other format characters, controls.
bool uebergangen(char32_t c)
{
    const QChar::Category k = QChar::category(c);
    return QChar::isSpace(c) || k == QChar::Other_Format || k == QChar::Other_Control;
}

char32_t zeichenAb(QStringView t, qsizetype i, qsizetype* laenge)
{
    const char16_t c = t[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < t.size() && QChar::isLowSurrogate(t[i + 1].unicode())) {
        *laenge = 2;
        return QChar::surrogateToUcs4(c, t[i + 1].unicode());
    }
    *laenge = 1;
    return c;
}

bool siehtAusWieFormel(QStringView t)
{
    if (t.isEmpty())
        return false;
    const char16_t erstes = t.front().unicode();
    if (erstes == '\t' || erstes == '\r' || formelZeichen(erstes))
        return true;
    if (erstes > 0x20 && erstes < 0x7f)
        return false; // a visible ASCII character stays what it is
    // Past leading blanks and zero-width characters, and with the full-width and other
    // compatibility forms folded (NFKC): " =1", "\u00A0=1", "\u200B=1" and "＝1" are
    // formulas to a spreadsheet as well.
    qsizetype i = 0;
    while (i < t.size()) {
        qsizetype n = 0;
        const char32_t c = zeichenAb(t, i, &n);
        if (!uebergangen(c))
            break;
        i += n;
    }
    if (i == t.size())
        return false;
    qsizetype n = 0;
    const char32_t c = zeichenAb(t, i, &n);
    if (formelZeichen(c))
        return true;
    if (QChar::isLetterOrNumber(c))
        return false; // no letter or digit folds into a formula sign
    const QString gefaltet = t.mid(i, 8).toString().normalized(QString::NormalizationForm_KC);
    for (qsizetype j = 0; j < gefaltet.size(); j += n) {
        const char32_t g = zeichenAb(gefaltet, j, &n);
        if (!uebergangen(g))
            return formelZeichen(g);
    }
    return false;
}

void utf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void textAnhaengen(QByteArray& out, QStringView t)
{
    bool quoten = false;
    bool nul = false;
    for (const QChar c : t) {
        const char16_t u = c.unicode();
        quoten = quoten || u == ';' || u == '"' || u == '\r' || u == '\n';
        nul = nul || u == 0;
    }
    if (nul) {
        // NUL is left out: spreadsheets end the field or the whole line at it.
        QString ohne = t.toString();
        ohne.remove(QChar(0));
        textAnhaengen(out, ohne);
        return;
    }
    if (quoten)
        out += '"';
    if (siehtAusWieFormel(t))
        out += '\'';
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t u = t[i].unicode();
        if (u < 0x80) {
            if (u == '"')
                out += '"';
            out += char(u);
            continue;
        }
        qsizetype n = 0;
        char32_t c = zeichenAb(t, i, &n);
        if (QChar::isSurrogate(c))
            c = QChar::ReplacementCharacter; // a surrogate without its partner
        utf8(out, c);
        i += n - 1;
    }
    if (quoten)
        out += '"';
}

// Stored UTF-8 as it stands, where it is valid and holds no NUL; the same rules as above.
void textAnhaengen(QByteArray& out, QByteArrayView t)
{
    bool quoten = false;
    bool sonder = false;
    for (const char c : t) {
        const auto u = static_cast<unsigned char>(c);
        quoten = quoten || u == ';' || u == '"' || u == '\r' || u == '\n';
        sonder = sonder || u == 0 || u >= 0x80;
    }
    if (sonder && (t.contains('\0') || !t.isValidUtf8())) {
        textAnhaengen(out, QString::fromUtf8(t));
        return;
    }
    const auto erstes = t.isEmpty() ? 0 : static_cast<unsigned char>(t.front());
    const bool formel =
        erstes > 0x20 && erstes < 0x7f
            ? formelZeichen(erstes)
            : siehtAusWieFormel(QString::fromUtf8(t.first(std::min<qsizetype>(t.size(), 32))));
    if (quoten)
        out += '"';
    if (formel)
        out += '\'';
    if (!t.contains('"')) {
        out += t;
    } else {
        for (const char c : t) {
            if (c == '"')
                out += '"';
            out += c;
        }
    }
    if (quoten)
        out += '"';
}

void zahl(QByteArray& out, qint64 v)
{
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, v);
    out.append(b, r.ptr - b);
}

void zweistellig(QByteArray& out, int v)
{
    out += char('0' + v / 10);
    out += char('0' + v % 10);
}

// Written by hand, never by the locale: the file is read the same everywhere.
void datum(QByteArray& out, const QDate& d)
{
    if (!d.isValid())
        return;
    if (d.year() < 1 || d.year() > 9999) {
        out += d.toString(u"dd.MM.yyyy").toLatin1();
        return;
    }
    zweistellig(out, d.day());
    out += '.';
    zweistellig(out, d.month());
    out += '.';
    zweistellig(out, d.year() / 100);
    zweistellig(out, d.year() % 100);
}

void zeit(QByteArray& out, const QTime& t)
{
    if (!t.isValid())
        return;
    zweistellig(out, t.hour());
    out += ':';
    zweistellig(out, t.minute());
    if (t.second() != 0) {
        out += ':';
        zweistellig(out, t.second());
    }
}

} // namespace

void csvFeldAnhaengen(QByteArray& out, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        zahl(out, value.toLongLong());
        return;
    case QMetaType::Bool:
        out += value.toBool() ? "Ja" : "Nein";
        return;
    case QMetaType::QDate:
        datum(out, value.toDate());
        return;
    case QMetaType::QTime:
        zeit(out, value.toTime());
        return;
    case QMetaType::QString:
        textAnhaengen(out, *static_cast<const QString*>(value.constData()));
        return;
    case QMetaType::QByteArray:
        textAnhaengen(out, QString::fromUtf8(value.toByteArray()));
        return;
    default:
        textAnhaengen(out, value.toString());
        return;
    }
}

void csvGespeichertAnhaengen(QByteArray& out, store::FieldType typ,
                             const store::Dataset::GespeicherterWert& wert)
{
    using Art = store::Dataset::GespeicherterWert::Art;
    if (typ == store::FieldType::Boolean) {
        out += wert.art == Art::Zahl && wert.zahl != 0 ? "Ja" : "Nein";
        return;
    }
    switch (wert.art) {
    case Art::Leer:
        return;
    case Art::Zahl:
        zahl(out, wert.zahl);
        return;
    case Art::Text:
        break;
    }
    const QByteArrayView t = wert.text;
    if (typ == store::FieldType::Date) {
        // The stored "yyyy-MM-dd" turned round without a detour through QDate.
        const auto ziffer = [&t](qsizetype i) { return t[i] >= '0' && t[i] <= '9'; };
        const auto zahlAus = [&t](qsizetype von, qsizetype bis) {
            int v = 0;
            for (qsizetype i = von; i < bis; ++i)
                v = v * 10 + (t[i] - '0');
            return v;
        };
        if (t.size() == 10 && t[4] == '-' && t[7] == '-' && ziffer(0) && ziffer(1) && ziffer(2) &&
            ziffer(3) && ziffer(5) && ziffer(6) && ziffer(8) && ziffer(9) &&
            QDate(zahlAus(0, 4), zahlAus(5, 7), zahlAus(8, 10)).isValid()) {
            const char d[10] = {t[8], t[9], '.', t[5], t[6], '.', t[0], t[1], t[2], t[3]};
            out.append(d, 10);
        } else {
            datum(out, QDate::fromString(QString::fromUtf8(t), Qt::ISODate));
        }
        return;
    }
    if (typ == store::FieldType::Time) {
        zeit(out, QTime::fromString(QString::fromUtf8(t), Qt::ISODate));
        return;
    }
    textAnhaengen(out, t);
}

void csvZeileAnhaengen(QByteArray& out, const QVariant* values, qsizetype anzahl)
{
    for (qsizetype i = 0; i < anzahl; ++i) {
        if (i > 0)
            out += ';';
        csvFeldAnhaengen(out, values[i]);
    }
    out += "\r\n";
}

QString csvFeld(const QVariant& value)
{
    QByteArray out;
    csvFeldAnhaengen(out, value);
    return QString::fromUtf8(out);
}

QByteArray csvZeile(const QVariantList& values)
{
    QByteArray out;
    csvZeileAnhaengen(out, values.constData(), values.size());
    return out;
}

} // namespace extras
