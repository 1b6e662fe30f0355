// Bounded reader of the old table format: the header is checked as a whole when the table
// is opened, the data blocks are walked in their linked order one at a time, and a blob is
// read from the blob file only for the row that holds it. Every count, offset and length
// from the files is checked against the file's size before it is used.

#include "codepage.h"
#include "paradox.h"
#include "paradoxformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store::paradox {

namespace fmt = store::paradox::format;

namespace {

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

// The blob file belonging to a table: same name, ".mb" (in the case of the table's suffix).
QString mbPfadZu(const QString& dbPfad)
{
    const QFileInfo info(dbPfad);
    const QString suffix = info.suffix();
    const bool gross = !suffix.isEmpty() && suffix == suffix.toUpper() && suffix != suffix.toLower();
    const QString basis = info.dir().filePath(info.completeBaseName() + QLatin1Char('.'));
    const QString erst = basis + (gross ? QStringLiteral("MB") : QStringLiteral("mb"));
    const QString sonst = basis + (gross ? QStringLiteral("mb") : QStringLiteral("MB"));
    return QFileInfo::exists(erst) || !QFileInfo::exists(sonst) ? erst : sonst;
}

bool typBekannt(quint8 typ)
{
    switch (Feldtyp(typ)) {
    case Feldtyp::Alpha:
    case Feldtyp::Datum:
    case Feldtyp::Short:
    case Feldtyp::Long:
    case Feldtyp::Logical:
    case Feldtyp::Memo:
    case Feldtyp::Blob:
    case Feldtyp::Graphic:
    case Feldtyp::Zeit:
    case Feldtyp::AutoInc:
        return true;
    }
    return false;
}

bool istBlobTyp(Feldtyp t)
{
    return t == Feldtyp::Memo || t == Feldtyp::Blob || t == Feldtyp::Graphic;
}

QString typName(quint8 typ)
{
    return QStringLiteral("0x%1").arg(typ, 2, 16, QLatin1Char('0'));
}

} // namespace

bool istParadoxTabelle(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray k = f.read(fmt::FelderNeu);
    if (k.size() < fmt::FelderAlt)
        return false;
    const char* p = k.constData();
    const int recordSize = fmt::le16(p + fmt::KopfRecordSize);
    const int headerSize = fmt::le16(p + fmt::KopfHeaderSize);
    const int fileType = quint8(p[fmt::KopfFileType]);
    const int id = quint8(p[fmt::KopfFileVersion]);
    const int felder = fmt::le16(p + fmt::KopfNumFields);
    if (fileType != 0 && fileType != 2)
        return false;
    if (id < fmt::VersionIdMin || id > fmt::VersionIdMax)
        return false;
    if (felder <= 0 || felder > 255 || recordSize <= 0)
        return false;
    if (fmt::blockGroesseAusCode(quint8(p[fmt::KopfMaxTableSize]), id) == 0)
        return false;
    if (headerSize < fmt::feldnamenStart(id, felder) + felder)
        return false;
    return f.size() >= headerSize;
}

struct Leser::Impl
{
    QString pfad;
    QString mbPfad;
    QFile db;
    QFile mb;
    bool mbDa = false;
    qint64 dbGroesse = 0;
    qint64 mbGroesse = 0;

    Kopf kopf;
    int recordSize = 0;
    int headerSize = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    std::vector<int> feldOffset;

    // Walk of the data blocks.
    int naechsterBlock = 0;    // 1-based; 0: no more blocks
    std::vector<bool> besucht; // blocks walked so far, against cycles
    QByteArray block;          // the current block
    int saetzeImBlock = 0;
    int satzImBlock = 0;
    qint64 gelesen = 0;
    bool amEnde = false;

