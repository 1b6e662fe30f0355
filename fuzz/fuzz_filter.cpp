// The filter language: any text must either compile into a condition SQLite accepts,
// with exactly one bound value per "?", or be refused with an EngineError.

#include "fuzzsupport.h"

#include <sqlite3.h>
#include <store/engine.h>
#include <store/filter.h>

using namespace store;
using namespace store::engine;

namespace {

TableInfo table()
{
    TableInfo t;
    const char* declared[][2] = {{"Nummer", "AUTOINC"},    {"Titel", "CHAR(30)"}, {"Anzahl", "INTEGER"},
                                 {"Verliehen", "BOOLEAN"}, {"Datum", "DATE"},     {"Zeit", "TIME"},
                                 {"Notiz", "BLOB(0,1)"},   {"Bild", "BLOB(0,5)"}, {"Kürzel", "CHAR(2)"}};
    for (const auto& d : declared) {
        Field f;
        f.name = QString::fromUtf8(d[0]);
        if (!parseFieldType(QString::fromLatin1(d[1]), f))
            fuzzsupport::finding("test table");
        t.fields.push_back(f);
    }
    t.keyField = 0;
    return t;
}

sqlite3* database(const TableInfo& t)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        fuzzsupport::finding("no database");
    QByteArray sql = "CREATE TABLE " + QByteArray(kTable) + " (";
    for (size_t i = 0; i < t.fields.size(); ++i) {
        const Field& f = t.fields[i];
        sql += (i ? ", " : "") + f.column() + ' ' + declaredType(f, static_cast<int>(i) == t.keyField);
        if (f.type == FieldType::Char)
            sql += ", " + f.foldColumn() + " TEXT";
    }
    sql += ')';
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fuzzsupport::finding("test table not created");
    return db;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TableInfo info = table();
    static sqlite3* const db = database(info);

    const QString expression = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CompiledFilter compiled;
    try {
        compiled = compileFilter(expression, info);
    } catch (const EngineError&) {
        return 0;
    }
    if (compiled.sql.isEmpty()) {
        fuzzsupport::check(compiled.params.empty(), "values without a condition");
        return 0;
    }
    for (int f : compiled.fields)
        fuzzsupport::check(f >= 0 && size_t(f) < info.fields.size(), "field index out of range");

    const QByteArray sql = "SELECT count(*) FROM " + QByteArray(kTable) + " WHERE " + compiled.sql;
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", sql.constData(), sqlite3_errmsg(db));
        fuzzsupport::finding("compiled condition is not valid SQL");
    }
    const bool paramsMatch = sqlite3_bind_parameter_count(stmt) == int(compiled.params.size());
    sqlite3_finalize(stmt);
    fuzzsupport::check(paramsMatch, "number of values differs from the placeholders");
    return 0;
}
