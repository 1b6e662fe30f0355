#pragma once

// The four tables of a collection as code: the statements that create them, the
// names of their files and the settings of the main window's five datasets.

#include <QString>
#include <QStringList>
#include <functional>

namespace store {

class Dataset;

namespace tables {

inline constexpr char kKassStem[] = "kass";
inline constexpr char kFilmeStem[] = "filme";
inline constexpr char kAusgeliehenStem[] = "ausgelhn";
inline constexpr char kATimerStem[] = "atimer";

// The CREATE TABLE texts, one entry per line, for the plain file names.
QStringList createKass();
QStringList createFilme();
QStringList createAusgeliehen();
QStringList createATimer();

// The CREATE INDEX statements of one table, in the order they are run, for the
// given (plain or numbered) file name.
QStringList filmeIndexes(const QString& fileName);       // iZu_Kassette, iFilmname, iFilmlaenge, iGenre
QStringList ausgeliehenIndexes(const QString& fileName); // iAn, iDatum, iKassette
QStringList atimerIndexes(const QString& fileName);      // iDatum

// "kass" + number + ".db"; number 0 gives the plain name.
QString tableFileName(const QString& stem, int number);
// The same from the text of a collection list file: "0" and "" give the plain name,
// any other text goes between stem and ".db" unchanged.
QString tableFileName(const QString& stem, const QString& numberText);

// The first line of a CREATE TABLE text for a numbered file name:
// CREATE TABLE "kass3.db".
QString createTableLine(const QString& fileName);

// Creates collection `number` in `directory`: the four tables with their indexes and,
// when `listFile` (a name in `directory` or a path) is given, the list file naming it.
// A process killed at any moment leaves either nothing of it or, once the next
// creation or opening in that directory has run recoverCreations(), all of it: the
// tables are built in a working directory "Neuanlage<N>.tmp" beside them, which is
// renamed to "Neuanlage<N>.bereit" once complete (the deciding step); then the tables
// are moved into place (a stale journal of their names removed first), the list file
// is written and the working directory removed. Leftovers of interrupted creations in
// `directory` are dealt with first. A table file of that number that exists is
// refused (EngineError); on any failure everything this call made is removed again.
// `afterStep` (for tests) is called after each step.
void createCollection(const QString& directory, int number, const QString& listFile = QString(),
                      const std::function<void()>& afterStep = {});
// The same in the current directory, without a list file.
void createCollection(int number);

// Finishes the decided creations in `directory` and removes the undecided ones; only
// working directories of this program's names, and in them only the files a creation
// makes, are touched. Never throws: what cannot be finished now is tried again later.
void recoverCreations(const QString& directory);

// The settings of the five datasets of the main window (all closed): orderings,
// the cassette filter switched on with an empty expression, the films as detail of
// the cassettes on Nummer/Zu_Kassette, the overview read-only.
void configureDatasets(Dataset& kassetten, Dataset& filme, Dataset& filmuebersicht, Dataset& verliehen,
                       Dataset& aufnahmetimer);

} // namespace tables
} // namespace store
