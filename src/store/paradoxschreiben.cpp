// Writing a table in the old format: the data file (.db) block by block while the rows
// come, the blobs into the blob file (.mb) as they come, and at the end the primary index
// (.px) and the headers. Until abschliessen() has written the headers, the headers are all
// zero, so an unfinished table never passes for a complete one.

#include "codepage.h"
#include "paradox.h"
#include "paradoxformat.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace store::paradox {

namespace f = format;

namespace {

constexpr int DatenBlock = 4096;
constexpr int BlockCode = DatenBlock / 1024; // maxTableSize
constexpr int MaxBloecke = 0xFFFF;           // block numbers are words
constexpr int IndexAnhang = 6;               // block number, record count, unused (Shorts)
constexpr quint16 BlobModNr = 1;             // as after a restructure
constexpr int MaxFeldname = 25;

// The index header keeps the root block and the number of levels where the data header
// keeps nothing.
constexpr int PxWurzel = 0x1E; // word
constexpr int PxEbenen = 0x20; // byte

// The blob file header; the values are those the engine writes for 4 KB blocks.
constexpr int MbKopfBloecke = 0x01;
constexpr int MbKopfModNr = 0x03;
constexpr int MbKopfBasis = 0x0B;
constexpr int MbKopfVerteiltGroesse = 0x0D;
constexpr int MbKopfStueck = 0x10;
constexpr int MbKopfEintraege = 0x11;
constexpr int MbKopfSchwelle = 0x13;

const char* const Sortierung = "ascii";

[[noreturn]] void fehler(const QString& text)
{
    throw EngineError(text);
}

QString typName(Feldtyp t)
{
    switch (t) {
    case Feldtyp::Alpha:
        return QStringLiteral("Alpha");
    case Feldtyp::Datum:
        return QStringLiteral("Datum");
    case Feldtyp::Short:
        return QStringLiteral("Short");
    case Feldtyp::Long:
        return QStringLiteral("Long");
    case Feldtyp::Logical:
        return QStringLiteral("Logical");
    case Feldtyp::Memo:
        return QStringLiteral("Memo");
    case Feldtyp::Blob:
        return QStringLiteral("Blob");
    case Feldtyp::Graphic:
        return QStringLiteral("Graphic");
    case Feldtyp::Zeit:
        return QStringLiteral("Zeit");
    case Feldtyp::AutoInc:
        return QStringLiteral("AutoInc");
    }
    return QStringLiteral("unbekannt (%1)").arg(int(t));
}

bool istBlobTyp(Feldtyp t)
{
    return t == Feldtyp::Memo || t == Feldtyp::Blob || t == Feldtyp::Graphic;
}

bool istGanzzahlTyp(Feldtyp t)
{
    return t == Feldtyp::Short || t == Feldtyp::Long || t == Feldtyp::AutoInc;
}

QString nebenDatei(const QString& dbPfad, const char* endung)
{
    const QFileInfo info(dbPfad);
    QString e = QString::fromLatin1(endung);
    if (info.suffix() == info.suffix().toUpper() && !info.suffix().isEmpty())
        e = e.toUpper();
    const QString basis =
        info.suffix().isEmpty() ? dbPfad : dbPfad.left(dbPfad.size() - info.suffix().size() - 1);
    return basis + QLatin1Char('.') + e;
}

std::optional<qint64> ganzzahl(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return v.toLongLong();
    case QMetaType::ULongLong:
        if (v.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return std::numeric_limits<qint64>::max();
        return v.toLongLong();
    default:
        return std::nullopt;
    }
}

// One of the three files, every write checked.
class Datei
{
public:
    explicit Datei(const QString& pfad) : m_datei(pfad) {}

    void anlegen()
    {
        if (!m_datei.open(QIODevice::ReadWrite | QIODevice::NewOnly))
            fehler(QStringLiteral("Die Datei „%1“ kann nicht angelegt werden: %2")
                       .arg(m_datei.fileName(), m_datei.errorString()));
        m_angelegt = true;
    }
    bool angelegt() const { return m_angelegt; }
    QString pfad() const { return m_datei.fileName(); }

