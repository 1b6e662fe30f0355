#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quorbel {

// Limits that keep a picture file from taking the program's memory. The declared
// size of a picture is checked before anything is decoded.
struct BildGrenzen
{
    static constexpr qint64 maxPixel = 40'000'000;        // decoded pixels of one picture
    static constexpr int maxSeite = 20'000;               // either side of a decoded picture
    static constexpr qint64 maxDateigroesse = 64ll << 20; // bytes read from a picture file
    static constexpr int maxMetafileSeite = 2'048;        // a metafile is rendered at most this large
    static constexpr int maxGespeicherteSeite = 2'048;    // a stored bitmap's longer side
    static constexpr int allocationLimitMB = 256;         // for Qt's image readers
};

struct BildErgebnis
{
    QImage bild;           // null on failure
    QString grund;         // why it failed, for diagnostics
    bool metafile = false; // a metafile that could not be drawn: grund is told to the user
    bool ok() const { return !bild.isNull(); }
};

// What the user is told when a picture cannot be loaded.
inline const QString kBildFehler = QStringLiteral("Fehler beim Laden des Bildes !");

// The message for a picture that could not be loaded: kBildFehler, and for a metafile
// that could not be drawn the reason on a second line.
QString bildFehlerMeldung(const BildErgebnis& ergebnis);

// Loads a picture file: bitmaps, PNG and JPEG, enhanced metafiles and metafiles. The
// kind is recognised from the content, not from the file name.
BildErgebnis loadPicture(const QString& path);

// Decodes picture bytes (as stored in a film's `Bild`) under the same limits.
BildErgebnis loadPictureData(const QByteArray& bytes);

// The stored form of a picture: Windows bitmap bytes, opaque, reduced to at most
// BildGrenzen::maxGespeicherteSeite on its longer side. Empty for a null image.
QByteArray toBitmapBytes(const QImage& image);

} // namespace quorbel
