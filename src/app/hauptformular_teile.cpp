// Steps of the main window that belong to the cassette, lending, recording and
// settings parts of the program. The window calls each of them at its moment
// (window creation, first activation, opening a collection, the clock's change of
// day, quitting); the parts put their work here.

#include "hauptformular.h"

#include <catalogue/eingabeseite.h>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/spielzeitformular.h>
#include <recording/aufnahmetimerformular.h>
#include <settings/keystore.h>
#include <settings/settingscontroller.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>

#include <memory>

namespace quorbel {

// Window creation: the settings and vocabulary lists build the controls of the settings
// page into Tab_Einstellungen; the rest of the window hears of their changes here.
void THauptformular::Einstellungsseite_Aufbauen()
{
    std::unique_ptr<settings::KeyStore> key;
    if (!m_settingsFile.isEmpty())
        key = std::make_unique<settings::FileKeyStore>(m_settingsFile);
    Einstellungsverwaltung = new settings::SettingsController(
        m_ui, m_programDirectory, Tab_Einstellungen, [] { return QFontDatabase::families(); },
        std::move(key), this);
    settings::SettingsController* s = Einstellungsverwaltung;
    connect(s, &settings::SettingsController::genresChanged, this,
            [this](const QStringList& genres) { genrePickList = genres; });
    connect(s, &settings::SettingsController::stationsChanged, this, [this](const QStringList& stations) {
        if (Form_Aufnahmetimer) {
            Form_Aufnahmetimer->ComboBox_Programme->clear();
            Form_Aufnahmetimer->ComboBox_Programme->addItems(stations);
        }
    });
    connect(s, &settings::SettingsController::playLengthsChanged, this, [this](const QStringList& entries) {
        if (Hinzufuegenformular)
            Hinzufuegenformular->setSpielzeiten(entries);
        if (Spielzeit_Formular)
            Spielzeit_Formular->setSpielzeiten(entries);
    });
    connect(s, &settings::SettingsController::kassettennummerFontChanged, this, [this](const QString& face) {
        QFont f = DBText_Kassette->font();
        f.setFamily(face);
        DBText_Kassette->setFont(f);
    });
}

// Window creation: the label-font choice is filled with the installed fonts by the
// label-printing settings.
void THauptformular::Schriftarten_Einlesen() {}

// Window creation: "Lists/genre.qb" into the genre list and the film grid's pick list;
// on failure the built-in genres.
void THauptformular::Genreliste_Laden()
{
    Einstellungsverwaltung->Lade_Genreliste();
}

// First activation: "Lists/prgs.qb" into the station list and the recording dialog's
// station choice; on failure the built-in stations.
void THauptformular::Programmliste_Laden()
{
    Einstellungsverwaltung->Lade_Senderliste();
}

// First activation: "Lists/splztn.qb" into the play-length list, then UpDateSpielzeiten;
// on failure the list stays empty.
void THauptformular::Spielzeitenliste_Laden()
{
    Einstellungsverwaltung->Lade_Spielzeitenliste();
}

void THauptformular::UpDateSpielzeiten()
{
    Einstellungsverwaltung->UpDateSpielzeiten();
}

void THauptformular::Registry_Auslesen()
{
    Einstellungsverwaltung->Registry_Auslesen();
}

void THauptformular::Speichere_Registry()
{
    Einstellungsverwaltung->Speichere_Registry();
}

bool THauptformular::settingsChanged() const
{
    return Einstellungsverwaltung->settingsChanged();
}

QString THauptformular::autostartSetting() const
{
    return Einstellungsverwaltung->einstellungen().Autostart;
}

// Enables the buttons of the input page from the current cassette. Filled by the
// cassette part.
void THauptformular::Refresh_Navigator()
{
    if (Eingabe)
        Eingabe->Refresh_Navigator();
}

// Reminds of overdue loans. Filled by the lending part.
void THauptformular::Pruefe_Verliehene_Kassetten() {}

// Reports passed recordings and reminds of coming ones. Filled by the recording part.
void THauptformular::Pruefe_Aufnahmen() {}

} // namespace quorbel
