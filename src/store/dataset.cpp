// Datasets over the table files (storage, collation, durability and locking are
// described at the top of engine.cpp).
//
// Memory: on open, refresh, a change of ordering or filter and a move of the master
// a dataset runs one "SELECT key ... WHERE <filter> AND <master> ORDER BY ..." and
// keeps the vector of keys; a row is fetched by its key through a cached prepared
// statement into a bounded LRU cache; blobs are not part of that fetch and are read
// only by blob()/memo(). Rows are read in windows of consecutive rows; a detail, and
// a filtered dataset in key order, read their first few thousand rows in the
// statement that reads their keys, since SQLite visits those rows anyway. The
// position of the current row is its index in the key vector.
//
// The pending row is a buffer of field values with a "modified" flag. A new row
// shows at its position (insert: before the current row, append: at the end) until
// it is stored; after a post the keys are re-read (when the stored fields can have
// moved the row) and the cursor is on the stored row.
//
// A detail follows its master: before the master takes another row (a move, a
// filter, an ordering, a refresh), the detail's pending row is stored or dropped;
// after it the detail re-reads its keys. While the master's controls are disabled
// the detail stays where it was until they are enabled again or the detail itself
// is moved or changed. Reading a dataset never changes it and emits nothing.

#include "dataset.h"

#include "dates.h"
#include "engine.h"
#include "filter.h"
#include "values.h"

#include <QCache>
#include <QHash>
#include <algorithm>
#include <sqlite3.h>
#include <utility>

namespace store {

using namespace engine;

namespace {

// The tasks queued during a failed change run before its error travels on; a
// failure of one of them must not hide that error.
void afterChangeEnded()
{
    try {
        runAfterChange();
    } catch (...) {
    }
}

// A stored value that reading its field reports as an error: an INTEGER beyond the
// field's range (a table edited with another tool), as its stored text.
struct Unreadable
{
    QString text;
};

struct Row
{
    std::vector<QVariant> values;
};

} // namespace

struct Dataset::Impl final : DatasetLink
{
    explicit Impl(Dataset* owner) : q(owner), cache(256) {}

    Dataset* q;
    QString directory, table;
    QString indexFieldNames, filterText;
    bool filtered = false, readOnly = false;

    Dataset* master = nullptr;
    QString masterField, detailField;
    std::vector<Dataset*> details;

    std::shared_ptr<Connection> conn;
    QByteArray schema, ref; // ref: schema.tabelle
    TableInfo info;
    std::vector<int> order;
    CompiledFilter compiled;
    int detailIdx = -1;
    QVariant loadedMasterValue;
    bool syncedOnce = false;

    std::vector<qint64> keys;
    QHash<qint64, int> positions;
    bool positionsValid = false;
    int cur = -1; // index in the view (keys plus the pending new row)
    bool eof = true, bof = true;
    State state = State::Inactive;

    std::vector<QVariant> buf;
    std::vector<bool> dirty;
    bool modified = false;
    int insPos = -1;
    qint64 editKey = 0;

    QCache<qint64, Row> cache;
    quint64 generation = 0;
    QByteArray fetchSql, batchSql, rangeSql;

    int disabled = 0;
    bool changedWhileDisabled = false;

    // --- helpers ---------------------------------------------------------------------
    void requireActive() const
    {
        if (state == State::Inactive)
            throw EngineError(QStringLiteral("Die Tabelle %1 ist nicht geöffnet.").arg(table));
    }
    void requireWritable() const
    {
        requireActive();
        if (readOnly)
            throw EngineError(QStringLiteral("Die Tabelle %1 ist schreibgeschützt.").arg(table));
    }
    const Field& field(int i) const { return info.fields[static_cast<size_t>(i)]; }
    int fieldIndex(const QString& name) const
    {
        for (size_t j = 0; j < info.fields.size(); ++j)
            if (info.fields[j].name == name)
                return static_cast<int>(j);
        const int i = info.indexOf(name);
        if (i < 0)
            throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
        return i;
    }
    int viewCount() const { return static_cast<int>(keys.size()) + (state == State::Insert ? 1 : 0); }
    // Key of the stored row at a view index; 0 for the pending new row.
    qint64 keyAt(int view) const
    {
        if (state == State::Insert) {
            if (view == insPos)
                return 0;
            if (view > insPos)
                --view;
        }
        if (view < 0 || view >= static_cast<int>(keys.size()))
            return 0;
        return keys[static_cast<size_t>(view)];
    }
    // Position of a key in the key vector, -1 when absent. Rows in key order are
    // searched by halving; otherwise a few lookups scan the vector, and a hash of the
    // positions is built once lookups become frequent.
    int linearLookups = 0;
    int indexOfKey(qint64 key)
    {
        if (order.empty()) {
            const auto it = std::lower_bound(keys.begin(), keys.end(), key);
            return it != keys.end() && *it == key ? static_cast<int>(it - keys.begin()) : -1;
        }
        if (!positionsValid && ++linearLookups <= 4) {
            const auto it = std::find(keys.begin(), keys.end(), key);
            return it != keys.end() ? static_cast<int>(it - keys.begin()) : -1;
        }
        if (!positionsValid) {
            positions.clear();
            positions.reserve(static_cast<qsizetype>(keys.size()));
            for (size_t i = 0; i < keys.size(); ++i)
                positions.insert(keys[i], static_cast<int>(i));
            positionsValid = true;
        }
        auto it = positions.constFind(key);
        return it == positions.constEnd() ? -1 : it.value();
    }

    // --- signals ---------------------------------------------------------------------
    void sigReset()
    {
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->rowsReset();
    }
    void sigCurrent()
    {
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->currentChanged(cur);
    }
    void sigRow(int row)
    {
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->rowChanged(row);
    }
    void sigState()
    {
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->stateChanged(state);
    }
    // Structural changes come in pairs: announced before, reported after.
    bool announced = false;
    void sigAboutToInsert(int row)
    {
        announced = !disabled;
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->rowAboutToBeInserted(row);
    }
    void sigInserted(int row)
    {
        if (std::exchange(announced, false))
            emit q->rowInserted(row);
    }
    void sigAboutToRemove(int row)
    {
        announced = !disabled;
        if (disabled)
            changedWhileDisabled = true;
        else
            emit q->rowAboutToBeRemoved(row);
    }
    void sigRemoved(int row)
    {
        if (std::exchange(announced, false))
            emit q->rowRemoved(row);
    }