    [[noreturn]] void beschaedigt(const QString& grund) const
    {
        throw Formatfehler(QStringLiteral("Die Tabelle %1 ist beschädigt: %2").arg(nativ(pfad), grund));
    }
    [[noreturn]] void beschaedigtFeld(int feld, const QString& grund) const
    {
        beschaedigt(QStringLiteral("Datensatz %1, Feld „%2“: %3")
                        .arg(gelesen + 1)
                        .arg(kopf.felder[size_t(feld)].name, grund));
    }

    void leseKopf();
    void leseBlock(int nummer);
    QVariant wert(const char* satz, int feld);
    QByteArray blob(const char* zeiger, int feld);
    QByteArray lesenMb(qint64 offset, qint64 laenge, int feld);
};

void Leser::Impl::leseKopf()
{
    if (!db.open(QIODevice::ReadOnly))
        throw Formatfehler(
            QStringLiteral("Die Tabelle %1 lässt sich nicht öffnen: %2").arg(nativ(pfad), db.errorString()));
    dbGroesse = db.size();
    const QString keine = QStringLiteral("%1 ist keine Paradox-Tabelle.").arg(nativ(pfad));

    QByteArray k = db.read(fmt::FelderAlt);
    if (k.size() < fmt::FelderAlt)
        throw Formatfehler(keine);
    const char* p = k.constData();
    const int fileType = quint8(p[fmt::KopfFileType]);
    const int id = quint8(p[fmt::KopfFileVersion]);
    if ((fileType != 0 && fileType != 2) || id < fmt::VersionIdMin || id > fmt::VersionIdMax)
        throw Formatfehler(keine);

    recordSize = fmt::le16(p + fmt::KopfRecordSize);
    headerSize = fmt::le16(p + fmt::KopfHeaderSize);
    const int anzahl = fmt::le16(p + fmt::KopfNumFields);
    if (anzahl <= 0 || anzahl > 255)
        beschaedigt(QStringLiteral("unzulässige Zahl der Felder (%1).").arg(anzahl));
    if (recordSize <= 0)
        beschaedigt(QStringLiteral("die Satzlänge ist 0."));
    const int namenStart = fmt::feldnamenStart(id, anzahl);
    // Every field name needs at least its terminating NUL.
    if (headerSize < namenStart + anzahl)
        beschaedigt(
            QStringLiteral("der Kopf (%1 Bytes) ist zu klein für %2 Felder.").arg(headerSize).arg(anzahl));
    if (dbGroesse < headerSize)
        beschaedigt(QStringLiteral("die Datei ist kürzer als ihr Kopf."));

    db.seek(0);
    k = db.read(headerSize);
    if (k.size() != headerSize)
        beschaedigt(QStringLiteral("der Kopf lässt sich nicht lesen."));
    p = k.constData();

    const bool verschluesselt =
        id <= 4 ? fmt::le32(p + fmt::KopfEncryption1) != 0 : fmt::le32(p + fmt::KopfEncryption2) != 0;
    if (verschluesselt)
        throw Formatfehler(QStringLiteral("Die Tabelle %1 ist verschlüsselt und kann nicht gelesen werden.")
                               .arg(nativ(pfad)));

    kopf.version = fmt::versionAusId(id);
    kopf.schluessel = fileType == 0;
    kopf.blockGroesse = fmt::blockGroesseAusCode(quint8(p[fmt::KopfMaxTableSize]), id);
    if (kopf.blockGroesse == 0)
        beschaedigt(QStringLiteral("unbekannte Blockgröße (Code %1).").arg(quint8(p[fmt::KopfMaxTableSize])));
    if (recordSize > kopf.blockGroesse - fmt::BlockKopf)
        beschaedigt(QStringLiteral("die Satzlänge %1 passt in keinen Block.").arg(recordSize));
    kopf.datensaetze = qint64(fmt::le32(p + fmt::KopfNumRecords));
    kopf.autoInc = qint32(fmt::le32(p + fmt::KopfAutoInc));
    kopf.schluesselFelder = fmt::le16(p + fmt::KopfPrimaryKeyFields);
    if (kopf.schluesselFelder > anzahl)
        beschaedigt(QStringLiteral("mehr Schlüsselfelder als Felder."));

    kopf.codepage = 437;
    if (fmt::hatAbschnitt40(id)) {
        const int cp = fmt::le16(p + fmt::KopfCodePage);
        if (cp != 0)
            kopf.codepage = cp;
    }
    if (!codepageBekannt(kopf.codepage))
        throw Formatfehler(
            QStringLiteral("Die Tabelle %1 verwendet die Codeseite %2, die nicht unterstützt wird.")
                .arg(nativ(pfad))
                .arg(kopf.codepage));

    // Field descriptors and names.
    const int beschreibung = fmt::felderStart(id);
    int summe = 0;
    int pos = namenStart;
    kopf.felder.reserve(size_t(anzahl));
    for (int i = 0; i < anzahl; ++i) {
        const quint8 typ = quint8(p[beschreibung + 2 * i]);
        const int groesse = quint8(p[beschreibung + 2 * i + 1]);
        if (!typBekannt(typ))
            throw Formatfehler(
                QStringLiteral("Die Tabelle %1 enthält ein Feld vom Typ %2, der nicht unterstützt "
                               "wird.")
                    .arg(nativ(pfad), typName(typ)));
        Feld feld;
        feld.typ = Feldtyp(typ);
        feld.groesse = groesse;
        const int fest = fmt::festeGroesse(feld.typ);
        const bool passt = fest != 0              ? groesse == fest
                           : istBlobTyp(feld.typ) ? groesse >= fmt::BlobZeiger
                                                  : groesse >= 1;
        if (!passt)
            beschaedigt(QStringLiteral("Feld %1 hat die unzulässige Größe %2.").arg(i + 1).arg(groesse));
        feldOffset.push_back(summe);
        summe += groesse;

        const char* anfang = p + pos;
        const void* nul = std::memchr(anfang, 0, size_t(headerSize - pos));
        if (nul == nullptr)
            beschaedigt(QStringLiteral("die Feldnamen reichen über den Kopf hinaus."));
        const int laenge = int(static_cast<const char*>(nul) - anfang);
        feld.name = ausCodepage(anfang, laenge, kopf.codepage);
        pos += laenge + 1;
        kopf.felder.push_back(feld);
    }
    if (summe != recordSize)
        beschaedigt(QStringLiteral("die Satzlänge %1 ist nicht die Summe der Feldgrößen (%2).")
                        .arg(recordSize)
                        .arg(summe));

    // Data blocks.
    fileBlocks = fmt::le16(p + fmt::KopfFileBlocks);
    firstBlock = fmt::le16(p + fmt::KopfFirstBlock);
    if (headerSize + qint64(fileBlocks) * kopf.blockGroesse > dbGroesse)
        beschaedigt(QStringLiteral("die Datei ist gekürzt (%1 Blöcke angegeben).").arg(fileBlocks));
    if (firstBlock > fileBlocks)
        beschaedigt(QStringLiteral("der erste Block %1 liegt hinter dem Dateiende.").arg(firstBlock));
    const qint64 proBlock = (kopf.blockGroesse - fmt::BlockKopf) / recordSize;
    if (kopf.datensaetze > qint64(fileBlocks) * proBlock)
        beschaedigt(
            QStringLiteral("%1 Datensätze passen nicht in %2 Blöcke.").arg(kopf.datensaetze).arg(fileBlocks));
    if (kopf.datensaetze > 0 && firstBlock == 0)
        beschaedigt(QStringLiteral("Datensätze ohne Datenblock."));
    naechsterBlock = firstBlock;
    besucht.assign(size_t(fileBlocks) + 1, false);
}