    void schreiben(qint64 pos, const char* daten, qint64 laenge)
    {
        if (!m_datei.seek(pos) || m_datei.write(daten, laenge) != laenge)
            fehlerBeimSchreiben();
    }
    void schreiben(qint64 pos, const QByteArray& daten) { schreiben(pos, daten.constData(), daten.size()); }
    void laengeSetzen(qint64 laenge)
    {
        if (!m_datei.resize(laenge))
            fehlerBeimSchreiben();
    }
    void schliessen()
    {
        if (!m_datei.isOpen())
            return;
        if (!m_datei.flush())
            fehlerBeimSchreiben();
        m_datei.close();
        if (m_datei.error() != QFileDevice::NoError)
            fehlerBeimSchreiben();
    }
    void entfernen()
    {
        m_datei.close();
        if (m_angelegt)
            m_datei.remove();
        m_angelegt = false;
    }

private:
    [[noreturn]] void fehlerBeimSchreiben()
    {
        fehler(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                   .arg(m_datei.fileName(), m_datei.errorString()));
    }

    QFile m_datei;
    bool m_angelegt = false;
};

} // namespace

struct Schreiber::Impl
{
    Impl(const QString& pfad, bool mitBlobs, bool mitIndex)
        : db(pfad), mb(nebenDatei(pfad, "mb")), px(nebenDatei(pfad, "px")), hatBlobs(mitBlobs),
          schluessel(mitIndex)
    {
    }

    Datei db;
    Datei mb;
    Datei px;
    bool hatBlobs;
    bool schluessel;
    std::vector<Feld> felder;
    std::vector<int> lage; // offset of each field in a record
    int codepage = 1252;
    int versionId = 12;
    int satzLaenge = 0;
    int proBlock = 0;

    // The data block being filled; blockNr counts from 1, 0 before the first row.
    QByteArray block;
    int imBlock = 0;
    int blockNr = 0;
    qint64 datensaetze = 0;
    qint32 autoInc = 0;
    std::optional<qint32> letzterSchluessel;

    // One entry per data block for the primary index: key of its first row, its number
    // and its rows. Ten bytes a block, small even for the largest tables.
    struct Eintrag
    {
        QByteArray schluessel;
        int block = 0;
        qint64 anzahl = 0;
    };
    std::vector<Eintrag> index;

    // Blob file: its end (whole 4 KB blocks) and the sub-allocated block being filled.
    qint64 mbEnde = f::MbBlock;
    QByteArray verteilt;
    qint64 verteiltLage = -1;
    int verteiltEintrag = -1; // next free entry of the index table (used from 63 down)
    int verteiltFrei = 0;     // first free byte

    int ersetzt = 0;
    bool fertig = false;
    bool kaputt = false;

    void pruefeFelder();
    QByteArray tabellenKopf() const;
    QByteArray indexKopf(int bloecke, qint64 saetze, int wurzel, int ebenen) const;
    void blockSchreiben(bool letzter);
    f::Blobzeiger blobSpeichern(const QByteArray& daten);
    void verteiltSchreiben();
    void indexSchreiben();
    void mbKopfSchreiben();
};