    // --- prepared statements of this dataset -------------------------------------------
    // A statement of the connection's cache, remembered until the cache changes.
    struct Prepared
    {
        QByteArray sql;
        Stmt* stmt = nullptr;
        quint64 epoch = 0;
    };
    Stmt& use(Prepared& p)
    {
        if (p.stmt && p.epoch == conn->cacheEpoch()) {
            p.stmt->reset();
            return *p.stmt;
        }
        p.stmt = &conn->cached(p.sql);
        p.epoch = conn->cacheEpoch();
        return *p.stmt;
    }
    Prepared keysStmt, keysRowsStmt, rangeStmt, fetchStmt, batchStmt;
    bool sqlStale = true;
    // Re-forms the statements that depend on ordering, filter and master.
    void prepareSql()
    {
        if (!sqlStale)
            return;
        std::vector<QVariant> unused;
        const QByteArray w = where(unused);
        keysStmt = {"SELECT " + info.keyColumn() + " FROM " + ref + w + orderBy(), nullptr, 0};
        keysRowsStmt = {rangeSql + w + orderBy(), nullptr, 0};
        rangeStmt = {rangeSql + w + (w.isEmpty() ? " WHERE " : " AND ") + info.keyColumn() +
                         " BETWEEN ? AND ?",
                     nullptr, 0};
        sqlStale = false;
    }

    // --- reading -------------------------------------------------------------------
    QByteArray orderBy() const
    {
        QByteArray s = " ORDER BY ";
        for (int i : order) {
            const Field& f = field(i);
            s += (f.type == FieldType::Char ? f.foldColumn() : f.column()) + ", ";
        }
        return s + info.keyColumn();
    }
    // WHERE clause (with leading " WHERE ") and its parameters.
    QByteArray where(std::vector<QVariant>& params) const
    {
        QByteArray w;
        if (filtered && !compiled.sql.isEmpty()) {
            w = compiled.sql;
            params = compiled.params;
        }
        if (master && detailIdx >= 0) {
            if (!w.isEmpty())
                w += " AND ";
            w += field(detailIdx).column() + " = ?";
            params.push_back(loadedMasterValue);
        }
        return w.isEmpty() ? w : " WHERE " + w;
    }
    QVariant masterValue() const
    {
        if (!master || !master->isActive())
            return {};
        const int mi = master->d->info.indexOf(masterField);
        if (mi < 0)
            return {};
        bool ok = false;
        return storageValue(master->d->field(mi), master->value(masterField), &ok);
    }

    // The parameters of where(), without forming its text again.
    // Returns the number of the next parameter.
    int bindWhere(Stmt& s) const
    {
        int n = 1;
        if (filtered && !compiled.sql.isEmpty())
            for (const QVariant& p : compiled.params)
                s.bind(n++, p);
        if (master && detailIdx >= 0)
            s.bind(n++, loadedMasterValue);
        return n;
    }

    // Reads the keys. The rows of a detail, and those of a filtered dataset in key
    // order, are read in the same statement (SQLite visits them anyway) into the
    // window, up to kRowsWithKeys of them.
    static constexpr int kRowsWithKeys = 4096;
    void loadKeys()
    {
        if (master)
            loadedMasterValue = masterValue();
        syncedOnce = true;
        prepareSql();
        dropWindow();
        keys.clear();
        positionsValid = false;
        linearLookups = 0;
        const bool withRows = master || (order.empty() && filtered && !compiled.sql.isEmpty());
        if (!withRows) {
            Stmt& s = use(keysStmt);
            bindWhere(s);
            while (s.step())
                keys.push_back(s.int64(0));
            s.reset();
            return;
        }
        if (generationCounter)
            checkGeneration();
        Stmt& s = use(keysRowsStmt);
        bindWhere(s);
        size_t filled = 0;
        while (s.step()) {
            keys.push_back(s.int64(0));
            if (filled < kRowsWithKeys) {
                if (window.size() <= filled)
                    window.resize(std::max<size_t>(kBatch, window.size() * 2));
                fillRow(window[filled++], s, 1);
            }
        }
        s.reset();
        windowHas.assign(filled, 1);
        windowStart = 0;
        windowCount = static_cast<int>(filled);
    }

    // Re-reads the keys and puts the cursor back on `key` when it is still there,
    // else at the same position.
    void reloadKeeping(qint64 key)
    {
        const int oldCur = cur;
        loadKeys();
        int idx = key ? indexOfKey(key) : -1;
        if (idx < 0)
            idx = std::min(oldCur, static_cast<int>(keys.size()) - 1);
        if (idx < 0 && !keys.empty())
            idx = 0;
        if (state == State::Insert) {
            insPos = std::clamp(insPos, 0, static_cast<int>(keys.size()));
            cur = insPos;
        } else {
            cur = idx;
        }
        eof = keys.empty() && state != State::Insert;
        bof = eof;
    }

    const quint64* generationCounter = nullptr;
    void checkGeneration()
    {
        const quint64 g = *generationCounter;
        if (g != generation) {
            dropRows();
            generation = g;
        }
    }