void Leser::Impl::leseBlock(int nummer)
{
    if (nummer < 1 || nummer > fileBlocks)
        beschaedigt(QStringLiteral("Verweis auf Block %1 außerhalb der Datei.").arg(nummer));
    if (besucht[size_t(nummer)])
        beschaedigt(QStringLiteral("die Blockkette kehrt zu Block %1 zurück.").arg(nummer));
    besucht[size_t(nummer)] = true;
    const qint64 offset = headerSize + qint64(nummer - 1) * kopf.blockGroesse;
    if (!db.seek(offset))
        beschaedigt(QStringLiteral("Block %1 lässt sich nicht lesen.").arg(nummer));
    block = db.read(kopf.blockGroesse);
    if (block.size() != kopf.blockGroesse)
        beschaedigt(QStringLiteral("Block %1 ist unvollständig.").arg(nummer));
    const char* b = block.constData();
    const int next = fmt::le16(b + fmt::BlockNext);
    const int letzter = qint16(fmt::le16(b + fmt::BlockAddDataSize));
    if (next > fileBlocks)
        beschaedigt(
            QStringLiteral("Block %1 verweist auf Block %2 außerhalb der Datei.").arg(nummer).arg(next));
    naechsterBlock = next;
    satzImBlock = 0;
    if (letzter < 0) {
        saetzeImBlock = 0;
        return;
    }
    if (letzter % recordSize != 0 || fmt::BlockKopf + letzter + recordSize > kopf.blockGroesse)
        beschaedigt(
            QStringLiteral("Block %1 gibt eine unmögliche Datenmenge an (%2).").arg(nummer).arg(letzter));
    saetzeImBlock = letzter / recordSize + 1;
}

