#pragma once

#include "einstellungen.h"
#include "keystore.h"

#include <ui/interaction.h>

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;

namespace settings {

class TSchriftartenformular;

// The settings and the vocabulary lists of the main window: it loads and saves the
// settings key and the three list files, builds the controls of the settings page into
// the page it is given, and runs their handlers. The rest of the program hears of
// changes through the signals below and reads the settings through einstellungen().
//
// Use from the main window: create it at window creation with the empty settings page,
// connect its signals, then call Lade_Genreliste(). At the first activation call
// Lade_Senderliste(), Lade_Spielzeitenliste(), Registry_Auslesen() and, after the
// recording dialog's date, Setze_Listenmarken_Zurueck(); the autostart follows from
// einstellungen().Autostart. When closing, settingsChanged() decides the save question,
// whose yes runs Speichere_Registry() through quorbel::guarded().
class SettingsController : public QObject
{
    Q_OBJECT
public:
    // The installed font faces (the real program passes QFontDatabase::families()).
    using FontList = std::function<QStringList()>;

    // `programDir` is the program directory ending in a separator; the lists live in its
    // "Lists" directory. `page` is the empty settings page `Tab_Einstellungen`; the controls
    // are created in it. `store` is the settings key (KeyStore::createDefault() when null).
    SettingsController(quorbel::Interaction& ui, QString programDir, QWidget* page, FontList fonts,
                       std::unique_ptr<KeyStore> store = nullptr, QObject* parent = nullptr);
    ~SettingsController() override;

    // --- Vocabulary lists -------------------------------------------------------------
    // At window creation.
    void Lade_Genreliste();
    // At the first activation, before Registry_Auslesen.
    void Lade_Senderliste();
    void Lade_Spielzeitenliste();
    // At the end of the first activation: the lists count as unchanged.
    void Setze_Listenmarken_Zurueck();
    // Both play-length dialogs get the built-in lengths plus the extra ones, in text order.
    void UpDateSpielzeiten();

    void BitBtn_Dazu1Click();
    void BitBtn_Weg1Click();
    void BitBtn_Dazu2Click();
    void BitBtn_Weg2Click();
    void BitBtn_ZeitDazuClick();
    void BitBtn_ZeitWegClick();

    // --- Settings store ---------------------------------------------------------------
    // Once, at the first activation, after the station and play-length lists.
    void Registry_Auslesen();
    // Saves the key and the changed lists. A value of the key that cannot be written
    // throws store::Error ("Konnte Daten für '...' nicht setzen"); call it through
    // quorbel::guarded(). So does a day field holding text that is no whole number, and a
    // key file that this run must leave untouched. The settings then stay marked as changed.
    void Speichere_Registry();
    void Einstellungen_Sichern_Ein();
    void BitBtn_EinstellungenSpeichernClick();
    // Takes the settings from a registry export the user chooses (see registryimport.h)
    // onto the page and marks them as changed; the key is written by the next save only.
    // A file that is refused changes nothing.
    void BitBtn_EinstellungenImportierenClick();

    // --- Settings page ----------------------------------------------------------------
    void CheckBox_TipAnzeigenClick();
    void CheckBox_NulllaengeClick();
    void CheckBox_NummerClick();
    void CheckBox_NummerFettClick();
    void CheckBox_FilmanzahlClick();
    // Both day fields: a typed character other than a digit or backspace becomes none.
    void Edit_TageWarnenKeyPress(QChar& key);
    void Edit_TageWarnenChange();
    void Edit_AufnahmeTageWarnenChange();
    void Edit_DrucktitelChange();
    void Edit_TageWarnenExit();
    void Edit_AufnahmeTageWarnenExit();
    void Edit_DrucktitelExit();
    void Button_SchriftArtKassettennummerClick();
    void Button_DruckfontClick();
    void Button_Schriftart_UeberschriftenClick();
    void Button_Schriftart_ListenElementeClick();
    void Button_AutostartClick();
    void BitBtn_KeinAutoClick();

    // --- For the cassette-label settings sub-page -------------------------------------
    // Its page; the label settings controls are placed in it.
    QWidget* etikettendruckSeite() const;
    // Change one label setting and mark the settings as changed. `filme` is 1 to 4; the
    // spread of one film stays 0.
    void setzeEtikettSchriftgroesse(int filme, qint32 groesse);
    void setzeEtikettAusrichtung(int filme, qint32 ausrichtung);
    void setzeSchriftartDerEtiketten(const QString& face);
    QStringList installierteSchriftarten() const { return m_fonts(); }

    // --- State ------------------------------------------------------------------------
    const Einstellungen& einstellungen() const { return m_einstellungen; }
    bool settingsChanged() const { return m_settingsChanged; }
    bool genresChangedFlag() const { return m_genresChanged; }
    bool stationsChangedFlag() const { return m_stationsChanged; }
    bool playLengthsChangedFlag() const { return m_playLengthsChanged; }
    QStringList genres() const;
    QStringList stations() const;
    QStringList extraPlayLengths() const;
    // The entries of both play-length dialogs, as UpDateSpielzeiten() set them.
    const QStringList& playLengths() const { return m_playLengths; }

    QString listPath(QLatin1StringView fileName) const;

    // The controls, named as on the page.
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
    // The settings were loaded; the label settings sub-page fills its controls now.
    void settingsLoaded(const settings::Einstellungen& einstellungen);
    // The settings-changed flag was set or cleared.
    void settingsChangedFlag(bool changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPage(QWidget* page);
    QWidget* buildAllgemein();
    QWidget* buildAllgemein2();
    QWidget* buildDruckOptionen();
    QWidget* buildEditoren();
    void connectHandlers();

    void setSettingsChanged(bool changed);
    void readKey(KeyStore& key);
    void writeAllValues(KeyStore& key, const QString& autostart);
    void pruefeSchriftarten();
    void fillControls();
    void zeigeEinstellungen();
    void commitPendingFields();

    bool addVocabularyEntry(QListWidget* list, const QString& caption, const QString& prompt);
    void removeSelectedEntry(QListWidget* list);
    bool entryFitsListFile(const QString& entry);
    void saveList(QListWidget* list, QLatin1StringView fileName);
    static void setListEntries(QListWidget* list, QStringList entries);
    static QStringList listEntries(const QListWidget* list);

    bool leaveDayField(QLineEdit* edit, const QString& emptyText, qint32& target);
    void chooseFont(QString& setting, void (SettingsController::*changed)(const QString&));

    quorbel::Interaction& m_ui;
    QString m_programDir;
    FontList m_fonts;
    std::unique_ptr<KeyStore> m_store;
    Einstellungen m_einstellungen;
    QStringList m_playLengths;
    bool m_settingsChanged = false;
    bool m_genresChanged = false;
    bool m_stationsChanged = false;
    bool m_playLengthsChanged = false;
};

} // namespace settings
