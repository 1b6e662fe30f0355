#include "einstellungsregeln.h"

#include "ganzzahl.h"
#include "registryimport.h"
#include "vocabulary.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <optional>
#include <ui/interaction.h>
#include <ui/protokoll.h>

namespace settings {

namespace {

const QString kPlayLengthPrefix = QStringLiteral("E - ");

std::size_t index(Einstellungsregeln::Liste liste)
{
    return std::size_t(liste);
}

// What the person is asked when adding to a list: the caption and the prompt.
struct Frage
{
    QString titel;
    QString text;
};

Frage frage(Einstellungsregeln::Liste liste)
{
    using Liste = Einstellungsregeln::Liste;
    switch (liste) {
    case Liste::Genres:
        return {QStringLiteral("Genre einfügen"), QStringLiteral("Bitte geben Sie den Namen des Genre ein")};
    case Liste::Sender:
        return {QStringLiteral("Sender einfügen"),
                QStringLiteral("Bitte geben Sie den Namen des Senders ein")};
    case Liste::Spielzeiten:
        break;
    }
    return {QStringLiteral("Neue Spielzeit einfügen"),
            QStringLiteral("Bitte geben Sie die Spielzeit in Minuten ein.")};
}

QLatin1StringView dateiname(Einstellungsregeln::Liste liste)
{
    using Liste = Einstellungsregeln::Liste;
    switch (liste) {
    case Liste::Genres:
        return vocabulary::kGenreFile;
    case Liste::Sender:
        return vocabulary::kStationFile;
    case Liste::Spielzeiten:
        break;
    }
    return vocabulary::kPlayLengthFile;
}

QString Einstellungen::*schriftfeld(Einstellungsregeln::Schrift schrift)
{
    using Schrift = Einstellungsregeln::Schrift;
    switch (schrift) {
    case Schrift::Kassettennummer:
        return &Einstellungen::Kassettennummer_Font;
    case Schrift::Titel:
        return &Einstellungen::Titel_Font;
    case Schrift::Spaltenueberschriften:
        return &Einstellungen::Spaltenueberschriften_Font;
    case Schrift::Listenelemente:
        break;
    }
    return &Einstellungen::Listenelemente_Font;
}

// The text an empty field gets when it is left.
QString vorgabe(Einstellungsregeln::Feld feld)
{
    using Feld = Einstellungsregeln::Feld;
    switch (feld) {
    case Feld::TageWarnen:
        return QStringLiteral("7");
    case Feld::AufnahmeTageWarnen:
        return QStringLiteral("3");
    case Feld::Drucktitel:
        break;
    }
    return QStringLiteral("Videoliste");
}

// The day count of the text, or the refusal of it.
std::optional<qint32> tage(const QString& text, QString* refusal)
{
    qint32 value = 0;
    if (!toWholeNumber(text, &value)) {
        *refusal = notAnInteger(text);
        return std::nullopt;
    }
    if (value != tageBegrenzt(value)) {
        *refusal = notADayCount(text);
        return std::nullopt;
    }
    return value;
}

} // namespace

QString notAnInteger(const QString& text)
{
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

QString notADayCount(const QString& text)
{
    return QStringLiteral("'%1' liegt nicht zwischen 0 und %2 Tagen").arg(text).arg(kHoechsteTage);
}

bool toWholeNumber(const QString& text, qint32* value)
{
    static const QString allowed = QStringLiteral("0123456789");
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() <= start)
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (!allowed.contains(text.at(i)))
            return false;
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (ok && value)
        *value = number;
    return ok;
}

Einstellungsregeln::Einstellungsregeln(quorbel::Interaction& ui, QString programDir, FontList fonts,
                                       std::unique_ptr<KeyStore> store)
    : m_ui(ui), m_programDir(std::move(programDir)), m_fonts(std::move(fonts)),
      m_store(store ? std::move(store) : KeyStore::createDefault())
{
    if (!m_fonts)
        m_fonts = [] { return QFontDatabase::families(); };
    m_playLengths = vocabulary::builtInPlayLengths();
    vocabulary::sortEntries(m_playLengths);
}

Einstellungsregeln::~Einstellungsregeln() = default;

// --- Vocabulary lists ------------------------------------------------------------------

QString Einstellungsregeln::listPath(QLatin1StringView fileName) const
{
    return m_programDir + QStringLiteral("Lists/") + fileName;
}

QStringList Einstellungsregeln::Lade_Liste(Liste liste, const QStringList& eingebaut)
{
    QStringList& eintraege = m_listen[index(liste)];
    if (const auto gelesen = vocabulary::readListFile(listPath(dateiname(liste)))) {
        eintraege = *gelesen;
        vocabulary::sortEntries(eintraege);
        return eintraege;
    }
    eintraege = eingebaut;
    vocabulary::sortEntries(eintraege);
    return eingebaut;
}

QStringList Einstellungsregeln::Lade_Genreliste()
{
    // The film grid keeps the built-in genres in their own order.
    return Lade_Liste(Liste::Genres, vocabulary::builtInGenres());
}

QStringList Einstellungsregeln::Lade_Senderliste()
{
    return Lade_Liste(Liste::Sender, vocabulary::builtInStations());
}

void Einstellungsregeln::Lade_Spielzeitenliste()
{
    // Without the file the dialogs keep the built-in lengths.
    Lade_Liste(Liste::Spielzeiten, {});
    UpDateSpielzeiten();
}

void Einstellungsregeln::Setze_Listenmarken_Zurueck()
{
    m_geaendert.fill(false);
}

void Einstellungsregeln::UpDateSpielzeiten()
{
    QStringList entries = vocabulary::builtInPlayLengths();
    vocabulary::sortEntries(entries);
    for (const QString& extra : extraPlayLengths())
        vocabulary::insertSorted(entries, extra);
    m_playLengths = entries;
}

bool Einstellungsregeln::Passt_In_Listendatei(const QString& entry)
{
    if (vocabulary::fitsListFile(entry))
        return true;
    m_ui.error(QStringLiteral("\"%1\" kann nicht in die Liste aufgenommen werden.").arg(entry) +
               quorbel::kMessageBreak +
               QStringLiteral("Der Text enthält Zeichen, die die Listendatei nicht speichern kann "
                              "(erlaubt sind die westeuropäischen Zeichen, ohne Zeilenumbruch)."));
    return false;
}

bool Einstellungsregeln::Spielzeit_Pruefen(const QString& entry)
{
    // The duplicate comes first and ignores case, so "12a" is one of "E - 12A".
    for (const QString& existing : std::as_const(m_playLengths)) {
        if (existing.compare(entry, Qt::CaseInsensitive) == 0) {
            m_ui.error(QStringLiteral("Spielzeit schon vorhanden !"));
            return false;
        }
    }
    if (!toWholeNumber(entry.mid(kPlayLengthPrefix.size()), nullptr)) {
        m_ui.error(QStringLiteral("Nur Zahlenwerte erlaubt !"));
        return false;
    }
    return true;
}

qsizetype Einstellungsregeln::Eintrag_Einfuegen(Liste liste)
{
    const Frage f = frage(liste);
    const QString answer = m_ui.inputBox(f.titel, f.text, QString());
    if (answer.isEmpty())
        return -1;
    const QString entry = liste == Liste::Spielzeiten ? kPlayLengthPrefix + answer : answer;
    if (liste == Liste::Spielzeiten ? !Spielzeit_Pruefen(entry) : !Passt_In_Listendatei(entry))
        return -1;
    const qsizetype at = vocabulary::insertSorted(m_listen[index(liste)], entry);
    if (liste == Liste::Spielzeiten)
        UpDateSpielzeiten();
    m_geaendert[index(liste)] = true;
    Einstellungen_Sichern_Ein();
    return at;
}

bool Einstellungsregeln::Eintrag_Entfernen(Liste liste, qsizetype zeile)
{
    QStringList& eintraege = m_listen[index(liste)];
    if (zeile < 0 || zeile >= eintraege.size())
        return false;
    eintraege.removeAt(zeile);
    if (liste == Liste::Spielzeiten)
        UpDateSpielzeiten();
    m_geaendert[index(liste)] = true;
    Einstellungen_Sichern_Ein();
    return true;
}

void Einstellungsregeln::Liste_Speichern(Liste liste)
{
    // The directory is made at start-up; should it have gone since, it is made again.
    QDir().mkpath(m_programDir + QStringLiteral("Lists"));
    const QLatin1StringView fileName = dateiname(liste);
    QString reason;
    if (vocabulary::writeListFile(listPath(fileName), m_listen[index(liste)], &reason))
        return;
    m_ui.error(QStringLiteral("Fehler beim Speichern von \"%1\" !").arg(fileName) + quorbel::kMessageBreak +
               reason);
}

// --- Settings key --------------------------------------------------------------------

void Einstellungsregeln::setSettingsChanged(bool changed)
{
    m_settingsChanged = changed;
    if (Aenderung_Zeigen)
        Aenderung_Zeigen(changed);
}

void Einstellungsregeln::Einstellungen_Sichern_Ein()
{
    setSettingsChanged(true);
}

void Einstellungsregeln::readKey(KeyStore& key)
{
    Einstellungen& e = m_einstellungen;
    // A text of the wrong kind, or a number or yes/no value that is missing or of the
    // wrong kind, keeps its default; the next save writes it in the right kind.
    auto text = [&key](const QString& name, QString& field) {
        try {
            field = key.readText(name);
        } catch (const KeyError&) {
        }
    };
    auto number = [&key](const QString& name, qint32& field) {
        try {
            field = key.readInteger(name);
        } catch (const KeyError&) {
        }
    };
    auto yesNo = [&key](const QString& name, bool& field) {
        try {
            field = key.readInteger(name) != 0;
        } catch (const KeyError&) {
        }
    };
    text(QStringLiteral("Titel"), e.Titel);
    text(QStringLiteral("Titel_Font"), e.Titel_Font);
    text(QStringLiteral("Spaltenueberschriften_Font"), e.Spaltenueberschriften_Font);
    text(QStringLiteral("Listenelemente_Font"), e.Listenelemente_Font);
    text(QStringLiteral("Kassettennummer_Font"), e.Kassettennummer_Font);
    text(QStringLiteral("Schriftart_der_Etiketten"), e.Schriftart_der_Etiketten);
    text(QStringLiteral("Autostart"), e.Autostart);
    number(QStringLiteral("Schriftgroesse_Bei_Einem_Film"), e.etikett(1).Schriftgroesse);
    number(QStringLiteral("Schriftgroesse_Bei_Zwei_Filmen"), e.etikett(2).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), e.etikett(2).Ausrichtung);
    number(QStringLiteral("Schriftgroesse_Bei_Drei_Filmen"), e.etikett(3).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Drei_Filmen"), e.etikett(3).Ausrichtung);
    number(QStringLiteral("Schriftgroesse_Bei_Vier_Filmen"), e.etikett(4).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Vier_Filmen"), e.etikett(4).Ausrichtung);
    number(QStringLiteral("Warnen_Nach_x_Tagen"), e.Warnen_Nach_x_Tagen);
    number(QStringLiteral("Aufnahme_TageWarnen"), e.Aufnahme_TageWarnen);
    // The day fields take no more than kHoechsteTage, and a file gives no more either.
    e.Warnen_Nach_x_Tagen = tageBegrenzt(e.Warnen_Nach_x_Tagen);
    e.Aufnahme_TageWarnen = tageBegrenzt(e.Aufnahme_TageWarnen);
    yesNo(QStringLiteral("Nummer_Drucken"), e.Nummer_Drucken);
    yesNo(QStringLiteral("Kassette_Fett_Drucken"), e.Kassette_Fett_Drucken);
    yesNo(QStringLiteral("Anzahl_Der_Filme_Drucken"), e.Anzahl_Der_Filme_Drucken);
    yesNo(QStringLiteral("Tip_Anzeigen"), e.Tip_Anzeigen);
    yesNo(QStringLiteral("Nulllaengentip"), e.Nulllaengentip);
}

void Einstellungsregeln::writeAllValues(KeyStore& key, const QString& autostart)
{
    const Einstellungen& e = m_einstellungen;
    key.writeText(QStringLiteral("Titel"), e.Titel);
    key.writeText(QStringLiteral("Titel_Font"), e.Titel_Font);
    key.writeText(QStringLiteral("Spaltenueberschriften_Font"), e.Spaltenueberschriften_Font);
    key.writeText(QStringLiteral("Listenelemente_Font"), e.Listenelemente_Font);
    key.writeText(QStringLiteral("Kassettennummer_Font"), e.Kassettennummer_Font);
    key.writeText(QStringLiteral("Schriftart_der_Etiketten"), e.Schriftart_der_Etiketten);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Einem_Film"), e.etikett(1).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), e.etikett(2).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Zwei_Filmen"), e.etikett(2).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Drei_Filmen"), e.etikett(3).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Drei_Filmen"), e.etikett(3).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Vier_Filmen"), e.etikett(4).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Vier_Filmen"), e.etikett(4).Schriftgroesse);
    key.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), e.Warnen_Nach_x_Tagen);
    key.writeInteger(QStringLiteral("Nummer_Drucken"), e.Nummer_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Kassette_Fett_Drucken"), e.Kassette_Fett_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Anzahl_Der_Filme_Drucken"), e.Anzahl_Der_Filme_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Tip_Anzeigen"), e.Tip_Anzeigen ? 1 : 0);
    key.writeInteger(QStringLiteral("Nulllaengentip"), e.Nulllaengentip ? 1 : 0);
    key.writeInteger(QStringLiteral("Aufnahme_TageWarnen"), e.Aufnahme_TageWarnen);
    key.writeText(QStringLiteral("Autostart"), autostart);
}

