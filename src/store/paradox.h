#pragma once

// Tables in the old single-file table format ("kass.db" with its blob file "kass.mb"
// and its primary index "kass.px"): a bounded reader, by which existing collections
// are brought over, and a writer, by which a collection goes back.
//
// Values of a row, one per field in field order, as QVariant:
//   empty field          invalid QVariant (never 0, "" or false)
//   Alpha                QString (decoded from the table's code page, trailing NULs cut)
//   Short, Long, AutoInc int
//   Logical              bool
//   Date                 QDate
//   Time                 QTime (milliseconds since midnight)
//   Memo                 QString (decoded from the table's code page)
//   Graphic, Blob        QByteArray (the blob's bytes exactly as stored)
// Other field types are refused when the table is opened.

#include "error.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <memory>
#include <vector>

namespace store::paradox {

// The type byte of a field descriptor.
enum class Feldtyp : quint8 {
    Alpha = 0x01,
    Datum = 0x02,
    Short = 0x03,
    Long = 0x04,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    Graphic = 0x10,
    Zeit = 0x14,
    AutoInc = 0x16,
};

struct Feld
{
    QString name;
    Feldtyp typ = Feldtyp::Long;
    // Bytes of the field in a record. Alpha: its width; Memo and Graphic: the bytes
    // kept in the record plus the 10 of the blob pointer (BLOB(5,1) -> 15).
    int groesse = 4;
};

struct Kopf
{
    int version = 70;         // file version: 30, 35, 40, 45, 50, 70
    int codepage = 1252;      // from the header; 437 for tables that name none
    bool schluessel = false;  // keyed (a primary index belongs to it)
    int schluesselFelder = 0; // number of leading key fields
    qint32 autoInc = 0;       // the header's counter: the highest value given so far
    qint64 datensaetze = 0;   // record count as the header says
    int blockGroesse = 4096;  // bytes of a data block
    std::vector<Feld> felder;
};

// A file that is not a table of this format, is damaged, or needs a blob file that is
// missing. The message is German and names the file.
class Formatfehler : public EngineError
{
public:
    using EngineError::EngineError;
};

// True when the file starts with the header of a data table of this format (keyed or
// plain). Reads only the header; never throws.
bool istParadoxTabelle(const QString& pfad);

// Reads a table row by row. Memory stays bounded by one data block and the values of
// one row: blobs are read from the blob file only for the row asked for. Every offset,
// count and length read from the files is checked against the file's size before it
// is used; a damaged or hostile file gives a Formatfehler, never a crash, an endless
// loop or an allocation beyond the file's size.
class Leser
{
public:
    // Opens the table file and checks its header and field descriptors. The blob file
    // (same name, ".mb") is opened when it exists; it is needed only when a row
    // points into it.
    explicit Leser(const QString& dbPfad);
    ~Leser();
    Leser(const Leser&) = delete;
    Leser& operator=(const Leser&) = delete;

    const Kopf& kopf() const;
    QString pfad() const;

    // The next stored row (deleted rows after a block's last record are skipped); false
    // at the end. Throws Formatfehler for a damaged block, blob pointer or blob file,
    // and when a row points into a blob file that does not exist.
    bool naechste(std::vector<QVariant>& zeile);
    // Rows read so far.
    qint64 gelesen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Writes a new table (".db", ".mb" and, when keyed, the primary index ".px") in code
// page 1252 (or the one given), file version 7 (or the one given: 30 to 70, for tests
// of the reader). Files that exist are refused. The
// blob file is padded to whole 4 KB blocks; a memo or picture that fits into the part
// of the field kept in the record stays there. Call abschliessen() after the last
// row; until then, and when it fails, the files are incomplete (the caller removes them).
class Schreiber
{
public:
    Schreiber(const QString& dbPfad, std::vector<Feld> felder, bool schluessel, int codepage = 1252,
              int version = 70);
    ~Schreiber();
    Schreiber(const Schreiber&) = delete;
    Schreiber& operator=(const Schreiber&) = delete;

    // One row, values as the reader gives them (an AutoInc value is written as given
    // and raises the header's counter; a keyed table refuses a key that is not above
    // the previous row's). Text the code page cannot hold becomes '?'
    // and is counted in ersetzt().
    void zeile(const std::vector<QVariant>& werte);
    void abschliessen();
    int ersetzt() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace store::paradox