QByteArray Leser::Impl::lesenMb(qint64 offset, qint64 laenge, int feld)
{
    if (offset < 0 || laenge < 0 || offset + laenge > mbGroesse)
        beschaedigtFeld(feld,
                        QStringLiteral("der Blob reicht über das Ende von %1 hinaus.").arg(nativ(mbPfad)));
    if (!mb.seek(offset))
        beschaedigtFeld(feld, QStringLiteral("%1 lässt sich nicht lesen.").arg(nativ(mbPfad)));
    QByteArray daten = mb.read(laenge);
    if (daten.size() != laenge)
        beschaedigtFeld(feld, QStringLiteral("%1 lässt sich nicht lesen.").arg(nativ(mbPfad)));
    return daten;
}

QByteArray Leser::Impl::blob(const char* feldDaten, int feld)
{
    const Feld& f = kopf.felder[size_t(feld)];
    const int vorn = f.groesse - fmt::BlobZeiger;
    const fmt::Blobzeiger z = fmt::leseBlobzeiger(feldDaten + vorn);
    if (z.laenge == 0)
        return {};
    if (z.offset == 0 && z.index == 0) {
        // Wholly in the record.
        if (z.laenge > quint32(vorn))
            beschaedigtFeld(
                feld,
                QStringLiteral("die Blob-Länge %1 ist größer als der Teil im Datensatz.").arg(z.laenge));
        return QByteArray(feldDaten, qsizetype(z.laenge));
    }
    if (!mbDa)
        throw Formatfehler(QStringLiteral("Die Blob-Datei %1 fehlt; die Tabelle %2 braucht sie.")
                               .arg(nativ(mbPfad), nativ(pfad)));
    if (z.offset % fmt::MbBlock != 0 || z.offset < quint32(fmt::MbBlock) ||
        qint64(z.offset) + fmt::MbBlock > mbGroesse)
        beschaedigtFeld(
            feld,
            QStringLiteral("der Blob-Verweis %1 liegt außerhalb von %2.").arg(z.offset).arg(nativ(mbPfad)));
    if (qint64(z.laenge) > mbGroesse)
        beschaedigtFeld(
            feld, QStringLiteral("die Blob-Länge %1 ist größer als %2.").arg(z.laenge).arg(nativ(mbPfad)));

    const QByteArray kopfBytes =
        lesenMb(z.offset, fmt::MbVerteiltTabelle + fmt::MbVerteiltEintraege * fmt::MbVerteiltEintrag, feld);
    const char* k = kopfBytes.constData();
    const int typ = quint8(k[0]);
    const qint64 blockLaenge = qint64(fmt::le16(k + 1)) * fmt::MbBlock;
    if (blockLaenge == 0 || z.offset + blockLaenge > mbGroesse)
        beschaedigtFeld(feld, QStringLiteral("der Block bei %1 in %2 reicht über das Dateiende.")
                                  .arg(z.offset)
                                  .arg(nativ(mbPfad)));

    if (z.index == fmt::MbIndexEinzeln) {
        if (typ != fmt::MbTypEinzeln)
            beschaedigtFeld(feld, QStringLiteral("bei %1 in %2 steht kein Blob-Block (Typ %3).")
                                      .arg(z.offset)
                                      .arg(nativ(mbPfad))
                                      .arg(typ));
        const quint32 laenge = fmt::le32(k + 3);
        if (laenge != z.laenge)
            beschaedigtFeld(feld, QStringLiteral("die Blob-Länge %1 in %2 passt nicht zum Datensatz (%3).")
                                      .arg(laenge)
                                      .arg(nativ(mbPfad))
                                      .arg(z.laenge));
        if (fmt::MbEinzelnDaten + qint64(laenge) > blockLaenge)
            beschaedigtFeld(feld,
                            QStringLiteral("der Blob ist länger als sein Block in %1.").arg(nativ(mbPfad)));
        return lesenMb(z.offset + fmt::MbEinzelnDaten, laenge, feld);
    }

    if (typ != fmt::MbTypVerteilt)
        beschaedigtFeld(feld, QStringLiteral("bei %1 in %2 steht kein unterteilter Block (Typ %3).")
                                  .arg(z.offset)
                                  .arg(nativ(mbPfad))
                                  .arg(typ));
    if (z.index >= fmt::MbVerteiltEintraege)
        beschaedigtFeld(feld, QStringLiteral("unzulässiger Blob-Index %1.").arg(z.index));
    const char* e = k + fmt::MbVerteiltTabelle + fmt::MbVerteiltEintrag * z.index;
    const int start = quint8(e[0]) * fmt::MbStueck;
    const int stuecke = quint8(e[1]);
    const int rest = quint8(e[4]);
    if (start == 0 || rest == 0)
        beschaedigtFeld(feld,
                        QStringLiteral("der Blob %1 in %2 ist gelöscht.").arg(z.index).arg(nativ(mbPfad)));
    if (stuecke == 0 || rest > fmt::MbStueck)
        beschaedigtFeld(feld,
                        QStringLiteral("der Eintrag %1 in %2 ist ungültig.").arg(z.index).arg(nativ(mbPfad)));
    const qint64 laenge = qint64(stuecke - 1) * fmt::MbStueck + rest;
    if (laenge != qint64(z.laenge))
        beschaedigtFeld(feld, QStringLiteral("die Blob-Länge %1 in %2 passt nicht zum Datensatz (%3).")
                                  .arg(laenge)
                                  .arg(nativ(mbPfad))
                                  .arg(z.laenge));
    if (start < fmt::MbVerteiltTabelle + fmt::MbVerteiltEintraege * fmt::MbVerteiltEintrag ||
        start + laenge > blockLaenge)
        beschaedigtFeld(feld, QStringLiteral("der Blob %1 liegt außerhalb seines Blocks in %2.")
                                  .arg(z.index)
                                  .arg(nativ(mbPfad)));
    return lesenMb(qint64(z.offset) + start, laenge, feld);
}

