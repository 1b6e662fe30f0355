#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <quorbelversion.h>

namespace settings {

// Font size (points) and line spread (layout units) of the cassette label for one
// number of films. The entry for one film never has a spread.
struct EtikettEintrag
{
    qint32 Schriftgroesse = 16;
    qint32 Ausrichtung = 0;

    friend bool operator==(const EtikettEintrag&, const EtikettEintrag&) = default;
};

// The settings of the program, one copy per run; the defaults are those of a first start.
struct Einstellungen
{
    QString Titel = QStringLiteral("Videoliste");
    QString Titel_Font = QStringLiteral("Times New Roman");
    QString Spaltenueberschriften_Font = QStringLiteral("Arial");
    QString Listenelemente_Font = QStringLiteral("Arial");
    QString Kassettennummer_Font = QStringLiteral("Times New Roman");
    // Index 0 is the entry for one film, index 3 the one for four films.
    std::array<EtikettEintrag, 4> Etiketten = {{{16, 0}, {16, 0}, {16, 0}, {8, 0}}};
    QString Schriftart_der_Etiketten = QStringLiteral("Arial");
    QString Autostart = QStringLiteral("Deaktiviert");
    qint32 Warnen_Nach_x_Tagen = 7;
    qint32 Aufnahme_TageWarnen = 3;
    bool Nummer_Drucken = true;
    bool Kassette_Fett_Drucken = true;
    bool Anzahl_Der_Filme_Drucken = true;
    bool Tip_Anzeigen = true;
    bool Nulllaengentip = true;

    // The label entry for 1 to 4 films.
    EtikettEintrag& etikett(int filme) { return Etiketten.at(std::size_t(filme - 1)); }
    const EtikettEintrag& etikett(int filme) const { return Etiketten.at(std::size_t(filme - 1)); }

    friend bool operator==(const Einstellungen&, const Einstellungen&) = default;
};

// The day settings (Warnen_Nach_x_Tagen, Aufnahme_TageWarnen) lie within 0 and this many
// days: about 273 years, so that today plus the days stays a day the tables can hold.
inline constexpr qint32 kHoechsteTage = 99999;
// A day setting read from a file, brought into that range.
inline qint32 tageBegrenzt(qint32 tage)
{
    return std::clamp(tage, qint32(0), kHoechsteTage);
}

// The word that stands for "no collection is opened at start".
inline const QString kKeinAutostart = QStringLiteral("Deaktiviert");
// What the autostart field shows for it.
inline const QString kKeinAutostartAnzeige = QStringLiteral("<Kein Autostart aktiviert>");
inline const QString kVersionswert = QStringLiteral(QUORBEL_VERSION " [RELEASE]");

} // namespace settings
