#pragma once

// Text files for spreadsheets: fields separated by ";", UTF-8 with a byte order mark,
// lines ended by CR LF, quoted as RFC 4180 does it. A German spreadsheet program opens
// such a file directly.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <store/dataset.h>
#include <store/fieldtype.h>

namespace extras {

// One field as it stands in the file. Text goes into double quotes when it holds the
// separator, a quote, CR or LF (a quote doubled). Text that a spreadsheet would take
// for a formula gets a leading "'": one that begins with "=", "+", "-", "@", a tab or
// CR, also after leading blanks (the no-break one too), zero-width characters, or in
// full-width or another compatibility form ("＝" counts as "="). NUL characters are
// left out. Numbers stay numbers (a negative one is no formula); dates are
// "dd.MM.yyyy", times "HH:mm" ("HH:mm:ss" when they have seconds), whatever the
// locale; booleans "Ja" / "Nein", an empty value an empty field.
QString csvFeld(const QVariant& value);

// A record: its fields joined by ";" and ended by CR LF, in UTF-8.
QByteArray csvZeile(const QVariantList& values);

// The same, appended to `out` (the export's way: no text in between).
void csvFeldAnhaengen(QByteArray& out, const QVariant& value);
void csvZeileAnhaengen(QByteArray& out, const QVariant* values, qsizetype anzahl);
// A value as the table file holds it (store::Dataset::gespeicherteZeilenLesen) of a field
// of type `typ`, in the form csvFeld() gives it.
void csvGespeichertAnhaengen(QByteArray& out, store::FieldType typ,
                             const store::Dataset::GespeicherterWert& wert);

// The byte order mark that starts every file.
inline const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace extras