void Einstellungsregeln::pruefeSchriftarten()
{
    const QStringList installed = m_fonts();
    auto check = [&installed](QString& face, const QString& fallback) {
        if (!installed.contains(face, Qt::CaseInsensitive))
            face = fallback;
    };
    const QString times = QStringLiteral("Times New Roman");
    check(m_einstellungen.Titel_Font, times);
    check(m_einstellungen.Spaltenueberschriften_Font, times);
    check(m_einstellungen.Listenelemente_Font, times);
    check(m_einstellungen.Kassettennummer_Font, times);
    check(m_einstellungen.Schriftart_der_Etiketten, QStringLiteral("Arial"));
}

void Einstellungsregeln::Einstellungen_Angleichen()
{
    Einstellungen& e = m_einstellungen;
    e.etikett(1).Ausrichtung = 0;
    pruefeSchriftarten();
    // No bold cassette number where none is printed.
    if (!e.Nummer_Drucken)
        e.Kassette_Fett_Drucken = false;
    text(Feld::TageWarnen) = QString::number(e.Warnen_Nach_x_Tagen);
    text(Feld::AufnahmeTageWarnen) = QString::number(e.Aufnahme_TageWarnen);
    text(Feld::Drucktitel) = e.Titel;
    // A stored text of the field that stands for no autostart means none.
    m_autostart = e.Autostart == kKeinAutostartAnzeige ? kKeinAutostart : e.Autostart;
}