    // A row from the current result row of `s`, its fields from column `first` on.
    Row* makeRow(Stmt& s, int first)
    {
        auto r = std::make_unique<Row>();
        fillRow(*r, s, first);
        return r.release();
    }
    void fillRow(Row& row, Stmt& s, int first)
    {
        std::vector<QVariant>& values = row.values;
        sqlite3_stmt* st = s.get();
        // A fresh row is built in place; a reused one is overwritten in place, where a
        // value of the same type keeps its storage.
        const bool fresh = values.size() != info.fields.size();
        if (fresh) {
            values.clear();
            values.reserve(info.fields.size());
        }
        auto put = [&](size_t i, QVariant&& nv) {
            if (fresh)
                values.push_back(std::move(nv));
            else
                values[i] = std::move(nv);
        };
        int c = first;
        for (size_t i = 0; i < info.fields.size(); ++i) {
            const Field& f = info.fields[i];
            if (f.isBlob()) {
                if (fresh || values[i].isValid())
                    put(i, QVariant());
                continue;
            }
            const int col = c++;
            sqlite3_value* raw = sqlite3_column_value(st, col);
            if (sqlite3_value_type(raw) == SQLITE_NULL) {
                if (fresh || values[i].isValid())
                    put(i, QVariant());
                continue;
            }
            switch (f.type) {
            case FieldType::AutoInc:
            case FieldType::Integer: {
                // A value another tool stored beyond the field's range is never cut to
                // 32 bits: reading that field reports it.
                const qint64 wide = sqlite3_value_int64(raw);
                if (wide < kIntegerMin || wide > kIntegerMax) {
                    put(i, QVariant::fromValue(Unreadable{s.column(col).toString()}));
                    break;
                }
                const int n = static_cast<int>(wide);
                if (fresh)
                    values.emplace_back(n);
                else
                    values[i].setValue(n);
                break;
            }
            case FieldType::Boolean: {
                const bool b = sqlite3_value_int64(raw) != 0;
                if (fresh)
                    values.emplace_back(b);
                else
                    values[i].setValue(b);
                break;
            }
            case FieldType::Date:
                put(i, QVariant(isoDate(raw)));
                break;
            case FieldType::Char: {
                // Straight from the stored UTF-8, without a QVariant in between.
                const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(raw));
                put(i, QVariant(QString::fromUtf8(text, sqlite3_value_bytes(raw))));
                break;
            }
            default:
                put(i, fromStorage(f, s.column(col)));
            }
        }
    }

    const Row* row(qint64 key)
    {
        if (!key)
            return nullptr;
        checkGeneration();
        if (Row* r = cache.object(key))
            return r;
        Stmt& s = use(fetchStmt);
        s.bind(1, key);
        if (!s.step()) {
            s.reset();
            return nullptr;
        }
        Row* raw = makeRow(s, 0);
        s.reset();
        // QCache deletes what it cannot take; one row always fits, the check keeps it so.
        if (!cache.insert(key, raw))
            return nullptr;
        return raw;
    }

    // The stored row at a view index. A miss reads a window of consecutive rows in
    // one statement, so that walking a dataset costs one statement per window.
    static constexpr int kBatch = 128;
    static constexpr int kSmall = 32;
    std::vector<Row> window;
    std::vector<char> windowHas;
    int windowStart = -1, windowCount = 0;
    int lastMiss = -2;
    void dropWindow()
    {
        windowStart = -1;
        windowCount = 0;
    }
    void dropRows()
    {
        cache.clear();
        dropWindow();
    }
    const Row* rowAtView(int view)
    {
        const qint64 key = keyAt(view);
        if (!key)
            return nullptr;
        checkGeneration();
        int idx = view;
        if (state == State::Insert && view > insPos)
            --idx;
        if (idx >= windowStart && idx < windowStart + windowCount &&
            windowHas[static_cast<size_t>(idx - windowStart)])
            return &window[static_cast<size_t>(idx - windowStart)];
        if (Row* r = cache.object(key))
            return r;
        // A single row for a jump (find-nearest, locate); a window once rows are read
        // one after the other, forwards or backwards.
        // A dataset of a few rows (the films of a cassette) is read whole.
        const int previous = std::exchange(lastMiss, idx);
        const int total = static_cast<int>(keys.size());
        const bool small = total <= kSmall;
        const bool forwards = idx == previous + 1 || (windowStart >= 0 && idx == windowStart + windowCount);
        const bool backwards = idx == previous - 1 || (windowStart >= 0 && idx == windowStart - 1);
        if (!forwards && !backwards && !small)
            return row(key);
        const int start = small ? 0 : backwards ? std::max(0, idx - kBatch + 1) : idx;
        const int count = std::min(kBatch, total - start);
        if (count <= 1)
            return row(key);
        window.resize(kBatch);
        windowHas.assign(kBatch, 0);
        windowStart = start;
        windowCount = count;
        const auto first = keys.begin() + start;
        const auto last = first + count;
        const qint64 span = *(last - 1) - *first;
        if (std::is_sorted(first, last) && span >= 0 && span < 4 * kBatch) {
            // Rows in key order (a table walked by its key) come from one range scan
            // over the rows that pass the filter and the master.
            prepareSql();
            Stmt& s = use(rangeStmt);
            const int n = bindWhere(s);
            s.bind(n, *first);
            s.bind(n + 1, *(last - 1));
            while (s.step()) {
                const auto it = std::lower_bound(first, last, s.int64(0));
                if (it == last || *it != s.int64(0))
                    continue;
                const size_t slot = static_cast<size_t>(it - first);
                fillRow(window[slot], s, 1);
                windowHas[slot] = 1;
            }
            s.reset();
        } else {
            std::vector<std::pair<qint64, int>> places;
            places.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                places.emplace_back(*(first + i), i);
            std::sort(places.begin(), places.end());
            Stmt& s = use(batchStmt);
            for (int i = 0; i < kBatch; ++i)
                s.bind(i + 1, i < count ? QVariant(*(first + i)) : QVariant());
            while (s.step()) {
                const qint64 k = s.int64(0);
                const auto it = std::lower_bound(places.begin(), places.end(), std::pair<qint64, int>(k, -1));
                if (it == places.end() || it->first != k)
                    continue;
                fillRow(window[static_cast<size_t>(it->second)], s, 1);
                windowHas[static_cast<size_t>(it->second)] = 1;
            }
            s.reset();
        }
        // A row that no longer passes the filter is still read by its key.
        return windowHas[static_cast<size_t>(idx - start)] ? &window[static_cast<size_t>(idx - start)]
                                                           : row(key);
    }

