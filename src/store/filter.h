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

} // namespace store::engine
