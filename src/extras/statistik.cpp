#include "statistik.h"

#include <store/collection.h>

namespace extras {

Statistik berechneStatistik(const store::Collection& c, const QDate& heute)
{
    Statistik s;
    const QString tag = heute.toString(Qt::ISODate);
    const QString bis = heute.addDays(6).toString(Qt::ISODate);

    const auto summen =
        c.auswerten(QStringLiteral("SELECT"
                                   " (SELECT count(*) FROM {kass}),"
                                   " (SELECT count(*) FROM {kass} WHERE Original = 1),"
                                   " (SELECT count(*) FROM {filme}),"
                                   " (SELECT coalesce(sum(coalesce(Filmlaenge, 0)), 0) FROM {filme}),"
                                   " (SELECT coalesce(sum(max(coalesce(Frei, 0), 0)), 0) FROM {kass}"
                                   "   WHERE coalesce(Original, 0) = 0),"
                                   " (SELECT count(*) FROM {ausgelhn}),"
                                   " (SELECT count(*) FROM {ausgelhn} WHERE Meldung_Am <= ?),"
                                   " (SELECT count(*) FROM {atimer} WHERE Datum >= ? AND Datum <= ?)"),
                    {tag, tag, bis});
    const QVariantList& z = summen.front();
    s.kassetten = z[0].toLongLong();
    s.kaufvideos = z[1].toLongLong();
    s.filme = z[2].toLongLong();
    s.minutenAufgenommen = z[3].toLongLong();
    s.minutenFrei = z[4].toLongLong();
    s.verliehen = z[5].toLongLong();
    s.ueberfaellig = z[6].toLongLong();
    s.aufnahmen = z[7].toLongLong();

    auto kassette = [&c](const char* richtung) -> std::optional<Statistik::Kassette> {
        const auto r = c.auswerten(QStringLiteral("SELECT Nummer, coalesce(Frei, 0), Spielzeit FROM {kass}"
                                                  " WHERE coalesce(Original, 0) = 0 AND Spielzeit > 0"
                                                  " ORDER BY coalesce(Frei, 0) %1, Nummer LIMIT 1")
                                       .arg(QLatin1String(richtung)));
        if (r.empty())
            return std::nullopt;
        return Statistik::Kassette{r[0][0].toInt(), r[0][1].toInt(), r[0][2].toInt()};
    };
    s.vollste = kassette("ASC");
    s.leerste = kassette("DESC");

    // Genres that differ only in spaces around them are one genre.
    const auto genres = c.auswerten(QStringLiteral("SELECT trim(coalesce(Genre, '')) AS g, count(*) AS n"
                                                   " FROM {filme} GROUP BY g ORDER BY n DESC, g"));
    for (const QVariantList& g : genres) {
        const QString name = g[0].toString();
        s.genres.emplace_back(name.isEmpty() ? kOhneGenre : name, g[1].toLongLong());
    }
    return s;
}

} // namespace extras