    QVariant readBlob(qint64 key, int fi)
    {
        if (!key)
            return {};
        Stmt& s = conn->cached("SELECT " + field(fi).column() + " FROM " + ref + " WHERE " +
                               info.keyColumn() + " = ?");
        s.bind(1, key);
        QVariant v;
        if (s.step())
            v = fromStorage(field(fi), s.column(0));
        s.reset();
        return v;
    }

    // Value of field fi at view index `view`.
    QVariant valueAt(int view, int fi)
    {
        const bool pendingHere =
            (state == State::Insert && view == insPos) || (state == State::Edit && view == cur);
        if (pendingHere) {
            if (field(fi).isBlob() && !dirty[static_cast<size_t>(fi)])
                return state == State::Edit ? readBlob(editKey, fi) : QVariant();
            return readable(buf[static_cast<size_t>(fi)], fi);
        }
        const qint64 key = keyAt(view);
        if (field(fi).isBlob())
            return readBlob(key, fi);
        const Row* r = rowAtView(view);
        return r ? readable(r->values[static_cast<size_t>(fi)], fi) : QVariant();
    }
    const QVariant& readable(const QVariant& v, int fi) const
    {
        if (v.typeId() == QMetaType::fromType<Unreadable>().id())
            throw integerOutOfRange(table, info.fields[static_cast<size_t>(fi)].name,
                                    v.value<Unreadable>().text);
        return v;
    }

    // --- master and detail ---------------------------------------------------------
    // A detail catches up with its master when the master's position changes: at
    // once, or at enableControls() while the master's controls are disabled; and
    // before it is moved or changed itself. Reading it never does.
    void ensureSynced()
    {
        if (!master || state == State::Inactive)
            return;
        if (state != State::Browse)
            return; // a pending row keeps its master
        const QVariant v = masterValue();
        if (syncedOnce && v == loadedMasterValue)
            return;
        dropRows();
        loadKeys();
        cur = keys.empty() ? -1 : 0;
        eof = bof = keys.empty();
        sigReset();
        afterMove();
    }
    // Before this dataset takes another current row: its own pending row and those of
    // its details (and theirs) are stored when changed, dropped when new and unchanged.
    void beforeMove()
    {
        q->checkBrowseMode();
        for (Dataset* dt : details)
            if (dt->isActive())
                dt->d->beforeMove();
    }
    void syncDetails()
    {
        if (disabled)
            return; // details catch up at enableControls()
        for (Dataset* dt : details)
            dt->d->ensureSynced();
    }
    void afterMove()
    {
        sigCurrent();
        syncDetails();
    }

    // --- writing -------------------------------------------------------------------
    void startPending(State s)
    {
        state = s;
        buf.assign(info.fields.size(), QVariant());
        dirty.assign(info.fields.size(), false);
        modified = false;
    }
    void clearPending()
    {
        state = State::Browse;
        buf.clear();
        dirty.clear();
        modified = false;
        insPos = -1;
        editKey = 0;
    }

    struct Snapshot
    {
        State state;
        std::vector<QVariant> buf;
        std::vector<bool> dirty;
        bool modified;
        int insPos;
        qint64 editKey;
    };
    Snapshot snapshot() const { return {state, buf, dirty, modified, insPos, editKey}; }
    void restore(Snapshot s)
    {
        state = s.state;
        buf = std::move(s.buf);
        dirty = std::move(s.dirty);
        modified = s.modified;
        editKey = s.editKey;
        if (state == State::Insert) {
            insPos = std::clamp(s.insPos, 0, static_cast<int>(keys.size()));
            cur = insPos;
        } else if (state == State::Edit) {
            const int i = indexOfKey(editKey);
            if (i < 0) {
                clearPending();
            } else {
                cur = i;
            }
        }
        sigReset();
        sigCurrent();
        sigState();
    }

    void bindValue(Stmt& s, int& n, const Field& f, const QVariant& typed)
    {
        bool ok = false;
        const QVariant v = storageValue(f, typed, &ok);
        s.bind(n++, v);
        if (f.type == FieldType::Char)
            s.bind(n++, v.isNull() ? QVariant() : QVariant(foldKey(v.toString())));
    }