void Einstellungsregeln::Registry_Auslesen()
{
    KeyStore& key = *m_store;
    m_einstellungen = Einstellungen{};
    if (key.openKey()) {
        readKey(key);
        key.closeKey();
    } else {
        const QString damage = key.damageReport();
        if (!damage.isEmpty()) {
            qCWarning(quorbel::lcSettings).noquote() << damage;
            m_ui.warning(damage);
        }
        // First start: the defaults, written as the new key. Without the right to write
        // it the defaults still hold for this run. A key that must be left as it is (the
        // warning above said so) is not made anew.
        if (!key.writesRefused()) {
            try {
                key.createKey();
                writeAllValues(key, kKeinAutostart);
                key.writeText(QStringLiteral("Version"), kVersionswert);
                key.closeKey();
            } catch (const store::Error& failure) {
                try {
                    key.closeKey();
                } catch (const store::Error&) {
                }
                qCWarning(quorbel::lcSettings).noquote()
                    << "Einstellungen nicht angelegt:" << failure.message();
                m_ui.showError(failure.message());
            }
        }
    }
    Einstellungen_Angleichen();
    setSettingsChanged(false);
}

void Einstellungsregeln::Tage_Uebernehmen(Feld feld, qint32& ziel)
{
    QString& t = text(feld);
    if (t == QString::number(ziel))
        return;
    if (t.isEmpty()) {
        t = vorgabe(feld);
        Einstellungen_Sichern_Ein();
    }
    QString refusal;
    const auto value = tage(t, &refusal);
    if (!value)
        throw store::Error(refusal);
    ziel = *value;
}

