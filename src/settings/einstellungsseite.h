#pragma once

// The settings page "Ei&nstellungen": five sub-pages (general options, extra play lengths
// and autostart, the film list printout, the cassette label, the genre and station
// lists) with the save and import buttons. The page owns its controls, the font dialog
// and the label sub-page; the settings record, the key and the vocabulary lists live in
// its rules, Einstellungsregeln. The rest of the program hears of changes through the
// signals below and reads the settings through einstellungen().
//
// Use from the main window: create it at window creation, connect its signals, then call
// Lade_Genreliste(). At the first activation call Lade_Senderliste(),
// Lade_Spielzeitenliste(), Registry_Auslesen() and, after the recording dialog's date,
// Setze_Listenmarken_Zurueck(); the autostart follows from einstellungen().Autostart.
// When closing, settingsChanged() decides the save question, whose yes runs
// Speichere_Registry() through quorbel::guarded().

#include "einstellungsregeln.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace quorbel {
class Interaction;
}

namespace settings {

class Etikettendruckseite;
class TSchriftartenformular;

class Einstellungsseite : public QWidget
{
    Q_OBJECT
public:
    // `programDir` ends with a separator; `key` is the settings key (the platform's
    // place when null); `fonts` gives the font faces that count as installed (the
    // platform's faces when empty).
    Einstellungsseite(quorbel::Interaction& ui, const QString& programDir, std::unique_ptr<KeyStore> key,
                      std::function<QStringList()> fonts = {}, QWidget* parent = nullptr);
    ~Einstellungsseite() override;

    // --- For the main window ----------------------------------------------------------------
    // At window creation.
    void Lade_Genreliste();
    // At the first activation, before Registry_Auslesen.
    void Lade_Senderliste();
    void Lade_Spielzeitenliste();
    // At the end of the first activation: the lists count as unchanged.
    void Setze_Listenmarken_Zurueck();
    // Both play-length dialogs get the built-in lengths plus the extra ones, in text order.
    void UpDateSpielzeiten();
    // Once, at the first activation, after the station and play-length lists.
    void Registry_Auslesen();
    // Saves the key and the changed lists. A value of the key that cannot be written
    // throws store::Error ("Konnte Daten für '...' nicht setzen"); call it through
    // quorbel::guarded(). So does a day field holding text that is no whole number, and a
    // key file that this run must leave untouched. The settings then stay marked as changed.
    void Speichere_Registry();
    void Einstellungen_Sichern_Ein();
    const Einstellungen& einstellungen() const { return m_regeln.einstellungen(); }
    bool settingsChanged() const { return m_regeln.settingsChanged(); }
    QStringList installierteSchriftarten() const { return m_regeln.installierteSchriftarten(); }

    // --- Handlers ------------------------------------------------------------------------------
    void BitBtn_Dazu1Click();
    void BitBtn_Weg1Click();
    void BitBtn_Dazu2Click();
    void BitBtn_Weg2Click();
    void BitBtn_ZeitDazuClick();
    void BitBtn_ZeitWegClick();
    void BitBtn_EinstellungenSpeichernClick();
    // Takes the settings from a registry export the user chooses (see registryimport.h)
    // onto the page and marks them as changed; the key is written by the next save only.
    // A file that is refused changes nothing.
    void BitBtn_EinstellungenImportierenClick();
    void CheckBox_TipAnzeigenClick();
    void CheckBox_NulllaengeClick();
    void CheckBox_NummerClick();
    void CheckBox_NummerFettClick();
    void CheckBox_FilmanzahlClick();
    void Edit_TageWarnenExit();
    void Edit_AufnahmeTageWarnenExit();
    void Edit_DrucktitelExit();
    void Button_SchriftArtKassettennummerClick();
    void Button_DruckfontClick();
    void Button_Schriftart_UeberschriftenClick();
    void Button_Schriftart_ListenElementeClick();
    void Button_AutostartClick();
    void BitBtn_KeinAutoClick();