    // Writes the pending row; returns its key.
    qint64 write()
    {
        std::vector<int> cols;
        if (state == State::Insert) {
            for (size_t i = 0; i < info.fields.size(); ++i) {
                if (static_cast<int>(i) == info.keyField)
                    continue;
                if (dirty[i] || (!info.fields[i].isBlob() && buf[i].isValid()))
                    cols.push_back(static_cast<int>(i));
            }
            QByteArray names, marks;
            for (int i : cols) {
                const Field& f = field(i);
                for (const QByteArray& c : f.type == FieldType::Char
                                               ? QList<QByteArray>{f.column(), f.foldColumn()}
                                               : QList<QByteArray>{f.column()}) {
                    if (!names.isEmpty()) {
                        names += ", ";
                        marks += ", ";
                    }
                    names += c;
                    marks += '?';
                }
            }
            const QByteArray sql = cols.empty()
                                       ? "INSERT INTO " + ref + " DEFAULT VALUES"
                                       : "INSERT INTO " + ref + " (" + names + ") VALUES (" + marks + ')';
            conn->requireTransaction();
            Stmt& s = conn->cached(sql);
            int n = 1;
            for (int i : cols)
                bindValue(s, n, field(i), buf[static_cast<size_t>(i)]);
            s.exec();
            return sqlite3_last_insert_rowid(conn->db());
        }
        for (size_t i = 0; i < info.fields.size(); ++i)
            if (dirty[i])
                cols.push_back(static_cast<int>(i));
        if (cols.empty())
            return editKey;
        QByteArray sets;
        for (int i : cols) {
            const Field& f = field(i);
            if (!sets.isEmpty())
                sets += ", ";
            sets += f.column() + " = ?";
            if (f.type == FieldType::Char)
                sets += ", " + f.foldColumn() + " = ?";
        }
        conn->requireTransaction();
        Stmt& s = conn->cached("UPDATE " + ref + " SET " + sets + " WHERE " + info.keyColumn() + " = ?");
        int n = 1;
        for (int i : cols)
            bindValue(s, n, field(i), buf[static_cast<size_t>(i)]);
        s.bind(n, editKey);
        s.exec();
        if (sqlite3_changes(conn->db()) == 0)
            throw EngineError(QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
        return editKey;
    }

    // After a write of this dataset: others over the same file drop their cached rows.
    void touched(qint64 key)
    {
        const bool current = conn->generation(schema) == generation;
        conn->touch(schema);
        if (current)
            generation = conn->generation(schema);
        cache.remove(key);
        dropWindow();
    }

    bool affectsRows(const std::vector<bool>& changed) const
    {
        for (int i : order)
            if (changed[static_cast<size_t>(i)])
                return true;
        if (filtered)
            for (int i : compiled.fields)
                if (changed[static_cast<size_t>(i)])
                    return true;
        return detailIdx >= 0 && changed[static_cast<size_t>(detailIdx)];
    }

    void reloadAfterRollback() override
    {
        if (state == State::Inactive)
            return;
        dropRows();
        generation = conn->generation(schema);
        const qint64 key = state == State::Edit ? editKey : keyAt(cur);
        reloadKeeping(key);
        if (state == State::Edit && indexOfKey(editKey) < 0)
            clearPending();
        sigReset();
        afterMove();
    }

    void applyOrder(const QString& names)
    {
        std::vector<int> o;
        for (const QString& n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const int i = fieldIndex(n.trimmed());
            if (field(i).isBlob())
                throw EngineError(
                    QStringLiteral("Nach dem Feld %1 kann nicht sortiert werden.").arg(field(i).name));
            o.push_back(i);
        }
        order = std::move(o);
        sqlStale = true;
    }
};

Dataset::Dataset(QObject* parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

Dataset::~Dataset()
{
    try {
        close();
    } catch (...) {
    }
    if (d->master)
        std::erase(d->master->d->details, this);
    for (Dataset* dt : d->details)
        dt->d->master = nullptr;
}

void Dataset::setDatabaseName(const QString& directory)
{
    if (isActive())
        throw EngineError(QStringLiteral("Diese Operation ist bei einer geöffneten Tabelle nicht möglich."));
    d->directory = directory;
}
QString Dataset::databaseName() const
{
    return d->directory;
}
void Dataset::setTableName(const QString& fileName)
{
    if (isActive())
        throw EngineError(QStringLiteral("Diese Operation ist bei einer geöffneten Tabelle nicht möglich."));
    d->table = fileName;
}
QString Dataset::tableName() const
{
    return d->table;
}

void Dataset::setIndexFieldNames(const QString& fields)
{
    if (!isActive()) {
        d->indexFieldNames = fields;
        return;
    }
    d->beforeMove();
    d->applyOrder(fields);
    d->indexFieldNames = fields;
    d->reloadKeeping(d->keyAt(d->cur));
    d->sigReset();
    d->afterMove();
}
QString Dataset::indexFieldNames() const
{
    return d->indexFieldNames;
}

void Dataset::setFilter(const QString& expression)
{
    if (isActive()) {
        CompiledFilter c = compileFilter(expression, d->info);
        if (d->filtered)
            d->beforeMove();
        d->compiled = std::move(c);
        d->sqlStale = true;
        d->filterText = expression;
        if (d->filtered) {
            d->reloadKeeping(d->keyAt(d->cur));
            d->sigReset();
            d->afterMove();
        }
        return;
    }
    d->filterText = expression;
}
QString Dataset::filter() const
{
    return d->filterText;
}
void Dataset::setFiltered(bool on)
{
    if (on == d->filtered)
        return;
    if (!isActive()) {
        d->filtered = on;
        return;
    }
    d->beforeMove();
    d->filtered = on;
    d->sqlStale = true;
    d->reloadKeeping(d->keyAt(d->cur));
    d->sigReset();
    d->afterMove();
}
bool Dataset::filtered() const
{
    return d->filtered;
}
void Dataset::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
}
bool Dataset::readOnly() const
{
    return d->readOnly;
}

void Dataset::setMaster(Dataset* master, const QString& masterField, const QString& detailField)
{
    if (d->master)
        std::erase(d->master->d->details, this);
    d->master = master;
    d->masterField = master ? masterField : QString();
    d->detailField = master ? detailField : QString();
    d->syncedOnce = false;
    if (master)
        master->d->details.push_back(this);
    d->sqlStale = true;
    if (isActive()) {
        d->detailIdx = master ? d->fieldIndex(detailField) : -1;
        d->reloadKeeping(0);
        d->cur = d->keys.empty() ? -1 : 0;
        d->sigReset();
        d->sigCurrent();
    }
}
Dataset* Dataset::master() const
{
    return d->master;
}

void Dataset::open()
{
    if (isActive())
        return;
    if (d->table.isEmpty())
        throw EngineError(QStringLiteral("Datei nicht gefunden: kein Tabellenname angegeben."));
    auto conn = Connection::forDirectory(d->directory);
    const QByteArray schema = conn->attach(d->table);
    try {
        d->conn = conn;
        d->schema = schema;
        d->ref = schema + '.' + QByteArray(kTable);
        d->info = conn->tableInfo(schema);
        d->applyOrder(d->indexFieldNames);
        d->compiled = compileFilter(d->filterText, d->info);
        d->detailIdx = d->master ? d->fieldIndex(d->detailField) : -1;
        if (d->master && d->master->d->info.fields.size() && d->master->d->info.indexOf(d->masterField) < 0)
            throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.").arg(d->masterField));
        QByteArray cols;
        for (const Field& f : d->info.fields) {
            if (f.isBlob())
                continue;
            if (!cols.isEmpty())
                cols += ", ";
            cols += f.column();
        }
        d->fetchSql = "SELECT " + cols + " FROM " + d->ref + " WHERE " + d->info.keyColumn() + " = ?";
        QByteArray marks = "?";
        for (int i = 1; i < Impl::kBatch; ++i)
            marks += ",?";
        d->batchSql = "SELECT " + d->info.keyColumn() + ", " + cols + " FROM " + d->ref + " WHERE " +
                      d->info.keyColumn() + " IN (" + marks + ')';
        d->rangeSql = "SELECT " + d->info.keyColumn() + ", " + cols + " FROM " + d->ref;
        d->fetchStmt = {d->fetchSql, nullptr, 0};
        d->batchStmt = {d->batchSql, nullptr, 0};
        d->sqlStale = true;
        d->dropRows();
        d->generationCounter = conn->generationCounter(schema);
        d->generation = *d->generationCounter;
        d->state = State::Browse;
        d->loadKeys();
    } catch (...) {
        d->state = State::Inactive;
        conn->release(schema);
        d->conn.reset();
        throw;
    }
    conn->add(d.get());
    d->cur = d->keys.empty() ? -1 : 0;
    d->eof = d->bof = d->keys.empty();
    d->bof = true;
    d->sigReset();
    d->sigState();
    d->afterMove();
}

void Dataset::close()
{
    if (!isActive())
        return;
    d->clearPending();
    d->state = State::Inactive;
    d->keys.clear();
    d->positionsValid = false;
    d->dropRows();
    d->cur = -1;
    d->conn->remove(d.get());
    d->conn->release(d->schema);
    d->conn.reset();
    d->syncedOnce = false;
    d->sigReset();
    d->sigState();
    for (Dataset* dt : d->details)
        if (dt->isActive()) {
            dt->d->syncedOnce = false;
            dt->d->ensureSynced();
        }
}

bool Dataset::isActive() const
{
    return d->state != State::Inactive;
}

int Dataset::recordCount() const
{
    if (!isActive())
        return 0;
    return static_cast<int>(d->keys.size());
}
int Dataset::rowCount() const
{
    if (!isActive())
        return 0;
    return d->viewCount();
}
int Dataset::recNo() const
{
    if (!isActive())
        return 0;
    return d->cur + 1;
}
int Dataset::currentRow() const
{
    if (!isActive())
        return -1;
    return d->cur;
}

void Dataset::first()
{
    d->requireActive();
    d->ensureSynced();
    d->beforeMove();
    d->cur = d->keys.empty() ? -1 : 0;
    d->bof = true;
    d->eof = d->keys.empty();
    d->afterMove();
}

void Dataset::last()
{
    d->requireActive();
    d->ensureSynced();
    d->beforeMove();
    d->cur = static_cast<int>(d->keys.size()) - 1;
    d->eof = true;
    d->bof = d->keys.empty();
    d->afterMove();
}

void Dataset::next()
{
    d->requireActive();
    d->ensureSynced();
    d->beforeMove();
    if (d->cur + 1 < d->viewCount()) {
        ++d->cur;
        d->eof = false;
        d->bof = false;
        d->afterMove();
    } else {
        d->eof = true;
        d->bof = d->keys.empty();
    }
}

void Dataset::prior()
{
    d->requireActive();
    d->ensureSynced();
    d->beforeMove();
    if (d->cur > 0) {
        --d->cur;
        d->eof = false;
        d->bof = false;
        d->afterMove();
    } else {
        d->bof = true;
        d->eof = d->keys.empty();
    }
}

void Dataset::moveTo(int row)
{
    d->requireActive();
    d->ensureSynced();
    if (row == d->cur)
        return;
    // The row is named by its key: storing or dropping a pending row first may shift it.
    const qint64 target = d->keyAt(row);
    d->beforeMove();
    if (d->keys.empty())
        return;
    const int at = target ? d->indexOfKey(target) : -1;
    d->cur = at >= 0 ? at : std::clamp(row, 0, static_cast<int>(d->keys.size()) - 1);
    d->eof = d->bof = false;
    d->afterMove();
}

bool Dataset::eof() const
{
    return !isActive() || d->eof;
}
bool Dataset::bof() const
{
    return !isActive() || d->bof;
}

void Dataset::findNearest(const QVariant& value)
{
    d->requireActive();
    d->ensureSynced();
    d->beforeMove();
    const int fi = d->order.empty() ? d->info.keyField : d->order.front();
    QByteArray column;
    QVariant bound;
    if (fi < 0) {
        column = "rowid";
        bool ok = false;
        bound = value.toLongLong(&ok);
        if (!ok)
            throw EngineError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(value.toString()));
    } else {
        const Field& f = d->field(fi);
        if (f.type == FieldType::Char) {
            column = f.foldColumn();
            bound = foldKey(value.toString());
        } else {
            column = f.column();
            bool ok = false;
            bound = storageValue(f, value, &ok);
            if (!ok)
                throw EngineError(conversionMessage(f, value));
        }
    }
    std::vector<QVariant> params;
    QByteArray w = d->where(params);
    w += (w.isEmpty() ? " WHERE " : " AND ") + column + " >= ?";
    params.push_back(bound);
    Stmt& s =
        d->conn->cached("SELECT " + d->info.keyColumn() + " FROM " + d->ref + w + d->orderBy() + " LIMIT 1");
    for (size_t i = 0; i < params.size(); ++i)
        s.bind(static_cast<int>(i) + 1, params[i]);
    int target = static_cast<int>(d->keys.size()) - 1;
    if (s.step()) {
        const int i = d->indexOfKey(s.int64(0));
        if (i >= 0)
            target = i;
    }
    s.reset();
    d->cur = target;
    d->eof = d->bof = d->keys.empty();
    d->afterMove();
}

