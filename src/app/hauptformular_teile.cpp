// Steps of the main window that belong to the cassette, lending, recording and
// settings parts of the program. The window calls each of them at its moment
// (window creation, first activation, opening a collection, the clock's change of
// day, quitting); the parts put their work here.

#include "hauptformular.h"

#include <catalogue/eingabeseite.h>
#include <catalogue/uebersichtseite.h>
#include <lending/verleihseite.h>
#include <printing/etikett.h>
#include <printing/filmliste.h>
#include <recording/aufnahmetimerseite.h>
#include <settings/einstellungsseite.h>
#include <settings/etikettendruckseite.h>
#include <store/collection.h>
#include <ui/clock.h>
#include <ui/guard.h>

namespace quorbel {

// Window creation: the settings page (built with the other pages) tells the rest of
// the window of changes to the settings and the vocabulary lists.
void THauptformular::Einstellungsseite_Aufbauen()
{
    settings::Einstellungsseite* s = Tab_Einstellungen;
    connect(s, &settings::Einstellungsseite::genresChanged, Tab_Eingabe, &Eingabeseite::setGenres);
    connect(s, &settings::Einstellungsseite::stationsChanged, Tab_Aufnahmetimer,
            &Aufnahmetimerseite::setSender);
    // The recording check and the free-space search read the settings at every use.
    Tab_Aufnahmetimer->setEinstellungen(s->einstellungen());
    connect(s, &settings::Einstellungsseite::playLengthsChanged, Tab_Eingabe, &Eingabeseite::setSpielzeiten);
    connect(s, &settings::Einstellungsseite::kassettennummerFontChanged, Tab_Eingabe,
            &Eingabeseite::setKassettennummerSchrift);
    // Both printouts read the settings record at each print, so the fonts and the title
    // chosen on the settings page reach the next printout without further ado.
    connectGuarded(Tab_Uebersicht, &Uebersichtseite::druckenAngefordert, this, m_ui,
                   [this] { filmlisteDrucken(); });
    connectGuarded(Tab_Eingabe, &Eingabeseite::etikettDruckenAngefordert, this, m_ui,
                   [this] { etikettDrucken(); });
}

void THauptformular::filmlisteDrucken()
{
    store::Dataset& uebersicht = m_sammlung->filmuebersicht();
    if (!uebersicht.isActive())
        return;
    druck::filmlisteZeigen(m_ui, Tab_Einstellungen->einstellungen(), uebersicht, m_clock.today(),
                           Tab_Uebersicht->Filterdatum(), this);
}

void THauptformular::etikettDrucken()
{
    store::Dataset& filme = m_sammlung->filme();
    if (!filme.isActive())
        return;
    druck::etikettZeigen(m_ui, Tab_Einstellungen->einstellungen(), filme, this);
}

QWidget* THauptformular::einstellungenSeite() const
{
    return Tab_Einstellungen;
}

// Window creation: the label-font choice is filled with the installed fonts, among them
// the faces that print through their stand-ins.
void THauptformular::Schriftarten_Einlesen()
{
    Tab_Einstellungen->etikettendruck().Schriftarten_Einlesen(Tab_Einstellungen->installierteSchriftarten());
}

// Window creation: "Lists/genre.qb" into the genre list and the film grid's pick list;
// on failure the built-in genres.
void THauptformular::Genreliste_Laden()
{
    Tab_Einstellungen->Lade_Genreliste();
}

// First activation: "Lists/prgs.qb" into the station list and the recording dialog's
// station choice; on failure the built-in stations.
void THauptformular::Programmliste_Laden()
{
    Tab_Einstellungen->Lade_Senderliste();
}

// First activation: "Lists/splztn.qb" into the play-length list, then UpDateSpielzeiten;
// on failure the list stays empty.
void THauptformular::Spielzeitenliste_Laden()
{
    Tab_Einstellungen->Lade_Spielzeitenliste();
}

void THauptformular::UpDateSpielzeiten()
{
    Tab_Einstellungen->UpDateSpielzeiten();
}

void THauptformular::Registry_Auslesen()
{
    Tab_Einstellungen->Registry_Auslesen();
}

void THauptformular::Speichere_Registry()
{
    Tab_Einstellungen->Speichere_Registry();
}

bool THauptformular::settingsChanged() const
{
    return Tab_Einstellungen->settingsChanged();
}

QString THauptformular::autostartSetting() const
{
    return Tab_Einstellungen->einstellungen().Autostart;
}

// Enables the buttons of the input page from the current cassette.
void THauptformular::Refresh_Navigator()
{
    Tab_Eingabe->Refresh_Navigator();
}

// Reminds of overdue loans.
void THauptformular::Pruefe_Verliehene_Kassetten()
{
    Tab_Verleihmanager->Pruefe_Verliehene_Kassetten();
}

// Reports passed recordings and reminds of coming ones.
void THauptformular::Pruefe_Aufnahmen()
{
    Tab_Aufnahmetimer->Pruefe_Aufnahmen();
}

} // namespace quorbel
