#pragma once

// Rows and collections for the printout tests.

#include "../store/storetesthelpers.h"

#include <QDate>
#include <QStringList>
#include <printing/reportlayout.h>
#include <vector>

namespace drucktest {

// Rows held in memory: film n has cassette n / 3 + 1, the title "Film n", 90 minutes.
class Zeilen final : public quorbel::report::RowSource
{
public:
    explicit Zeilen(int n) : m_n(n) {}
    int anzahl() const override { return m_n; }
    QString wert(int zeile, const QString& feld) const override
    {
        if (feld == QLatin1String("Zu_Kassette"))
            return QString::number(zeile / 3 + 1);
        if (feld == QLatin1String("Filmname"))
            return QStringLiteral("Film %1").arg(zeile);
        if (feld == QLatin1String("Filmlaenge"))
            return QStringLiteral("90");
        return QStringLiteral("Krimi");
    }

private:
    int m_n;
};

struct Film
{
    int kassette;
    QString titel;
    int laenge;
    QString genre;
    QDate datum;
};

// Opens `ds` over the film table of a fresh collection and stores the films in it.
inline void filmeAnlegen(store::Dataset& ds, const QString& name, const std::vector<Film>& filme)
{
    const QString dir = storetest::collection(name);
    storetest::point(ds, dir, "filme");
    ds.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    ds.open();
    for (const Film& f : filme) {
        ds.append();
        ds.setInteger(QStringLiteral("Zu_Kassette"), f.kassette);
        ds.setString(QStringLiteral("Filmname"), f.titel);
        ds.setInteger(QStringLiteral("Filmlaenge"), f.laenge);
        ds.setString(QStringLiteral("Genre"), f.genre);
        ds.setDate(QStringLiteral("Datum"), f.datum);
        ds.post();
    }
}

} // namespace drucktest
