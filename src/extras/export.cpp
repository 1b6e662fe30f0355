#include "export.h"

#include "csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <memory>
#include <store/collection.h>
#include <store/error.h>
#include <store/sicheresschreiben.h>

namespace extras {

namespace {

// Rows between two reports to the progress callback.
constexpr qint64 kSchritt = 250;
// Bytes gathered before they go to the file.
constexpr qsizetype kPuffer = 1 << 18;

QString nichtGeschrieben(const QString& pfad, const QString& grund)
{
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(pfad), grund);
}

// One file of the export, written through store::SicheresSchreiben; records gather in
// a buffer of its own. A failure throws store::FileError naming `gezeigt`, the file
// the user asked for.
class Datei
{
public:
    Datei(const QString& pfad, const QString& gezeigt) : m_file(pfad), m_gezeigt(gezeigt)
    {
        if (!m_file.oeffnen())
            fehler();
        m_puffer.reserve(kPuffer + 4096);
        m_puffer += kUtf8Bom;
    }
    QByteArray& puffer() { return m_puffer; }
    // After each record: a full buffer goes to the file.
    void weiter()
    {
        if (m_puffer.size() >= kPuffer)
            leeren();
    }
    void fertig()
    {
        leeren();
        if (!m_file.abschliessen())
            fehler();
    }
    void abbrechen() { m_file.abbrechen(); }

private:
    void leeren()
    {
        if (!m_file.schreiben(m_puffer))
            fehler();
        m_puffer.clear();
    }
    [[noreturn]] void fehler()
    {
        m_file.abbrechen();
        throw store::FileError(nichtGeschrieben(m_gezeigt, m_file.grund()));
    }
    store::SicheresSchreiben m_file;
    QString m_gezeigt;
    QByteArray m_puffer;
};

bool melden(const Fortschritt& f, qint64 n, qint64 gesamt)
{
    return !f || f(n, gesamt);
}

QString spalte(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// A stored value in the type the field has, for csvFeld().
QVariant wert(store::FieldType type, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return type == store::FieldType::Boolean ? QVariant(false) : QVariant();
    switch (type) {
    case store::FieldType::Boolean:
        return v.toLongLong() != 0;
    case store::FieldType::Date:
        return QDate::fromString(v.toString(), Qt::ISODate);
    case store::FieldType::Time:
        return QTime::fromString(v.toString(), Qt::ISODate);
    case store::FieldType::Memo:
        return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
    default:
        return v;
    }
}

struct Tabelle
{
    store::Dataset* dataset;
    const char* platzhalter;
};

std::array<Tabelle, 4> tabellenVon(store::Collection& c)
{
    return {{{&c.kassetten(), "{kass}"},
             {&c.filme(), "{filme}"},
             {&c.verliehen(), "{ausgelhn}"},
             {&c.aufnahmetimer(), "{atimer}"}}};
}

QString csvName(const store::Dataset& d)
{
    QString n = d.tableName();
    if (n.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        n.chop(3);
    return n + QStringLiteral(".csv");
}

// Moves each finished file to its target, all or none: existing targets are first moved
// aside, and should any step fail, the new files are taken away and the old ones put
// back. Throws store::FileError naming the file that could not be moved.
void alleErsetzen(const std::vector<std::pair<QString, QString>>& neuUndZiel)
{
    std::vector<std::pair<QString, QString>> beiseite; // target, its old file's new name
    std::vector<QString> gesetzt;
    auto verschieben = [&](const QString& von, const QString& nach) {
        QFile f(von);
        errno = 0;
        if (f.rename(nach))
            return;
        const QString grund = store::deutscherGrund(errno, f.errorString());
        for (const QString& ziel : gesetzt)
            QFile::remove(ziel);
        for (const auto& [ziel, alt] : beiseite)
            QFile::rename(alt, ziel);
        throw store::FileError(nichtGeschrieben(nach.endsWith(QLatin1String(".alt")) ? von : nach, grund));
    };
    for (const auto& [neu, ziel] : neuUndZiel) {
        if (!QFileInfo::exists(ziel))
            continue;
        const QString alt = QFileInfo(ziel).dir().filePath(QLatin1Char('.') + QFileInfo(ziel).fileName() +
                                                           QStringLiteral(".alt"));
        QFile::remove(alt); // left by an earlier run that stopped: its target is whole
        verschieben(ziel, alt);
        beiseite.emplace_back(ziel, alt);
    }
    for (const auto& [neu, ziel] : neuUndZiel) {
        verschieben(neu, ziel);
        gesetzt.push_back(ziel);
    }
    for (const auto& [ziel, alt] : beiseite)
        QFile::remove(alt);
}

} // namespace

qint64 Export::filmuebersichtZeilen() const
{
    return m_collection.filmuebersicht().rowCount();
}

bool Export::filmuebersicht(const QString& datei, const Fortschritt& fortschritt)
{
    const store::Dataset& d = m_collection.filmuebersicht();
    const QStringList felder{QStringLiteral("Zu_Kassette"), QStringLiteral("Filmname"),
                             QStringLiteral("Filmlaenge"), QStringLiteral("Genre"), QStringLiteral("Datum")};
    std::vector<store::FieldType> typen;
    for (const QString& f : felder)
        typen.push_back(d.fieldType(f));
    const qint64 gesamt = d.recordCount();
    Datei out(datei, datei);
    QByteArray& puffer = out.puffer();
    puffer += csvZeile({QStringLiteral("Kassette"), QStringLiteral("Filmname"), QStringLiteral("Filmlaenge"),
                        QStringLiteral("Genre"), QStringLiteral("Datum")});
    // Straight from the stored values into the file's bytes: the rows in one pass,
    // no row held, no text made in between.
    qint64 n = 0;
    bool abgebrochen = false;
    d.gespeicherteZeilenLesen(felder, [&](const store::Dataset::GespeicherterWert* werte) {
        if (n % kSchritt == 0 && !melden(fortschritt, n, gesamt)) {
            abgebrochen = true;
            return false;
        }
        for (size_t i = 0; i < typen.size(); ++i) {
            if (i > 0)
                puffer += ';';
            csvGespeichertAnhaengen(puffer, typen[i], werte[i]);
        }
        puffer += "\r\n";
        out.weiter();
        ++n;
        return true;
    });
    if (abgebrochen || !melden(fortschritt, gesamt, gesamt)) {
        out.abbrechen();
        return false;
    }
    out.fertig();
    return true;
}

QStringList Export::tabellenDateien(const QString& verzeichnis) const
{
    QStringList dateien;
    for (const Tabelle& t : tabellenVon(m_collection))
        dateien << QDir(verzeichnis).filePath(csvName(*t.dataset));
    return dateien;
}

bool Export::tabellen(const QString& verzeichnis, const Fortschritt& fortschritt)
{
    const auto tabellen = tabellenVon(m_collection);
    qint64 gesamt = 0;
    for (const Tabelle& t : tabellen)
        gesamt += m_collection
                      .auswerten(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t.platzhalter)))
                      .front()
                      .front()
                      .toLongLong();