void Einstellungsregeln::Titel_Uebernehmen()
{
    QString& t = text(Feld::Drucktitel);
    if (t.isEmpty()) {
        t = vorgabe(Feld::Drucktitel);
        Einstellungen_Sichern_Ein();
    }
    m_einstellungen.Titel = t;
}

bool Einstellungsregeln::Felder_Uebernehmen()
{
    // A value typed into a field counts once the field is left; a save from the closing
    // question comes without that, so the fields are taken over here. A day field whose
    // text is refused stops the save: the user sees why, and the change is not lost.
    Tage_Uebernehmen(Feld::TageWarnen, m_einstellungen.Warnen_Nach_x_Tagen);
    Tage_Uebernehmen(Feld::AufnahmeTageWarnen, m_einstellungen.Aufnahme_TageWarnen);
    if (text(Feld::Drucktitel) == m_einstellungen.Titel)
        return false;
    Titel_Uebernehmen();
    return true;
}

void Einstellungsregeln::Speichere_Registry()
{
    Felder_Uebernehmen();
    KeyStore& key = *m_store;
    try {
        if (!key.openKey()) {
            // The key went missing (or damaged) since the start: it is made anew. A key
            // that must be left as it is refuses that with its own message.
            const QString damage = key.damageReport();
            if (!damage.isEmpty() && !key.writesRefused())
                m_ui.warning(damage);
            key.createKey();
        }
        writeAllValues(key, m_autostart);
        key.closeKey();
    } catch (const store::Error&) {
        try {
            key.closeKey();
        } catch (const store::Error&) {
        }
        throw;
    }

    for (const Liste liste : {Liste::Genres, Liste::Sender, Liste::Spielzeiten})
        if (m_geaendert[index(liste)])
            Liste_Speichern(liste);
    setSettingsChanged(false);
}

