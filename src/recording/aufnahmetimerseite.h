#pragma once

// The planner page "&Aufnahmetimer": the planned recordings, the buttons to add one and
// to mark one as recorded, and the free-space search with its result list; the dialog
// for a new recording.

#include <QDate>
#include <QStringList>
#include <QWidget>

class QListWidget;
class QPushButton;

namespace store {
class Collection;
class DatasetModel;
} // namespace store

namespace quorbel {

class Clock;
class DatasetGrid;
class Interaction;
class TForm_Aufnahmetimer;

class Aufnahmetimerseite : public QWidget
{
    Q_OBJECT
public:
    Aufnahmetimerseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                       QWidget* parent = nullptr);

    // After a collection was opened or created.
    void Nach_Oeffnen();
    // Reports passed recordings and reminds of coming ones.
    void Pruefe_Aufnahmen();
    // The day a new recording starts with.
    void setHeute(const QDate& heute);
    void setSender(const QStringList& sender);
    void setFreienPlatzSuchenMoeglich(bool moeglich);

private:
    store::Collection& m_sammlung;

    DatasetGrid* DBGrid_ATimer;
    QPushButton* BitBtn_NeuerFilm;
    QPushButton* BitBtn_Aufgenommen;
    QPushButton* BitBtn_FreienPlatzSuchen;
    QListWidget* ListBox_FreieKassetten;

    store::DatasetModel* DataSource_Aufnahmetimer;
    TForm_Aufnahmetimer* Form_Aufnahmetimer;
};

} // namespace quorbel
