#pragma once

// The figures of a collection on the info page, each read by one SQL aggregate over
// the open collection (store::Collection::auswerten), never by walking datasets. A
// figure that cannot be worked out does not stop the others (Statistik::fehler).

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace store {
class Collection;
}

namespace extras {

struct Statistik
{
    qint64 kassetten = 0;  // all cassettes
    qint64 kaufvideos = 0; // bought tapes among them
    qint64 filme = 0;
    qint64 minutenAufgenommen = 0; // sum of all film lengths (an empty length counts 0)
    qint64 minutenFrei = 0;        // free minutes of the recordable cassettes
    struct Kassette
    {
        int nummer = 0;
        int frei = 0;
        int spielzeit = 0;
    };
    // Among the recordable cassettes with a play length: the one with the fewest and
    // the one with the most free minutes (the lower number on a tie).
    std::optional<Kassette> vollste, leerste;
    // Films per genre, most first, then by genre; an empty genre is "(ohne Genre)".
    std::vector<std::pair<QString, qint64>> genres;
    qint64 verliehen = 0;    // open loans
    qint64 ueberfaellig = 0; // open loans whose reminder day has come (today >= Meldung_Am)
    qint64 aufnahmen = 0;    // planned recordings from today through today + 6
    // Why a figure could not be worked out (a table edited with another tool holding a
    // number out of range, ...), one German sentence each; such a figure stays 0 or
    // empty, the others are shown.
    QStringList fehler;
};

inline const QString kOhneGenre = QStringLiteral("(ohne Genre)");

Statistik berechneStatistik(const store::Collection& collection, const QDate& heute);

} // namespace extras
