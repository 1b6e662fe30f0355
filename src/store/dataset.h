#pragma once

// A dataset: a cursor over one table file of a collection, with an ordering, an
// optional filter, an optional master, one pending row and change notifications.
// It holds the keys of its rows in order and a bounded cache of row values, never
// a whole table; blobs are read only when asked for.

#include "error.h"
#include "fieldtype.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <functional>
#include <memory>

namespace store {

class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(Dataset&)>;

    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // --- Addressing (only while closed) --------------------------------------------
    void setDatabaseName(const QString& directory); // the collection directory
    QString databaseName() const;
    void setTableName(const QString& fileName); // "kass.db", "filme3.db", ...
    QString tableName() const;

    // --- Settings ------------------------------------------------------------------
    // Field names separated by ";" ("Genre;Filmname"); empty means the primary key.
    // May be changed while open: the rows are re-read and the current row kept.
    void setIndexFieldNames(const QString& fields);
    QString indexFieldNames() const;
    // Filter expression in the engine's language, e.g. "(Frei >=90) AND (Original<>1)"
    // or "DATUM >= 19.05.1998": field names in any case, = <> < <= > >=, AND, OR, NOT,
    // parentheses, whole numbers, 'text' or "text", dates in shortDateFormat(), TRUE,
    // FALSE. Text compares exactly (with case). An empty boolean counts as false.
    // A malformed expression throws EngineError and the previous filter stays.
    void setFilter(const QString& expression);
    QString filter() const;
    void setFiltered(bool on);
    bool filtered() const;
    // A read-only dataset refuses edit, append, insert and remove.
    void setReadOnly(bool readOnly);
    bool readOnly() const;
    // Master-detail: this dataset shows only the rows whose `detailField` equals the
    // master's current `masterField`, follows the master's current row, and gives new
    // rows the master's value. Before the master takes another row (a move, a filter
    // set, applied or lifted, an ordering, a refresh, find-nearest, locate), this
    // dataset's pending row is stored (when changed) or discarded (a new row nobody
    // wrote to). It catches up at once; while the master's controls are disabled, when
    // they are enabled again or when this dataset is moved or changed itself. Reading
    // a dataset (counts, position, values) never changes it and emits nothing.
    void setMaster(Dataset* master, const QString& masterField, const QString& detailField);
    Dataset* master() const;

    // --- Open and close ------------------------------------------------------------
    void open();  // throws EngineError ("Datei nicht gefunden", table in use, ...)
    void close(); // a pending row is discarded: store it first with checkBrowseMode()
    bool isActive() const;

    // --- Navigation ----------------------------------------------------------------
    int recordCount() const; // stored rows (filter and master applied)
    int rowCount() const;    // rows a view shows: recordCount() plus a pending new row
    // 1-based position of the current row in the current order (a pending new row
    // counts at its place); 0 when empty.
    int recNo() const;
    // Every move first stores a changed pending row and drops an unchanged one.
    void first();           // bof() becomes true
    void last();            // eof() becomes true
    void next();            // past the last row: stays, eof() becomes true
    void prior();           // before the first row: stays, bof() becomes true
    void moveTo(int row);   // 0-based row as a view counts them (used by grids)
    int currentRow() const; // 0-based, -1 when empty
    bool eof() const;
    bool bof() const;
    bool isEmpty() const { return recordCount() == 0; }
    // Goes to the first row whose first ordering field is >= value (text or whole
    // number), else to the last row.
    void findNearest(const QVariant& value);
    // Goes to the row with this primary key; false (and no move) when there is none.
    bool locate(qint64 key);

