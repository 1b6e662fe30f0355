#pragma once

// Internals of the table engine shared by the statement runner, the datasets and
// the filter compiler. Not for use outside src/store.

#include "error.h"
#include "fieldtype.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store::engine {

// The one table inside every table file, and the suffix of the hidden key columns.
inline constexpr char kTable[] = "tabelle";
inline constexpr char kFoldSuffix[] = "__k";

// Folding key of a text for ordering and find-nearest: NFKD, combining marks
// dropped, case-folded, "ß" as "ss". Stored beside every CHAR field.
QString foldKey(const QString& text);

// SQL identifier in double quotes.
QByteArray quoteId(const QString& name);

struct Field
{
    QString name;
    FieldType type = FieldType::Integer;
    int width = 0; // CHAR(n): n
    QByteArray column() const { return quoteId(name); }
    QByteArray foldColumn() const { return quoteId(name + QLatin1String(kFoldSuffix)); }
    bool isBlob() const { return type == FieldType::Memo || type == FieldType::Graphic; }
};

// Field list of a table file, read from its declared column types.
struct TableInfo
{
    std::vector<Field> fields;
    int keyField = -1; // the AUTOINC field, -1: the table's rowid is the key
    QByteArray keyColumn() const;
    int indexOf(const QString& name) const; // case-insensitive, -1 if none
};

// Parses a declared engine type ("CHAR(50)", "BLOB(0,5)", "AUTOINC", ...);
// false when it is none.
bool parseFieldType(const QString& declared, Field& field);
// The declared type written into the SQLite schema for a field.
QByteArray declaredType(const Field& field, bool primaryKey);

// Removes the journals that belong to no table: the "-journal" of a table file that
// does not exist (left by a crash before the file was deleted by hand) and the
// super-journals "-mj*" written beside it. SQLite would play such a journal into a new
// file of that name. Call only while `path` does not exist.
void removeStaleJournals(const QString& path);

// EngineError with German text for an SQLite result code (and its message as detail).
[[noreturn]] void fail(sqlite3* db, int rc, const QString& what);

// A prepared statement owned by a connection's cache or by its user.
class Stmt
{
public:
    Stmt() = default;
    Stmt(sqlite3* db, const QByteArray& sql);
    Stmt(sqlite3* db, sqlite3_stmt* prepared) : m_db(db), m_stmt(prepared) {} // takes it over
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    Stmt(Stmt&& o) noexcept;
    Stmt& operator=(Stmt&& o) noexcept;

    sqlite3_stmt* get() const { return m_stmt; }
    void reset();
    void bind(int index, const QVariant& value); // 1-based; QString/QByteArray/int/qint64/bool/null
    bool step();                                 // true: a row is there
    void exec();                                 // step to the end
    qint64 int64(int column) const;
    bool isNull(int column) const;
    QVariant column(int column) const; // integer, text (QString) or blob (QByteArray)

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

class DatasetLink; // a dataset as the connection sees it

// One SQLite connection per collection directory, shared by all datasets of that
// directory; each table file is attached under a schema alias of its own.
class Connection
{
public:
    ~Connection();
    static std::shared_ptr<Connection> forDirectory(const QString& directory);

    sqlite3* db() const { return m_db; }
    // Attaches the table file (exclusively locked), or counts one more user of it.
    QByteArray attach(const QString& fileName);
    void release(const QByteArray& schema);
    TableInfo tableInfo(const QByteArray& schema);
    // Schema alias under which a table file (name relative to the directory) is
    // attached; empty when it is not.
    QByteArray schemaOf(const QString& fileName) const;

    // Statement cache of the connection, keyed by the SQL text. Bounded: the
    // statement used longest ago (and not running) makes room for a new one.
    Stmt& cached(const QByteArray& sql);
    static constexpr size_t kCacheLimit = 64;
    size_t cacheSize() const { return m_cache.size(); }
    // Changes whenever cached statements may have been finalized.
    quint64 cacheEpoch() const { return m_cacheEpoch; }
    void exec(const QByteArray& sql);

    // Changes of one table file, so that datasets over the same file drop cached rows.
    quint64 generation(const QByteArray& schema) const;
    // The counter itself, valid while the schema is attached (for quick checks).
    const quint64* generationCounter(const QByteArray& schema) const;
    void touch(const QByteArray& schema);

    // Transactions: one savepoint per level. The outermost release commits to all
    // attached files at once. When SQLite ends the transaction by itself (disk
    // full, I/O error, out of memory), every further write, savepoint and commit of
    // the change is refused until its outermost level has been rolled back.
    void begin();
    void commit();
    void rollback(); // rolls back the innermost level and reloads every dataset
    int depth() const { return m_depth; }
    // Throws when a change is open but its transaction is gone; call before writing.
    void requireTransaction();

    void add(DatasetLink* link);
    void remove(DatasetLink* link);

private:
    explicit Connection(QString directory);
    QString m_directory;
    sqlite3* m_db = nullptr;
    struct Attached
    {
        QString file;
        int users = 0;
        quint64 generation = 0;
        bool locked = true; // main stays open without users, but unlocked
    };
    std::map<QByteArray, Attached> m_attached;
    int m_nextAlias = 1;
    struct CacheEntry
    {
        std::unique_ptr<Stmt> stmt;
        quint64 used = 0;
    };
    std::map<QByteArray, CacheEntry> m_cache;
    quint64 m_cacheEpoch = 0;
    quint64 m_cacheTick = 0;
    void clearCache();
    void evictOne();
    int m_depth = 0;
    bool m_aborted = false;
    [[noreturn]] void abortedChange();
    void detach(const QByteArray& schema);
    void detachUnused();
    void lock(const QByteArray& alias);
    std::vector<DatasetLink*> m_links;
};

// Runs the tasks queued by store::afterChange() once no change is open any more.
// Called by the datasets when a post or delete has ended, either way.
void runAfterChange();

class DatasetLink
{
public:
    virtual ~DatasetLink() = default;
    virtual void reloadAfterRollback() = 0;
};

} // namespace store::engine