void Schreiber::Impl::pruefeFelder()
{
    if (felder.empty() || felder.size() > 255)
        fehler(QStringLiteral("Eine Tabelle braucht 1 bis 255 Felder, nicht %1.").arg(felder.size()));
    int lageJetzt = 0;
    for (const Feld& feld : felder) {
        const QString name = feld.name;
        if (name.isEmpty() || name.size() > MaxFeldname || name.contains(QChar(0)))
            fehler(QStringLiteral("Der Feldname „%1“ ist nicht erlaubt (1 bis %2 Zeichen).")
                       .arg(name)
                       .arg(MaxFeldname));
        const int fest = f::festeGroesse(feld.typ);
        bool passt = false;
        switch (feld.typ) {
        case Feldtyp::Alpha:
            passt = feld.groesse >= 1 && feld.groesse <= 255;
            break;
        case Feldtyp::Memo:
            passt = feld.groesse >= 1 + f::BlobZeiger && feld.groesse <= 250;
            break;
        case Feldtyp::Blob:
        case Feldtyp::Graphic:
            passt = feld.groesse >= f::BlobZeiger && feld.groesse <= 250;
            break;
        case Feldtyp::Datum:
        case Feldtyp::Short:
        case Feldtyp::Long:
        case Feldtyp::Logical:
        case Feldtyp::Zeit:
        case Feldtyp::AutoInc:
            passt = feld.groesse == fest;
            break;
        default:
            fehler(QStringLiteral("Das Feld „%1“ hat einen Typ (%2), den diese Tabellen nicht schreiben.")
                       .arg(name, typName(feld.typ)));
        }
        if (!passt)
            fehler(QStringLiteral("Das Feld „%1“ (%2) kann nicht %3 Bytes groß sein.")
                       .arg(name, typName(feld.typ))
                       .arg(feld.groesse));
        lage.push_back(lageJetzt);
        lageJetzt += feld.groesse;
    }
    satzLaenge = lageJetzt;
    if (satzLaenge > DatenBlock - f::BlockKopf)
        fehler(QStringLiteral("Ein Datensatz von %1 Bytes passt in keinen Block dieser Tabellen.")
                   .arg(satzLaenge));
    proBlock = (DatenBlock - f::BlockKopf) / satzLaenge;
    if (schluessel && !istGanzzahlTyp(felder.front().typ))
        fehler(QStringLiteral("Der Schlüssel „%1“ einer Tabelle muss eine ganze Zahl sein.")
                   .arg(felder.front().name));
    if (tabellenKopf().size() > f::DatenKopf)
        fehler(QStringLiteral("Die Feldnamen passen nicht in den Kopf der Tabelle."));
}

// The data file's header: the fixed part, the 4.0+ part, the field descriptors, the
// (run-time) name pointers, the table name, the field names, the field numbers and the
// sort order.
QByteArray Schreiber::Impl::tabellenKopf() const
{
    QByteArray k(f::DatenKopf, '\0');
    char* p = k.data();
    const int n = int(felder.size());
    const int bloecke = blockNr;
    f::setLe16(p + f::KopfRecordSize, quint16(satzLaenge));
    f::setLe16(p + f::KopfHeaderSize, quint16(f::DatenKopf));
    p[f::KopfFileType] = char(schluessel ? 0 : 2);
    p[f::KopfMaxTableSize] = char(BlockCode);
    f::setLe32(p + f::KopfNumRecords, quint32(datensaetze));
    f::setLe16(p + f::KopfNextBlock, quint16(bloecke));
    f::setLe16(p + f::KopfFileBlocks, quint16(bloecke));
    f::setLe16(p + f::KopfFirstBlock, quint16(bloecke > 0 ? 1 : 0));
    f::setLe16(p + f::KopfLastBlock, quint16(bloecke));
    f::setLe16(p + f::KopfNumFields, quint16(n));
    f::setLe16(p + f::KopfPrimaryKeyFields, quint16(schluessel ? 1 : 0));
    f::setLe32(p + f::KopfEncryption1, f::hatAbschnitt40(versionId) ? f::Encryption1Ab40 : 0);
    p[f::KopfSortOrder] = 0;
    p[f::KopfFileVersion] = char(versionId);
    f::setLe16(p + f::KopfMaxBlocks, quint16(bloecke));
    f::setLe16(p + f::KopfUnknown3E, 0x1F0F);
    f::setLe32(p + f::KopfAutoInc, quint32(autoInc));
    if (f::hatAbschnitt40(versionId)) {
        f::setLe16(p + f::KopfFileVerId2, quint16(0x0100 | versionId));
        f::setLe16(p + f::KopfFileVerId3, quint16(0x0100 | versionId));
        f::setLe16(p + f::KopfHiFieldId, quint16(n + 1));
        f::setLe16(p + f::KopfCodePage, quint16(codepage));
    }
    QByteArray rest;
    for (const Feld& feld : felder) {
        rest.append(char(feld.typ));
        rest.append(char(feld.groesse));
    }
    rest.append(4 + 4 * n, '\0'); // table name pointer, field name pointers
    QByteArray name = QFileInfo(db.pfad()).fileName().toLatin1();
    name.truncate(f::tabellenNameLaenge(versionId) - 1);
    name.append(f::tabellenNameLaenge(versionId) - name.size(), '\0');
    rest.append(name);
    for (const Feld& feld : felder) {
        rest.append(inCodepage(feld.name, codepage));
        rest.append('\0');
    }
    for (int i = 1; i <= n; ++i) {
        char nr[2];
        f::setLe16(nr, quint16(i));
        rest.append(nr, 2);
    }
    rest.append(Sortierung);
    rest.append('\0');
    const int start = f::felderStart(versionId);
    if (start + rest.size() > k.size())
        k.resize(start + rest.size()); // refused by pruefeFelder
    std::memcpy(k.data() + start, rest.constData(), size_t(rest.size()));
    return k;
}

