#pragma once

#include <QStringList>

namespace store {

// A statement runner: holds one local SQL statement as lines and executes it in the
// current directory. Understands CREATE TABLE "file.db" (...) and
// CREATE INDEX name ON "file.db" (field, ...). Anything else, or a table file that
// exists already, is refused with an EngineError and nothing is created.
class Query
{
public:
    QStringList sql; // one entry per line
    void execSQL() const;
};

} // namespace store
