#pragma once

// The overview page "&Filmübersicht": the read-only list of all films with its search,
// sort and date-filter controls and the print button. What the list shows (order,
// search text, filter) lives in the page's Uebersichtzustand.

#include "uebersichtzustand.h"

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

class Uebersichtseite : public QWidget
{
    Q_OBJECT
public:
    Uebersichtseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                    QWidget* parent = nullptr);

    // The page is shown: the list is read again.
    void Seite_Gezeigt();
    // A collection was opened (also while the page is shown): the print button follows
    // its films.
    void Nach_Oeffnen();
    // The filter date while the overview shows only the films entered since it (its
    // date picker is shown), else nothing.
    std::optional<QDate> Filterdatum() const;

    // Order, search text and filter of the list, for the printout.
    const Uebersichtzustand& zustand() const { return m_zustand; }

    // --- Handlers ------------------------------------------------------------------------------
    void RadioGroup_SortierenClick();
    void Edit_SuchenChange(const QString& text);
    void RadioButton_AlleFilmeClick();
    void RadioButton_NeueFilmeClick();
    void DateTimePicker_FilterChange();
    void DBGrid_FilmuebersichtDblClick();

signals:
    // The user asked to print the list as it is shown.
    void druckenAngefordert();
    // The user jumped from a film to its cassette (the cassette's number).
    void kassetteZeigen(int nummer);

private:
    void Handler_Verbinden();
    void Druckknopf_Setzen();
    void Film_Sichtbar();

    store::Collection& m_sammlung;
    Interaction& m_ui;
    Uebersichtzustand m_zustand;

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
};

} // namespace quorbel
