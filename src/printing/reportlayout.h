#pragma once

// The layout half of the report layer: a report description (bands of elements, or
// elements placed on the page) becomes pages of placed texts and rectangles. Every
// position is a whole number of layout units of 1/96 inch, measured from the paper's
// top left corner. Nothing here knows of widgets, printers or painters; fonts are only
// measured.

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace quorbel::report {

// A4 portrait in layout units, and the 10 mm margin all round.
inline constexpr int kSeitenbreite = 794;
inline constexpr int kSeitenhoehe = 1123;
inline constexpr int kRand = 38;

// Millimetres to whole layout units, rounded to the nearest unit.
int mmZuEinheiten(double mm);
// Layout units to millimetres.
double einheitenZuMm(double einheiten);

struct Schrift
{
    QString familie = QStringLiteral("Arial");
    // Points. Sizes of 0 or below are taken as 1 pt when measured and drawn.
    int punkte = 8;
    bool fett = false;
    bool kursiv = false;

    friend bool operator==(const Schrift&, const Schrift&) = default;
};

// Width and height of a one-line text in layout units, each rounded up to a whole unit,
// as the text needs them at this font. The height is the font's line height.
struct TextMass
{
    int breite = 0;
    int hoehe = 0;
};
TextMass textMass(const QString& text, const Schrift& schrift);
// The exact one-line width in layout units.
double textBreite(const QString& text, const Schrift& schrift);

// One text on a page. The text is drawn inside `rahmen` (word wrap on) and cut at it.
struct PlacedText
{
    QString name; // the element's name, for tests and look-ups
    QString text;
    Schrift schrift;
    QRect rahmen;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    // The text's one-line width in layout units, when measured; the painter draws a
    // text that fits its frame on one line without wrapping or cutting it.
    double breite = -1;
};

// A rectangle outline of one layout unit's pen.
struct PlacedRect
{
    QString name;
    QRect rahmen;
};

struct ReportPage
{
    std::vector<PlacedText> texte;
    std::vector<PlacedRect> rechtecke;

    // The text of this name, or nullptr.
    const PlacedText* text(const QString& name) const;
    // All texts of this name, top to bottom.
    std::vector<const PlacedText*> alle(const QString& name) const;
};

// An element of a band. Its position is relative to the band's top left corner.
struct Element
{
    QString name;
    QString text; // the caption; ignored when `feld` is set
    QString feld; // the field of the current row that the element prints
    Schrift schrift;
    QRect rahmen; // left, top, width, height in layout units
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    // Width and height follow the text (fixed left edge), within the band.
    bool anTextAnpassen = false;
    // Centred across the band, widened to the text when that needs more room.
    bool zentriert = false;
    bool drucken = true; // false leaves the element out of the printout
};

struct Band
{
    int hoehe = 0;
    std::vector<Element> elemente;
};

// Rows for the detail band, by 0-based index in the order they print.
class RowSource
{
public:
    virtual ~RowSource();
    virtual int anzahl() const = 0;
    virtual QString wert(int zeile, const QString& feld) const = 0;
};

// A report of bands between the margins of an A4 portrait page: the title band once
// at the top of the first page, the column header at the top of every page, one detail
// band per row, the summary band once after the last row. A report without rows has
// no pages. Pages are laid out one at a time on request; only the first row of each
// page is kept, so the memory used does not grow with the rows beyond that.
class BandedReport
{
public:
    BandedReport(Band titel, Band kopf, Band detail, Band summe, const RowSource& zeilen);

    int seitenzahl() const { return int(m_ersteZeile.size()); }
    // Page 0 .. seitenzahl() - 1.
    ReportPage seite(int nummer) const;

    static int bandbreite() { return kSeitenbreite - 2 * kRand; }

private:
    void bandSetzen(ReportPage& seite, const Band& band, int oben, int zeile) const;

    Band m_titel, m_kopf, m_detail, m_summe;
    const RowSource& m_zeilen;
    std::vector<int> m_ersteZeile; // first row of each page
    int m_summeSeite = -1;         // page that carries the summary band
};

} // namespace quorbel::report
