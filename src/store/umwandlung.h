#pragma once

// Bringing a collection over from tables of the old format ("kass.db" with ".mb" and
// ".px" beside it) and writing one back into that format.
//
// Bringing over is all or nothing. The new tables are built and checked in a working
// directory beside the collection ("Umwandlung<N>.tmp"). Renaming that directory to
// "Umwandlung<N>.bereit" is the one step that decides: before it the old tables are in
// place and untouched; after it the old files are moved into "Paradox-Original" and
// the new tables into place, a step that wiederherstellen() finishes when the program
// was stopped half-way. So a program killed at any moment leaves, once the list file
// is opened again, either the old collection or the converted one.

#include "paradox.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace store {
class Collection;
}

namespace store::umwandlung {

inline constexpr char kOriginalVerzeichnis[] = "Paradox-Original";

// Reports progress (rows done of all rows); false cancels.
using Fortschritt = std::function<bool(qint64 erledigt, qint64 gesamt)>;

// The field layout a table of the given stem ("kass", "filme", "ausgelhn", "atimer")
// has in the old format, as this program writes it.
std::vector<paradox::Feld> paradoxFelder(const QString& stem);

// Finishes or clears away a conversion of the list file's collection that was stopped
// half-way (see above). Quiet when there is none. Throws FileError when a file cannot
// be moved.
void wiederherstellen(const QString& listFilePath);

// Whether the list file's collection is stored in the old format and can be brought
// over: true when all four tables are old tables with the expected fields and their
// blob files where rows need them, false when none of them is. Throws EngineError with a
// German message naming the file for a mix of formats, an unknown field layout, a
// damaged table or a missing blob file; nothing is changed then.
bool mussUmgewandeltWerden(const QString& listFilePath);

struct Ergebnis
{
    qint64 kassetten = 0, filme = 0, verliehen = 0, aufnahmen = 0;
    QStringList hinweise; // what the checks found in the old data (German, one per entry)
};

// Converts the collection (see above). Throws EngineError or FileError and leaves
// every original file as it was when reading, writing or checking fails or the
// progress is cancelled (the message then is kAbgebrochen).
inline constexpr char kAbgebrochen[] = "Die Umwandlung wurde abgebrochen.";
Ergebnis umwandeln(const QString& listFilePath, const Fortschritt& fortschritt = {});

// Rows written by exportieren().
struct Ausfuhr
{
    qint64 kassetten = 0, filme = 0, verliehen = 0, aufnahmen = 0;
    int ersetzt = 0; // characters the code page 1252 does not have, written as '?'
};

// Writes the open collection as tables of the old format (keyed on their AutoInc field
// with a primary index, blob files, code page 1252) together with a list file of the
// same name and number into `zielVerzeichnis`, which must exist and be empty. Refused
// while a change is under way or a row is being edited. On any failure (or when the
// progress is cancelled) everything written there is removed and the error thrown.
Ausfuhr exportieren(const Collection& sammlung, const QString& zielVerzeichnis,
                    const Fortschritt& fortschritt = {});

} // namespace store::umwandlung
