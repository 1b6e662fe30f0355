#pragma once

// The main window: menu, clock, status bar and the host of the six pages; it runs the
// collection's lifecycle and the order of the checks. The pages own their controls and
// dialogs; the collection owns the datasets.

#include <QMainWindow>
#include <QStringList>
#include <app/programmorte.h>

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
class Einstellungsseite;
} // namespace settings

namespace store {
class Collection;
class Dataset;
} // namespace store

namespace quorbel {

class Aufnahmetimerseite;
class Clock;
class Dateiextras;
class Eingabeseite;
class Infoseite;
class Interaction;
class TDrucken_Formular;
class TForm_NeueVerwaltung;
class Uebersichtseite;
class Verleihseite;

class THauptformular : public QMainWindow
{
    Q_OBJECT
public:
    // `programDirectory` holds the `Lists` directory and becomes the current directory
    // when it can be written (else see Programmorte_Bestimmen); `settingsFile` is where
    // the settings are kept (empty: the platform's place).
    THauptformular(const QString& programDirectory, Interaction& ui, Clock& clock,
                   const QString& settingsFile = QString(), QWidget* parent = nullptr);
    // The same with the places already decided.
    THauptformular(const Programmorte& orte, Interaction& ui, Clock& clock,
                   const QString& settingsFile = QString(), QWidget* parent = nullptr);
    ~THauptformular() override;

    // --- Handlers of the window ------------------------------------------------------
    void FormActivate();
    bool FormCloseQuery(); // true: the window may close
    void PagecontrolChange();
    void Timer_UhrzeitTimer();
    void Programmbeenden1Click();
    // F1: the handbook at the section of the page in front (its start without a collection).
    void HandbuchZeigen();

    // --- Collections -------------------------------------------------------------------
    void Neu1Click();
    void ffnen1Click();
    void Schliessen_MenuClick();
    void Autostart();
    void Erstelle_NeueListe();
    // The list file named on the command line: the first activation opens it in place
    // of the autostart's.
    void Startliste_Setzen(const QString& listFilePath) { m_startliste = listFilePath; }
    // Position number of the dataset's current row (the collection's AktDS).
    int AktDS(store::Dataset& dataset) const;

    // --- Methods that the cassette, lending, recording and settings parts fill -----------
    void Refresh_Navigator();
    void Pruefe_Verliehene_Kassetten();
    void Pruefe_Aufnahmen();
    void Registry_Auslesen();
    void Speichere_Registry();
    void UpDateSpielzeiten();

    // --- Printing ------------------------------------------------------------------------
    // The overview's films in its order and filter, shown in the report preview.
    void filmlisteDrucken();
    // The label of the current cassette, shown in the report preview; the current film
    // stays current.
    void etikettDrucken();

    // --- State -------------------------------------------------------------------------
    QString programDirectory() const { return m_programDirectory; } // ends with a separator
    QString startDirectory() const { return m_startDirectory; }     // current after start-up
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
    // The settings page.
    QWidget* einstellungenSeite() const;
    // The collection that the window opens, creates and closes.
    store::Collection& collection() const { return *m_sammlung; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void Seiten_Aufbauen();
    void Handler_Verbinden();
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
    // A collection in the old table format is brought over first, when the user agrees;
    // false when it stays as it is and nothing is opened.
    bool Paradox_Umwandeln(const QString& listFilePath);
    void Liste_Zeigen();
    void Liste_Verbergen();
    void Datenmengen_Schliessen();
    void Pruefungen();
    void Fensterzustand(bool collectionShown);

    Interaction& m_ui;
    Clock& m_clock;
    store::Collection* m_sammlung = nullptr;

    // Frame of the window
    QMenu* Datei1;
    QAction* Neu1;
    QAction* ffnen1;
    QAction* Schliessen_Menu;
    QAction* Exportieren1;
    QAction* Sicherungerstellen1;
    QAction* ParadoxExportieren1;
    QAction* Programmbeenden1;
    QAction* Hilfe_Handbuch;
    QWidget* Hintergrund;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* Panel_Uhrzeit;
    QTabWidget* Pagecontrol;
    QStatusBar* StatusBar;
    QLabel* StatusBar_Panel0;
    QLabel* StatusBar_Panel1;
    QTimer* Timer_Uhrzeit;

    // The pages
    Eingabeseite* Tab_Eingabe = nullptr;
    Uebersichtseite* Tab_Uebersicht = nullptr;
    Verleihseite* Tab_Verleihmanager = nullptr;
    Aufnahmetimerseite* Tab_Aufnahmetimer = nullptr;
    settings::Einstellungsseite* Tab_Einstellungen = nullptr;
    Infoseite* TabSheet2 = nullptr;
    TForm_NeueVerwaltung* Form_NeueVerwaltung = nullptr;
    Dateiextras* m_dateiextras = nullptr;
    TDrucken_Formular* Drucken_Formular = nullptr;
    QString m_programDirectory;
    QString m_startDirectory;
    QString m_startliste;
    QString m_settingsFile;
    QString m_lastSeenDate;
    bool m_collectionOpen = false;
    bool m_firstActivation = true;
    bool m_pruefungenLaufen = false; // the loan and recording checks are running
    int m_checkRuns = 0;
    int m_settingsSaves = 0;
};

} // namespace quorbel
