#include "umwandlung.h"

#include "changes.h"
#include "collection.h"
#include "collectiontables.h"
#include "engine.h"
#include "error.h"
#include "listfile.h"
#include "sicheresschreiben.h"
#include "values.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <limits>
#include <sqlite3.h>

namespace store::umwandlung {

using engine::Field;

namespace {

struct Tabelle
{
    const char* stem;
    QStringList (*erstellen)();
};

const std::array<Tabelle, 4> kTabellen = {{
    {tables::kKassStem, &tables::createKass},
    {tables::kFilmeStem, &tables::createFilme},
    {tables::kAusgeliehenStem, &tables::createAusgeliehen},
    {tables::kATimerStem, &tables::createATimer},
}};

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

// The fields of a table as its CREATE TABLE text declares them.
std::vector<Field> felderAusErstellung(const QStringList& zeilen)
{
    static const QRegularExpression feld(QStringLiteral("^\\(?\\s*(\\w+)\\s+(.+?)\\s*,?\\s*$"));
    std::vector<Field> felder;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QString z = zeilen[i].trimmed();
        if (z.isEmpty() || z.startsWith(QLatin1String("PRIMARY"), Qt::CaseInsensitive))
            continue;
        const auto m = feld.match(z);
        Field f;
        if (m.hasMatch() && engine::parseFieldType(m.captured(2), f)) {
            f.name = m.captured(1);
            felder.push_back(f);
        }
    }
    return felder;
}

const Tabelle& tabelle(const QString& stem)
{
    for (const Tabelle& t : kTabellen)
        if (stem == QLatin1String(t.stem))
            return t;
    throw EngineError(QStringLiteral("Unbekannte Tabelle %1.").arg(stem));
}

paradox::Feld alsParadoxFeld(const Field& f)
{
    paradox::Feld p;
    p.name = f.name;
    switch (f.type) {
    case FieldType::AutoInc:
        p.typ = paradox::Feldtyp::AutoInc;
        p.groesse = 4;
        break;
    case FieldType::Integer:
        p.typ = paradox::Feldtyp::Long;
        p.groesse = 4;
        break;
    case FieldType::Char:
        p.typ = paradox::Feldtyp::Alpha;
        p.groesse = f.width;
        break;
    case FieldType::Boolean:
        p.typ = paradox::Feldtyp::Logical;
        p.groesse = 1;
        break;
    case FieldType::Date:
        p.typ = paradox::Feldtyp::Datum;
        p.groesse = 4;
        break;
    case FieldType::Time:
        p.typ = paradox::Feldtyp::Zeit;
        p.groesse = 4;
        break;
    case FieldType::Memo:
        p.typ = paradox::Feldtyp::Memo;
        p.groesse = f.width + 10;
        break;
    case FieldType::Graphic:
        p.typ = paradox::Feldtyp::Graphic;
        p.groesse = f.width + 10;
        break;
    }
    return p;
}

// Whether an old field can hold what the program's field holds.
bool passt(const paradox::Feld& alt, const Field& neu)
{
    using T = paradox::Feldtyp;
    if (alt.name.compare(neu.name, Qt::CaseInsensitive) != 0)
        return false;
    switch (neu.type) {
    case FieldType::AutoInc:
        return alt.typ == T::AutoInc || alt.typ == T::Long;
    case FieldType::Integer:
        return alt.typ == T::Long || alt.typ == T::Short || alt.typ == T::AutoInc;
    case FieldType::Char:
        // A wider field could hold texts the program's field cannot.
        return alt.typ == T::Alpha && alt.groesse <= neu.width;
    case FieldType::Boolean:
        return alt.typ == T::Logical;
    case FieldType::Date:
        return alt.typ == T::Datum;
    case FieldType::Time:
        return alt.typ == T::Zeit;
    case FieldType::Memo:
        return alt.typ == T::Memo;
    case FieldType::Graphic:
        return alt.typ == T::Graphic || alt.typ == T::Blob;
    }
    return false;
}

// The file of that name in the directory, found without regard to case (tables copied
// from another system often have upper-case names); empty when there is none.
QString findeDatei(const QDir& dir, const QString& name)
{
    if (QFileInfo(dir.filePath(name)).isFile())
        return name;
    const QStringList alle = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : alle)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

// Every file of an old table in the directory: the table, its blob file, its indexes
// and its validity checks (".db", ".mb", ".px", ".Xnn", ".Ynn", ".XGn", ".YGn", ".val",
// ".tv", ".fam"), whatever the case of their names.
QStringList begleitdateien(const QDir& dir, const QString& basis)
{
    static const QRegularExpression endung(
        QStringLiteral("^\\.(db|mb|px|val|tv|fam|x[0-9a-f]{2}|y[0-9a-f]{2}|xg[0-9a-f]|yg[0-9a-f])$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList dateien;
    const QStringList alle = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& n : alle) {
        if (n.size() <= basis.size() || !n.startsWith(basis, Qt::CaseInsensitive))
            continue;
        if (endung.match(n.mid(basis.size())).hasMatch())
            dateien << n;
    }
    return dateien;
}

struct Sammlung
{
    QDir dir;
    QString nummer; // text between stem and ".db"
    QString arbeit() const { return dir.filePath(QStringLiteral("Umwandlung%1.tmp").arg(nummer)); }
    QString bereit() const { return dir.filePath(QStringLiteral("Umwandlung%1.bereit").arg(nummer)); }
    QString original() const { return dir.filePath(QLatin1String(kOriginalVerzeichnis)); }
};

Sammlung sammlung(const QString& listFilePath)
{
    Sammlung s;
    s.nummer = readCollectionNumber(listFilePath);
    if (s.nummer == QLatin1String("0"))
        s.nummer.clear();
    s.dir = QDir(QFileInfo(listFilePath).absolutePath());
    return s;
}

QString dateiname(const Tabelle& t, const Sammlung& s)
{
    return tables::tableFileName(QLatin1String(t.stem), s.nummer);
}

bool entfernen(const QString& verzeichnis)
{
    return !QFileInfo::exists(verzeichnis) || QDir(verzeichnis).removeRecursively();
}

void verschieben(const QString& von, const QString& nach)
{
    if (!QFile::rename(von, nach))
        throw FileError(QStringLiteral("Die Datei %1 kann nicht nach %2 verschoben werden.")
                            .arg(nativ(von), nativ(nach)));
}

struct Db
{
    sqlite3* db = nullptr;
    ~Db()
    {
        if (db)
            sqlite3_close_v2(db);
    }
    void exec(const char* sql) const
    {
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            engine::fail(db, rc, QString());
    }
};

void oeffnen(Db& h, const QString& pfad)
{
    const int rc =
        sqlite3_open_v2(QFile::encodeName(pfad).constData(), &h.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        engine::fail(h.db, rc, nativ(pfad));
    sqlite3_extended_result_codes(h.db, 1);
}

// A picture may carry the old engine's 8-byte graphic header before its bitmap: a count
// of 1, the type 0x0100 and the size of what follows.
QByteArray ohneGrafikkopf(const QByteArray& b)
{
    if (b.size() < 8)
        return b;
    auto u16 = [&b](int i) { return quint16(quint8(b[i]) | quint8(b[i + 1]) << 8); };
    const quint32 groesse = quint32(u16(4)) | quint32(u16(6)) << 16;
    if (u16(0) == 1 && u16(2) == 0x0100 && groesse == quint32(b.size() - 8))
        return b.mid(8);
    return b;
}

// Copies the rows of one old table into the program's new, empty table file.
// `gekuerzt` counts the times whose milliseconds the program's TIME field does not keep.
qint64 tabelleKopieren(paradox::Leser& leser, const QString& ziel, const std::vector<Field>& felder,
                       const std::function<bool()>& weiter, qint64& gekuerzt)
{
    Db h;
    oeffnen(h, ziel);
    h.exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; BEGIN");
    QByteArray spalten, platz;
    for (const Field& f : felder) {
        spalten += (spalten.isEmpty() ? "" : ", ") + f.column();
        platz += platz.isEmpty() ? "?" : ", ?";
        if (f.type == FieldType::Char) {
            spalten += ", " + f.foldColumn();
            platz += ", ?";
        }
    }
    engine::Stmt einfuegen(h.db, "INSERT INTO " + QByteArray(engine::kTable) + " (" + spalten + ") VALUES (" +
                                     platz + ')');
    qint64 zeilen = 0;
    qint64 hoechster = 0;
    std::vector<QVariant> werte;
    while (leser.naechste(werte)) {
        if (werte.size() != felder.size())
            throw EngineError(QStringLiteral("Die Tabelle %1 liefert eine Zeile mit %2 statt %3 Feldern.")
                                  .arg(nativ(leser.pfad()))
                                  .arg(werte.size())
                                  .arg(felder.size()));
        int n = 1;
        for (size_t i = 0; i < felder.size(); ++i) {
            const Field& f = felder[i];
            QVariant v = werte[i];
            if (f.type == FieldType::Graphic && v.isValid())
                v = ohneGrafikkopf(v.toByteArray());
            if (f.type == FieldType::Time && v.isValid() && v.toTime().msec() != 0)
                ++gekuerzt;
            bool ok = true;
            const QVariant gespeichert = engine::storageValue(f, v, &ok);
            if (!ok)
                throw EngineError(
                    QStringLiteral("Der Wert im Feld %1 der Tabelle %2 kann nicht übernommen werden.")
                        .arg(f.name, nativ(leser.pfad())));
            if (f.type == FieldType::Char && v.isValid() && gespeichert.toString() != v.toString())
                throw EngineError(
                    QStringLiteral("Ein Text im Feld %1 der Tabelle %2 ist länger als %3 Zeichen.")
                        .arg(f.name, nativ(leser.pfad()))
                        .arg(f.width));
            if (f.type == FieldType::AutoInc)
                hoechster = std::max(hoechster, gespeichert.toLongLong());
            einfuegen.bind(n++, gespeichert);
            if (f.type == FieldType::Char)
                einfuegen.bind(n++, gespeichert.isNull() ? QVariant()
                                                         : QVariant(engine::foldKey(gespeichert.toString())));
        }
        einfuegen.exec();
        einfuegen.reset();
        ++zeilen;
        if (!weiter())
            throw EngineError(QLatin1String(kAbgebrochen));
    }
    // The counter goes on above the highest value the old engine ever gave.
    const qint64 zaehler = std::max<qint64>(hoechster, leser.kopf().autoInc);
    if (zaehler > 0) {
        engine::Stmt s(h.db, "UPDATE sqlite_sequence SET seq = max(seq, ?1) WHERE name = '" +
                                 QByteArray(engine::kTable) + "'");
        s.bind(1, zaehler);
        s.exec();
        if (sqlite3_changes(h.db) == 0) {
            engine::Stmt neu(h.db, "INSERT INTO sqlite_sequence (name, seq) VALUES ('" +
                                       QByteArray(engine::kTable) + "', ?)");
            neu.bind(1, zaehler);
            neu.exec();
        }
    }
    h.exec("COMMIT");
    return zeilen;
}

// The checks of the new tables: their integrity, and what the old data breaks of the
// rules the program keeps (reported, never rewritten).
QStringList pruefen(const QDir& arbeit, const std::array<QString, 4>& dateien)
{
    Db h;
    oeffnen(h, arbeit.filePath(dateien[0]));
    const std::array<const char*, 4> alias = {"main", "f", "a", "t"};
    for (size_t i = 1; i < dateien.size(); ++i) {
        engine::Stmt s(h.db, "ATTACH DATABASE ? AS " + QByteArray(alias[i]));
        s.bind(1, arbeit.filePath(dateien[i]));
        s.exec();
    }
    for (size_t i = 0; i < dateien.size(); ++i) {
        QStringList antwort;
        engine::Stmt s(h.db, "PRAGMA " + QByteArray(alias[i]) + ".integrity_check");
        while (s.step())
            antwort << s.column(0).toString();
        if (antwort != QStringList{QStringLiteral("ok")})
            throw EngineError(QStringLiteral("Die neue Tabelle %1 besteht die Integritätsprüfung nicht: %2")
                                  .arg(dateien[i], antwort.join(QLatin1Char(' '))));
    }

    QStringList hinweise;
    auto liste = [&h](const QByteArray& sql) {
        QStringList werte;
        engine::Stmt s(h.db, sql);
        qint64 anzahl = 0;
        while (s.step()) {
            if (++anzahl <= 10)
                werte << s.column(0).toString();
        }
        if (anzahl > 10)
            werte << QStringLiteral("… (%1 insgesamt)").arg(anzahl);
        return werte;
    };
    const QStringList ohneKassette = liste(
        "SELECT Zaehler || ' (' || coalesce(Filmname, '') || ')' FROM f.tabelle WHERE Zu_Kassette IS NULL OR "
        "Zu_Kassette NOT IN (SELECT Nummer FROM main.tabelle) ORDER BY Zaehler");
    if (!ohneKassette.isEmpty())
        hinweise << QStringLiteral("Filme ohne vorhandene Kassette: %1")
                        .arg(ohneKassette.join(QLatin1String(", ")));
    const QStringList kapazitaet =
        liste("SELECT k.Nummer FROM main.tabelle k LEFT JOIN (SELECT Zu_Kassette AS n, "
              "sum(coalesce(Filmlaenge, 0)) AS belegt, max(coalesce(Filmlaenge, 0) = 0) AS null0 "
              "FROM f.tabelle GROUP BY Zu_Kassette) s ON s.n = k.Nummer "
              "WHERE coalesce(k.Original, 0) = 0 AND (coalesce(k.Belegt, 0) <> coalesce(s.belegt, 0) "
              "OR coalesce(k.Frei, 0) <> coalesce(k.Spielzeit, 0) - coalesce(k.Belegt, 0) "
              "OR coalesce(k.Nullfilme, 0) <> coalesce(s.null0, 0)) ORDER BY k.Nummer");
    if (!kapazitaet.isEmpty())
        hinweise << QStringLiteral(
                        "Kassetten, deren belegte oder freie Minuten nicht zu ihren Filmen passen: %1")
                        .arg(kapazitaet.join(QLatin1String(", ")));
    const QStringList verliehen =
        liste("SELECT k.Nummer FROM main.tabelle k WHERE coalesce(k.Verliehen, 0) <> "
              "(EXISTS (SELECT 1 FROM a.tabelle WHERE Kassette = k.Nummer)) ORDER BY k.Nummer");
    if (!verliehen.isEmpty())
        hinweise << QStringLiteral("Kassetten, deren Verleihmarke nicht zur Verleihliste passt: %1")
                        .arg(verliehen.join(QLatin1String(", ")));
    return hinweise;
}

// The plan of the moves, written into the working directory before it is declared ready:
// "P name" for a file of an old table, "N name" for a new table.
void planSchreiben(const QString& pfad, const QStringList& alt, const QStringList& neu)
{
    QByteArray text;
    for (const QString& n : alt)
        text += "P " + n.toUtf8() + '\n';
    for (const QString& n : neu)
        text += "N " + n.toUtf8() + '\n';
    const QString grund = dateiSchreiben(pfad, text);
    if (!grund.isEmpty())
        throw FileError(
            QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(nativ(pfad), grund));
}

// Moves the old files into "Paradox-Original" and the new tables into place; every
// step may have happened already. `schritt` is told of each move.
void fertigstellen(const Sammlung& s, const std::function<void()>& schritt = {})
{
    const QDir bereit(s.bereit());
    const QString planPfad = bereit.filePath(QStringLiteral("plan"));
    QFile plan(planPfad);
    if (plan.exists()) {
        if (!plan.open(QIODevice::ReadOnly) || plan.size() > 1 << 20)
            throw FileError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(nativ(planPfad)));
        const QList<QByteArray> zeilen = plan.readAll().split('\n');
        plan.close();
        QDir original(s.original());
        if (!original.exists() && !QDir(s.dir).mkpath(QLatin1String(kOriginalVerzeichnis)))
            throw FileError(
                QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.").arg(nativ(s.original())));
        // First every old file out of the way, then the new tables in.
        for (const QByteArray& z : zeilen)
            if (z.startsWith("P ")) {
                const QString name = QString::fromUtf8(z.mid(2));
                if (QFileInfo::exists(s.dir.filePath(name)) && !QFileInfo::exists(original.filePath(name))) {
                    verschieben(s.dir.filePath(name), original.filePath(name));
                    if (schritt)
                        schritt();
                }
            }
        for (const QByteArray& z : zeilen)
            if (z.startsWith("N ")) {
                const QString name = QString::fromUtf8(z.mid(2));
                if (QFileInfo::exists(bereit.filePath(name))) {
                    verschieben(bereit.filePath(name), s.dir.filePath(name));
                    if (schritt)
                        schritt();
                }
            }
        if (!QFile::remove(planPfad))
            throw FileError(QStringLiteral("Die Datei %1 kann nicht gelöscht werden.").arg(nativ(planPfad)));
    }
    if (!entfernen(s.bereit()))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 kann nicht gelöscht werden.").arg(nativ(s.bereit())));
}

} // namespace

std::vector<paradox::Feld> paradoxFelder(const QString& stem)
{
    std::vector<paradox::Feld> felder;
    for (const Field& f : felderAusErstellung(tabelle(stem).erstellen()))
        felder.push_back(alsParadoxFeld(f));
    return felder;
}

void wiederherstellen(const QString& listFilePath)
{
    const Sammlung s = sammlung(listFilePath);
    if (QFileInfo::exists(s.bereit()))
        fertigstellen(s);
    if (!entfernen(s.arbeit()))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 kann nicht gelöscht werden.").arg(nativ(s.arbeit())));
}

bool mussUmgewandeltWerden(const QString& listFilePath)
{
    const Sammlung s = sammlung(listFilePath);
    QStringList alt, neu;
    for (const Tabelle& t : kTabellen) {
        const QString name = findeDatei(s.dir, dateiname(t, s));
        if (!name.isEmpty() && paradox::istParadoxTabelle(s.dir.filePath(name)))
            alt << name;
        else
            neu << dateiname(t, s);
    }
    if (alt.isEmpty())
        return false;
    if (!neu.isEmpty())
        throw EngineError(
            QStringLiteral("Die Videoliste %1 ist gemischt: %2 %3 im alten Paradox-Format, %4 nicht. "
                           "Es wurde nichts verändert.")
                .arg(nativ(listFilePath), alt.join(QLatin1String(", ")),
                     alt.size() == 1 ? QStringLiteral("ist") : QStringLiteral("sind"),
                     neu.join(QLatin1String(", "))));
    for (const Tabelle& t : kTabellen) {
        const QString pfad = s.dir.filePath(findeDatei(s.dir, dateiname(t, s)));
        paradox::Leser leser(pfad);
        const std::vector<Field> erwartet = felderAusErstellung(t.erstellen());
        const auto& felder = leser.kopf().felder;
        bool gleich = felder.size() == erwartet.size();
        for (size_t i = 0; gleich && i < felder.size(); ++i)
            gleich = passt(felder[i], erwartet[i]);
        if (!gleich)
            throw EngineError(QStringLiteral("Die Tabelle %1 hat nicht die Felder einer Videoliste. "
                                             "Es wurde nichts verändert.")
                                  .arg(nativ(pfad)));
        // Without its blob file a table is read to the end once: a row that needs the
        // file reports it missing.
        const bool hatBlobs = std::any_of(felder.begin(), felder.end(), [](const paradox::Feld& f) {
            return f.typ == paradox::Feldtyp::Memo || f.typ == paradox::Feldtyp::Graphic ||
                   f.typ == paradox::Feldtyp::Blob;
        });
        if (hatBlobs &&
            findeDatei(s.dir, QFileInfo(pfad).completeBaseName() + QStringLiteral(".mb")).isEmpty()) {
            std::vector<QVariant> zeile;
            while (leser.naechste(zeile)) {
            }
        }
    }
    if (QFileInfo::exists(s.original()))
        for (const Tabelle& t : kTabellen)
            for (const QString& n : begleitdateien(s.dir, QFileInfo(dateiname(t, s)).completeBaseName()))
                if (!findeDatei(QDir(s.original()), n).isEmpty())
                    throw EngineError(
                        QStringLiteral("Im Verzeichnis %1 liegt schon eine Datei %2; die "
                                       "Paradox-Tabellen können nicht dorthin verschoben werden. "
                                       "Es wurde nichts verändert.")
                            .arg(nativ(s.original()), n));
    return true;
}

Ergebnis umwandeln(const QString& listFilePath, const Fortschritt& fortschritt)
{
    const Sammlung s = sammlung(listFilePath);
    if (!entfernen(s.arbeit()))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 kann nicht gelöscht werden.").arg(nativ(s.arbeit())));
    const QString arbeitsName = QFileInfo(s.arbeit()).fileName();
    if (!s.dir.mkdir(arbeitsName))
        throw FileError(
            QStringLiteral("Im Verzeichnis %1 kann nicht geschrieben werden.").arg(nativ(s.dir.path())));
    const QDir arbeit(s.arbeit());

    Ergebnis ergebnis;
    try {
        // The new, empty tables, made as for a new collection.
        const QString vorher = QDir::currentPath();
        if (!QDir::setCurrent(arbeit.path()))
            throw FileError(
                QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.").arg(nativ(arbeit.path())));
        try {
            tables::createCollection(s.nummer.isEmpty() ? 0 : s.nummer.toInt());
        } catch (...) {
            QDir::setCurrent(vorher);
            throw;
        }
        QDir::setCurrent(vorher);

        std::array<QString, 4> neu;
        std::array<std::unique_ptr<paradox::Leser>, 4> leser;
        qint64 gesamt = 0;
        QStringList alt;
        for (size_t i = 0; i < kTabellen.size(); ++i) {
            neu[i] = dateiname(kTabellen[i], s);
            const QString name = findeDatei(s.dir, neu[i]);
            leser[i] = std::make_unique<paradox::Leser>(s.dir.filePath(name));
            gesamt += leser[i]->kopf().datensaetze;
            alt << begleitdateien(s.dir, QFileInfo(name).completeBaseName());
        }
        qint64 erledigt = 0;
        auto weiter = [&] {
            ++erledigt;
            return !fortschritt || erledigt % 256 != 0 || fortschritt(erledigt, gesamt);
        };
        std::array<qint64, 4> zeilen{};
        qint64 gekuerzt = 0;
        for (size_t i = 0; i < kTabellen.size(); ++i) {
            zeilen[i] = tabelleKopieren(*leser[i], arbeit.filePath(neu[i]),
                                        felderAusErstellung(kTabellen[i].erstellen()), weiter, gekuerzt);
            if (zeilen[i] != leser[i]->kopf().datensaetze)
                throw EngineError(QStringLiteral("Die Tabelle %1 enthält %2 Datensätze, ihr Kopf nennt %3.")
                                      .arg(nativ(leser[i]->pfad()))
                                      .arg(zeilen[i])
                                      .arg(leser[i]->kopf().datensaetze));
            leser[i].reset();
        }
        if (fortschritt && !fortschritt(gesamt, gesamt))
            throw EngineError(QLatin1String(kAbgebrochen));
        ergebnis.hinweise = pruefen(arbeit, neu);
        if (gekuerzt > 0)
            ergebnis.hinweise << QStringLiteral(
                                     "%1 Uhrzeiten mit Millisekunden wurden auf ganze Sekunden gekürzt.")
                                     .arg(gekuerzt);
        ergebnis.kassetten = zeilen[0];
        ergebnis.filme = zeilen[1];
        ergebnis.verliehen = zeilen[2];
        ergebnis.aufnahmen = zeilen[3];

        planSchreiben(arbeit.filePath(QStringLiteral("plan")), alt, QStringList(neu.begin(), neu.end()));
    } catch (...) {
        entfernen(s.arbeit());
        throw;
    }
    // The deciding step; from here on the conversion is finished, if need be at the
    // next opening.
    if (!QDir(s.dir).rename(arbeitsName, QFileInfo(s.bereit()).fileName())) {
        entfernen(s.arbeit());
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 kann nicht umbenannt werden.").arg(nativ(s.arbeit())));
    }
    // Past the deciding step nothing can be cancelled any more; the moves are still
    // reported, so that the progress window stays alive.
    qint64 gesamt = ergebnis.kassetten + ergebnis.filme + ergebnis.verliehen + ergebnis.aufnahmen;
    fertigstellen(s, [&] {
        if (fortschritt)
            fortschritt(gesamt, gesamt);
    });
    return ergebnis;
}

namespace {

// A stored value as the old format's writer takes it.
QVariant alsParadoxWert(const Field& f, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return v.toInt();
    case FieldType::Boolean:
        return v.toLongLong() != 0;
    case FieldType::Date:
        return QDate::fromString(v.toString(), Qt::ISODate);
    case FieldType::Time:
        return QTime::fromString(v.toString(), Qt::ISODate);
    case FieldType::Char:
    case FieldType::Memo:
        return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
    case FieldType::Graphic:
        return v.toByteArray();
    }
    return {};
}

} // namespace

Ausfuhr exportieren(const Collection& sammlung, const QString& zielVerzeichnis,
                    const Fortschritt& fortschritt)
{
    if (!sammlung.kassetten().isActive())
        throw EngineError(QStringLiteral("Es ist keine Videoliste geöffnet."));
    if (changeOpen())
        throw EngineError(QStringLiteral("Während einer Änderung kann nicht exportiert werden."));
    for (Dataset* d : {&sammlung.kassetten(), &sammlung.filme(), &sammlung.filmuebersicht(),
                       &sammlung.verliehen(), &sammlung.aufnahmetimer()})
        if (d->state() != Dataset::State::Browse)
            throw EngineError(QStringLiteral("Ein Datensatz wird noch bearbeitet; bitte erst speichern."));
    const QDir ziel(zielVerzeichnis);
    if (zielVerzeichnis.isEmpty() || !QFileInfo(zielVerzeichnis).isDir())
        throw FileError(QStringLiteral("Das Verzeichnis %1 existiert nicht.").arg(nativ(zielVerzeichnis)));
    if (!ziel.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 ist nicht leer; bitte ein leeres Verzeichnis wählen.")
                .arg(nativ(zielVerzeichnis)));

    const QString nummerText = readCollectionNumber(sammlung.listFilePath());
    const int nummer = nummerText.isEmpty() ? 0 : nummerText.toInt();
    const std::array<const char*, 4> platzhalter = {"{kass}", "{filme}", "{ausgelhn}", "{atimer}"};

    qint64 gesamt = 0;
    {
        const auto z =
            sammlung.auswerten(QStringLiteral("SELECT (SELECT count(*) FROM {kass}) + (SELECT count(*) "
                                              "FROM {filme}) + (SELECT count(*) FROM {ausgelhn}) + "
                                              "(SELECT count(*) FROM {atimer})"));
        gesamt = z.front().value(0).toLongLong();
    }
    Ausfuhr ergebnis;
    std::array<qint64*, 4> zaehler = {&ergebnis.kassetten, &ergebnis.filme, &ergebnis.verliehen,
                                      &ergebnis.aufnahmen};
    qint64 erledigt = 0;
    try {
        for (size_t t = 0; t < kTabellen.size(); ++t) {
            const std::vector<Field> felder = felderAusErstellung(kTabellen[t].erstellen());
            std::vector<paradox::Feld> altFelder;
            QString spalten;
            for (const Field& f : felder) {
                altFelder.push_back(alsParadoxFeld(f));
                spalten +=
                    (spalten.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromUtf8(f.column());
            }
            const QString schluessel = QString::fromUtf8(felder.front().column());
            const QString datei =
                ziel.filePath(tables::tableFileName(QLatin1String(kTabellen[t].stem), nummer));
            paradox::Schreiber schreiber(datei, altFelder, true, 1252);
            // A page of rows at a time, so that pictures are never all in memory.
            qint64 letzter = std::numeric_limits<qint64>::min();
            for (;;) {
                const auto seite =
                    sammlung.auswerten(QStringLiteral("SELECT %1 FROM %2 WHERE %3 > ? ORDER BY %3 LIMIT 256")
                                           .arg(spalten, QLatin1String(platzhalter[t]), schluessel),
                                       {letzter});
                if (seite.empty())
                    break;
                for (const QVariantList& zeile : seite) {
                    std::vector<QVariant> werte;
                    werte.reserve(felder.size());
                    for (size_t i = 0; i < felder.size(); ++i)
                        werte.push_back(alsParadoxWert(felder[i], zeile.value(qsizetype(i))));
                    schreiber.zeile(werte);
                    ++*zaehler[t];
                    if (fortschritt && ++erledigt % 256 == 0 && !fortschritt(erledigt, gesamt))
                        throw EngineError(QStringLiteral("Der Export wurde abgebrochen."));
                }
                letzter = seite.back().value(0).toLongLong();
            }
            schreiber.abschliessen();
            ergebnis.ersetzt += schreiber.ersetzt();
        }
        writeCollectionNumber(ziel.filePath(QFileInfo(sammlung.listFilePath()).fileName()), nummer);
    } catch (...) {
        for (const QString& n : ziel.entryList(QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(ziel.filePath(n));
        throw;
    }
    return ergebnis;
}

} // namespace store::umwandlung
