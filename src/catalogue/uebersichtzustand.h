#pragma once

// What the film overview shows: its order, search text, filter choice and filter date,
// and the dataset they are applied to. The overview page changes it through the
// operations below; the film list printout reads it to print the same rows in the
// same order. No widgets.

#include <QDate>
#include <QString>

namespace store {
class Dataset;
}

namespace quorbel {

class Uebersichtzustand
{
public:
    // The four orders, by their item in the sort choice.
    enum Sortierung { NachKassette = 0, NachFilmname = 1, NachFilmlaenge = 2, NachGenre = 3 };

    // `filmuebersicht` is the collection's read-only dataset of all films; it is given
    // the start order and the filter switch at once (open or closed).
    Uebersichtzustand(store::Dataset& filmuebersicht, const QDate& heute);

    // --- Reading ---------------------------------------------------------------------------
    store::Dataset& datenmenge() const { return m_filme; }
    Sortierung sortierung() const { return m_sortierung; }
    // Index field list of an order ("Zu_Kassette", "Filmname", "Filmlaenge",
    // "Genre;Filmname").
    static QString indexFelder(int sortierung);
    QString indexFelder() const { return indexFelder(m_sortierung); }
    // Cassette numbers stand out only in the cassette order.
    bool nachKassette() const { return m_sortierung == NachKassette; }
    QString suchtext() const { return m_suchtext; }
    // "Neue Filme seit" is chosen: only films entered on or after filterDatum() are listed.
    bool nurNeueFilme() const { return m_nurNeue; }
    QDate filterDatum() const { return m_datum; }
    // "DATUM >= " and the date in the short date format, always with a four-digit year.
    static QString filterText(const QDate& datum);
    // Films listed now (0 while the collection is closed).
    int filmeGelistet() const;

    // --- Changing (each applies itself to an open dataset) -------------------------------
    void sortieren(int sortierung);
    // Title order, then the first film whose title is the text or sorts after it (the
    // last film when none does; the first one for an empty text).
    void suchen(const QString& text);
    void neueFilmeSeit(const QDate& datum);
    void alleFilme();
    // Reads the films again from the table, keeping order, filter and, when it is still
    // listed, the current film.
    void neuEinlesen();

private:
    void ordnungAnwenden();

    store::Dataset& m_filme;
    Sortierung m_sortierung = NachKassette;
    QString m_suchtext;
    bool m_nurNeue = false;
    QDate m_datum;
};

} // namespace quorbel
