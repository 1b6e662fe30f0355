#include "reportpainter.h"

#include "reportfont.h"
#include "reportlayout.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <store/sicheresschreiben.h>
#include <vector>

namespace quorbel::report {

namespace {

QRectF geraeteRahmen(const QRect& r, double f)
{
    return QRectF(r.left() * f, r.top() * f, r.width() * f, r.height() * f);
}

int textFlags(Qt::Alignment a)
{
    return int(a & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextWordWrap;
}

} // namespace

void seiteZeichnen(QPainter& painter, const ReportPage& seite, double f)
{
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    QPen stift(Qt::black);
    stift.setWidthF(f);
    painter.setPen(stift);
    painter.setBrush(Qt::NoBrush);
    for (const PlacedRect& r : seite.rechtecke)
        painter.drawRect(geraeteRahmen(r.rahmen, f));

    painter.setPen(Qt::black);
    // The fonts of the page with their ascents, made once each.
    struct Satz
    {
        Schrift schrift;
        QFont font;
        double oberlaenge;
        double zeilenabstand;
    };
    std::vector<Satz> saetze;
    std::size_t aktuell = 0; // index into saetze; past the end before the first text
    double oberlaenge = 0;
    for (const PlacedText& t : seite.texte) {
        if (t.text.isEmpty() || t.rahmen.isEmpty())
            continue;
        if (aktuell >= saetze.size() || !(saetze[aktuell].schrift == t.schrift)) {
            aktuell = std::size_t(std::find_if(saetze.begin(), saetze.end(),
                                               [&](const Satz& s) { return s.schrift == t.schrift; }) -
                                  saetze.begin());
            if (aktuell == saetze.size()) {
                QFont font = qtSchrift(t.schrift, f);
                const QFontMetricsF m(font, painter.device());
                saetze.push_back({t.schrift, font, m.ascent(), m.lineSpacing()});
            }
            painter.setFont(saetze[aktuell].font);
            oberlaenge = saetze[aktuell].oberlaenge;
        }
        const QRectF rahmen = geraeteRahmen(t.rahmen, f);
        const bool eineZeile =
            t.breite >= 0 && t.breite <= t.rahmen.width() && !t.text.contains(QLatin1Char('\n'));
        if (eineZeile) {
            // Fits on one line: drawn at its place without a text layout or a clip.
            double x = rahmen.left();
            if (t.ausrichtung & Qt::AlignHCenter)
                x += (rahmen.width() - t.breite * f) / 2;
            else if (t.ausrichtung & Qt::AlignRight)
                x += rahmen.width() - t.breite * f;
            painter.drawText(QPointF(x, rahmen.top() + oberlaenge), t.text);
            continue;
        }
        // Otherwise wrapped and cut at its own frame, after the last line that fits in
        // whole, so no slice of a further line shows; nothing outside it is touched.
        const double zeilenabstand = saetze[aktuell].zeilenabstand;
        const double ganzeZeilen = std::max(1.0, std::floor(rahmen.height() / zeilenabstand));
        QRectF sichtbar = rahmen;
        sichtbar.setHeight(std::min(rahmen.height(), ganzeZeilen * zeilenabstand));
        painter.save();
        painter.setClipRect(sichtbar, Qt::IntersectClip);
        painter.drawText(rahmen, textFlags(t.ausrichtung), t.text);
        painter.restore();
    }
    painter.restore();
}

bool seitenDrucken(QPagedPaintDevice& geraet, const Seitenfolge& folge, int von, int bis)
{
    if (bis < 0 || bis >= folge.anzahl)
        bis = folge.anzahl - 1;
    von = std::max(0, von);
    // No page to draw: the device is not even opened, as it would put out a blank one.
    if (von > bis)
        return false;
    QPainter painter;
    if (!painter.begin(&geraet))
        return false;
    const double f = geraet.logicalDpiX() / 96.0;
    try {
        for (int s = von; s <= bis; ++s) {
            if (s > von)
                geraet.newPage();
            seiteZeichnen(painter, folge.seite(s), f);
        }
    } catch (...) {
        // A row that cannot be read ends the job; the device is closed before the error goes on.
        painter.end();
        throw;
    }
    return painter.end();
}

QString alsPdfSpeichern(const Seitenfolge& folge, const QString& datei, const QString& titel)
{
    store::SicheresSchreiben ausgabe(datei);
    const auto nichtGeschrieben = [&] {
        return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden:\n\r%2")
            .arg(QFileInfo(datei).fileName(), ausgabe.grund());
    };
    if (!ausgabe.oeffnen())
        return nichtGeschrieben();
    {
        // Nothing half-written replaces the file: without abschliessen() the old one stays.
        QPdfWriter pdf(&ausgabe.geraet());
        pdf.setTitle(titel);
        pdf.setCreator(QStringLiteral("Quorbel 98"));
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        if (!seitenDrucken(pdf, folge)) {
            ausgabe.abbrechen();
            return QStringLiteral("Die PDF-Datei \"%1\" konnte nicht erzeugt werden.")
                .arg(QFileInfo(datei).fileName());
        }
    }
    if (!ausgabe.abschliessen())
        return nichtGeschrieben();
    return QString();
}

} // namespace quorbel::report