    // Each table goes into a new file beside its target first; only when all four are
    // complete do they take the targets' places, all together (alleErsetzen). A cancel
    // or a failure before that leaves the old files as they were.
    std::vector<std::unique_ptr<Datei>> dateien;
    std::vector<std::pair<QString, QString>> neuUndZiel;
    auto aufraeumen = [&] {
        for (auto& d : dateien)
            d->abbrechen();
        for (const auto& [neu, ziel] : neuUndZiel)
            QFile::remove(neu);
    };
    qint64 n = 0;
    try {
        for (const Tabelle& t : tabellen) {
            const store::Dataset& d = *t.dataset;
            QStringList namen;
            std::vector<store::FieldType> typen;
            QString schluessel;
            for (const QString& f : d.fieldNames()) {
                const store::FieldType typ = d.fieldType(f);
                if (typ == store::FieldType::Graphic)
                    continue; // pictures do not belong in a spreadsheet
                if (typ == store::FieldType::AutoInc && schluessel.isEmpty())
                    schluessel = spalte(f);
                namen << f;
                typen.push_back(typ);
            }
            if (schluessel.isEmpty())
                schluessel = QStringLiteral("rowid");
            QStringList spalten;
            for (const QString& f : std::as_const(namen))
                spalten << spalte(f);
            // Key by key in pages, so that a large table is never held whole.
            const QString sql =
                QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 > ? ORDER BY %1 LIMIT 500")
                    .arg(schluessel, spalten.join(QLatin1String(", ")), QLatin1String(t.platzhalter));

            const QString ziel = QDir(verzeichnis).filePath(csvName(d));
            const QString neu =
                QDir(verzeichnis).filePath(QLatin1Char('.') + csvName(d) + QStringLiteral(".neu"));
            dateien.push_back(std::make_unique<Datei>(neu, ziel));
            neuUndZiel.emplace_back(neu, ziel);
            Datei& out = *dateien.back();
            QVariantList kopf;
            for (const QString& f : std::as_const(namen))
                kopf << f;
            out.puffer() += csvZeile(kopf);
            std::vector<QVariant> werte(typen.size());
            qint64 letzter = std::numeric_limits<qint64>::min();
            for (;;) {
                const auto zeilen = m_collection.auswerten(sql, {letzter});
                if (zeilen.empty())
                    break;
                for (const QVariantList& z : zeilen) {
                    if (n % kSchritt == 0 && !melden(fortschritt, n, gesamt)) {
                        aufraeumen();
                        return false;
                    }
                    for (size_t i = 0; i < typen.size(); ++i)
                        werte[i] = wert(typen[i], z[static_cast<qsizetype>(i) + 1]);
                    csvZeileAnhaengen(out.puffer(), werte.data(), qsizetype(werte.size()));
                    out.weiter();
                    ++n;
                }
                letzter = zeilen.back().front().toLongLong();
            }
        }
        if (!melden(fortschritt, gesamt, gesamt)) {
            aufraeumen();
            return false;
        }
        for (auto& d : dateien)
            d->fertig();
        alleErsetzen(neuUndZiel);
    } catch (...) {
        aufraeumen();
        throw;
    }
    return true;
}

} // namespace extras
