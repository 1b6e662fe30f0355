#pragma once

// Text files for spreadsheets: fields separated by ";", UTF-8 with a byte order mark,
// lines ended by CR LF, quoted as RFC 4180 does it. A German spreadsheet program opens
// such a file directly.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace extras {

// One field as it stands in the file. Text goes into double quotes when it holds the
// separator, a quote, CR or LF (a quote doubled). Text that begins with "=", "+", "-",
// "@", a tab or CR gets a leading "'" so that no spreadsheet takes it for a formula.
// Numbers stay numbers (a negative one is no formula); dates are "dd.MM.yyyy", times
// "HH:mm:ss", booleans "Ja" / "Nein", an empty value an empty field.
QString csvFeld(const QVariant& value);

// A record: its fields joined by ";" and ended by CR LF, in UTF-8.
QByteArray csvZeile(const QVariantList& values);

// The byte order mark that starts every file.
inline const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace extras
