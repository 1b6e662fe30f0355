#include "reportlayout.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quorbel::report {

int mmZuEinheiten(double mm)
{
    return qRound(mm * 96.0 / 25.4);
}

double einheitenZuMm(double einheiten)
{
    return einheiten * 25.4 / 96.0;
}

namespace {

// Measured at 3 device units per layout unit, where every size is a whole pixel
// size and hinting does not bend the widths, then scaled back.
constexpr double kMessfaktor = 3.0;

const QFontMetricsF& metrik(const Schrift& schrift)
{
    // A report uses a handful of fonts; the last one asked for is asked for again most.
    // Kept until the process ends and never destroyed: font metrics must not outlive the
    // application object, which goes before the static objects do.
    static auto& metriken = *new std::vector<std::pair<Schrift, QFontMetricsF>>;
    static std::size_t zuletzt = 0;
    if (zuletzt < metriken.size() && metriken[zuletzt].first == schrift)
        return metriken[zuletzt].second;
    for (std::size_t i = 0; i < metriken.size(); ++i)
        if (metriken[i].first == schrift) {
            zuletzt = i;
            return metriken[i].second;
        }
    metriken.emplace_back(schrift, QFontMetricsF(qtSchrift(schrift, kMessfaktor)));
    zuletzt = metriken.size() - 1;
    return metriken.back().second;
}

} // namespace

double textBreite(const QString& text, const Schrift& schrift)
{
    return metrik(schrift).horizontalAdvance(text) / kMessfaktor;
}

TextMass textMass(const QString& text, const Schrift& schrift)
{
    TextMass m;
    m.breite = qCeil(textBreite(text, schrift) - 1e-6);
    m.hoehe = qCeil(metrik(schrift).height() / kMessfaktor - 1e-6);
    return m;
}

const PlacedText* ReportPage::text(const QString& name) const
{
    for (const PlacedText& t : texte)
        if (t.name == name)
            return &t;
    return nullptr;
}

std::vector<const PlacedText*> ReportPage::alle(const QString& name) const
{
    std::vector<const PlacedText*> gefunden;
    for (const PlacedText& t : texte)
        if (t.name == name)
            gefunden.push_back(&t);
    std::stable_sort(gefunden.begin(), gefunden.end(), [](const PlacedText* a, const PlacedText* b) {
        return a->rahmen.top() < b->rahmen.top();
    });
    return gefunden;
}

RowSource::~RowSource() = default;

BandedReport::BandedReport(Band titel, Band kopf, Band detail, Band summe, const RowSource& zeilen)
    : m_titel(std::move(titel)), m_kopf(std::move(kopf)), m_detail(std::move(detail)),
      m_summe(std::move(summe)), m_zeilen(zeilen)
{
    const int n = m_zeilen.anzahl();
    if (n <= 0)
        return;
    const int unten = kSeitenhoehe - kRand;
    // A detail band taller than a page still gets a page of its own.
    const auto zeilenAufSeite = [&](int oben) {
        return std::max(1, (unten - oben) / std::max(1, m_detail.hoehe));
    };
    int zeile = 0;
    int oben = kRand + m_titel.hoehe + m_kopf.hoehe;
    for (;;) {
        m_ersteZeile.push_back(zeile);
        const int passen = zeilenAufSeite(oben);
        if (zeile + passen >= n) {
            const int platzNachher = unten - (oben + (n - zeile) * m_detail.hoehe);
            if (platzNachher >= m_summe.hoehe) {
                m_summeSeite = seitenzahl() - 1;
            } else {
                m_ersteZeile.push_back(n); // a page with the header and the summary only
                m_summeSeite = seitenzahl() - 1;
            }
            break;
        }
        zeile += passen;
        oben = kRand + m_kopf.hoehe;
    }
}

void BandedReport::bandSetzen(ReportPage& seite, const Band& band, int oben, int zeile) const
{
    const int breite = bandbreite();
    for (const Element& e : band.elemente) {
        if (!e.drucken)
            continue;
        PlacedText t;
        t.name = e.name;
        t.text = e.feld.isEmpty() ? e.text : m_zeilen.wert(zeile, e.feld);
        t.schrift = e.schrift;
        t.ausrichtung = e.ausrichtung;
        QRect r = e.rahmen;
        t.breite = textBreite(t.text, t.schrift);
        const int textbreite = qCeil(t.breite - 1e-6);
        if (e.anTextAnpassen) {
            const TextMass m = textMass(t.text, t.schrift);
            r.setSize(QSize(m.breite, m.hoehe));
        }
        if (e.zentriert) {
            const int w = std::min(breite, std::max(r.width(), textbreite));
            r = QRect((breite - w) / 2, r.top(), w, r.height());
        }
        // Nothing runs past the band's edges, so nothing runs off the paper.
        r = r.intersected(QRect(0, r.top(), breite, r.height()));
        t.rahmen = r.translated(kRand, oben);
        seite.texte.push_back(std::move(t));
    }
}

ReportPage BandedReport::seite(int nummer) const
{
    if (nummer < 0 || nummer >= seitenzahl())
        throw std::out_of_range("report page");
    ReportPage seite;
    int oben = kRand;
    if (nummer == 0) {
        bandSetzen(seite, m_titel, oben, -1);
        oben += m_titel.hoehe;
    }
    bandSetzen(seite, m_kopf, oben, -1);
    oben += m_kopf.hoehe;
    const int bis = nummer + 1 < seitenzahl() ? m_ersteZeile[std::size_t(nummer) + 1] : m_zeilen.anzahl();
    for (int z = m_ersteZeile[std::size_t(nummer)]; z < bis; ++z) {
        bandSetzen(seite, m_detail, oben, z);
        oben += m_detail.hoehe;
    }
    if (nummer == m_summeSeite)
        bandSetzen(seite, m_summe, oben, -1);
    return seite;
}

} // namespace quorbel::report
