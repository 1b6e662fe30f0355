#pragma once

// The planner page "&Aufnahmetimer": the planned recordings, the buttons to add one and
// to mark one as recorded, and the free-space search with its result list; the dialog
// for a new recording.

#include <QDate>
#include <QStringList>
#include <QWidget>
#include <memory>

class QListWidget;
class QPushButton;

namespace store {
class Collection;
class DatasetModel;
} // namespace store
namespace settings {
struct Einstellungen;
}

namespace quorbel {

class Aufnahmeregeln;
class Clock;
class DatasetGrid;
class FreierPlatz;
class Interaction;
class TForm_Aufnahmetimer;

class Aufnahmetimerseite : public QWidget
{
    Q_OBJECT
public:
    Aufnahmetimerseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                       QWidget* parent = nullptr);
    ~Aufnahmetimerseite() override;

    // The settings that the check and the search read; they are read at every use.
    // The page's buttons work only once this was called.
    void setEinstellungen(const settings::Einstellungen& einstellungen);

    // After a collection was opened or created.
    void Nach_Oeffnen();
    // Reports passed recordings and reminds of coming ones.
    void Pruefe_Aufnahmen();
    // The day a new recording starts with.
    void setHeute(const QDate& heute);
    void setSender(const QStringList& sender);
    void setFreienPlatzSuchenMoeglich(bool moeglich);

    // Handlers of the page's buttons.
    void BitBtn_NeuerFilmClick();
    void BitBtn_AufgenommenClick();
    void BitBtn_FreienPlatzSuchenClick();

signals:
    // The page wants to be seen (before a report or a reminder of the check).
    void zeigeMich();

private:
    // Enter on the page presses the default button, unless another button has the focus.
    void Eingabetaste();

    store::Collection& m_sammlung;
    Interaction& m_ui;
    const Clock& m_clock;
    std::unique_ptr<Aufnahmeregeln> m_regeln;
    std::unique_ptr<FreierPlatz> m_freierPlatz;

    DatasetGrid* DBGrid_ATimer;
    QPushButton* BitBtn_NeuerFilm;
    QPushButton* BitBtn_Aufgenommen;
    QPushButton* BitBtn_FreienPlatzSuchen;
    QListWidget* ListBox_FreieKassetten;

    store::DatasetModel* DataSource_Aufnahmetimer;
    TForm_Aufnahmetimer* Form_Aufnahmetimer;
};

} // namespace quorbel
