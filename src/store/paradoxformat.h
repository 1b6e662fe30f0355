#pragma once

// Byte layout of the old table format, shared by the reader and the writer of paradox.h.
//
// Header and block headers are little-endian. Field values in records are big-endian with
// the top bit flipped, so that an all-zero field is empty and byte order is sort order.
// Every function here works on a buffer the caller has checked to be long enough.

#include "paradox.h"

#include <QDate>
#include <QTime>
#include <QtGlobal>
#include <cstring>

namespace store::paradox::format {

// --- Table header (.db) ---------------------------------------------------------------
constexpr int KopfRecordSize = 0x00;       // word
constexpr int KopfHeaderSize = 0x02;       // word
constexpr int KopfFileType = 0x04;         // byte: 0 keyed, 2 plain
constexpr int KopfMaxTableSize = 0x05;     // byte: block size in KB
constexpr int KopfNumRecords = 0x06;       // long
constexpr int KopfNextBlock = 0x0A;        // word: blocks in use
constexpr int KopfFileBlocks = 0x0C;       // word: blocks in the file
constexpr int KopfFirstBlock = 0x0E;       // word, 1-based; 0 for an empty table
constexpr int KopfLastBlock = 0x10;        // word
constexpr int KopfModified1 = 0x14;        // byte
constexpr int KopfNumFields = 0x21;        // word
constexpr int KopfPrimaryKeyFields = 0x23; // word
constexpr int KopfEncryption1 = 0x25;      // long: encryption of 3.x tables; $FF00FF00 later
constexpr int KopfSortOrder = 0x29;        // byte
constexpr int KopfFileVersion = 0x39;      // byte: 3..12
constexpr int KopfMaxBlocks = 0x3A;        // word
constexpr int KopfUnknown3E = 0x3E;        // word: $1F0F
constexpr int KopfAutoInc = 0x49;          // long: the highest auto-increment value given
constexpr int KopfFirstFreeBlock = 0x4D;   // word
// Present in data files of version 4.0 and later only.
constexpr int KopfFileVerId2 = 0x58;         // word: $0100 | version byte
constexpr int KopfFileVerId3 = 0x5A;         // word: same
constexpr int KopfEncryption2 = 0x5C;        // long: encryption of 4.0+ tables
constexpr int KopfHiFieldId = 0x64;          // word: numFields + 1
constexpr int KopfHiFieldIdInfo = 0x66;      // word
constexpr int KopfSometimesNumFields = 0x68; // word
constexpr int KopfCodePage = 0x6A;           // word: code page the table was made in

constexpr quint32 Encryption1Ab40 = 0xFF00FF00u;

// Where the field descriptors (type, size; two bytes each) start.
constexpr int FelderAlt = 0x58; // versions 3.0 and 3.5
constexpr int FelderNeu = 0x78; // 4.0 and later

constexpr int DatenKopf = 0x800; // usual header size

constexpr int VersionIdMin = 3;
constexpr int VersionIdMax = 12;

// Version byte at 0x39 as 30, 35, 40, 45, 50, 70; 0 for an unknown byte.
constexpr int versionAusId(int id)
{
    if (id == 3)
        return 30;
    if (id == 4)
        return 35;
    if (id >= 5 && id <= 8)
        return 40;
    if (id == 9)
        return 45;
    if (id == 10 || id == 11)
        return 50;
    if (id == 12)
        return 70;
    return 0;
}

// The version byte written for a file version; 0 for one not supported.
constexpr int idAusVersion(int version)
{
    switch (version) {
    case 30:
        return 3;
    case 35:
        return 4;
    case 40:
        return 5;
    case 45:
        return 9;
    case 50:
        return 11;
    case 70:
        return 12;
    default:
        return 0;
    }
}

// The 4.0+ section (0x58..0x77) exists from version byte 5 on.
constexpr bool hatAbschnitt40(int id)
{
    return id >= 5;
}
constexpr int felderStart(int id)
{
    return hatAbschnitt40(id) ? FelderNeu : FelderAlt;
}
// The stored table name: 79 bytes, 261 from version 7.
constexpr int tabellenNameLaenge(int id)
{
    return id >= 12 ? 261 : 79;
}
// Field names follow the descriptors, the table name pointer, one name pointer per field
// and the table name.
constexpr int feldnamenStart(int id, int anzahlFelder)
{
    return felderStart(id) + 2 * anzahlFelder + 4 + 4 * anzahlFelder + tabellenNameLaenge(id);
}

// Block size in bytes for the size code at 0x05; 0 when unknown. 1..4 KB in every
// version, 8, 16 and 32 KB from version 5 on.
constexpr int blockGroesseAusCode(int code, int id)
{
    if (code >= 1 && code <= 4)
        return code * 1024;
    if ((code == 8 || code == 16 || code == 32) && id >= 10)
        return code * 1024;
    return 0;
}

// --- Data blocks ------------------------------------------------------------------------
// nextBlock (word), prevBlock (word), addDataSize (signed word: offset of the last record,
// -recordSize for an empty block), then the records.
constexpr int BlockKopf = 6;
constexpr int BlockNext = 0;
constexpr int BlockPrev = 2;
constexpr int BlockAddDataSize = 4;

// --- Blob file (.mb) ------------------------------------------------------------------
constexpr int MbBlock = 4096; // header and every block are multiples of this
constexpr int MbTypHeader = 0;
constexpr int MbTypEinzeln = 2;  // one blob: type, chunks (word), length (long), mod (word)
constexpr int MbTypVerteilt = 3; // sub-allocated: up to 64 small blobs in 4 KB
constexpr int MbTypFrei = 4;
constexpr int MbEinzelnDaten = 9;     // data offset in a single blob block
constexpr int MbVerteiltTabelle = 12; // index table: 64 entries of 5 bytes
constexpr int MbVerteiltEintraege = 64;
constexpr int MbVerteiltEintrag = 5;   // offset/16, length/16 rounded up, mod (word), length%16
constexpr int MbVerteiltDaten = 0x150; // first data chunk
constexpr int MbStueck = 16;           // sub-allocation chunk
constexpr int MbSchwelle = 2048;       // larger blobs get a block of their own
constexpr int MbIndexEinzeln = 0xFF;   // index byte of a blob pointer to a single blob block

// Blob pointer: the last 10 bytes of a Memo, Blob or Graphic field, little-endian.
constexpr int BlobZeiger = 10;

struct Blobzeiger
{
    quint32 offset = 0; // block offset in the .mb (low byte cleared); 0: all in the record
    int index = 0;      // 0xFF: single blob block, else entry of a sub-allocated block
    quint32 laenge = 0; // bytes of the blob
    quint16 modNr = 0;
};

// --- Little-endian integers (headers) --------------------------------------------------
inline quint16 le16(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint16(u[0] | (u[1] << 8));
}
inline quint32 le32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}
inline void setLe16(char* p, quint16 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}
inline void setLe32(char* p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

inline Blobzeiger leseBlobzeiger(const char* p)
{
    Blobzeiger z;
    const quint32 roh = le32(p);
    z.offset = roh & 0xFFFFFF00u;
    z.index = int(roh & 0xFFu);
    z.laenge = le32(p + 4);
    z.modNr = le16(p + 8);
    return z;
}
inline void schreibeBlobzeiger(char* p, const Blobzeiger& z)
{
    setLe32(p, (z.offset & 0xFFFFFF00u) | quint32(z.index & 0xFF));
    setLe32(p + 4, z.laenge);
    setLe16(p + 8, z.modNr);
}

// --- Field values (records) --------------------------------------------------------------
// An all-zero field is empty, whatever its type.
inline bool istLeer(const char* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Big-endian with the sign bit flipped. The smallest value of the type encodes as all
// zeros, i.e. as empty: a writer cannot store it.
inline qint32 leseLong(const char* p)
{
    return qint32(((quint32(quint8(p[0])) << 24) | (quint32(quint8(p[1])) << 16) |
                   (quint32(quint8(p[2])) << 8) | quint32(quint8(p[3]))) ^
                  0x80000000u);
}
inline void schreibeLong(char* p, qint32 v)
{
    const quint32 u = quint32(v) ^ 0x80000000u;
    p[0] = char(u >> 24);
    p[1] = char((u >> 16) & 0xFF);
    p[2] = char((u >> 8) & 0xFF);
    p[3] = char(u & 0xFF);
}
inline qint16 leseShort(const char* p)
{
    return qint16(quint16((quint16(quint8(p[0])) << 8) | quint8(p[1])) ^ 0x8000u);
}
inline void schreibeShort(char* p, qint16 v)
{
    const quint16 u = quint16(quint16(v) ^ 0x8000u);
    p[0] = char(u >> 8);
    p[1] = char(u & 0xFF);
}

// Date: a Long of days, day 1 being 1 January of the year 1.
constexpr qint64 JulianTag0 = 1721425; // QDate(1, 1, 1).toJulianDay() - 1
inline QDate datumAusTagen(qint32 tage)
{
    return QDate::fromJulianDay(JulianTag0 + tage);
}
inline qint32 tageAusDatum(const QDate& d)
{
    return qint32(d.toJulianDay() - JulianTag0);
}
// The range of dates a Date field can hold (day 1 .. 31.12.9999).
inline bool datumSpeicherbar(const QDate& d)
{
    return d.isValid() && d >= QDate(1, 1, 1) && d <= QDate(9999, 12, 31);
}

// Time: a Long of milliseconds since midnight.
inline QTime zeitAusMs(qint32 ms)
{
    if (ms < 0 || ms >= 24 * 3600 * 1000)
        return QTime();
    return QTime::fromMSecsSinceStartOfDay(ms);
}
inline qint32 msAusZeit(const QTime& t)
{
    return qint32(t.msecsSinceStartOfDay());
}

// Logical: 0 empty, 0x80 false, 0x81 true.
constexpr char LogischFalsch = char(0x80);
constexpr char LogischWahr = char(0x81);
inline void schreibeLogical(char* p, bool v)
{
    p[0] = v ? LogischWahr : LogischFalsch;
}

// Bytes a field of the type takes in a record; 0 for the types whose size is free
// (Alpha, and the blob types with their leading part).
inline int festeGroesse(Feldtyp t)
{
    switch (t) {
    case Feldtyp::Datum:
    case Feldtyp::Long:
    case Feldtyp::Zeit:
    case Feldtyp::AutoInc:
        return 4;
    case Feldtyp::Short:
        return 2;
    case Feldtyp::Logical:
        return 1;
    default:
        return 0;
    }
}

} // namespace store::paradox::format
