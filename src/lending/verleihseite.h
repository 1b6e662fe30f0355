#pragma once

// The loan page "&Verleihmanager": the list of lent cassettes, its sort order and the
// return button; the overdue-loan reminder dialog.

#include <QWidget>

class QPushButton;

namespace store {
class Collection;
class DatasetModel;
} // namespace store

namespace quorbel {

class DatasetGrid;
class Interaction;
class RadioGroup;
class TMeldungsformular;

class Verleihseite : public QWidget
{
    Q_OBJECT
public:
    Verleihseite(store::Collection& sammlung, Interaction& ui, QWidget* parent = nullptr);

    // After a collection was opened or created.
    void Nach_Oeffnen();
    // Reminds of overdue loans.
    void Pruefe_Verliehene_Kassetten();

private:
    store::Collection& m_sammlung;

    DatasetGrid* DBGrid_Verliehen;
    RadioGroup* RadioGroup_Sortieren2;
    QPushButton* BitBtn_Zurueckbekommen;

    store::DatasetModel* DataSource_Ausgeliehen;
    TMeldungsformular* Meldungsformular;
};

} // namespace quorbel
