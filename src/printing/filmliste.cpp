#include "filmliste.h"

#include "reportpreview.h"

#include <settings/einstellungen.h>
#include <store/dataset.h>
#include <store/dates.h>
#include <ui/interaction.h>

namespace quorbel::druck {

using report::Band;
using report::Element;
using report::mmZuEinheiten;
using report::Schrift;

FilmlisteEinstellungen FilmlisteEinstellungen::aus(const settings::Einstellungen& e)
{
    FilmlisteEinstellungen f;
    f.Titel = e.Titel;
    f.Titel_Font = e.Titel_Font;
    f.Spaltenueberschriften_Font = e.Spaltenueberschriften_Font;
    f.Listenelemente_Font = e.Listenelemente_Font;
    f.Nummer_Drucken = e.Nummer_Drucken;
    f.Kassette_Fett_Drucken = e.Kassette_Fett_Drucken;
    f.Anzahl_Der_Filme_Drucken = e.Anzahl_Der_Filme_Drucken;
    return f;
}

int DatasetRows::anzahl() const
{
    return m_ds.recordCount();
}

QString DatasetRows::wert(int zeile, const QString& feld) const
{
    return store::Dataset::displayText(m_ds.valueAt(zeile, feld));
}

namespace {

struct Spalte
{
    const char* kopfName;
    const char* kopfText;
    const char* feldName;
    const char* feld;
    Qt::Alignment ausrichtung;
};

// Left edge and width of a column, in layout units.
struct Lage
{
    int links, breite;
};

const Spalte kKassette{"QRLabel_SKassette", "Kassette", "QRExpr_Kassette", "Zu_Kassette", Qt::AlignHCenter};
const Spalte kFilmname{"QRLabel_SFilmname", "Filmname", "QRExpr_Filmname", "Filmname", Qt::AlignLeft};
const Spalte kFilmlaenge{"QRLabel_SFilmlaenge", "Filmlaenge", "QRExpr_Filmlaenge", "Filmlaenge",
                         Qt::AlignHCenter};
const Spalte kGenre{"QRLabel_SGenre", "Genre", "QRExpr_Genre", "Genre", Qt::AlignLeft};

Element text(const char* name, const QString& text, const Schrift& schrift, QRect rahmen,
             Qt::Alignment ausrichtung = Qt::AlignLeft)
{
    Element e;
    e.name = QLatin1String(name);
    e.text = text;
    e.schrift = schrift;
    e.rahmen = rahmen;
    e.ausrichtung = ausrichtung;
    return e;
}

} // namespace

FilmlisteBaender filmlisteBaender(const FilmlisteEinstellungen& e, const FilmlisteLauf& lauf, int anzahlFilme)
{
    FilmlisteBaender b;
    const Schrift arial8{QStringLiteral("Arial"), 8, false, false};

    // Title band: title, date of the printout, and the filter date while one applies.
    b.titel.hoehe = mmZuEinheiten(22.4);
    Element titel = text("QRLabel_Titel", e.Titel, Schrift{e.Titel_Font, 24, false, false},
                         QRect(0, 0, mmZuEinheiten(138.9), mmZuEinheiten(9.7)), Qt::AlignHCenter);
    titel.zentriert = true;
    Element datum =
        text("QRLabel_Datum", QStringLiteral("Stand : ") + store::formatDate(lauf.heute), arial8,
             QRect(0, mmZuEinheiten(10.6), mmZuEinheiten(36.2), mmZuEinheiten(4.0)), Qt::AlignHCenter);
    datum.zentriert = true;
    Element neu =
        text("QRLabel_Neu",
             QStringLiteral("Liste aller neuen Filme seit ") +
                 (lauf.neuSeit ? store::formatDate(*lauf.neuSeit) : QString()),
             Schrift{QStringLiteral("Arial"), 8, true, true},
             QRect(0, mmZuEinheiten(14.0), mmZuEinheiten(55.2), mmZuEinheiten(3.6)), Qt::AlignHCenter);
    neu.zentriert = true;
    neu.drucken = lauf.neuSeit.has_value();
    b.titel.elemente = {titel, datum, neu};

    // Column headers and detail fields share their left edges and widths.
    const Schrift kopfSchrift{e.Spaltenueberschriften_Font, 8, true, false};
    const Schrift zeilenSchrift{e.Listenelemente_Font, 8, false, false};
    Schrift kassettenSchrift = zeilenSchrift;
    kassettenSchrift.fett = e.Kassette_Fett_Drucken && lauf.sortierung == QLatin1String("Zu_Kassette");

    const int hoehe = mmZuEinheiten(4.0);
    b.kopf.hoehe = mmZuEinheiten(5.9);
    b.detail.hoehe = mmZuEinheiten(5.9);
    const auto spalte = [&](const Spalte& s, Lage l, const Schrift& feldSchrift) {
        const QRect r(l.links, 0, l.breite, hoehe);
        b.kopf.elemente.push_back(text(s.kopfName, QLatin1String(s.kopfText), kopfSchrift, r, s.ausrichtung));
        Element feld = text(s.feldName, QString(), feldSchrift, r, s.ausrichtung);
        feld.feld = QLatin1String(s.feld);
        b.detail.elemente.push_back(feld);
    };
    if (e.Nummer_Drucken) {
        spalte(kKassette, {17, 71}, kassettenSchrift);
        spalte(kFilmname, {98, 351}, zeilenSchrift);
        spalte(kFilmlaenge, {459, 71}, zeilenSchrift);
        spalte(kGenre, {560, 143}, zeilenSchrift);
    } else {
        spalte(kFilmname, {66, 247}, zeilenSchrift);
        spalte(kFilmlaenge, {371, 71}, zeilenSchrift);
        spalte(kGenre, {496, 153}, zeilenSchrift);
    }

    // Summary band: the count, when asked for.
    b.summe.hoehe = mmZuEinheiten(22.9);
    Element anzahlText = text("QRLabel_AnzahlText", QStringLiteral("Anzahl der Aufnahmen :"), arial8,
                              QRect(mmZuEinheiten(77.9), mmZuEinheiten(8.5), 0, 0));
    anzahlText.anTextAnpassen = true;
    Element anzahl =
        text("QRLabel_Anzahl", QString::number(anzahlFilme), Schrift{QStringLiteral("Arial"), 8, true, false},
             QRect(mmZuEinheiten(110.5), mmZuEinheiten(8.5), 0, 0));
    anzahl.anTextAnpassen = true;
    anzahlText.drucken = anzahl.drucken = e.Anzahl_Der_Filme_Drucken;
    b.summe.elemente = {anzahlText, anzahl};
    return b;
}

std::unique_ptr<report::BandedReport> filmliste(const FilmlisteEinstellungen& e, const FilmlisteLauf& lauf,
                                                const report::RowSource& zeilen)
{
    FilmlisteBaender b = filmlisteBaender(e, lauf, zeilen.anzahl());
    return std::make_unique<report::BandedReport>(std::move(b.titel), std::move(b.kopf), std::move(b.detail),
                                                  std::move(b.summe), zeilen);
}

void filmlisteZeigen(Interaction& ui, const settings::Einstellungen& e, const store::Dataset& uebersicht,
                     const QDate& heute, std::optional<QDate> neuSeit, QWidget* parent)
{
    const DatasetRows zeilen(uebersicht);
    const auto bericht =
        filmliste(FilmlisteEinstellungen::aus(e), {heute, neuSeit, uebersicht.indexFieldNames()}, zeilen);
    const report::BandedReport& b = *bericht;
    // A list without films has no page: nothing to preview, print or save.
    if (b.seitenzahl() == 0) {
        ui.information(QStringLiteral("Die Filmliste enthält keine Filme."));
        return;
    }
    vorschauZeigen(ui, {b.seitenzahl(), [&b](int s) { return b.seite(s); }}, e.Titel, parent);
}

} // namespace quorbel::druck