    Einstellungsregeln& regeln() { return m_regeln; }
    Etikettendruckseite& etikettendruck() const { return *m_etikettendruck; }

signals:
    // The genre pick list of the film grid.
    void genresChanged(const QStringList& genres);
    // The station choice of the recording dialog.
    void stationsChanged(const QStringList& stations);
    // The entries of the new-cassette and the change-play-length dialogs.
    void playLengthsChanged(const QStringList& entries);
    // The face of the cassette-number display.
    void kassettennummerFontChanged(const QString& face);
    // The film list report: its title line, the title's face, the column headers' face,
    // the row fields' face.
    void filmListTitleChanged(const QString& title);
    void filmListTitleFontChanged(const QString& face);
    void columnHeaderFontChanged(const QString& face);
    void listElementFontChanged(const QString& face);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Liste = Einstellungsregeln::Liste;
    using Feld = Einstellungsregeln::Feld;
    using Schalter = Einstellungsregeln::Schalter;
    using Schrift = Einstellungsregeln::Schrift;

    void Aufbauen();
    QWidget* Allgemein_Aufbauen();
    QWidget* Allgemein2_Aufbauen();
    QWidget* DruckOptionen_Aufbauen();
    QWidget* Editoren_Aufbauen();
    void Handler_Verbinden();

    // The page shows what the rules hold.
    void Einstellungen_Zeigen();
    void Felder_Zeigen();
    void Autostart_Zeigen();
    // Takes over what is typed in the fields, and shows what that left, also on failure.
    void Felder_Uebernehmen();
    void Eintrag_Einfuegen(Liste liste);
    void Eintrag_Entfernen(Liste liste);
    void Listen_Melden(Liste liste);
    QListWidget* listenfeld(Liste liste) const;
    QPushButton* entfernenKnopf(Liste liste) const;
    QLineEdit* feld(Feld feld) const;
    void Feld_Verlassen(Feld feld);
    void Schalter_Geklickt(Schalter schalter, QCheckBox* box);
    void Schriftart_Waehlen(Schrift schrift);
    void Schrift_Melden(Schrift schrift);

    quorbel::Interaction& m_ui;
    Einstellungsregeln m_regeln;

    QTabWidget* PageControl_Einstellungen = nullptr;
    QWidget* Tab_AllgemeineOptionen = nullptr;
    QWidget* TabSheet_Allgemein2 = nullptr;
    QWidget* Tab_DruckOptionen = nullptr;
    QWidget* Tab_Etikettendruck = nullptr;
    QWidget* Tab_Editoren = nullptr;
    QPushButton* BitBtn_EinstellungenSpeichern = nullptr;
    QPushButton* BitBtn_EinstellungenImportieren = nullptr;
    QListWidget* Stat_Zeiten = nullptr;

    QCheckBox* CheckBox_TipAnzeigen = nullptr;
    QCheckBox* CheckBox_Nulllaenge = nullptr;
    QPushButton* Button_SchriftArtKassettennummer = nullptr;
    QLineEdit* Edit_TageWarnen = nullptr;
    QLineEdit* Edit_AufnahmeTageWarnen = nullptr;

    QListWidget* ListBox_Spielzeiten = nullptr;
    QPushButton* BitBtn_ZeitDazu = nullptr;
    QPushButton* BitBtn_ZeitWeg = nullptr;
    QLineEdit* Edit_Autostart = nullptr;
    QPushButton* Button_Autostart = nullptr;
    QPushButton* BitBtn_KeinAuto = nullptr;

    QLineEdit* Edit_Drucktitel = nullptr;
    QPushButton* Button_Druckfont = nullptr;
    QPushButton* Button_Schriftart_Ueberschriften = nullptr;
    QPushButton* Button_Schriftart_ListenElemente = nullptr;
    QCheckBox* CheckBox_Nummer = nullptr;
    QCheckBox* CheckBox_NummerFett = nullptr;
    QCheckBox* CheckBox_Filmanzahl = nullptr;

    QListWidget* ListBox_Genre = nullptr;
    QPushButton* BitBtn_Dazu1 = nullptr;
    QPushButton* BitBtn_Weg1 = nullptr;
    QListWidget* ListBox_Programme = nullptr;
    QPushButton* BitBtn_Dazu2 = nullptr;
    QPushButton* BitBtn_Weg2 = nullptr;

    TSchriftartenformular* Schriftartenformular = nullptr;
    Etikettendruckseite* m_etikettendruck = nullptr;
};

} // namespace settings