// The index file's header: like a data header of version 3, with the key field's
// descriptor and the table name only.
QByteArray Schreiber::Impl::indexKopf(int bloecke, qint64 saetze, int wurzel, int ebenen) const
{
    QByteArray k(f::DatenKopf, '\0');
    char* p = k.data();
    f::setLe16(p + f::KopfRecordSize, quint16(felder.front().groesse + IndexAnhang));
    f::setLe16(p + f::KopfHeaderSize, quint16(f::DatenKopf));
    p[f::KopfFileType] = 1;
    p[f::KopfMaxTableSize] = char(BlockCode);
    f::setLe32(p + f::KopfNumRecords, quint32(saetze));
    f::setLe16(p + f::KopfNextBlock, quint16(bloecke));
    f::setLe16(p + f::KopfFileBlocks, quint16(bloecke));
    f::setLe16(p + f::KopfFirstBlock, quint16(bloecke > 0 ? 1 : 0));
    f::setLe16(p + f::KopfLastBlock, quint16(bloecke));
    f::setLe16(p + PxWurzel, quint16(wurzel));
    p[PxEbenen] = char(ebenen);
    f::setLe16(p + f::KopfNumFields, 1);
    p[f::KopfFileVersion] = char(versionId);
    f::setLe16(p + f::KopfMaxBlocks, quint16(bloecke));
    f::setLe16(p + f::KopfUnknown3E, 0x1F0F);
    char* q = p + f::FelderAlt;
    q[0] = char(felder.front().typ);
    q[1] = char(felder.front().groesse);
    q += 2 + 4; // descriptor, table name pointer
    QByteArray name = QFileInfo(db.pfad()).fileName().toLatin1();
    name.truncate(f::tabellenNameLaenge(versionId) - 1);
    std::memcpy(q, name.constData(), size_t(name.size()));
    return k;
}

void Schreiber::Impl::blockSchreiben(bool letzter)
{
    char* p = block.data();
    f::setLe16(p + f::BlockNext, quint16(letzter ? 0 : blockNr + 1));
    f::setLe16(p + f::BlockPrev, quint16(blockNr - 1));
    f::setLe16(p + f::BlockAddDataSize, quint16((imBlock - 1) * satzLaenge));
    db.schreiben(f::DatenKopf + qint64(blockNr - 1) * DatenBlock, block);
    if (schluessel)
        index.back().anzahl = imBlock;
}

void Schreiber::Impl::verteiltSchreiben()
{
    if (verteiltLage < 0)
        return;
    mb.schreiben(verteiltLage, verteilt);
    verteiltLage = -1;
}