bool Dataset::locate(qint64 key)
{
    d->requireActive();
    d->ensureSynced();
    if (d->indexOfKey(key) < 0)
        return false;
    d->beforeMove();
    const int i = d->indexOfKey(key); // the pending row may have been stored meanwhile
    if (i < 0)
        return false;
    d->cur = i;
    d->eof = d->bof = false;
    d->afterMove();
    return true;
}

QStringList Dataset::fieldNames() const
{
    QStringList names;
    for (const auto& f : d->info.fields)
        names << f.name;
    return names;
}
FieldType Dataset::fieldType(const QString& name) const
{
    return d->field(d->fieldIndex(name)).type;
}
bool Dataset::hasField(const QString& name) const
{
    return d->info.indexOf(name) >= 0;
}
int Dataset::fieldSize(const QString& name) const
{
    return d->field(d->fieldIndex(name)).width;
}

QVariant Dataset::value(const QString& name) const
{
    d->requireActive();
    const int fi = d->fieldIndex(name);
    if (d->cur < 0)
        return {};
    return d->valueAt(d->cur, fi);
}
bool Dataset::isNull(const QString& name) const
{
    const QVariant v = value(name);
    return !v.isValid() || v.isNull();
}
int Dataset::asInteger(const QString& name) const
{
    const QVariant v = value(name);
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (v.typeId() == QMetaType::QString) {
        const QString text = v.toString().trimmed();
        if (text.isEmpty())
            return 0;
        bool ok = false;
        const int i = text.toInt(&ok);
        if (!ok)
            throw EngineError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(v.toString()));
        return i;
    }
    return v.toInt();
}
QString Dataset::asString(const QString& name) const
{
    const QVariant v = value(name);
    if (v.typeId() == QMetaType::QByteArray)
        return fieldType(name) == FieldType::Memo ? QString::fromUtf8(v.toByteArray()) : QString();
    return displayText(v);
}

