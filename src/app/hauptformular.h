#pragma once

// The main window: menu, clock, status bar and the six pages; owner of the five
// datasets, the eight statement runners and every dialog of the program.

#include "radiogroup.h"

#include <QMainWindow>
#include <QStringList>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <store/query.h>

class QAction;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;

namespace settings {
class SettingsController;
}

namespace quorbel {

class Clock;
class Eingabeseite;
class Interaction;
class TDankformular;
class TDrucken_Formular;
class TFilminfoformular;
class TForm_Aufnahmetimer;
class TForm_NeueVerwaltung;
class THinzufuegenformular;
class THistoryformular;
class TMeldungsformular;
class TSpielzeit_Formular;

class THauptformular : public QMainWindow
{
    Q_OBJECT
public:
    // `programDirectory` holds the `Lists` directory and becomes the current directory;
    // `settingsFile` is where the settings are kept (empty: the platform's place).
    THauptformular(const QString& programDirectory, Interaction& ui, Clock& clock,
                   const QString& settingsFile = QString(), QWidget* parent = nullptr);
    ~THauptformular() override;

    // --- Handlers of the window ------------------------------------------------------
    void FormActivate();
    bool FormCloseQuery(); // true: the window may close
    void PagecontrolChange();
    void Timer_UhrzeitTimer();
    void Programmbeenden1Click();

    // --- Collections -------------------------------------------------------------------
    void Neu1Click();
    void ffnen1Click();
    void Schliessen_MenuClick();
    void Autostart();
    void Erstelle_NeueListe();
    // Position number of the dataset's current row: 1 for the first row, the record
    // count for the last, 0 when the dataset is empty.
    int AktDS(store::Dataset& dataset) const;

    // --- Methods that the cassette, lending, recording and settings parts fill -----------
    void Refresh_Navigator();
    void Pruefe_Verliehene_Kassetten();
    void Pruefe_Aufnahmen();
    void Registry_Auslesen();
    void Speichere_Registry();
    void UpDateSpielzeiten();

    // --- State -------------------------------------------------------------------------
    QString programDirectory() const { return m_programDirectory; } // ends with a separator
    QString settingsFile() const { return m_settingsFile; }
    Interaction& ui() const { return m_ui; }
    const Clock& clock() const { return m_clock; }
    bool collectionOpen() const { return m_collectionOpen; }
    bool firstActivationPending() const { return m_firstActivation; }
    QString lastSeenDate() const { return m_lastSeenDate; }
    // The settings were changed and not saved: quitting offers to save them.
    bool settingsChanged() const;
    // The list file opened at the first activation, or "Deaktiviert".
    QString autostartSetting() const;
    // How often the loan and recording checks ran, and how often the settings were
    // saved on quitting; for the status of the window.
    int checkRuns() const { return m_checkRuns; }
    int settingsSaves() const { return m_settingsSaves; }
    // The background while no collection is open: grey; else the button face.
    QColor backgroundColor() const;
    // The page that the settings part fills.
    QWidget* einstellungenSeite() const { return Tab_Einstellungen; }
    // The genre choices of the film grid: the built-in list until the genre file is read.
    QStringList genrePickList;

    // --- Controls of the window ----------------------------------------------------------
    QMenuBar* Hauptmenu;
    QMenu* Datei1;
    QAction* Neu1;
    QAction* ffnen1;
    QAction* Schliessen_Menu;
    QAction* Programmbeenden1;
    QWidget* Hintergrund;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* Panel_Uhrzeit;
    QTabWidget* Pagecontrol;
    QStatusBar* StatusBar;
    QLabel* StatusBar_Panel0;
    QLabel* StatusBar_Panel1;
    QTimer* Timer_Uhrzeit;

    // Page "&Eingabe"
    QWidget* Tab_Eingabe;
    QFrame* Bevel_Kassettennummer;
    QLabel* Image_Hintergrund;
    QLabel* DBText_Kassette;
    QPushButton* BitBtn_NeueKassette;
    QToolButton* BitBtn_Erste;
    QToolButton* BitBtn_Vorherige;
    QToolButton* BitBtn_Naechste;
    QToolButton* BitBtn_Letzte;
    QGroupBox* GroupBox_Direkt;
    QLineEdit* Edit_Direkt;
    QTableView* DBGrid_Filme;
    QPushButton* BitBtn_Filmloeschen;
    QFrame* Panel1;
    QLineEdit* DBEdit_SpielzeitInfo;
    QLineEdit* DBEdit_FreiInfo;
    QPushButton* BitBtn_SpielzeitAendern;
    QPushButton* BitBtn_Verleihen;
    QPushButton* BitBtn_Labeldrucken;
    QGroupBox* GroupBox_Nonvisible;