// Puts a blob into the blob file: a small one into a sub-allocated block (up to 64 in one
// 4 KB block), a large one into a block of its own spanning whole 4 KB chunks.
f::Blobzeiger Schreiber::Impl::blobSpeichern(const QByteArray& daten)
{
    const qint64 laenge = daten.size();
    f::Blobzeiger z;
    z.laenge = quint32(laenge);
    z.modNr = BlobModNr;
    if (laenge < f::MbSchwelle) {
        const int stuecke = int((laenge + f::MbStueck - 1) / f::MbStueck);
        if (verteiltLage < 0 || verteiltEintrag < 0 || verteiltFrei + stuecke * f::MbStueck > f::MbBlock) {
            verteiltSchreiben();
            if (mbEnde + f::MbBlock > qint64(std::numeric_limits<quint32>::max()))
                fehler(QStringLiteral("Die Blob-Datei „%1“ würde größer als 4 GB.").arg(mb.pfad()));
            verteilt = QByteArray(f::MbBlock, '\0');
            verteilt[0] = char(f::MbTypVerteilt);
            f::setLe16(verteilt.data() + 1, 1);
            verteiltLage = mbEnde;
            mbEnde += f::MbBlock;
            verteiltEintrag = f::MbVerteiltEintraege - 1;
            verteiltFrei = f::MbVerteiltDaten;
        }
        char* e = verteilt.data() + f::MbVerteiltTabelle + f::MbVerteiltEintrag * verteiltEintrag;
        e[0] = char(verteiltFrei / f::MbStueck);
        e[1] = char(stuecke);
        f::setLe16(e + 2, BlobModNr);
        e[4] = char(laenge % f::MbStueck == 0 ? f::MbStueck : laenge % f::MbStueck);
        std::memcpy(verteilt.data() + verteiltFrei, daten.constData(), size_t(laenge));
        z.offset = quint32(verteiltLage);
        z.index = verteiltEintrag;
        --verteiltEintrag;
        verteiltFrei += stuecke * f::MbStueck;
        return z;
    }
    const qint64 stuecke = (laenge + f::MbEinzelnDaten + f::MbBlock - 1) / f::MbBlock;
    if (stuecke > 0xFFFF)
        fehler(QStringLiteral("Ein Blob von %1 Bytes ist größer, als diese Tabellen fassen.").arg(laenge));
    if (mbEnde + stuecke * f::MbBlock > qint64(std::numeric_limits<quint32>::max()))
        fehler(QStringLiteral("Die Blob-Datei „%1“ würde größer als 4 GB.").arg(mb.pfad()));
    char kopf[f::MbEinzelnDaten] = {};
    kopf[0] = char(f::MbTypEinzeln);
    f::setLe16(kopf + 1, quint16(stuecke));
    f::setLe32(kopf + 3, quint32(laenge));
    f::setLe16(kopf + 7, BlobModNr);
    mb.schreiben(mbEnde, kopf, f::MbEinzelnDaten);
    mb.schreiben(mbEnde + f::MbEinzelnDaten, daten);
    z.offset = quint32(mbEnde);
    z.index = f::MbIndexEinzeln;
    mbEnde += stuecke * f::MbBlock;
    return z;
}

void Schreiber::Impl::mbKopfSchreiben()
{
    QByteArray k(f::MbBlock, '\0');
    char* p = k.data();
    p[0] = char(f::MbTypHeader);
    f::setLe16(p + MbKopfBloecke, 1);
    f::setLe16(p + MbKopfModNr, BlobModNr);
    f::setLe16(p + MbKopfBasis, quint16(f::MbBlock));
    f::setLe16(p + MbKopfVerteiltGroesse, quint16(f::MbBlock));
    p[MbKopfStueck] = char(f::MbStueck);
    f::setLe16(p + MbKopfEintraege, quint16(f::MbVerteiltEintraege));
    f::setLe16(p + MbKopfSchwelle, quint16(f::MbSchwelle));
    mb.schreiben(0, k);
}

