#pragma once

// The info page "&Info": the program's name, version and contact address, the buttons
// to the acknowledgements, the version history and the handbook, and the figures of the open
// collection (read again each time the page is shown).

#include <QWidget>
#include <extras/statistik.h>

class QLabel;
class QPushButton;

namespace store {
class Collection;
}

namespace quorbel {

class Clock;
class GenreDiagramm;
class Interaction;
class TDankformular;
class THistoryformular;

class Infoseite : public QWidget
{
    Q_OBJECT
public:
    Infoseite(store::Collection& collection, Clock& clock, Interaction& ui, QWidget* parent = nullptr);

    // Reads the figures again; the window calls it whenever the page comes to the front.
    void Seite_Gezeigt();
    const extras::Statistik& statistik() const { return m_statistik; }

private:
    store::Collection& m_collection;
    Clock& m_clock;
    extras::Statistik m_statistik;
    QPushButton* BitBtn_Dank;
    QPushButton* BitBtn_History;
    QPushButton* BitBtn_Handbuch;
    QLabel* Label_Statistik;
    GenreDiagramm* Diagramm_Genres;
    TDankformular* Dankformular;
    THistoryformular* Historyformular;
};

} // namespace quorbel