Einstellungsregeln::Importergebnis Einstellungsregeln::Importieren()
{
    const QString pfad = m_ui.chooseFile(QStringLiteral("Registrierungsdateien (*.reg)|*.reg"), m_programDir);
    if (pfad.isEmpty())
        return {};
    const RegistryImport import = leseRegistryExportDatei(pfad);
    if (!import.gelesen()) {
        m_ui.error(importFehlermeldung(pfad, import));
        return {};
    }
    Importergebnis ergebnis;
    if (!import.werte.isEmpty()) {
        Felder_Uebernehmen();
        m_einstellungen.Autostart = m_autostart;
        uebernehmeWerte(import, m_einstellungen);
        Einstellungen_Angleichen();
        Einstellungen_Sichern_Ein();
        ergebnis.uebernommen = true;
    }
    ergebnis.bericht = importBericht(pfad, import);
    return ergebnis;
}

// --- The page's controls -----------------------------------------------------------------

bool Einstellungsregeln::Tageszeichen(QChar key)
{
    return (key >= u'0' && key <= u'9') || key == u'\b';
}

void Einstellungsregeln::Feld_Geaendert(Feld feld, const QString& neu)
{
    text(feld) = neu;
    Einstellungen_Sichern_Ein();
}

const QString& Einstellungsregeln::feldtext(Feld feld) const
{
    return m_felder[std::size_t(feld)];
}