// The primary index as a tree: level 1 holds one entry per data block (key of its first
// row, block number, rows in it); every further level one entry per block of the level
// below (its first key, its block in the index file, the rows below it), until one block
// holds a level whole. The blocks of each level are linked in key order; the root is
// written last.
void Schreiber::Impl::indexSchreiben()
{
    const int schluesselGroesse = felder.front().groesse;
    const int eintragGroesse = schluesselGroesse + IndexAnhang;
    const int proIndexBlock = (DatenBlock - f::BlockKopf) / eintragGroesse;
    int bloecke = 0;
    qint64 saetze = 0;
    int ebenen = 0;
    std::vector<Eintrag> ebene = std::move(index);
    index.clear();
    while (!ebene.empty()) {
        ++ebenen;
        std::vector<Eintrag> darueber;
        const int ersterBlock = bloecke + 1;
        const int anzahlBloecke = int((ebene.size() + size_t(proIndexBlock) - 1) / size_t(proIndexBlock));
        if (bloecke + anzahlBloecke > MaxBloecke)
            fehler(QStringLiteral("Der Index der Tabelle „%1“ wird zu groß.").arg(db.pfad()));
        for (int b = 0; b < anzahlBloecke; ++b) {
            const int nr = ersterBlock + b;
            const size_t von = size_t(b) * size_t(proIndexBlock);
            const size_t bis = std::min(ebene.size(), von + size_t(proIndexBlock));
            QByteArray blk(DatenBlock, '\0');
            char* p = blk.data();
            f::setLe16(p + f::BlockNext, quint16(b + 1 < anzahlBloecke ? nr + 1 : 0));
            f::setLe16(p + f::BlockPrev, quint16(b > 0 ? nr - 1 : 0));
            f::setLe16(p + f::BlockAddDataSize, quint16(int(bis - von - 1) * eintragGroesse));
            qint64 summe = 0;
            char* q = p + f::BlockKopf;
            for (size_t i = von; i < bis; ++i, q += eintragGroesse) {
                const Eintrag& e = ebene[i];
                std::memcpy(q, e.schluessel.constData(), size_t(schluesselGroesse));
                f::schreibeShort(q + schluesselGroesse, qint16(e.block));
                // Statistics only: a count beyond a Short is kept at its largest value.
                f::schreibeShort(q + schluesselGroesse + 2, qint16(std::min<qint64>(e.anzahl, 0x7FFF)));
                summe += e.anzahl;
            }
            px.schreiben(f::DatenKopf + qint64(nr - 1) * DatenBlock, blk);
            saetze += qint64(bis - von);
            darueber.push_back({ebene[von].schluessel, nr, summe});
        }
        bloecke += anzahlBloecke;
        if (anzahlBloecke == 1)
            break;
        ebene = std::move(darueber);
    }
    px.schreiben(0, indexKopf(bloecke, saetze, bloecke, ebenen));
}

Schreiber::Schreiber(const QString& dbPfad, std::vector<Feld> felder, bool schluessel, int codepage,
                     int version)
{
    bool mitBlobs = false;
    for (const Feld& feld : felder)
        mitBlobs = mitBlobs || istBlobTyp(feld.typ);
    d = std::make_unique<Impl>(dbPfad, mitBlobs, schluessel);
    d->felder = std::move(felder);
    d->codepage = codepage;
    d->versionId = f::idAusVersion(version);
    if (d->versionId == 0)
        fehler(QStringLiteral("Die Dateiversion %1 wird nicht geschrieben (30, 35, 40, 45, 50 oder 70).")
                   .arg(version));
    if (!codepageBekannt(codepage))
        fehler(QStringLiteral("Die Codepage %1 wird nicht unterstützt.").arg(codepage));
    d->pruefeFelder();

    std::vector<Datei*> dateien{&d->db};
    if (mitBlobs)
        dateien.push_back(&d->mb);
    if (schluessel)
        dateien.push_back(&d->px);
    for (const Datei* datei : dateien)
        if (QFileInfo::exists(datei->pfad()))
            fehler(QStringLiteral("Die Datei „%1“ gibt es schon; sie wird nicht überschrieben.")
                       .arg(datei->pfad()));
    try {
        for (Datei* datei : dateien)
            datei->anlegen();
        // Zero headers until abschliessen(): an unfinished table reads as no table.
        d->db.schreiben(0, QByteArray(f::DatenKopf, '\0'));
        if (mitBlobs)
            d->mb.schreiben(0, QByteArray(f::MbBlock, '\0'));
        if (schluessel)
            d->px.schreiben(0, QByteArray(f::DatenKopf, '\0'));
    } catch (...) {
        for (Datei* datei : dateien)
            datei->entfernen();
        throw;
    }
}

