#pragma once

// The loan page "&Verleihmanager": the list of lent cassettes, its sort order and the
// return button; lending from the input page and the overdue-loan reminders run
// through the page's lending rules, the reminders in the page's reminder window.

#include "verleihregeln.h"

#include <QWidget>
#include <functional>
#include <memory>

class QPushButton;

namespace store {
class Collection;
class DatasetModel;
} // namespace store

namespace quorbel {

class Clock;
class DatasetGrid;
class Interaction;
class Meldungsfenster;
class RadioGroup;
class TMeldungsformular;

class Verleihseite : public QWidget
{
    Q_OBJECT
public:
    // `warnTage` gives the setting Warnen_Nach_x_Tagen whenever it is needed.
    Verleihseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                 std::function<int()> warnTage, QWidget* parent = nullptr);
    ~Verleihseite() override;

    // After a collection was opened or created.
    void Nach_Oeffnen();
    // Reminds of overdue loans; does nothing while a check is already running.
    void Pruefe_Verliehene_Kassetten();
    bool pruefungLaeuft() const;

public slots:
    // Lends the input page's current cassette: its "&Verleihen" button asks for this
    // through the window.
    void aktuelleKassetteVerleihen();

public:
    // --- Handlers ------------------------------------------------------------------------
    void RadioGroup_Sortieren2Click(int item);
    void DBGrid_VerliehenDblClick();
    void BitBtn_ZurueckbekommenClick();

signals:
    // Whether the input page's current cassette may be lent, after lending or taking back.
    void verleihenMoeglich(bool moeglich);
    // The current loan's cassette is now the current cassette: show it on the input page.
    void kassetteZeigen();
    // A reminder is about to open: show this page behind it.
    void verleihmanagerZeigen();

private:
    void Knoepfe_Setzen(const Verleihknoepfe& knoepfe);
    // Runs a lending or taking back and applies the buttons it leaves, also on failure.
    void Mit_Knoepfen(const std::function<Verleihknoepfe()>& aktion);

    DatasetGrid* DBGrid_Verliehen;
    RadioGroup* RadioGroup_Sortieren2;
    QPushButton* BitBtn_Zurueckbekommen;

    store::DatasetModel* DataSource_Ausgeliehen;
    TMeldungsformular* Meldungsformular;
    std::unique_ptr<Meldungsfenster> m_erinnerung;
    std::unique_ptr<Verleihregeln> m_regeln;
};

} // namespace quorbel
