#pragma once

// The rules of the input page over the collection's cassettes and films, without a
// widget: which buttons the navigator allows, going to a cassette by number, adding a
// cassette and changing its play length, and the film handlers around every insert,
// store and delete with the recount of a cassette's used and free minutes. The page
// asks, shows what the rules return, and hears of changes to the films by signals.

#include <QChar>
#include <QObject>
#include <QPointer>
#include <QString>

namespace store {
class Collection;
class Dataset;
} // namespace store

namespace quorbel {

class Clock;
class Interaction;

// What the input page's buttons and film grid allow for the current cassette.
struct NavigatorZustand
{
    bool zurueck = false;           // first and previous cassette
    bool vor = false;               // next and last cassette
    bool freienPlatzSuchen = false; // the planner's free-space search (at least one cassette)
    bool spielzeitAendern = false;
    bool labeldrucken = false; // the current cassette has films
    bool filmloeschen = false;
    bool verleihen = false;   // a cassette that is not lent
    bool bearbeitbar = false; // the film grid may be edited
    bool operator==(const NavigatorZustand&) const = default;
};

class Eingaberegeln : public QObject
{
    Q_OBJECT
public:
    // Sets itself as the handler of the film dataset's inserts, stores and deletes.
    Eingaberegeln(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                  QObject* parent = nullptr);
    ~Eingaberegeln() override;

    // --- Cassettes ----------------------------------------------------------------------
    NavigatorZustand Navigator() const;
    // True when the typed character may go into "Gehe zu Nr...".
    static bool Direkt_Zeichen(QChar key);
    // Whether the text of "Gehe zu Nr..." moves at all: empty text goes to the first
    // cassette, text with leading digits to the nearest number; other text moves nothing.
    static bool Direkt_Bewegt(const QString& text);
    void Direkt_Springen(const QString& text);
    // Adds a cassette of the chosen play-length entry; an invalid entry is refused with
    // a message and nothing is stored.
    // True when a cassette was added.
    bool Neue_Kassette(const QString& eintrag);
    // Changes the current cassette's play length to the chosen entry, or refuses.
    void Spielzeit_Aendern(const QString& eintrag);

    // --- Films ----------------------------------------------------------------------------
    void Berechne_Filmlaengen();
    // Sum of the lengths of the current cassette's films.
    qint64 Filmsumme();
    // Enter in the film grid: a pending film with a title is stored.
    void Film_Enter();
    // Deletes the current film; a pending new film is discarded without storing it.
    void Film_Loeschen();

    void Table_FilmeBeforeInsert(store::Dataset& filme);
    void Table_FilmeAfterInsert(store::Dataset& filme);
    void Table_FilmeBeforePost(store::Dataset& filme);
    void Table_FilmeAfterPost(store::Dataset& filme);
    void Table_FilmeAfterDelete(store::Dataset& filme);

signals:
    // A film was stored (`anzahl` films on the cassette now) or deleted.
    void filmGespeichert(int anzahl);
    void filmGeloescht(int anzahl);

private:
    // The recount; returns the cassette's free minutes, exact even where the stored
    // fields cannot hold them.
    qint64 Zaehlen_Und_Speichern();

    store::Collection& m_sammlung;
    store::Dataset& m_kassetten;
    store::Dataset& m_filme;
    QPointer<store::Dataset> m_filmeWache;
    Interaction& m_ui;
    const Clock& m_clock;
    bool m_vorherigerTitel = true; // previous-title flag, set before every new film row
    bool m_korrektur = false;      // the film-fits correction is storing its film
};

} // namespace quorbel
