#pragma once

// The overview page "&Filmübersicht": the read-only list of all films with its search,
// sort and date-filter controls and the print button.

#include <QDate>
#include <QWidget>
#include <optional>

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace store {
class Collection;
class DatasetModel;
} // namespace store

namespace quorbel {

class Clock;
class DatasetGrid;
class Interaction;
class RadioGroup;
class TDrucken_Formular;

class Uebersichtseite : public QWidget
{
    Q_OBJECT
public:
    Uebersichtseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                    QWidget* parent = nullptr);

    // The page is shown: the list is read again.
    void Seite_Gezeigt();
    // The filter date while the overview shows only the films entered since it (its
    // date picker is shown), else nothing.
    std::optional<QDate> Filterdatum() const;

signals:
    // "Filmliste aus&drucken" was clicked: the window prints the overview.
    void druckenAngefordert();

private:
    store::Collection& m_sammlung;

    DatasetGrid* DBGrid_Filmuebersicht;
    QPushButton* BitBtn_Drucken;
    QGroupBox* GroupBox_Suchen;
    QLineEdit* Edit_Suchen;
    RadioGroup* RadioGroup_Sortieren;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButton_AlleFilme;
    QRadioButton* RadioButton_NeueFilme;
    QDateEdit* DateTimePicker_Filter;

    store::DatasetModel* DataSource_Filmuebersicht;
    TDrucken_Formular* Drucken_Formular;
};

} // namespace quorbel
