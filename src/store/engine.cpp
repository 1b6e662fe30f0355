// The table engine on SQLite.
//
// Storage: one SQLite database file per table file ("kass.db"). Inside it one table
// named "tabelle" whose columns are the fields; the declared column types carry the
// engine types so that other tools can read them: CHAR(50), BOOLEAN, DATE, TIME,
// BLOB(0,5), INTEGER, and an AUTOINC field is "INTEGER PRIMARY KEY AUTOINCREMENT"
// (values never reused). DATE is ISO text "YYYY-MM-DD", TIME "HH:MM:SS", BOOLEAN 0/1
// (NULL, never written, reads false), a memo UTF-8 text, a picture bytes.
//
// Collation: every CHAR field has a hidden companion column "<field>__k" holding a
// folding key computed here on every write (NFKD, combining marks dropped,
// case-folded, "ß" as "ss"), compared with SQLite's BINARY collation. Indexes and
// orderings on CHAR fields use the key columns, with the primary key as tie-break,
// so the files need no collation of ours and pass "PRAGMA integrity_check" in any
// SQLite tool.
//
// Durability: one connection per collection directory; the first table file opened
// is its main database, every further one is ATTACHed under a generated alias. All
// files use journal_mode DELETE and synchronous FULL, so that a transaction that
// writes several files commits atomically through SQLite's super-journal (WAL would
// not be atomic across files). Every post and delete, together with whatever its
// notification handlers write, is one transaction: nested posts are nested
// savepoints. A failure rolls back to the savepoint and every dataset of the
// connection re-reads its rows. When SQLite ends the transaction by itself (disk
// full, I/O error, out of memory) the whole change is rolled back and nothing of
// it is written afterwards, not even by a handler that caught the error. Work that
// must not run inside a change (everything that waits for a person) is queued by
// store::afterChange() and run once the outermost change has ended.
//
// Exclusive use: each file is put into locking_mode EXCLUSIVE and the lock is taken
// at once, so another program cannot open the tables while they are open here; the
// operating system drops the locks when a process dies. A file whose last dataset
// closes is detached (the main database, which cannot be, is unlocked), after the
// change under way if there is one.

#include "engine.h"

#include "changes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <algorithm>
#include <deque>
#include <sqlite3.h>

namespace store::engine {

QString foldKey(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            continue;
        default:
            out.append(c);
        }
    }
    out = out.toCaseFolded();
    out.replace(QChar(0x00DF), QStringLiteral("ss"));
    return out;
}

QByteArray quoteId(const QString& name)
{
    QByteArray n = name.toUtf8();
    n.replace('"', "\"\"");
    return '"' + n + '"';
}

QByteArray TableInfo::keyColumn() const
{
    return keyField >= 0 ? fields[static_cast<size_t>(keyField)].column() : QByteArray("rowid");
}

