// Steps of the main window that belong to the cassette, lending, recording and
// settings parts of the program. The window calls each of them at its moment
// (window creation, first activation, opening a collection, the clock's change of
// day, quitting); the parts put their work here.

#include "hauptformular.h"

#include <catalogue/eingabeseite.h>

namespace quorbel {

// Window creation: builds the controls of the settings page into Tab_Einstellungen.
// Filled by the settings part.
void THauptformular::Einstellungsseite_Aufbauen() {}

// Window creation: fills the label-font choice with the installed fonts. Filled by the
// label-printing settings.
void THauptformular::Schriftarten_Einlesen() {}

// Window creation: reads "Lists/genre.qb" into the genre list and the film grid's pick
// list; on failure the built-in genres stay. Filled by the vocabulary part.
void THauptformular::Genreliste_Laden() {}

// First activation: reads "Lists/prgs.qb" into the station list and the recording
// dialog's station choice; on failure the built-in stations stay. Filled by the
// vocabulary part.
void THauptformular::Programmliste_Laden() {}

// First activation: reads "Lists/splztn.qb" into the play-length list, then
// UpDateSpielzeiten; on failure the list stays empty. Filled by the vocabulary part.
void THauptformular::Spielzeitenliste_Laden() {}

// Puts the built-in and the additional play lengths into both play-length dialogs.
// Filled by the vocabulary part.
void THauptformular::UpDateSpielzeiten() {}

// First activation: reads all settings into the window's state and controls,
// among them the autostart setting. Filled by the settings part.
void THauptformular::Registry_Auslesen() {}

// Saves the settings (and the changed vocabulary lists). Filled by the settings part.
void THauptformular::Speichere_Registry() {}

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
