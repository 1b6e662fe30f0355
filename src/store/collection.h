#pragma once

// One collection as the program works on it: the five datasets over the four tables
// (with their orders and the master-detail link of films to cassettes), the four
// statements that create the tables, and opening, creating and closing. No widgets:
// the main window and the pages get it by reference.
//
// Datasets (objectName in brackets): kassetten() [Table_Kassetten], filme() [Table_Filme,
// the films of the current cassette], filmuebersicht() [Table_Filmuebersicht, all
// films], verliehen() [Table_Verliehen], aufnahmetimer() [Table_Aufnahmetimer].

#include "dataset.h"
#include "query.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <vector>

namespace store {

class Collection : public QObject
{
    Q_OBJECT
public:
    explicit Collection(QObject* parent = nullptr);
    ~Collection() override;

    Dataset& kassetten() const { return *m_kassetten; }
    Dataset& filme() const { return *m_filme; }
    Dataset& filmuebersicht() const { return *m_filmuebersicht; }
    Dataset& verliehen() const { return *m_verliehen; }
    Dataset& aufnahmetimer() const { return *m_aufnahmetimer; }

    // The statements that create the four tables, one line per entry, for the plain
    // table names.
    const Query& kassQuery() const { return m_queryKass; }
    const Query& filmeQuery() const { return m_queryFilme; }
    const Query& ausgeliehenQuery() const { return m_queryAusgeliehen; }
    const Query& atimerQuery() const { return m_queryATimer; }

    // Opens the collection that a list file names. On failure every dataset is closed
    // again and the error is thrown on.
    void open(const QString& listFilePath);
    // Creates the four tables of collection `number` and the list file `listFile` in
    // `directory` (which becomes the current directory) as tables::createCollection
    // does, safe against a crash, and opens them. On failure what was made is removed
    // again, files that existed before are never touched, and the error is thrown on.
    void create(const QString& directory, const QString& listFile, int number);
    // Closes the five datasets; a pending row is discarded.
    void close();

    // Position number of the dataset's current row: 1 for the first row, the record
    // count for the last, 0 when the dataset is empty.
    int AktDS(Dataset& dataset) const;

    // The open collection's list file (full path); empty while none is open.
    QString listFilePath() const { return m_listFile; }

    // Runs one read-only statement (SELECT, aggregates) over the open collection's
    // tables on the collection's own connection and returns its rows. The tables are
    // written {kass}, {filme}, {ausgelhn} and {atimer}; values go to the "?" in order
    // and are bound, never pasted. A statement that would write is refused with an
    // EngineError. Columns come back as integer, text or null; dates as "yyyy-MM-dd".
    std::vector<QVariantList> auswerten(const QString& sql, const QVariantList& parameter = {}) const;

    // Counts of a finished backup.
    struct Sicherung
    {
        QString listFile; // the list file of the copy
        qint64 kassetten = 0, filme = 0, verliehen = 0, aufnahmen = 0;
    };
    // Copies the open collection (its four table files through SQLite's online backup
    // and its list file, under the same names) into `zielVerzeichnis`, which must exist
    // and be empty. Each copied table must pass SQLite's integrity check, and the copy
    // must open as a collection with the same number of rows. Refused while a change is
    // under way or a dataset holds a pending row (store it first). On any failure
    // everything written into the directory is removed and the error (EngineError or
    // FileError, with its reason) is thrown. `seitenGrenze` > 0 caps every copied file
    // at that many pages, as a full disk would.
    Sicherung sicherungErstellen(const QString& zielVerzeichnis, int seitenGrenze = 0);

private:
    Dataset* m_kassetten;
    Dataset* m_filme;
    Dataset* m_filmuebersicht;
    Dataset* m_verliehen;
    Dataset* m_aufnahmetimer;
    Query m_queryKass, m_queryFilme, m_queryAusgeliehen, m_queryATimer;
    QString m_listFile;
};

} // namespace store
