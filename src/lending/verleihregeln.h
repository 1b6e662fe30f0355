#pragma once

// The rules of lending: lending a cassette, taking it back, the loan list's order,
// the jump from a loan to its cassette and the reminders of overdue loans. No
// widgets: the loan page applies the button states returned here, and a reminder is
// shown through Erinnerungsanzeige, which the program fills with the reminder window
// and the tests with a fake.

#include <QDate>
#include <QString>
#include <functional>

namespace store {
class Dataset;
} // namespace store

namespace quorbel {

class Clock;
class Interaction;

// What the page makes of BitBtn_Verleihen and BitBtn_Zurueckbekommen.
struct Verleihknoepfe
{
    bool verleihen = false;       // the current cassette is not lent
    bool zurueckbekommen = false; // at least one loan exists
    bool operator==(const Verleihknoepfe&) const = default;
};

// Shows one reminder and waits for the person's answer.
class Erinnerungsanzeige
{
public:
    struct Antwort
    {
        bool nichtMehr = false; // "Nicht mehr anzeigen"
        QDate naechsteMeldung;  // otherwise: the date from which the loan is due again
    };
    virtual ~Erinnerungsanzeige();
    virtual Antwort Erinnerung_Zeigen(const QString& text, int tage) = 0;
};

class Verleihregeln
{
public:
    // `warnTage` gives the setting Warnen_Nach_x_Tagen at the moment it is needed.
    Verleihregeln(store::Dataset& kassetten, store::Dataset& filme, store::Dataset& verliehen,
                  Interaction& ui, const Clock& clock, std::function<int()> warnTage,
                  Erinnerungsanzeige& anzeige);
    ~Verleihregeln();
    Verleihregeln(const Verleihregeln&) = delete;
    Verleihregeln& operator=(const Verleihregeln&) = delete;

    // The buttons as the datasets stand now (after opening a collection).
    Verleihknoepfe Knoepfe() const;

    // Lends the current cassette after asking for the borrower; the cassette's mark
    // and the loan row are stored together or not at all.
    Verleihknoepfe BitBtn_VerleihenClick();

    // 0: by cassette, 1: by lending date, 2: by borrower.
    void RadioGroup_Sortieren2Click(int item);

    // Moves the cassettes to the current loan's cassette; false (and no move) when
    // there are no loans. On true the page shows Tab_Eingabe and refreshes its buttons.
    bool DBGrid_VerliehenDblClick();

    // Takes back the cassette of the current loan, without asking.
    Verleihknoepfe BitBtn_ZurueckbekommenClick();
    // Attached to the loan dataset's delete notifications by the constructor.
    void Table_VerliehenBeforeDelete(store::Dataset& verliehen);
    void Table_VerliehenAfterDelete(store::Dataset& verliehen);

    // Shows every due loan, one after another, in the loan list's order. Called after
    // a collection was opened and when the date changes; a call while a check is
    // still running (a clock tick behind an open reminder) does nothing.
    void Pruefe_Verliehene_Kassetten();
    bool pruefungLaeuft() const { return m_pruefungLaeuft; }

    // Called before every reminder window, to show the loan page behind it.
    std::function<void()> Verleihmanager_Zeigen;

    // The text of one reminder, lines joined by the message line break.
    static QString Erinnerungstext(const QString& an, int kassette, const QDate& datum, int tage);

private:
    void Verleihen_Speichern(int nummer, const QString& an);
    bool Faellige_Vorhanden(const QDate& heute) const;

    store::Dataset& m_kassetten;
    store::Dataset& m_filme;
    store::Dataset& m_verliehen;
    Interaction& m_ui;
    const Clock& m_clock;
    std::function<int()> m_warnTage;
    Erinnerungsanzeige& m_anzeige;

    qint64 m_gemerkteKassette = 0; // between the before- and after-delete notifications
    Verleihknoepfe m_knoepfe;
    bool m_pruefungLaeuft = false;
};

} // namespace quorbel
