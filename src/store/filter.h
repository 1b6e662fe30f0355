#pragma once

// The filter language of the datasets, compiled into a parameterised SQL condition.
//
//   expr       := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | '(' expr ')' | comparison
//   comparison := operand ( '=' | '<>' | '<' | '<=' | '>' | '>=' ) operand
//   operand    := field name (any case) | whole number | 'text' | "text"
//               | date in the locale's short format ("19.05.1998", "1998. 05. 19.",
//                 "19.05.1998 г.": blanks and literal text as the format has them)
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

// The first `width` characters of a text (whole characters, not UTF-16 units).
QString cutToCharacters(QString text, int width);

// A value as stored in a column of the given type (ISO text for dates, 0/1 for
// booleans, ...), converted from a literal or a field value. Invalid QVariant when
// it cannot be converted.
QVariant storageValue(const Field& field, const QVariant& value, bool* ok);

} // namespace store::engine
