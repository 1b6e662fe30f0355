#pragma once

// The rules of the settings page, without a widget: the settings record with its key,
// the three vocabulary lists with their files, the changed flags, and what the page's
// fields, boxes and buttons change, with their refusals (shown through Interaction).
// The page shows what the rules hold and applies what they return; the rest of the
// program hears of changes through the page's signals.

#include "einstellungen.h"
#include "keystore.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

namespace quorbel {
class Interaction;
}

namespace settings {

class Einstellungsregeln
{
public:
    // The installed font faces.
    using FontList = std::function<QStringList()>;

    enum class Liste { Genres, Sender, Spielzeiten };
    // The three fields whose text counts once the field is left.
    enum class Feld { TageWarnen, AufnahmeTageWarnen, Drucktitel };
    enum class Schalter { TipAnzeigen, Nulllaenge, Nummer, NummerFett, Filmanzahl };
    enum class Schrift { Kassettennummer, Titel, Spaltenueberschriften, Listenelemente };

    struct Importergebnis
    {
        bool uebernommen = false; // the file's values are in the record: the page shows it anew
        QString bericht;          // what the file brought; empty when no file was read
    };

    // `programDir` ends with a separator; the lists live in its "Lists" directory.
    // `store` is the settings key (KeyStore::createDefault() when null).
    Einstellungsregeln(quorbel::Interaction& ui, QString programDir, FontList fonts,
                       std::unique_ptr<KeyStore> store = nullptr);
    ~Einstellungsregeln();
    Einstellungsregeln(const Einstellungsregeln&) = delete;
    Einstellungsregeln& operator=(const Einstellungsregeln&) = delete;

    // Called with the settings-changed flag each time it is set or cleared (the page's
    // save button follows it).
    std::function<void(bool geaendert)> Aenderung_Zeigen;

    // --- Vocabulary lists ---------------------------------------------------------------
    // Read the list file into the sorted list; without a readable file the built-in
    // entries. Return what the film grid and the recording dialog get: the sorted list,
    // or the built-in entries in their own order.
    QStringList Lade_Genreliste();
    QStringList Lade_Senderliste();
    // Without a readable file no extra lengths.
    void Lade_Spielzeitenliste();
    // At the end of the first activation: the lists count as unchanged.
    void Setze_Listenmarken_Zurueck();
    // The entries of both play-length dialogs: the built-in lengths and the extra ones,
    // in text order.
    void UpDateSpielzeiten();

    // Asks for a new entry and puts it at its place in the sorted list. Returns that
    // place, or -1 when nothing was added: cancelled, or refused with a message (a text
    // the list file cannot hold; for a play length one already offered, ignoring case,
    // or no whole number).
    qsizetype Eintrag_Einfuegen(Liste liste);
    // Removes the entry at `zeile`; false (and nothing changed) for a row not in the list.
    bool Eintrag_Entfernen(Liste liste, qsizetype zeile);

    // --- Settings key -------------------------------------------------------------------
    // Loads the key; a missing one is made with the defaults, a damaged one is reported.
    // Afterwards the settings count as unchanged.
    void Registry_Auslesen();
    // Takes over what is typed in the three fields and not yet left: an empty day field
    // its default, an empty title "Videoliste". A day text that is refused throws
    // store::Error with its refusal and leaves the record as it was. True when the title
    // was taken over.
    bool Felder_Uebernehmen();
    // Takes over the fields, writes the key and the changed lists. A value that cannot
    // be written, a refused day field and a key that this run must leave untouched throw
    // store::Error; the settings then stay changed. A list file that cannot be written is
    // reported and kept changed for the next save.
    void Speichere_Registry();
    // Takes the values of a registry export the user chooses into the record and marks
    // the settings as changed; a refused file is reported and changes nothing. Typed
    // fields and the autostart chosen since loading stay unless the file brings its own.
    Importergebnis Importieren();
    void Einstellungen_Sichern_Ein();

