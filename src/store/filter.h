#pragma once

// The filter language of the datasets, compiled into a parameterised SQL condition.
//
//   expr       := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | '(' expr ')' | comparison
//   comparison := operand ( '=' | '<>' | '<' | '<=' | '>' | '>=' ) operand
//   operand    := field name (any case) | whole number | 'text' | "text"
//               | date in the locale's short format ("19.05.1998", "1998. 05. 19.",
//                 "19.05.1998 г.": blanks and literal text as the format has them; a
//                 year past 9999 with its five or more digits, as formatDate writes it)
//               | TRUE | FALSE
//
// Field names become our own quoted column names; every literal becomes a "?"
// parameter converted to the type of the field it is compared with. An empty
// boolean compares as false.

#include "engine.h"

#include <QString>
#include <QVariant>
#include <set>
#include <vector>

namespace store::engine {

struct CompiledFilter
{
    QByteArray sql; // empty: no condition
    std::vector<QVariant> params;
    std::set<int> fields; // indexes of the fields the condition reads
};

// Throws EngineError with a German message for any malformed expression.
CompiledFilter compileFilter(const QString& expression, const TableInfo& table);

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

} // namespace store::engine
