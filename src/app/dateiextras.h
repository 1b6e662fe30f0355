#pragma once

// The entries "&Exportieren…", "&Sicherung erstellen…" and "Als &Paradox-Tabellen
// exportieren…" of the file menu: the dialogs around extras::Export,
// store::Collection::sicherungErstellen and store::umwandlung::exportieren.

#include <QDialog>
#include <QObject>

class QRadioButton;
class QPushButton;

namespace store {
class Collection;
}

namespace quorbel {

class Interaction;

// What to export: the overview as shown, or all four tables.
class TExportformular : public QDialog
{
    Q_OBJECT
public:
    explicit TExportformular(QWidget* parent = nullptr);
    bool tabellen() const;

private:
    QRadioButton* RadioButton_Filmuebersicht;
    QRadioButton* RadioButton_Tabellen;
    QPushButton* BitBtn_ExportOK;
    QPushButton* BitBtn_ExportAbbruch;
};

class Dateiextras : public QObject
{
    Q_OBJECT
public:
    Dateiextras(store::Collection& collection, Interaction& ui, QWidget* window);

    void Exportieren1Click();
    void Sicherung1Click();
    void ParadoxExportieren1Click();

    TExportformular& exportformular() { return *Exportformular; }

private:
    // Pending rows are stored by the usual rules first, so that files hold what the
    // user sees.
    void Offene_Zeilen_Speichern();
    store::Collection& m_collection;
    Interaction& m_ui;
    TExportformular* Exportformular;
};

} // namespace quorbel
