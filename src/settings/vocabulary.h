#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace settings {

// The vocabulary files in the program's "Lists" directory: one entry per line in the
// Windows code page 1252, lines ended by CR LF when written; on reading a line ends at
// CR LF, a lone CR or a lone LF, a last line without an ending still counts, and a NUL
// byte ends the text.
namespace vocabulary {

inline constexpr QLatin1StringView kGenreFile{"genre.qb"};
inline constexpr QLatin1StringView kStationFile{"prgs.qb"};
inline constexpr QLatin1StringView kPlayLengthFile{"splztn.qb"};

// The built-in lists, in their original order.
const QStringList& builtInGenres();
const QStringList& builtInStations();
const QStringList& builtInPlayLengths(); // "E - 180" ... "Kaufvideo"

// Code page 1252. Decoding stops at the first NUL byte; the five bytes without a
// character of their own (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters
// of the same number, so they come back unchanged when written again.
QString decodeWindows1252(QByteArrayView bytes);
// Empty when the text holds a character the code page has no byte for.
std::optional<QByteArray> encodeWindows1252(QStringView text);

// True when the entry can be stored as one line of a list file: every character
// exists in code page 1252, and it holds no line break and no NUL.
bool fitsListFile(QStringView entry);

QStringList parseLines(QByteArrayView bytes);
// Empty when an entry does not fit a list file.
std::optional<QByteArray> formatLines(const QStringList& entries);

// Reads a list file; empty when it cannot be read.
std::optional<QStringList> readListFile(const QString& path);

// Writes a list file as a whole: either the new file is complete or the old one is
// left as it was. Fails for a file or directory that is write-protected, also for a
// user who could override the protection. Returns false on any failure, and then tells
// `reason` why, in German.
bool writeListFile(const QString& path, const QStringList& entries, QString* reason = nullptr);

// True when a file may be replaced: it does not exist yet, or it exists and is
// neither marked read-only nor closed to the current user.
bool mayReplaceFile(const QString& path);

// Writes `data` to `path` atomically (after the check of mayReplaceFile(); see
// store::SicheresSchreiben); on failure false, and `reason` says why.
bool saveFileAtomically(const QString& path, const QByteArray& data, QString* reason = nullptr);

// The order of the sorted lists: the user's locale, letter case ignored.
int compareEntries(const QString& a, const QString& b);
// Inserts `entry` at its place in the sorted `list`, after equal entries; returns the index.
qsizetype insertSorted(QStringList& list, const QString& entry);
// Sorts a list in that order, keeping duplicates and the order of equal entries.
void sortEntries(QStringList& list);

} // namespace vocabulary
} // namespace settings