int TableInfo::indexOf(const QString& name) const
{
    for (size_t i = 0; i < fields.size(); ++i) // the usual spelling first
        if (fields[i].name == name)
            return static_cast<int>(i);
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool parseFieldType(const QString& declared, Field& field)
{
    static const QRegularExpression charRe(QStringLiteral("^CHAR\\s*\\(\\s*(\\d+)\\s*\\)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blobRe(QStringLiteral("^BLOB\\s*\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*\\)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString t = declared.trimmed();
    const QString u = t.toUpper();
    field.width = 0;
    if (u == QLatin1String("AUTOINC"))
        field.type = FieldType::AutoInc;
    else if (u == QLatin1String("INTEGER"))
        field.type = FieldType::Integer;
    else if (u == QLatin1String("BOOLEAN"))
        field.type = FieldType::Boolean;
    else if (u == QLatin1String("DATE"))
        field.type = FieldType::Date;
    else if (u == QLatin1String("TIME"))
        field.type = FieldType::Time;
    else if (auto m = charRe.match(t); m.hasMatch()) {
        field.type = FieldType::Char;
        field.width = m.captured(1).toInt();
        if (field.width < 1 || field.width > 255)
            return false;
    } else if (auto b = blobRe.match(t); b.hasMatch()) {
        const int subtype = b.captured(2).toInt();
        if (subtype == 1)
            field.type = FieldType::Memo;
        else if (subtype == 5)
            field.type = FieldType::Graphic;
        else
            return false;
        field.width = b.captured(1).toInt();
    } else
        return false;
    return true;
}

QByteArray declaredType(const Field& f, bool primaryKey)
{
    switch (f.type) {
    case FieldType::AutoInc:
        return primaryKey ? "INTEGER PRIMARY KEY AUTOINCREMENT" : "INTEGER";
    case FieldType::Integer:
        return "INTEGER";
    case FieldType::Char:
        return "CHAR(" + QByteArray::number(f.width) + ')';
    case FieldType::Boolean:
        return "BOOLEAN";
    case FieldType::Date:
        return "DATE";
    case FieldType::Time:
        return "TIME";
    case FieldType::Memo:
        return "BLOB(" + QByteArray::number(f.width) + ",1)";
    case FieldType::Graphic:
        return "BLOB(" + QByteArray::number(f.width) + ",5)";
    }
    return "INTEGER";
}

void removeStaleJournals(const QString& path)
{
    const QFileInfo table(path);
    if (table.exists())
        return;
    QDir dir = table.absoluteDir();
    const QString name = table.fileName();
    QFile::remove(dir.filePath(name + QStringLiteral("-journal")));
    const QStringList superJournals =
        dir.entryList({name + QStringLiteral("-mj*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& sj : superJournals)
        QFile::remove(dir.filePath(sj));
}

void fail(sqlite3* db, int rc, const QString& what)
{
    const int primary = rc & 0xff;
    QString text;
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = QStringLiteral("Tabelle ist gesperrt. Sie wird von einem anderen Programm benutzt.");
        break;
    case SQLITE_CANTOPEN:
        text = QStringLiteral("Datei nicht gefunden oder nicht zu öffnen.");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        text = QStringLiteral("Keine Schreibberechtigung für die Tabelle.");
        break;
    case SQLITE_FULL:
        text = QStringLiteral("Der Datenträger ist voll.");
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        text = QStringLiteral("Die Tabelle ist beschädigt oder keine Tabelle.");
        break;
    case SQLITE_IOERR:
        text = QStringLiteral("Lese- oder Schreibfehler in der Tabelle.");
        break;
    case SQLITE_CONSTRAINT:
        text = QStringLiteral("Schlüsselverletzung.");
        break;
    default:
        text = QStringLiteral("Fehler der Datenbank.");
    }
    if (!what.isEmpty())
        text += QLatin1Char(' ') + what;
    if (db) {
        const char* detail = sqlite3_errmsg(db);
        if (detail && *detail)
            text += QStringLiteral(" (SQLite: %1)").arg(QString::fromUtf8(detail));
    }
    throw EngineError(text);
}

// --- Stmt ---------------------------------------------------------------------------

Stmt::Stmt(sqlite3* db, const QByteArray& sql) : m_db(db)
{
    const int rc = sqlite3_prepare_v3(db, sql.constData(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc, QString());
}

Stmt::~Stmt()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Stmt::Stmt(Stmt&& o) noexcept : m_db(o.m_db), m_stmt(o.m_stmt)
{
    o.m_stmt = nullptr;
}

Stmt& Stmt::operator=(Stmt&& o) noexcept
{
    if (this != &o) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_db = o.m_db;
        m_stmt = o.m_stmt;
        o.m_stmt = nullptr;
    }
    return *this;
}

void Stmt::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Stmt::bind(int index, const QVariant& v)
{
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, index, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::Long:
            rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, b.constData(), static_cast<sqlite3_uint64>(b.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray s = v.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, s.constData(), static_cast<sqlite3_uint64>(s.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(m_db, rc, QString());
}

bool Stmt::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    fail(m_db, rc, QString());
}

void Stmt::exec()
{
    while (step()) {
    }
}

qint64 Stmt::int64(int c) const
{
    return sqlite3_column_int64(m_stmt, c);
}

bool Stmt::isNull(int c) const
{
    return sqlite3_column_type(m_stmt, c) == SQLITE_NULL;
}

QVariant Stmt::column(int c) const
{
    switch (sqlite3_column_type(m_stmt, c)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt, c)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, c));
    case SQLITE_TEXT: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
        return QVariant(QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, c)));
    }
    case SQLITE_BLOB: {
        const auto* b = static_cast<const char*>(sqlite3_column_blob(m_stmt, c));
        return QVariant(QByteArray(b, sqlite3_column_bytes(m_stmt, c)));
    }
    default:
        return {};
    }
}