    // --- The page's controls --------------------------------------------------------------
    // True when a typed character may go into a day field: a digit or backspace.
    static bool Tageszeichen(QChar key);
    // The field's text as it stands now; a change of the settings.
    void Feld_Geaendert(Feld feld, const QString& text);
    // The field is left: an empty field gets its default ("7", "3", "Videoliste") and the
    // text is taken into the record. A day text that is no whole number or lies beyond
    // 0 .. kHoechsteTage is refused with a message and stays. False when refused.
    bool Feld_Verlassen(Feld feld);
    const QString& feldtext(Feld feld) const;
    // Switching the cassette number off switches its bold print off too.
    void Schalter_Setzen(Schalter schalter, bool an);
    // False when `face` is empty or already the face set.
    bool Schriftart_Setzen(Schrift schrift, const QString& face);
    const QString& schriftart(Schrift schrift) const;
    // Asks for the collection opened at start, in the directory of the one chosen so far;
    // false when cancelled.
    bool Autostart_Waehlen();
    void Kein_Autostart();
    // What the autostart field shows, and whether an autostart is chosen.
    QString autostartAnzeige() const;
    bool autostartGewaehlt() const { return m_autostart != kKeinAutostart; }

    // --- Label settings -----------------------------------------------------------------
    // `filme` is 1 to 4 (others change nothing); the spread of one film stays 0.
    void setzeEtikettSchriftgroesse(int filme, qint32 groesse);
    void setzeEtikettAusrichtung(int filme, qint32 ausrichtung);
    void setzeSchriftartDerEtiketten(const QString& face);

    // --- State --------------------------------------------------------------------------
    const Einstellungen& einstellungen() const { return m_einstellungen; }
    bool settingsChanged() const { return m_settingsChanged; }
    // The list is written by the next save.
    bool listeGeaendert(Liste l) const { return m_geaendert[std::size_t(l)]; }
    bool genresChangedFlag() const { return listeGeaendert(Liste::Genres); }
    bool stationsChangedFlag() const { return listeGeaendert(Liste::Sender); }
    bool playLengthsChangedFlag() const { return listeGeaendert(Liste::Spielzeiten); }
    // The lists sorted, as the page shows them.
    const QStringList& liste(Liste l) const { return m_listen[std::size_t(l)]; }
    const QStringList& genres() const { return liste(Liste::Genres); }
    const QStringList& stations() const { return liste(Liste::Sender); }
    const QStringList& extraPlayLengths() const { return liste(Liste::Spielzeiten); }
    // The entries of both play-length dialogs, as UpDateSpielzeiten() set them.
    const QStringList& playLengths() const { return m_playLengths; }
    QStringList installierteSchriftarten() const { return m_fonts(); }

private:
    QString listPath(QLatin1StringView fileName) const;
    QStringList Lade_Liste(Liste liste, const QStringList& eingebaut);
    bool Passt_In_Listendatei(const QString& entry);
    bool Spielzeit_Pruefen(const QString& entry);
    void Liste_Speichern(Liste liste);
    void setSettingsChanged(bool changed);
    void readKey(KeyStore& key);
    void writeAllValues(KeyStore& key, const QString& autostart);
    void pruefeSchriftarten();
    // After loading or importing: the record's own rules, then the fields take it over.
    void Einstellungen_Angleichen();
    void Tage_Uebernehmen(Feld feld, qint32& ziel);
    void Titel_Uebernehmen();
    QString& text(Feld feld) { return m_felder[std::size_t(feld)]; }

    quorbel::Interaction& m_ui;
    QString m_programDir;
    FontList m_fonts;
    std::unique_ptr<KeyStore> m_store;
    Einstellungen m_einstellungen;
    std::array<QStringList, 3> m_listen; // by Liste
    std::array<bool, 3> m_geaendert{};   // the list is to be written at the next save
    QStringList m_playLengths;
    std::array<QString, 3> m_felder;      // the fields' texts, by Feld
    QString m_autostart = kKeinAutostart; // written as Autostart by the next save
    bool m_settingsChanged = false;
};

} // namespace settings