    // Page "&Filmübersicht"
    QWidget* Tab_Uebersicht;
    QTableView* DBGrid_Filmuebersicht;
    QPushButton* BitBtn_Drucken;
    QGroupBox* GroupBox_Suchen;
    QLineEdit* Edit_Suchen;
    RadioGroup* RadioGroup_Sortieren;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButton_AlleFilme;
    QRadioButton* RadioButton_NeueFilme;
    QDateEdit* DateTimePicker_Filter;

    // Page "&Verleihmanager"
    QWidget* Tab_Verleihmanager;
    QTableView* DBGrid_Verliehen;
    RadioGroup* RadioGroup_Sortieren2;
    QPushButton* BitBtn_Zurueckbekommen;

    // Page "&Aufnahmetimer"
    QWidget* Tab_Aufnahmetimer;
    QTableView* DBGrid_ATimer;
    QPushButton* BitBtn_NeuerFilm;
    QPushButton* BitBtn_Aufgenommen;
    QPushButton* BitBtn_FreienPlatzSuchen;
    QListWidget* ListBox_FreieKassetten;

    // Page "Ei&nstellungen", filled by the settings part
    QWidget* Tab_Einstellungen;

    // Page "&Info"
    QWidget* TabSheet2;
    QPushButton* BitBtn_Dank;
    QPushButton* BitBtn_History;

    // --- Datasets and statement runners ------------------------------------------------------
    store::Dataset* Table_Kassetten;
    store::Dataset* Table_Filme;
    store::Dataset* Table_Filmuebersicht;
    store::Dataset* Table_Verliehen;
    store::Dataset* Table_Aufnahmetimer;
    // The grids' views of the datasets.
    store::DatasetModel* DataSource_Filme;
    store::DatasetModel* DataSource_Filmuebersicht;
    store::DatasetModel* DataSource_Ausgeliehen;
    store::DatasetModel* DataSource_Aufnahmetimer;
    store::Query Query_Kass, Query_Filme, Query_Ausgeliehen, Query_ATimer;
    store::Query SQLKass, SQLFilme, SQLAtimer, SQLAusgeliehen;

    // --- Settings and vocabulary lists, with the controls of the settings page ------------
    settings::SettingsController* Einstellungsverwaltung = nullptr;

    // --- Dialogs, each created once --------------------------------------------------------
    TDrucken_Formular* Drucken_Formular = nullptr;
    TMeldungsformular* Meldungsformular = nullptr;
    TForm_Aufnahmetimer* Form_Aufnahmetimer = nullptr;
    TDankformular* Dankformular = nullptr;
    THistoryformular* Historyformular = nullptr;
    TForm_NeueVerwaltung* Form_NeueVerwaltung = nullptr;
    THinzufuegenformular* Hinzufuegenformular = nullptr;
    TSpielzeit_Formular* Spielzeit_Formular = nullptr;
    TFilminfoformular* Filminfoformular = nullptr;

    // The input page's handlers: cassettes, the film grid and its rules.
    Eingabeseite* Eingabe = nullptr;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void Seiten_Aufbauen();
    void Seite_Eingabe();
    void Seite_Uebersicht();
    void Seite_Verleihmanager();
    void Seite_Aufnahmetimer();
    void Seite_Info();
    void Handler_Verbinden();
    void Dialoge_Erstellen();
    void Datenmengen_Einrichten();
    void Gitter_Binden(QTableView* grid, store::DatasetModel* model);
    void Kassette_Anzeigen();
    void Listenverzeichnis_Anlegen();

    // Steps that the settings and vocabulary parts fill.
    void Einstellungsseite_Aufbauen();
    void Schriftarten_Einlesen();
    void Genreliste_Laden();
    void Programmliste_Laden();
    void Spielzeitenliste_Laden();

    QString Uhrzeit_Text() const;
    QString Heute_Text() const;
    void Liste_Oeffnen(const QString& listFilePath);
    void Liste_Laden(const QString& listFilePath);
    void Liste_Zeigen();
    void Liste_Verbergen();
    void Datenmengen_Schliessen();
    void Pruefungen();
    void Fensterzustand(bool collectionShown);

    Interaction& m_ui;
    Clock& m_clock;
    QString m_programDirectory;
    QString m_settingsFile;
    QString m_lastSeenDate;
    bool m_collectionOpen = false;
    bool m_firstActivation = true;
    int m_checkRuns = 0;
    int m_settingsSaves = 0;
};

} // namespace quorbel