    // --- Fields of the current row (the pending row while editing) ------------------
    QStringList fieldNames() const;
    FieldType fieldType(const QString& name) const;
    bool hasField(const QString& name) const;
    int fieldSize(const QString& name) const;  // CHAR(n): n; else 0
    QVariant value(const QString& name) const; // invalid QVariant for an empty field
    bool isNull(const QString& name) const;
    int asInteger(const QString& name) const;    // empty reads 0
    QString asString(const QString& name) const; // dates and times in the locale's short forms
    bool asBoolean(const QString& name) const;   // empty reads false
    QDate asDate(const QString& name) const;
    QTime asTime(const QString& name) const;
    QByteArray blob(const QString& name) const; // memo (UTF-8 text) or picture bytes
    QString memo(const QString& name) const;
    // Value of a field of row `row` (0-based, current order) without moving; for grids.
    QVariant valueAt(int row, const QString& name) const;
    // A value as the table file holds it, for a reader that passes rows on unchanged.
    struct GespeicherterWert
    {
        enum class Art { Leer, Zahl, Text } art = Art::Leer;
        qint64 zahl = 0;
        QByteArrayView text; // UTF-8; a date "yyyy-MM-dd", a time "HH:mm:ss"; valid during the call
    };
    // Reads the stored rows in the current order and filter, one after the other, with
    // the values of `felder` (without moving the dataset, and without holding the rows:
    // one pass over the table). A pending new row is not among them. Stops when `je`
    // returns false.
    void gespeicherteZeilenLesen(const QStringList& felder,
                                 const std::function<bool(const GespeicherterWert* werte)>& je) const;
    // A field value as the user reads it: dates and times in the locale's forms,
    // booleans as "True"/"False", an empty field as empty text. Blobs are the caller's.
    static QString displayText(const QVariant& value);

    // Writing needs Edit or Insert state. Text is cut to the field's width; a text
    // that cannot be converted to the field's type throws EngineError.
    void setValue(const QString& name, const QVariant& value);
    void setInteger(const QString& name, int v) { setValue(name, v); }
    void setString(const QString& name, const QString& v) { setValue(name, v); }
    void setBoolean(const QString& name, bool v) { setValue(name, v); }
    void setDate(const QString& name, const QDate& v) { setValue(name, v); }
    void setTime(const QString& name, const QTime& v) { setValue(name, v); }
    void setNull(const QString& name);
    void setBlob(const QString& name, const QByteArray& bytes);
    void setMemo(const QString& name, const QString& text);

    // --- Changing rows -------------------------------------------------------------
    void edit();    // on an empty dataset starts a new row instead
    void append();  // new row at the end
    void insert();  // new row before the current row
    void post();    // stores the pending row; the row stays current
    void cancel();  // drops the pending row
    void remove();  // deletes the current row; a pending new row is discarded instead
    void refresh(); // re-reads the rows, keeping order, filter and current row
    State state() const;
    bool modified() const; // a pending row counts as changed once any field was written
    // Stores a changed pending row, drops an unchanged one (what a move does first).
    void checkBrowseMode();
    qint64 currentKey() const; // primary key of the current stored row, 0 if none

    // --- Display ---------------------------------------------------------------------
    void disableControls(); // nests; bound views are not told of moves meanwhile
    void enableControls();
    bool controlsDisabled() const;

    // --- Notifications ---------------------------------------------------------------
    // Run inside the engine's call that starts, stores or deletes a row. A handler may
    // edit and post this dataset again, or another one; everything a post or delete and
    // its handlers write is one transaction.
    Handler beforeInsert, afterInsert, beforePost, afterPost, beforeDelete, afterDelete;

signals:
    // For views. Not emitted while controls are disabled; enableControls() then
    // emits rowsReset() once when something changed meanwhile.
    void rowsReset();               // rows, order or filter changed
    void currentChanged(int row);   // current row moved
    void rowChanged(int row);       // values of one row changed
    void stateChanged(State state); // browse / edit / insert
    // A pending new row appears at `row` / a row (stored or pending) goes away; the
    // "about" signal comes before the dataset changes, the other one after.
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);

private:
    struct Impl;
    void startNew(bool atEnd);
    std::unique_ptr<Impl> d;
};

} // namespace store
