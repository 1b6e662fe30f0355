#pragma once

// The collection list file (".qbx"): one line with the collection number in decimal
// digits, ended by CR LF. The collection's tables lie in the list file's directory.

#include <QString>

namespace store {

// Reads the collection number from the list file's first line, as the text that goes
// between each table stem and ".db": "0", an empty line and an empty file select the
// plain names (tables::tableFileName). Anything but decimal digits (a path, a separator,
// letters) is refused with a FileError, so a hand-edited file can never address table
// files outside the collection directory. A missing or unreadable file throws FileError;
// so does anything but a regular file (a pipe, a device), without waiting on it, and a
// first line longer than kMaxFirstLine bytes.
inline constexpr qsizetype kMaxFirstLine = 4096;
QString readCollectionNumber(const QString& listFilePath);

// Creates or replaces the list file with the one line "<number>" CR LF.
void writeCollectionNumber(const QString& listFilePath, int number);

// The number a new collection in `directory` gets: 0 while "filme.db" does not exist
// there, else the smallest N >= 1 for which "filme<N>.db" does not exist. Creations a
// crash interrupted there are finished or cleared first (tables::recoverCreations).
int nextCollectionNumber(const QString& directory);

} // namespace store