QVariant Leser::Impl::wert(const char* satz, int feld)
{
    const Feld& f = kopf.felder[size_t(feld)];
    const char* roh = satz + feldOffset[size_t(feld)];
    if (fmt::istLeer(roh, f.groesse))
        return {};
    switch (f.typ) {
    case Feldtyp::Alpha: {
        const void* nul = std::memchr(roh, 0, size_t(f.groesse));
        const int laenge = nul ? int(static_cast<const char*>(nul) - roh) : f.groesse;
        if (laenge == 0)
            return {};
        return ausCodepage(roh, laenge, kopf.codepage);
    }
    case Feldtyp::Short:
        return int(fmt::leseShort(roh));
    case Feldtyp::Long:
    case Feldtyp::AutoInc:
        return int(fmt::leseLong(roh));
    case Feldtyp::Datum: {
        const qint32 tage = fmt::leseLong(roh);
        const QDate datum = fmt::datumAusTagen(tage);
        if (tage < 1 || !fmt::datumSpeicherbar(datum))
            beschaedigtFeld(feld, QStringLiteral("ungültiges Datum (%1).").arg(tage));
        return datum;
    }
    case Feldtyp::Zeit: {
        const qint32 ms = fmt::leseLong(roh);
        const QTime zeit = fmt::zeitAusMs(ms);
        if (!zeit.isValid())
            beschaedigtFeld(feld, QStringLiteral("ungültige Uhrzeit (%1).").arg(ms));
        return zeit;
    }
    case Feldtyp::Logical:
        if (roh[0] == fmt::LogischWahr)
            return true;
        if (roh[0] == fmt::LogischFalsch)
            return false;
        beschaedigtFeld(feld, QStringLiteral("ungültiger Wahrheitswert (%1).").arg(quint8(roh[0])));
    case Feldtyp::Memo: {
        const QByteArray bytes = blob(roh, feld);
        if (bytes.isEmpty())
            return {};
        return ausCodepage(bytes.constData(), bytes.size(), kopf.codepage);
    }
    case Feldtyp::Blob:
    case Feldtyp::Graphic: {
        QByteArray bytes = blob(roh, feld);
        if (bytes.isEmpty())
            return {};
        return bytes;
    }
    }
    return {};
}