Schreiber::~Schreiber() = default;

void Schreiber::zeile(const std::vector<QVariant>& werte)
{
    Impl& s = *d;
    if (s.fertig)
        fehler(QStringLiteral("Die Tabelle „%1“ ist schon abgeschlossen.").arg(s.db.pfad()));
    if (s.kaputt)
        fehler(QStringLiteral("Die Tabelle „%1“ ist nach einem Fehler unvollständig.").arg(s.db.pfad()));
    if (werte.size() != s.felder.size())
        fehler(QStringLiteral("Eine Zeile hat %1 Werte, die Tabelle aber %2 Felder.")
                   .arg(werte.size())
                   .arg(s.felder.size()));

    // First every value is checked and encoded; only then is anything written, so that
    // a refused row leaves the table as it was.
    QByteArray satz(s.satzLaenge, '\0');
    int ersetzt = 0;
    qint32 hoechstesAutoInc = s.autoInc;
    std::vector<std::pair<size_t, QByteArray>> blobs;
    for (size_t i = 0; i < werte.size(); ++i) {
        const Feld& feld = s.felder[i];
        const QVariant& v = werte[i];
        char* p = satz.data() + s.lage[i];
        int hier = 0;
        const auto falsch = [&]() {
            fehler(QStringLiteral("Der Wert für das Feld „%1“ (%2) passt nicht: %3")
                       .arg(feld.name, typName(feld.typ), v.toString()));
        };
        if (!v.isValid() || v.isNull())
            continue; // empty: all zero bytes
        switch (feld.typ) {
        case Feldtyp::Alpha: {
            if (v.typeId() != QMetaType::QString)
                falsch();
            QByteArray b = inCodepage(v.toString(), s.codepage, &hier);
            ersetzt += hier;
            b.truncate(feld.groesse);
            std::memcpy(p, b.constData(), size_t(b.size()));
            break;
        }
        case Feldtyp::Short:
        case Feldtyp::Long:
        case Feldtyp::AutoInc: {
            const auto z = ganzzahl(v);
            const qint64 min = feld.typ == Feldtyp::Short ? -0x7FFF : -qint64(0x7FFFFFFF);
            const qint64 max = feld.typ == Feldtyp::Short ? 0x7FFF : qint64(0x7FFFFFFF);
            // The smallest value of the type is the empty field's pattern.
            if (!z || *z < min || *z > max)
                falsch();
            if (feld.typ == Feldtyp::Short)
                f::schreibeShort(p, qint16(*z));
            else
                f::schreibeLong(p, qint32(*z));
            if (feld.typ == Feldtyp::AutoInc)
                hoechstesAutoInc = std::max(hoechstesAutoInc, qint32(*z));
            break;
        }
        case Feldtyp::Logical:
            if (v.typeId() != QMetaType::Bool)
                falsch();
            f::schreibeLogical(p, v.toBool());
            break;
        case Feldtyp::Datum: {
            if (v.typeId() != QMetaType::QDate || !f::datumSpeicherbar(v.toDate()))
                falsch();
            f::schreibeLong(p, f::tageAusDatum(v.toDate()));
            break;
        }
        case Feldtyp::Zeit:
            if (v.typeId() != QMetaType::QTime || !v.toTime().isValid())
                falsch();
            f::schreibeLong(p, f::msAusZeit(v.toTime()));
            break;
        case Feldtyp::Memo:
            if (v.typeId() != QMetaType::QString)
                falsch();
            blobs.emplace_back(i, inCodepage(v.toString(), s.codepage, &hier));
            ersetzt += hier;
            break;
        case Feldtyp::Blob:
        case Feldtyp::Graphic:
            if (v.typeId() != QMetaType::QByteArray)
                falsch();
            blobs.emplace_back(i, v.toByteArray());
            break;
        }
    }
    std::optional<qint32> schluessel;
    if (s.schluessel) {
        const char* k = satz.constData();
        if (f::istLeer(k, s.felder.front().groesse))
            fehler(QStringLiteral("Der Schlüssel „%1“ darf nicht leer sein.").arg(s.felder.front().name));
        schluessel = s.felder.front().typ == Feldtyp::Short ? qint32(f::leseShort(k)) : f::leseLong(k);
        if (s.letzterSchluessel && *schluessel <= *s.letzterSchluessel)
            fehler(QStringLiteral("Der Schlüssel %1 folgt nicht auf %2: die Zeilen müssen nach „%3“ "
                                  "aufsteigend und ohne Doppelte kommen.")
                       .arg(*schluessel)
                       .arg(*s.letzterSchluessel)
                       .arg(s.felder.front().name));
    }
    if (s.imBlock == s.proBlock && s.blockNr >= MaxBloecke)
        fehler(QStringLiteral("Die Tabelle „%1“ ist voll: mehr als %2 Blöcke fasst sie nicht.")
                   .arg(s.db.pfad())
                   .arg(MaxBloecke));

    try {
        for (auto& [i, daten] : blobs) {
            const Feld& feld = s.felder[i];
            const int vorn = feld.groesse - f::BlobZeiger;
            char* p = satz.data() + s.lage[i];
            if (daten.isEmpty())
                continue;
            f::Blobzeiger z;
            if (daten.size() <= vorn) {
                z.laenge = quint32(daten.size());
            } else {
                if (daten.size() > qint64(std::numeric_limits<qint32>::max()))
                    fehler(QStringLiteral("Der Blob im Feld „%1“ ist zu groß.").arg(feld.name));
                z = s.blobSpeichern(daten);
            }
            std::memcpy(p, daten.constData(), size_t(std::min<qsizetype>(vorn, daten.size())));
            f::schreibeBlobzeiger(p + vorn, z);
        }
        if (s.blockNr == 0 || s.imBlock == s.proBlock) {
            if (s.blockNr > 0)
                s.blockSchreiben(false);
            ++s.blockNr;
            s.imBlock = 0;
            s.block = QByteArray(DatenBlock, '\0');
            if (s.schluessel)
                s.index.push_back({satz.left(s.felder.front().groesse), s.blockNr, 0});
        }
    } catch (...) {
        s.kaputt = true;
        throw;
    }
    std::memcpy(s.block.data() + f::BlockKopf + s.imBlock * s.satzLaenge, satz.constData(),
                size_t(s.satzLaenge));
    ++s.imBlock;
    ++s.datensaetze;
    s.autoInc = hoechstesAutoInc;
    s.ersetzt += ersetzt;
    if (schluessel)
        s.letzterSchluessel = schluessel;
}

void Schreiber::abschliessen()
{
    Impl& s = *d;
    if (s.fertig)
        return;
    if (s.kaputt)
        fehler(QStringLiteral("Die Tabelle „%1“ ist nach einem Fehler unvollständig.").arg(s.db.pfad()));
    try {
        if (s.blockNr > 0)
            s.blockSchreiben(true);
        if (s.hatBlobs) {
            s.verteiltSchreiben();
            s.mb.laengeSetzen(s.mbEnde);
            s.mbKopfSchreiben();
            s.mb.schliessen();
        }
        if (s.schluessel) {
            s.indexSchreiben();
            s.px.schliessen();
        }
        s.db.schreiben(0, s.tabellenKopf());
        s.db.schliessen();
    } catch (...) {
        s.kaputt = true;
        throw;
    }
    s.fertig = true;
}

int Schreiber::ersetzt() const
{
    return d->ersetzt;
}

} // namespace store::paradox
