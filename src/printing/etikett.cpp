#include "etikett.h"

#include "reportpreview.h"

#include <algorithm>
#include <store/dataset.h>

namespace quorbel::druck {

using report::PlacedText;
using report::ReportPage;
using report::Schrift;

EtikettEinstellungen EtikettEinstellungen::aus(const settings::Einstellungen& e)
{
    EtikettEinstellungen l;
    l.Schriftart_der_Etiketten = e.Schriftart_der_Etiketten;
    l.Etiketten = e.Etiketten;
    return l;
}

QStringList etikettFilmeLesen(store::Dataset& filme)
{
    const int war = filme.recNo();
    filme.disableControls();
    // The display comes back on every way out, also when a move fails.
    struct Anzeige
    {
        store::Dataset& ds;
        ~Anzeige() { ds.enableControls(); }
    } anzeige{filme};

    QStringList titel;
    if (filme.recordCount() == 0)
        return titel;
    filme.first();
    for (;;) {
        titel << filme.asString(QStringLiteral("Filmname"));
        filme.next();
        if (filme.eof())
            break;
    }
    filme.first();
    while (filme.recNo() < war && !filme.eof())
        filme.next();
    return titel;
}

namespace {

// The four lines for `zeilen` (at most four texts) with the entry's size and spread.
std::vector<PlacedText> zeilenSetzen(const QString& schriftart, const QStringList& zeilen, int punkte,
                                     int spreizung)
{
    const int n = int(zeilen.size());
    // Design positions of the lines that stay empty.
    static const int kEntwurfOben[4] = {48, 64, 80, 96};
    const int kEntwurfLinks = 328;
    std::vector<PlacedText> texte;
    for (int i = 1; i <= 4; ++i) {
        PlacedText t;
        t.name = QStringLiteral("QRLabel%1").arg(i);
        t.ausrichtung = Qt::AlignLeft;
        if (i > n) {
            t.schrift = Schrift{schriftart, 10, false, false};
            const report::TextMass m = report::textMass(QString(), t.schrift);
            t.rahmen = QRect(kEntwurfLinks, kEntwurfOben[i - 1], 0, m.hoehe);
            texte.push_back(t);
            continue;
        }
        t.text = zeilen.at(i - 1);
        t.schrift = Schrift{schriftart, std::max(1, punkte), false, false};
        const report::TextMass m = report::textMass(t.text, t.schrift);
        t.breite = report::textBreite(t.text, t.schrift);
        // A line wider than the frame is cut at the frame.
        const int w = std::min(m.breite, kRahmenBreite);
        const int h = m.hoehe;
        int versatz = 0;
        if (n >= 2) {
            if (i == 1)
                versatz = -spreizung;
            else if (i == n)
                versatz = spreizung;
            else if (n == 4)
                versatz = i == 2 ? -(spreizung / 2) : spreizung / 2;
        }
        const int links = report::kSeitenbreite / 2 - w / 2;
        const int oben = kRahmenOben + i * (kRahmenHoehe / (n + 1)) - h / 2 + versatz;
        t.rahmen = QRect(links, oben, w, h);
        texte.push_back(t);
    }
    return texte;
}

// Every line inside the frame and no two lines on top of each other.
bool passtInRahmen(const std::vector<PlacedText>& texte)
{
    int unterkanteDavor = kRahmenOben;
    for (const PlacedText& t : texte) {
        if (t.text.isEmpty())
            continue;
        if (t.rahmen.top() < unterkanteDavor ||
            t.rahmen.top() + t.rahmen.height() > kRahmenOben + kRahmenHoehe)
            return false;
        unterkanteDavor = t.rahmen.top() + t.rahmen.height();
    }
    return true;
}

} // namespace

ReportPage etikett(const EtikettEinstellungen& e, const QStringList& titel)
{
    ReportPage seite;
    seite.rechtecke.push_back(
        {QStringLiteral("QR_Rahmen"), QRect(kRahmenLinks, kRahmenOben, kRahmenBreite, kRahmenHoehe)});
    const int n = int(titel.size());
    if (n <= 4) {
        const settings::EtikettEintrag eintrag =
            n >= 1 ? e.Etiketten.at(std::size_t(n - 1)) : settings::EtikettEintrag{};
        // The entry for one film has no spread, whatever was stored.
        seite.texte = zeilenSetzen(e.Schriftart_der_Etiketten, titel, eintrag.Schriftgroesse,
                                   n == 1 ? 0 : eintrag.Ausrichtung);
        return seite;
    }
    // More than four films: three titles and a count of the others, laid out as four
    // films; the size and spread for four films are kept as long as everything fits.
    QStringList zeilen = titel.mid(0, 3);
    zeilen << QStringLiteral("\u2026 und %1 weitere").arg(n - 3);
    const settings::EtikettEintrag vier = e.Etiketten.at(3);
    // Nothing above 72 pt fits four lines into 20 mm, so the search starts there at most.
    for (int punkte = std::clamp(vier.Schriftgroesse, 1, 72); punkte >= 1; --punkte) {
        for (int spreizung : {vier.Ausrichtung, 0}) {
            seite.texte = zeilenSetzen(e.Schriftart_der_Etiketten, zeilen, punkte, spreizung);
            if (passtInRahmen(seite.texte))
                return seite;
        }
    }
    return seite; // 1 pt always fits; kept for the compiler
}

void etikettZeigen(Interaction& ui, const settings::Einstellungen& e, store::Dataset& filme, QWidget* parent)
{
    ReportPage seite = etikett(EtikettEinstellungen::aus(e), etikettFilmeLesen(filme));
    vorschauZeigen(ui, {1, [&seite](int) { return seite; }}, QStringLiteral("Etikett"), parent);
}

} // namespace quorbel::druck
