#pragma once

// Exporting a collection to spreadsheet files (see csv.h): the film overview as it
// is shown (its order and filter), or all four tables into one directory. Every file
// is written through store::SicheresSchreiben: it appears complete or not at all, and an
// old file of that name stays until then.

#include <QString>
#include <QStringList>
#include <functional>

namespace store {
class Collection;
}

namespace extras {

// Told how many of `gesamt` rows are written; false cancels the export.
using Fortschritt = std::function<bool(qint64 geschrieben, qint64 gesamt)>;

class Export
{
public:
    explicit Export(store::Collection& collection) : m_collection(collection) {}

    // The films of the overview in its current order and filter, without moving it:
    // Kassette, Filmname, Filmlaenge, Genre, Datum. False when cancelled (no file is
    // left then); a file that cannot be written throws store::FileError.
    bool filmuebersicht(const QString& datei, const Fortschritt& fortschritt = {});

    // All four tables, each into "<table file name>.csv" in `verzeichnis` ("filme.csv",
    // "filme3.csv" for a numbered collection), every field but the pictures, in key
    // order. Written beside their targets first and put in place together, only when all
    // four are complete: a failure or a cancel (false) leaves the old files as they were.
    bool tabellen(const QString& verzeichnis, const Fortschritt& fortschritt = {});

    // The files tabellen() writes into `verzeichnis`.
    QStringList tabellenDateien(const QString& verzeichnis) const;

    // Rows the overview export writes (for the progress dialog's decision).
    qint64 filmuebersichtZeilen() const;

private:
    store::Collection& m_collection;
};

} // namespace extras
