#pragma once

// The four tables of a collection as code: the statements that create them, the
// names of their files and the settings of the main window's five datasets.

#include <QString>
#include <QStringList>

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

// Runs every statement that creates a collection with the given number in the
// current directory (tables and their indexes, in order).
void createCollection(int number);

// The settings of the five datasets of the main window (all closed): orderings,
// the cassette filter switched on with an empty expression, the films as detail of
// the cassettes on Nummer/Zu_Kassette, the overview read-only.
void configureDatasets(Dataset& kassetten, Dataset& filme, Dataset& filmuebersicht, Dataset& verliehen,
                       Dataset& aufnahmetimer);

} // namespace tables
} // namespace store
