#include "reportpainter.h"

#include "reportfont.h"
#include "reportlayout.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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
    const Schrift* letzte = nullptr;
    for (const PlacedText& t : seite.texte) {
        if (t.text.isEmpty() || t.rahmen.isEmpty())
            continue;
        if (!letzte || !(*letzte == t.schrift)) {
            painter.setFont(qtSchrift(t.schrift, f));
            letzte = &t.schrift;
        }
        const QRectF rahmen = geraeteRahmen(t.rahmen, f);
        // The text is cut at its own frame; nothing outside it is touched.
        painter.setClipRect(rahmen);
        painter.drawText(rahmen, textFlags(t.ausrichtung), t.text);
    }
    painter.setClipping(false);
    painter.restore();
}

bool seitenDrucken(QPagedPaintDevice& geraet, const Seitenfolge& folge, int von, int bis)
{
    if (bis < 0 || bis >= folge.anzahl)
        bis = folge.anzahl - 1;
    von = std::max(0, von);
    QPainter painter;
    if (!painter.begin(&geraet))
        return false;
    const double f = geraet.logicalDpiX() / 96.0;
    for (int s = von; s <= bis; ++s) {
        if (s > von)
            geraet.newPage();
        seiteZeichnen(painter, folge.seite(s), f);
    }
    return painter.end();
}

QString alsPdfSpeichern(const Seitenfolge& folge, const QString& datei, const QString& titel)
{
    QSaveFile ausgabe(datei);
    if (!ausgabe.open(QIODevice::WriteOnly))
        return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden:\n\r%2")
            .arg(QFileInfo(datei).fileName(), ausgabe.errorString());
    {
        QPdfWriter pdf(&ausgabe);
        pdf.setTitle(titel);
        pdf.setCreator(QStringLiteral("Quorbel 98"));
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        if (!seitenDrucken(pdf, folge)) {
            ausgabe.cancelWriting();
            return QStringLiteral("Die PDF-Datei \"%1\" konnte nicht erzeugt werden.")
                .arg(QFileInfo(datei).fileName());
        }
    }
    if (!ausgabe.commit())
        return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden:\n\r%2")
            .arg(QFileInfo(datei).fileName(), ausgabe.errorString());
    return QString();
}

} // namespace quorbel::report