// --- Connection ---------------------------------------------------------------------

namespace {
std::map<QString, std::weak_ptr<Connection>>& registry()
{
    static std::map<QString, std::weak_ptr<Connection>> r;
    return r;
}
} // namespace

Connection::Connection(QString directory) : m_directory(std::move(directory)) {}

Connection::~Connection()
{
    clearCache();
    if (m_db)
        sqlite3_close_v2(m_db);
    registry().erase(m_directory);
}

std::shared_ptr<Connection> Connection::forDirectory(const QString& directory)
{
    const QFileInfo info(directory.isEmpty() ? QDir::currentPath() : directory);
    if (!info.isDir())
        throw EngineError(QStringLiteral("Datei nicht gefunden: Verzeichnis %1 existiert nicht.")
                              .arg(QDir::toNativeSeparators(directory)));
    const QString canonical = info.canonicalFilePath();
    auto& reg = registry();
    if (auto it = reg.find(canonical); it != reg.end())
        if (auto c = it->second.lock())
            return c;
    std::shared_ptr<Connection> c(new Connection(canonical));
    reg[canonical] = c;
    return c;
}

QByteArray Connection::attach(const QString& fileName)
{
    const QString path = QDir(m_directory).absoluteFilePath(fileName);
    const QFileInfo info(path);
    for (auto& [alias, a] : m_attached)
        if (a.file == info.absoluteFilePath()) {
            if (!a.locked) {
                if (m_depth > 0)
                    throw EngineError(
                        QStringLiteral("Eine Tabelle kann nicht während einer Änderung geöffnet werden: %1")
                            .arg(QDir::toNativeSeparators(path)));
                lock(alias);
                a.locked = true;
            }
            ++a.users;
            return alias;
        }
    if (!info.isFile())
        throw EngineError(QStringLiteral("Datei nicht gefunden: %1").arg(QDir::toNativeSeparators(path)));

    if (m_depth > 0)
        throw EngineError(QStringLiteral("Eine Tabelle kann nicht während einer Änderung geöffnet werden: %1")
                              .arg(QDir::toNativeSeparators(path)));
    QByteArray alias;
    if (!m_db) {
        // The first table file is the main database: SQLite writes the super-journal
        // of a transaction over several files beside the main database, and only
        // does so when that is a real file.
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            fail(nullptr, rc, QDir::toNativeSeparators(path));
        }
        sqlite3_extended_result_codes(m_db, 1);
        alias = "main";
    } else {
        alias = "t" + QByteArray::number(m_nextAlias++);
        Stmt att(m_db, "ATTACH DATABASE ? AS " + alias);
        att.bind(1, path);
        att.exec();
    }
    try {
        lock(alias);
        Stmt check(m_db, "SELECT count(*) FROM " + alias + ".sqlite_master WHERE type='table' AND name='" +
                             QByteArray(kTable) + "'");
        if (!check.step() || check.int64(0) != 1)
            throw EngineError(
                QStringLiteral("%1 ist keine Tabelle dieses Programms.").arg(QDir::toNativeSeparators(path)));
    } catch (const EngineError& e) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (alias == "main") {
            clearCache();
            sqlite3_close_v2(m_db);
            m_db = nullptr;
        } else {
            clearCache();
            sqlite3_exec(m_db, ("DETACH DATABASE " + alias).constData(), nullptr, nullptr, nullptr);
        }
        throw EngineError(e.message() + QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(path)));
    }
    m_attached[alias] = Attached{info.absoluteFilePath(), 1, 0, true};
    return alias;
}

