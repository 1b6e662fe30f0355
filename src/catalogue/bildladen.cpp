#include "bildladen.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <optional>
#include <ui/protokoll.h>
#include <vector>

namespace quorbel {

namespace {

BildErgebnis fehler(const QString& grund)
{
    return {QImage(), grund};
}

// A metafile that cannot be drawn: the user is told why.
BildErgebnis metafileFehler(const QString& grund)
{
    qCWarning(quorbel::lcCatalogue).noquote() << "Metafile nicht gezeigt:" << grund;
    return {QImage(), grund, true};
}

bool groesseZulaessig(const QSize& s)
{
    return s.isValid() && !s.isEmpty() && s.width() <= BildGrenzen::maxSeite &&
           s.height() <= BildGrenzen::maxSeite &&
           qint64(s.width()) * qint64(s.height()) <= BildGrenzen::maxPixel;
}

quint32 le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// An enhanced metafile starts with its header record (type 1) that carries " EMF".
bool istEmf(const QByteArray& b)
{
    return b.size() >= 88 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520u;
}

// A metafile, with or without the placeable header in front.
bool istWmf(const QByteArray& b)
{
    if (b.size() >= 22 + 18 && le32(b, 0) == 0x9AC6CDD7u)
        return true;
    if (b.size() < 18)
        return false;
    const quint16 type = le16(b, 0);
    const quint16 headerWords = le16(b, 2);
    const quint16 version = le16(b, 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// Renders an SVG document into an opaque image, no larger than the metafile limit.
BildErgebnis svgRendern(const QByteArray& svg)
{
    QSvgRenderer renderer;
    if (!renderer.load(svg) || !renderer.isValid())
        return metafileFehler(QStringLiteral("Das Metafile kann nicht gezeichnet werden."));
    QSizeF groesse = renderer.viewBoxF().size();
    const QSize standard = renderer.defaultSize();
    if (standard.isValid() && !standard.isEmpty())
        groesse = QSizeF(standard);
    if (!(groesse.width() > 0.0) || !(groesse.height() > 0.0) || !std::isfinite(groesse.width()) ||
        !std::isfinite(groesse.height()))
        return metafileFehler(QStringLiteral("Das Metafile hat keine Größe."));
    const double grenze = BildGrenzen::maxMetafileSeite;
    const double faktor = std::min({1.0, grenze / groesse.width(), grenze / groesse.height()});
    const QSize ziel(std::max(1, int(std::lround(groesse.width() * faktor))),
                     std::max(1, int(std::lround(groesse.height() * faktor))));
    QImage bild(ziel, QImage::Format_RGB32);
    if (bild.isNull())
        return metafileFehler(QStringLiteral("Nicht genug Speicher für das Bild."));
    bild.fill(Qt::white);
    QPainter painter(&bild);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(ziel)));
    painter.end();
    return {bild, {}};
}

// Checks an enhanced metafile's header record before the converter sees it: the converter
// reads the description and the pixel format wherever the header says they are, also
// beyond the end of the file. Both must lie within the header record, and that within
// the file.
std::optional<QString> emfPruefen(const QByteArray& b)
{
    const quint64 kopf = le32(b, 4);
    if (kopf < 88 || kopf % 4 != 0 || kopf > quint64(b.size()))
        return QStringLiteral("Der Kopf des Metafiles ist ungültig.");
    // A part is absent (offset and length 0) or lies within the header record. The converter
    // reads a description of length 0 up to its terminator, so that needs an offset of 0.
    const auto innerhalb = [&](quint64 anfang, quint64 laenge) {
        return (anfang == 0 && laenge == 0) || (laenge > 0 && anfang >= 88 && anfang + laenge <= kopf);
    };
    if (!innerhalb(le32(b, 64), quint64(le32(b, 60)) * 2)) // description, UTF-16 characters
        return QStringLiteral("Der Kopf des Metafiles ist ungültig.");
    if (kopf >= 100 && !innerhalb(le32(b, 92), le32(b, 88))) // pixel format
        return QStringLiteral("Der Kopf des Metafiles ist ungültig.");
    return std::nullopt;
}

BildErgebnis emfLaden(const QByteArray& bytes)
{
    if (const auto grund = emfPruefen(bytes))
        return metafileFehler(*grund);
    QByteArray eingabe = bytes; // the converter wants a writable buffer
    generatorOptions optionen{};
    char leer[] = "";
    optionen.nameSpace = leer;
    optionen.verbose = false;
    optionen.emfplus = true;
    optionen.svgDelimiter = true;
    optionen.imgWidth = 0;
    optionen.imgHeight = 0;
    char* svg = nullptr;
    size_t laenge = 0;
    const int ok = emf2svg(eingabe.data(), size_t(eingabe.size()), &svg, &laenge, &optionen);
    const auto freigeben = qScopeGuard([&svg] { std::free(svg); });
    if (!ok || svg == nullptr || laenge == 0)
        return metafileFehler(QStringLiteral("Das Metafile kann nicht gezeichnet werden."));
    return svgRendern(QByteArray(svg, qsizetype(laenge)));
}

// The directories with the Type 1 fonts that metafile text is drawn with, as the
// font package installs them below the system's data directories.
QStringList wmfSchriftVerzeichnisse()
{
    QStringList verzeichnisse;
    const QStringList gefunden =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("fonts/type1/urw-base35"), QStandardPaths::LocateDirectory);
    for (const QString& dir : gefunden) {
        if (QFileInfo(dir + QStringLiteral("/NimbusSans-Regular.t1")).isFile() &&
            !verzeichnisse.contains(dir))
            verzeichnisse.append(dir);
    }
    return verzeichnisse;
}

// Checks a metafile's header before the player sees it: the player allocates its record
// buffer from the declared largest record, so a few bytes could ask for gigabytes. No
// record can be larger than the file.
std::optional<QString> wmfPruefen(const QByteArray& b)
{
    const qsizetype kopf = le32(b, 0) == 0x9AC6CDD7u ? 22 : 0;
    if (b.size() < kopf + 18)
        return QStringLiteral("Der Kopf des Metafiles ist unvollständig.");
    const quint64 groessterSatz = quint64(le32(b, kopf + 12)) * 2; // declared in 16-bit words
    if (groessterSatz > quint64(b.size() - kopf))
        return QStringLiteral("Der Kopf des Metafiles ist ungültig.");
    return std::nullopt;
}

BildErgebnis wmfLaden(const QByteArray& bytes)
{
    if (const auto grund = wmfPruefen(bytes))
        return metafileFehler(*grund);
    const QStringList schriften = wmfSchriftVerzeichnisse();
    std::vector<QByteArray> schriftPfade;
    schriftPfade.reserve(size_t(schriften.size()));
    for (const QString& dir : schriften)
        schriftPfade.push_back(QFile::encodeName(dir));
    std::vector<char*> schriftListe;
    schriftListe.reserve(schriftPfade.size() + 1);
    for (QByteArray& pfad : schriftPfade)
        schriftListe.push_back(pfad.data());
    schriftListe.push_back(nullptr);
    // Without any font the library refuses every metafile, with or without text.
    const QString ohneSchrift =
        QStringLiteral("Keine Schriften für Metafiles gefunden (fonts/type1/urw-base35).");

    wmfAPI* api = nullptr;
    wmfAPI_Options optionen{};
    optionen.function = wmf_svg_function;
    optionen.fontdirs = schriftListe.data();
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_FONTDIRS | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &optionen) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return metafileFehler(
            schriften.isEmpty() ? ohneSchrift : QStringLiteral("Die Metafile-Bibliothek ist nicht bereit."));
    }
    char* svg = nullptr;
    unsigned long laenge = 0;
    const auto aufraeumen = qScopeGuard([&] {
        if (svg)
            wmf_free(api, svg);
        wmf_api_destroy(api);
    });

    QByteArray eingabe = bytes; // the player wants a writable buffer
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(eingabe.data()), long(eingabe.size())) !=
        wmf_E_None)
        return metafileFehler(QStringLiteral("Das Metafile ist nicht lesbar."));
    wmfD_Rect rahmen{};
    if (wmf_scan(api, 0, &rahmen) != wmf_E_None)
        return metafileFehler(QStringLiteral("Das Metafile ist beschädigt."));
    float breite = 0;
    float hoehe = 0;
    if (wmf_size(api, &breite, &hoehe) != wmf_E_None || !(breite > 0) || !(hoehe > 0) ||
        !std::isfinite(breite) || !std::isfinite(hoehe))
        return metafileFehler(QStringLiteral("Das Metafile hat keine Größe."));

    auto* geraet = static_cast<wmf_svg_t*>(api->device_data);
    const double grenze = BildGrenzen::maxMetafileSeite;
    const double faktor = std::min({1.0, grenze / double(breite), grenze / double(hoehe)});
    geraet->out = wmf_stream_create(api, nullptr);
    if (geraet->out == nullptr)
        return metafileFehler(QStringLiteral("Nicht genug Speicher für das Bild."));
    char beschreibung[] = "Bild";
    geraet->Description = beschreibung;
    geraet->bbox = rahmen;
    geraet->width = unsigned(std::max(1L, std::lround(double(breite) * faktor)));
    geraet->height = unsigned(std::max(1L, std::lround(double(hoehe) * faktor)));
    // Raster pictures inside a metafile would be written as files next to it; they are left out.
    geraet->image.name = nullptr;
    geraet->flags &= ~static_cast<unsigned long>(WMF_SVG_INLINE_IMAGES);

    const wmf_error_t gespielt = wmf_play(api, 0, &rahmen);
    wmf_stream_destroy(api, geraet->out, &svg, &laenge);
    geraet->out = nullptr;
    if (gespielt != wmf_E_None || svg == nullptr || laenge == 0)
        return metafileFehler(
            schriften.isEmpty() ? ohneSchrift : QStringLiteral("Das Metafile kann nicht gezeichnet werden."));
    return svgRendern(QByteArray(svg, qsizetype(laenge)));
}

