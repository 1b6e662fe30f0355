#pragma once

// Field values between the program and the table files: the form a value is stored in
// (ISO text for days and times, 0/1 for booleans, CHAR text cut to its width) and back,
// and the engine's message for a value a field cannot take. Used by the datasets, the
// filter compiler and the conversion of old tables alike.

#include "engine.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace store::engine {

// A text cut to at most `width` characters (code points, not UTF-16 units), ending
// where a character as the reader sees it ends: a letter keeps its combining marks
// (or goes with them), a surrogate pair is never split.
QString cutToCharacters(QString text, int width);

// Text as every CHAR field and memo stores it: a lone surrogate (half a pair, which
// UTF-8 cannot hold) becomes U+FFFD, the replacement character.
QString withoutLoneSurrogates(QString text);

// A value as stored in a column of the given type (ISO text for dates, 0/1 for
// booleans, ...), converted from a literal or a field value. Invalid QVariant when
// it cannot be converted.
QVariant storageValue(const Field& field, const QVariant& value, bool* ok);

// A stored value as the program reads it (QDate, QTime, int, bool, QString, QByteArray).
QVariant fromStorage(const Field& field, const QVariant& stored);

// A stored day ("YYYY-MM-DD") read without going through text.
QDate isoDate(sqlite3_value* raw);

// "'abc' ist kein gültiges Datum" and the like, for a value `field` cannot take.
QString conversionMessage(const Field& field, const QVariant& value);

} // namespace store::engine
