#include "export.h"

#include "csv.h"

#include <QDir>
#include <QSaveFile>
#include <array>
#include <memory>
#include <store/collection.h>
#include <store/error.h>

namespace extras {

namespace {

// Rows between two reports to the progress callback.
constexpr qint64 kSchritt = 250;

class Datei
{
public:
    explicit Datei(const QString& pfad) : m_file(pfad)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fehler();
        schreiben(kUtf8Bom);
    }
    void schreiben(const QByteArray& bytes)
    {
        if (m_file.write(bytes) != bytes.size())
            fehler();
    }
    void fertig()
    {
        if (!m_file.commit())
            fehler();
    }
    void abbrechen() { m_file.cancelWriting(); }

private:
    [[noreturn]] void fehler()
    {
        const QString grund = m_file.errorString();
        m_file.cancelWriting();
        throw store::FileError(QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2")
                                   .arg(QDir::toNativeSeparators(m_file.fileName()), grund));
    }
    QSaveFile m_file;
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

} // namespace

qint64 Export::filmuebersichtZeilen() const
{
    return m_collection.filmuebersicht().rowCount();
}

bool Export::filmuebersicht(const QString& datei, const Fortschritt& fortschritt)
{
    store::Dataset& d = m_collection.filmuebersicht();
    const QStringList felder{QStringLiteral("Zu_Kassette"), QStringLiteral("Filmname"),
                             QStringLiteral("Filmlaenge"), QStringLiteral("Genre"), QStringLiteral("Datum")};
    const qint64 gesamt = d.rowCount();
    Datei out(datei);
    out.schreiben(csvZeile({QStringLiteral("Kassette"), QStringLiteral("Filmname"),
                            QStringLiteral("Filmlaenge"), QStringLiteral("Genre"), QStringLiteral("Datum")}));
    for (int r = 0; r < gesamt; ++r) {
        if (r % kSchritt == 0 && !melden(fortschritt, r, gesamt)) {
            out.abbrechen();
            return false;
        }
        QVariantList z;
        for (const QString& f : felder)
            z << d.valueAt(r, f);
        out.schreiben(csvZeile(z));
    }
    if (!melden(fortschritt, gesamt, gesamt)) {
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

    // All four stay open until the last row is written: a cancel or a failure then
    // leaves none of them behind.
    std::vector<std::unique_ptr<Datei>> dateien;
    auto abbrechen = [&dateien] {
        for (auto& d : dateien)
            d->abbrechen();
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

            dateien.push_back(std::make_unique<Datei>(QDir(verzeichnis).filePath(csvName(d))));
            Datei& out = *dateien.back();
            QVariantList kopf;
            for (const QString& f : std::as_const(namen))
                kopf << f;
            out.schreiben(csvZeile(kopf));
            qint64 letzter = std::numeric_limits<qint64>::min();
            for (;;) {
                const auto zeilen = m_collection.auswerten(sql, {letzter});
                if (zeilen.empty())
                    break;
                for (const QVariantList& z : zeilen) {
                    if (n % kSchritt == 0 && !melden(fortschritt, n, gesamt)) {
                        abbrechen();
                        return false;
                    }
                    QVariantList werte;
                    for (size_t i = 0; i < typen.size(); ++i)
                        werte << wert(typen[i], z[static_cast<qsizetype>(i) + 1]);
                    out.schreiben(csvZeile(werte));
                    ++n;
                }
                letzter = zeilen.back().front().toLongLong();
            }
        }
        if (!melden(fortschritt, gesamt, gesamt)) {
            abbrechen();
            return false;
        }
        for (auto& d : dateien)
            d->fertig();
    } catch (...) {
        abbrechen();
        throw;
    }
    return true;
}

} // namespace extras