bool Einstellungsregeln::Feld_Verlassen(Feld feld)
{
    if (feld == Feld::Drucktitel) {
        Titel_Uebernehmen();
        return true;
    }
    QString& t = text(feld);
    if (t.isEmpty()) {
        t = vorgabe(feld);
        Einstellungen_Sichern_Ein();
    }
    QString refusal;
    const auto value = tage(t, &refusal);
    if (!value) {
        m_ui.error(refusal);
        return false;
    }
    (feld == Feld::TageWarnen ? m_einstellungen.Warnen_Nach_x_Tagen : m_einstellungen.Aufnahme_TageWarnen) =
        *value;
    return true;
}

void Einstellungsregeln::Schalter_Setzen(Schalter schalter, bool an)
{
    Einstellungen& e = m_einstellungen;
    switch (schalter) {
    case Schalter::TipAnzeigen:
        e.Tip_Anzeigen = an;
        break;
    case Schalter::Nulllaenge:
        e.Nulllaengentip = an;
        break;
    case Schalter::Nummer:
        e.Nummer_Drucken = an;
        if (!an)
            e.Kassette_Fett_Drucken = false;
        break;
    case Schalter::NummerFett:
        e.Kassette_Fett_Drucken = an;
        break;
    case Schalter::Filmanzahl:
        e.Anzahl_Der_Filme_Drucken = an;
        break;
    }
    Einstellungen_Sichern_Ein();
}

bool Einstellungsregeln::Schriftart_Setzen(Schrift schrift, const QString& face)
{
    QString& setting = m_einstellungen.*schriftfeld(schrift);
    // Every element that shows this face has taken each change of the setting, so the
    // setting stands for the face of the element compared with.
    if (face.isEmpty() || face == setting)
        return false;
    setting = face;
    Einstellungen_Sichern_Ein();
    return true;
}

const QString& Einstellungsregeln::schriftart(Schrift schrift) const
{
    return m_einstellungen.*schriftfeld(schrift);
}

bool Einstellungsregeln::Autostart_Waehlen()
{
    const QString directory = autostartGewaehlt() ? QFileInfo(m_autostart).absolutePath() : m_programDir;
    const QString path = m_ui.chooseFile(QStringLiteral("Videolisten (*.qbx)|*.qbx"), directory);
    if (path.isEmpty())
        return false;
    m_autostart = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    Einstellungen_Sichern_Ein();
    return true;
}

void Einstellungsregeln::Kein_Autostart()
{
    m_autostart = kKeinAutostart;
    Einstellungen_Sichern_Ein();
}

QString Einstellungsregeln::autostartAnzeige() const
{
    return autostartGewaehlt() ? m_autostart : kKeinAutostartAnzeige;
}

// --- Label settings --------------------------------------------------------------------

void Einstellungsregeln::setzeEtikettSchriftgroesse(int filme, qint32 groesse)
{
    if (filme < 1 || filme > 4)
        return;
    m_einstellungen.etikett(filme).Schriftgroesse = groesse;
    Einstellungen_Sichern_Ein();
}

void Einstellungsregeln::setzeEtikettAusrichtung(int filme, qint32 ausrichtung)
{
    if (filme < 2 || filme > 4)
        return;
    m_einstellungen.etikett(filme).Ausrichtung = ausrichtung;
    Einstellungen_Sichern_Ein();
}

void Einstellungsregeln::setzeSchriftartDerEtiketten(const QString& face)
{
    m_einstellungen.Schriftart_der_Etiketten = face;
    Einstellungen_Sichern_Ein();
}

} // namespace settings