Leser::Leser(const QString& dbPfad) : d(std::make_unique<Impl>())
{
    d->pfad = dbPfad;
    d->mbPfad = mbPfadZu(dbPfad);
    d->db.setFileName(dbPfad);
    d->leseKopf();
    d->mb.setFileName(d->mbPfad);
    if (d->mb.exists()) {
        if (!d->mb.open(QIODevice::ReadOnly))
            throw Formatfehler(QStringLiteral("Die Blob-Datei %1 lässt sich nicht öffnen: %2")
                                   .arg(nativ(d->mbPfad), d->mb.errorString()));
        d->mbDa = true;
        d->mbGroesse = d->mb.size();
    }
}

Leser::~Leser() = default;

const Kopf& Leser::kopf() const
{
    return d->kopf;
}

QString Leser::pfad() const
{
    return d->pfad;
}

qint64 Leser::gelesen() const
{
    return d->gelesen;
}

bool Leser::naechste(std::vector<QVariant>& zeile)
{
    if (d->amEnde)
        return false;
    while (d->satzImBlock >= d->saetzeImBlock) {
        if (d->naechsterBlock == 0) {
            d->amEnde = true;
            if (d->gelesen != d->kopf.datensaetze)
                d->beschaedigt(QStringLiteral("der Kopf nennt %1 Datensätze, die Datenblöcke enthalten %2.")
                                   .arg(d->kopf.datensaetze)
                                   .arg(d->gelesen));
            return false;
        }
        d->leseBlock(d->naechsterBlock);
    }
    if (d->gelesen >= d->kopf.datensaetze)
        d->beschaedigt(QStringLiteral("die Datenblöcke enthalten mehr als die %1 Datensätze des Kopfes.")
                           .arg(d->kopf.datensaetze));
    const char* satz = d->block.constData() + fmt::BlockKopf + qsizetype(d->satzImBlock) * d->recordSize;
    std::vector<QVariant> werte;
    werte.reserve(d->kopf.felder.size());
    for (int i = 0; i < int(d->kopf.felder.size()); ++i)
        werte.push_back(d->wert(satz, i));
    ++d->satzImBlock;
    ++d->gelesen;
    zeile = std::move(werte);
    return true;
}

} // namespace store::paradox
