#include "statistik.h"

#include <store/collection.h>
#include <store/error.h>

namespace extras {

namespace {

// Throws the engine's error for the first value of an INTEGER field that a table
// edited with another tool holds outside the field's range: such a value is not
// counted, it makes its figure unknown.
void pruefeGanzzahlen(const store::Collection& c, const char* platzhalter, const store::Dataset& tabelle,
                      const char* feld)
{
    const auto r = c.auswerten(QStringLiteral("SELECT %1 FROM %2 WHERE typeof(%1) IN ('integer', 'real')"
                                              " AND %1 NOT BETWEEN ? AND ? LIMIT 1")
                                   .arg(QLatin1String(feld), QLatin1String(platzhalter)),
                               {store::kIntegerMin, store::kIntegerMax});
    if (!r.empty())
        throw store::integerOutOfRange(tabelle.tableName(), QLatin1String(feld), r[0][0].toString());
}

} // namespace

Statistik berechneStatistik(const store::Collection& c, const QDate& heute)
{
    Statistik s;
    // Each figure is worked out on its own: one that cannot be reports why, the others
    // are shown all the same.
    auto versuche = [&s](auto&& rechnen) {
        try {
            rechnen();
        } catch (const store::Error& e) {
            if (!s.fehler.contains(e.message()))
                s.fehler << e.message();
        }
    };
    const QString tag = heute.toString(Qt::ISODate);
    const QString bis = heute.addDays(6).toString(Qt::ISODate);

    versuche([&] {
        const auto z =
            c.auswerten(QStringLiteral("SELECT"
                                       " (SELECT count(*) FROM {kass}),"
                                       " (SELECT count(*) FROM {kass} WHERE Original = 1),"
                                       " (SELECT count(*) FROM {filme}),"
                                       " (SELECT count(*) FROM {ausgelhn}),"
                                       " (SELECT count(*) FROM {ausgelhn} WHERE Meldung_Am <= ?),"
                                       " (SELECT count(*) FROM {atimer} WHERE Datum >= ? AND Datum <= ?)"),
                        {tag, tag, bis})
                .front();
        s.kassetten = z[0].toLongLong();
        s.kaufvideos = z[1].toLongLong();
        s.filme = z[2].toLongLong();
        s.verliehen = z[3].toLongLong();
        s.ueberfaellig = z[4].toLongLong();
        s.aufnahmen = z[5].toLongLong();
    });
    // A negative length or free time counts as none.
    versuche([&] {
        pruefeGanzzahlen(c, "{filme}", c.filme(), "Filmlaenge");
        s.minutenAufgenommen =
            c.auswerten(
                 QStringLiteral("SELECT coalesce(sum(max(coalesce(Filmlaenge, 0), 0)), 0) FROM {filme}"))
                .front()[0]
                .toLongLong();
    });
    versuche([&] {
        pruefeGanzzahlen(c, "{kass}", c.kassetten(), "Frei");
        s.minutenFrei =
            c.auswerten(QStringLiteral("SELECT coalesce(sum(max(coalesce(Frei, 0), 0)), 0) FROM {kass}"
                                       " WHERE coalesce(Original, 0) = 0"))
                .front()[0]
                .toLongLong();
    });

    auto kassette = [&c](const char* richtung) -> std::optional<Statistik::Kassette> {
        const auto r = c.auswerten(QStringLiteral("SELECT Nummer, coalesce(Frei, 0), Spielzeit FROM {kass}"
                                                  " WHERE coalesce(Original, 0) = 0 AND Spielzeit > 0"
                                                  " ORDER BY coalesce(Frei, 0) %1, Nummer LIMIT 1")
                                       .arg(QLatin1String(richtung)));
        if (r.empty())
            return std::nullopt;
        return Statistik::Kassette{r[0][0].toInt(), r[0][1].toInt(), r[0][2].toInt()};
    };
    versuche([&] {
        for (const char* feld : {"Nummer", "Frei", "Spielzeit"})
            pruefeGanzzahlen(c, "{kass}", c.kassetten(), feld);
        s.vollste = kassette("ASC");
        s.leerste = kassette("DESC");
    });

    // Genres that differ only in spaces around them are one genre.
    versuche([&] {
        const auto genres = c.auswerten(QStringLiteral("SELECT trim(coalesce(Genre, '')) AS g, count(*) AS n"
                                                       " FROM {filme} GROUP BY g ORDER BY n DESC, g"));
        for (const QVariantList& g : genres) {
            const QString name = g[0].toString();
            s.genres.emplace_back(name.isEmpty() ? kOhneGenre : name, g[1].toLongLong());
        }
    });
    return s;
}

} // namespace extras
