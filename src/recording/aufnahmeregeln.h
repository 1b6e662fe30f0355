#pragma once

// The rules of the recording planner: the length of a recording, new entries, the
// removal of a recorded entry and the check that reports missed recordings and
// reminds of coming ones. No widgets: the page passes in what it shows through the
// hooks below.

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>

namespace store {
class Dataset;
}
namespace settings {
struct Einstellungen;
}

namespace quorbel {

class Clock;
class Interaction;
class TForm_Aufnahmetimer;

// Minutes from `beginn` to `ende`, counted forward across midnight; equal times give 0.
// Seconds are ignored. An invalid time counts as 00:00.
int Berechne_Filmdauer(const QTime& beginn, const QTime& ende);

// One planned recording as the dialog hands it over.
struct Aufnahme
{
    QString Filmname;
    QString Programm;
    QDate Datum;
    QTime Beginn;
    QTime Ende;
};

class Aufnahmeregeln
{
public:
    // `einstellungen` is read at every check, so later changes of the settings count.
    Aufnahmeregeln(store::Dataset& aufnahmetimer, Interaction& ui, const Clock& clock,
                   const settings::Einstellungen& einstellungen);

    // Brings the planner page to the front (before a report or a reminder).
    std::function<void()> zeigeSeite;
    // Enables or disables the button "Film aufgenommen".
    std::function<void(bool)> setzeAufgenommen;

    // Shows the dialog; on OK stores the new entry. The dialog is cleared afterwards.
    void BitBtn_NeuerFilmClick(TForm_Aufnahmetimer& dialog);
    // Appends one entry (reminders on, length from the two times).
    void Eintragen(const Aufnahme& aufnahme);
    // Deletes the current entry without asking.
    void BitBtn_AufgenommenClick();
    // Reports and deletes missed recordings and reminds of those close at hand.
    void Pruefe_Aufnahmen();
    // "Film aufgenommen" is usable exactly while entries exist.
    void Setze_Aufgenommen();

    static QString Verpasst_Text(const QDate& datum, const QTime& beginn, const QString& filmname);
    static QString Erinnerung_Text(bool heute, const QDate& datum, const QTime& beginn,
                                   const QString& programm, const QString& filmname);

private:
    // Whether any entry is missed or due for a reminder by `heute` (a cheap count; the
    // walk decides on the exact moment).
    bool Etwas_Faellig(const QDate& heute) const;

    store::Dataset& m_timer;
    Interaction& m_ui;
    const Clock& m_clock;
    const settings::Einstellungen& m_einstellungen;
    bool m_pruefungLaeuft = false;
};

} // namespace quorbel