// Checks a Windows bitmap's headers before it is decoded: the declared size must be
// within the limits, and an uncompressed bitmap must hold all the rows it declares
// (Qt's reader would show a cut-off file as a partly black picture).
std::optional<QString> bmpPruefen(const QByteArray& b)
{
    constexpr qsizetype dateikopf = 14;
    if (b.size() < dateikopf + 12)
        return QStringLiteral("Bitmap-Kopf unvollständig");
    const quint32 datenBeginn = le32(b, 10);
    const quint32 infoGroesse = le32(b, 14);
    qint64 breite = 0;
    qint64 hoehe = 0;
    quint16 bits = 0;
    quint32 kompression = 0;
    if (infoGroesse == 12) { // OS/2 core header
        breite = le16(b, 18);
        hoehe = le16(b, 20);
        bits = le16(b, 24);
    } else if (infoGroesse >= 40 && b.size() >= dateikopf + 40) {
        breite = qint32(le32(b, 18));
        hoehe = qint32(le32(b, 22));
        bits = le16(b, 28);
        kompression = le32(b, 30);
    } else {
        return QStringLiteral("Bitmap-Kopf unbekannt");
    }
    hoehe = std::abs(hoehe); // negative: rows stored top-down
    if (breite <= 0 || hoehe <= 0 || breite > BildGrenzen::maxSeite || hoehe > BildGrenzen::maxSeite ||
        breite * hoehe > BildGrenzen::maxPixel)
        return QStringLiteral("Bildgröße %1×%2 nicht zulässig").arg(breite).arg(hoehe);
    const bool unkomprimiert = kompression == 0 || kompression == 3 || kompression == 6;
    if (unkomprimiert && bits > 0 && bits <= 32) {
        const qint64 zeile = (breite * bits + 31) / 32 * 4;
        if (qint64(datenBeginn) + zeile * hoehe > b.size())
            return QStringLiteral("Bitmap unvollständig");
    }
    return std::nullopt;
}