// Exclusive use, rollback journal and full syncs for one file; the lock is taken at
// once, so that another program opening these tables is refused.
void Connection::lock(const QByteArray& alias)
{
    try {
        exec("PRAGMA " + alias + ".locking_mode=EXCLUSIVE");
        exec("PRAGMA " + alias + ".journal_mode=DELETE");
        exec("PRAGMA " + alias + ".synchronous=FULL");
        exec("BEGIN EXCLUSIVE");
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void Connection::release(const QByteArray& schema)
{
    auto it = m_attached.find(schema);
    if (it == m_attached.end() || --it->second.users > 0)
        return;
    if (m_depth == 0)
        detach(schema);
    // else: once the change has ended (detachUnused)
}

// A file without users: detached, its lock released. The main database cannot be
// detached; it is unlocked and stays open until the connection closes.
void Connection::detach(const QByteArray& schema)
{
    auto it = m_attached.find(schema);
    if (it == m_attached.end() || it->second.users > 0)
        return;
    clearCache(); // cached statements may refer to the schema
    if (schema == "main") {
        if (!it->second.locked)
            return;
        // In normal locking mode the next access ends with the lock given back.
        sqlite3_exec(m_db, "PRAGMA main.locking_mode=NORMAL", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "SELECT count(*) FROM main.sqlite_master", nullptr, nullptr, nullptr);
        it->second.locked = false;
        return;
    }
    sqlite3_exec(m_db, ("DETACH DATABASE " + schema).constData(), nullptr, nullptr, nullptr);
    m_attached.erase(it);
}

void Connection::detachUnused()
{
    std::vector<QByteArray> unused;
    for (const auto& [alias, a] : m_attached)
        if (a.users == 0 && a.locked)
            unused.push_back(alias);
    for (const QByteArray& alias : unused)
        detach(alias);
}

QByteArray Connection::schemaOf(const QString& fileName) const
{
    const QString path = QFileInfo(QDir(m_directory).absoluteFilePath(fileName)).absoluteFilePath();
    for (const auto& [alias, a] : m_attached)
        if (a.file == path && a.locked)
            return alias;
    return {};
}

TableInfo Connection::tableInfo(const QByteArray& schema)
{
    TableInfo info;
    Stmt s(m_db, "SELECT name, type, pk FROM pragma_table_info('" + QByteArray(kTable) + "', '" + schema +
                     "') ORDER BY cid");
    while (s.step()) {
        const QString name = s.column(0).toString();
        if (name.endsWith(QLatin1String(kFoldSuffix)))
            continue;
        QString type = s.column(1).toString();
        const bool pk = s.int64(2) != 0;
        if (pk && type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            type = QStringLiteral("AUTOINC");
        Field f;
        f.name = name;
        if (!parseFieldType(type, f))
            throw EngineError(QStringLiteral("Unbekannter Feldtyp %1 im Feld %2.").arg(type, name));
        if (f.type == FieldType::AutoInc)
            info.keyField = static_cast<int>(info.fields.size());
        info.fields.push_back(f);
    }
    if (info.fields.empty())
        throw EngineError(QStringLiteral("Die Tabelle hat keine Felder."));
    return info;
}

void Connection::clearCache()
{
    ++m_cacheEpoch;
    m_cache.clear();
}

Stmt& Connection::cached(const QByteArray& sql)
{
    auto it = m_cache.find(sql);
    if (it == m_cache.end()) {
        auto stmt = std::make_unique<Stmt>(m_db, sql);
        if (m_cache.size() >= kCacheLimit)
            evictOne();
        it = m_cache.emplace(sql, CacheEntry{std::move(stmt), 0}).first;
    }
    it->second.used = ++m_cacheTick;
    it->second.stmt->reset();
    return *it->second.stmt;
}

void Connection::evictOne()
{
    auto victim = m_cache.end();
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it)
        if (!sqlite3_stmt_busy(it->second.stmt->get()) &&
            (victim == m_cache.end() || it->second.used < victim->second.used))
            victim = it;
    if (victim != m_cache.end()) {
        m_cache.erase(victim);
        ++m_cacheEpoch;
    }
}

void Connection::exec(const QByteArray& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        fail(m_db, rc, QString());
}

quint64 Connection::generation(const QByteArray& schema) const
{
    auto it = m_attached.find(schema);
    return it == m_attached.end() ? 0 : it->second.generation;
}

const quint64* Connection::generationCounter(const QByteArray& schema) const
{
    auto it = m_attached.find(schema);
    return it == m_attached.end() ? nullptr : &it->second.generation;
}

void Connection::touch(const QByteArray& schema)
{
    auto it = m_attached.find(schema);
    if (it != m_attached.end())
        ++it->second.generation;
}

namespace {

// Changes under way over all connections, and what waits for their end.
int g_openChanges = 0;
quint64 g_changeSerial = 0; // counts outermost changes
struct Deferred
{
    std::function<void()> task;
    OnRollback onRollback;
    quint64 change;
};
std::deque<Deferred>& deferred()
{
    static std::deque<Deferred> d;
    return d;
}
bool g_runningDeferred = false;

void changeBegun()
{
    if (g_openChanges++ == 0)
        ++g_changeSerial;
}

void changeEnded(bool committed)
{
    if (--g_openChanges > 0 || committed)
        return;
    // What the rolled-back change wanted to say no longer holds.
    auto& d = deferred();
    d.erase(std::remove_if(d.begin(), d.end(),
                           [](const Deferred& t) {
                               return t.change == g_changeSerial && t.onRollback == OnRollback::Drop;
                           }),
            d.end());
}

} // namespace

void runAfterChange()
{
    if (g_openChanges > 0 || g_runningDeferred)
        return; // the running loop below takes what a task queues meanwhile
    g_runningDeferred = true;
    const auto done = qScopeGuard([] { g_runningDeferred = false; });
    auto& d = deferred();
    while (!d.empty() && g_openChanges == 0) {
        const std::function<void()> task = std::move(d.front().task);
        d.pop_front();
        task();
    }
}

void Connection::abortedChange()
{
    m_aborted = true;
    throw EngineError(
        QStringLiteral("Die Datenbank hat die Änderung abgebrochen; sie wurde nicht gespeichert."));
}

void Connection::requireTransaction()
{
    if (m_depth > 0 && (m_aborted || sqlite3_get_autocommit(m_db)))
        abortedChange();
}

void Connection::begin()
{
    requireTransaction();
    cached("SAVEPOINT s" + QByteArray::number(m_depth)).exec();
    ++m_depth;
    changeBegun();
}

void Connection::commit()
{
    // The caller rolls back when this throws; the level stays open until then.
    requireTransaction();
    --m_depth;
    try {
        cached("RELEASE s" + QByteArray::number(m_depth)).exec();
    } catch (...) {
        ++m_depth;
        if (sqlite3_get_autocommit(m_db))
            m_aborted = true;
        throw;
    }
    if (m_depth == 0)
        detachUnused();
    changeEnded(true);
}

void Connection::rollback()
{
    --m_depth;
    const QByteArray name = "s" + QByteArray::number(m_depth);
    if (!m_aborted && !sqlite3_get_autocommit(m_db)) {
        int rc = sqlite3_exec(m_db, ("ROLLBACK TO " + name).constData(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(m_db, ("RELEASE " + name).constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            m_aborted = true;
    } else {
        m_aborted = true;
    }
    if (m_aborted) {
        // The savepoints are gone or cannot be trusted: no part of the change may be
        // committed by a later level, so everything is taken back at once.
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (m_depth == 0)
            m_aborted = false;
    }
    for (auto& [alias, a] : m_attached)
        ++a.generation;
    const auto links = m_links;
    for (DatasetLink* l : links)
        if (std::find(m_links.begin(), m_links.end(), l) != m_links.end())
            l->reloadAfterRollback();
    if (m_depth == 0)
        detachUnused();
    changeEnded(false);
}

void Connection::add(DatasetLink* link)
{
    m_links.push_back(link);
}

void Connection::remove(DatasetLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

} // namespace store::engine

namespace store {

bool changeOpen()
{
    return engine::g_openChanges > 0;
}

void afterChange(std::function<void()> task, OnRollback onRollback)
{
    if (!changeOpen()) {
        task();
        return;
    }
    engine::deferred().push_back({std::move(task), onRollback, engine::g_changeSerial});
}

} // namespace store