QString Dataset::displayText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return formatDate(v.toDate());
    case QMetaType::QTime:
        return formatTime(v.toTime());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.isValid() ? v.toString() : QString();
    }
}
bool Dataset::asBoolean(const QString& name) const
{
    const QVariant v = value(name);
    return v.isValid() && v.toBool();
}
QDate Dataset::asDate(const QString& name) const
{
    return value(name).toDate();
}
QTime Dataset::asTime(const QString& name) const
{
    return value(name).toTime();
}
QByteArray Dataset::blob(const QString& name) const
{
    const QVariant v = value(name);
    return v.typeId() == QMetaType::QString ? v.toString().toUtf8() : v.toByteArray();
}
QString Dataset::memo(const QString& name) const
{
    const QVariant v = value(name);
    return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
}
QVariant Dataset::valueAt(int row, const QString& name) const
{
    if (!isActive())
        return {};
    const int fi = d->info.indexOf(name);
    if (fi < 0 || row < 0 || row >= d->viewCount())
        return {};
    return d->valueAt(row, fi);
}

void Dataset::gespeicherteZeilenLesen(const QStringList& felder,
                                      const std::function<bool(const GespeicherterWert*)>& je) const
{
    d->requireActive();
    QByteArray spalten;
    for (const QString& name : felder)
        spalten += (spalten.isEmpty() ? "" : ", ") + d->field(d->fieldIndex(name)).column();
    std::vector<QVariant> unused;
    const QByteArray w = d->where(unused);
    // The order's fields with a "+": SQLite then reads the table in one pass and sorts,
    // instead of walking an index and fetching every row by its key, several times
    // slower when most of the rows are read.
    QByteArray order = " ORDER BY ";
    for (int i : d->order) {
        const Field& f = d->field(i);
        order += "+" + (f.type == FieldType::Char ? f.foldColumn() : f.column()) + ", ";
    }
    order += d->info.keyColumn();
    Stmt s(d->conn->db(), "SELECT " + spalten + " FROM " + d->ref + w + order);
    d->bindWhere(s);
    sqlite3_stmt* st = s.get();
    std::vector<GespeicherterWert> werte(static_cast<size_t>(felder.size()));
    while (s.step()) {
        for (int i = 0; i < static_cast<int>(werte.size()); ++i) {
            GespeicherterWert& v = werte[static_cast<size_t>(i)];
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_NULL:
                v = {};
                break;
            case SQLITE_INTEGER:
                v = {GespeicherterWert::Art::Zahl, sqlite3_column_int64(st, i), {}};
                break;
            default: {
                const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                v = {GespeicherterWert::Art::Text, 0, QByteArrayView(t, sqlite3_column_bytes(st, i))};
                break;
            }
            }
        }
        if (!je(werte.data()))
            break;
    }
}

void Dataset::setValue(const QString& name, const QVariant& value)
{
    d->requireWritable();
    if (d->state != State::Edit && d->state != State::Insert)
        throw EngineError(
            QStringLiteral("Die Tabelle %1 ist nicht im Bearbeitungs- oder Einfügemodus.").arg(d->table));
    const int fi = d->fieldIndex(name);
    const Field& f = d->field(fi);
    if (f.type == FieldType::AutoInc)
        throw EngineError(QStringLiteral("Das Feld %1 kann nicht verändert werden.").arg(f.name));
    bool ok = false;
    const QVariant stored = storageValue(f, value, &ok);
    if (!ok)
        throw EngineError(conversionMessage(f, value));
    d->buf[static_cast<size_t>(fi)] = fromStorage(f, stored);
    d->dirty[static_cast<size_t>(fi)] = true;
    d->modified = true;
    d->sigRow(d->cur);
}
void Dataset::setNull(const QString& name)
{
    setValue(name, QVariant());
}
void Dataset::setBlob(const QString& name, const QByteArray& bytes)
{
    const FieldType t = fieldType(name);
    if (t == FieldType::Memo)
        setValue(name, QString::fromUtf8(bytes));
    else
        setValue(name, bytes.isNull() ? QVariant() : QVariant(bytes));
}
void Dataset::setMemo(const QString& name, const QString& text)
{
    setValue(name, text.isNull() ? QVariant() : QVariant(text));
}