BildErgebnis rasterLaden(const QByteArray& bytes)
{
    if (bytes.startsWith("BM")) {
        if (const auto grund = bmpPruefen(bytes))
            return fehler(*grund);
    }

    QImageReader::setAllocationLimit(BildGrenzen::allocationLimitMB);
    QBuffer puffer;
    puffer.setData(bytes);
    if (!puffer.open(QIODevice::ReadOnly))
        return fehler(QStringLiteral("nicht lesbar"));
    QImageReader leser(&puffer);
    leser.setDecideFormatFromContent(true);
    leser.setAutoTransform(true);
    const QByteArray format = leser.format();
    if (format != "bmp" && format != "png" && format != "jpeg" && format != "jpg")
        return fehler(QStringLiteral("kein Bitmap, PNG oder JPEG"));
    const QSize angegeben = leser.size();
    if (!groesseZulaessig(angegeben))
        return fehler(
            QStringLiteral("Bildgröße %1×%2 nicht zulässig").arg(angegeben.width()).arg(angegeben.height()));
    QImage bild;
    if (!leser.read(&bild) || bild.isNull())
        return fehler(leser.errorString());
    if (!groesseZulaessig(bild.size()))
        return fehler(QStringLiteral("Bildgröße nicht zulässig"));
    return {bild, {}};
}

} // namespace

BildErgebnis loadPictureData(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return fehler(QStringLiteral("leer"));
    if (bytes.size() > BildGrenzen::maxDateigroesse)
        return fehler(QStringLiteral("Datei zu groß"));
    if (istEmf(bytes))
        return emfLaden(bytes);
    if (istWmf(bytes))
        return wmfLaden(bytes);
    return rasterLaden(bytes);
}

BildErgebnis loadPicture(const QString& path)
{
    QFile datei(path);
    if (!datei.open(QIODevice::ReadOnly))
        return fehler(datei.errorString());
    if (datei.size() > BildGrenzen::maxDateigroesse)
        return fehler(QStringLiteral("Datei zu groß"));
    const QByteArray bytes = datei.read(BildGrenzen::maxDateigroesse + 1);
    if (datei.error() != QFileDevice::NoError)
        return fehler(datei.errorString());
    return loadPictureData(bytes);
}

QString bildFehlerMeldung(const BildErgebnis& ergebnis)
{
    if (ergebnis.metafile && !ergebnis.grund.isEmpty())
        return kBildFehler + QStringLiteral("\n\r") + ergebnis.grund;
    return kBildFehler;
}

QByteArray toBitmapBytes(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage bild = image;
    const int grenze = BildGrenzen::maxGespeicherteSeite;
    if (bild.width() > grenze || bild.height() > grenze)
        bild = bild.scaled(grenze, grenze, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // A bitmap has no transparency: transparent parts become white, as on paper.
    QImage opak(bild.size(), QImage::Format_RGB32);
    opak.fill(Qt::white);
    {
        QPainter painter(&opak);
        painter.drawImage(0, 0, bild);
    }
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    if (!opak.save(&puffer, "BMP"))
        return {};
    return bytes;
}

} // namespace quorbel
