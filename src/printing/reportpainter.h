#pragma once

// The drawing half of the report layer: pages of placed elements onto any paint
// device, at its own resolution.

#include <QString>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace quorbel::report {

struct ReportPage;

// Draws one page. `einheitenFaktor` is the number of device pixels per layout unit
// (the device's resolution divided by 96); the painter's origin is the paper's corner.
void seiteZeichnen(QPainter& painter, const ReportPage& seite, double einheitenFaktor);

// A report as the painter sees it: a number of pages, each laid out on request.
struct Seitenfolge
{
    int anzahl = 0;
    std::function<ReportPage(int)> seite;
};

// Draws pages `von` .. `bis` (0-based, inclusive; -1 for the last) onto a device that
// is already set to A4 portrait without margins, one after another; only the page being
// drawn is held. Returns false when the device could not be opened for painting, and
// when there is no page to draw (the device is then left unopened).
bool seitenDrucken(QPagedPaintDevice& geraet, const Seitenfolge& folge, int von = 0, int bis = -1);

// Writes the pages as a PDF file. The file is written in full or not at all: an
// existing file stays untouched when writing fails. Returns an empty string on
// success, otherwise the German text of what went wrong. An error while laying out a
// page (a row that cannot be read) is thrown on, and nothing is written.
QString alsPdfSpeichern(const Seitenfolge& folge, const QString& datei, const QString& titel);

} // namespace quorbel::report