void Dataset::edit()
{
    d->requireWritable();
    d->ensureSynced();
    if (d->state == State::Edit || d->state == State::Insert)
        return;
    if (d->keys.empty()) {
        append();
        return;
    }
    const qint64 key = d->keyAt(d->cur);
    const Row* r = d->row(key);
    if (!r)
        throw EngineError(QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
    const std::vector<QVariant> values = r->values;
    d->startPending(State::Edit);
    d->buf = values;
    d->editKey = key;
    d->sigState();
}

void Dataset::startNew(bool atEnd)
{
    Dataset& ds = *this;
    Impl& p = *d;
    p.requireWritable();
    p.ensureSynced();
    p.beforeMove();
    if (ds.beforeInsert)
        ds.beforeInsert(ds);
    if (p.state != State::Browse && p.state != State::Inactive)
        ds.checkBrowseMode();
    const int at = atEnd || p.cur < 0 ? static_cast<int>(p.keys.size()) : p.cur;
    p.sigAboutToInsert(at);
    p.startPending(State::Insert);
    p.insPos = at;
    p.cur = p.insPos;
    p.eof = p.bof = false;
    if (p.master && p.detailIdx >= 0)
        p.buf[static_cast<size_t>(p.detailIdx)] = fromStorage(p.field(p.detailIdx), p.loadedMasterValue);
    p.sigInserted(p.insPos);
    p.sigState();
    p.afterMove();
    if (ds.afterInsert)
        ds.afterInsert(ds);
}

void Dataset::append()
{
    startNew(true);
}
void Dataset::insert()
{
    startNew(false);
}

void Dataset::post()
{
    d->requireActive();
    if (d->state != State::Edit && d->state != State::Insert)
        return;
    d->requireWritable();
    Impl::Snapshot before = d->snapshot();
    Connection& conn = *d->conn;
    conn.begin();
    try {
        if (beforePost)
            beforePost(*this);
        if (d->state == State::Edit || d->state == State::Insert) {
            const bool inserting = d->state == State::Insert;
            const std::vector<bool> changed = d->dirty;
            const int oldInsPos = d->insPos;
            const qint64 key = d->write();
            d->touched(key);
            d->clearPending();
            if (inserting || d->affectsRows(changed)) {
                d->loadKeys();
                int i = d->indexOfKey(key);
                if (i < 0)
                    i = std::min(inserting ? oldInsPos : d->cur, static_cast<int>(d->keys.size()) - 1);
                d->cur = i;
                d->sigReset();
            } else {
                d->sigRow(d->cur);
            }
            d->eof = d->bof = d->keys.empty();
            d->sigState();
            d->afterMove();
            if (afterPost)
                afterPost(*this);
        }
        conn.commit();
    } catch (...) {
        conn.rollback();
        if (d->state == State::Browse && before.state != State::Browse)
            d->restore(std::move(before));
        afterChangeEnded();
        throw;
    }
    runAfterChange();
}

void Dataset::cancel()
{
    if (!isActive())
        return;
    if (d->state == State::Insert) {
        const int pos = d->insPos;
        d->sigAboutToRemove(pos);
        d->clearPending();
        d->cur = std::min(pos, static_cast<int>(d->keys.size()) - 1);
        d->eof = d->bof = d->keys.empty();
        d->sigRemoved(pos);
        d->sigState();
        d->afterMove();
    } else if (d->state == State::Edit) {
        d->clearPending();
        d->sigRow(d->cur);
        d->sigState();
    }
}

void Dataset::remove()
{
    d->requireActive();
    if (d->state == State::Insert) {
        cancel();
        return;
    }
    d->requireWritable();
    if (d->state == State::Edit)
        cancel();
    d->ensureSynced();
    if (d->keys.empty())
        throw EngineError(QStringLiteral("Die Tabelle %1 ist leer.").arg(d->table));
    for (Dataset* dt : d->details)
        if (dt->isActive())
            dt->d->beforeMove();
    Connection& conn = *d->conn;
    conn.begin();
    try {
        if (beforeDelete)
            beforeDelete(*this);
        if (d->state == State::Browse && !d->keys.empty()) {
            const int pos = d->cur;
            const qint64 key = d->keyAt(pos);
            conn.requireTransaction();
            Stmt& s = conn.cached("DELETE FROM " + d->ref + " WHERE " + d->info.keyColumn() + " = ?");
            s.bind(1, key);
            s.exec();
            d->touched(key);
            d->sigAboutToRemove(pos);
            d->keys.erase(d->keys.begin() + pos);
            d->positionsValid = false;
            d->dropWindow();
            d->cur = std::min(pos, static_cast<int>(d->keys.size()) - 1);
            d->eof = d->bof = d->keys.empty();
            d->sigRemoved(pos);
            d->afterMove();
            if (afterDelete)
                afterDelete(*this);
        }
        conn.commit();
    } catch (...) {
        conn.rollback();
        afterChangeEnded();
        throw;
    }
    runAfterChange();
}

void Dataset::refresh()
{
    d->requireActive();
    d->beforeMove();
    d->dropRows();
    d->reloadKeeping(d->keyAt(d->cur));
    d->sigReset();
    d->afterMove();
}

Dataset::State Dataset::state() const
{
    return d->state;
}
bool Dataset::modified() const
{
    return d->modified;
}

void Dataset::checkBrowseMode()
{
    if (d->state == State::Edit || d->state == State::Insert) {
        if (d->modified)
            post();
        else
            cancel();
    }
}

qint64 Dataset::currentKey() const
{
    if (!isActive())
        return 0;
    return d->state == State::Edit ? d->editKey : d->keyAt(d->cur);
}

void Dataset::disableControls()
{
    ++d->disabled;
}
void Dataset::enableControls()
{
    if (d->disabled == 0)
        return;
    if (--d->disabled == 0) {
        if (d->changedWhileDisabled) {
            d->changedWhileDisabled = false;
            emit rowsReset();
            emit stateChanged(d->state);
            emit currentChanged(d->cur);
        }
        d->syncDetails();
    }
}
bool Dataset::controlsDisabled() const
{
    return d->disabled > 0;
}

} // namespace store
