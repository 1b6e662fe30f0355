// The picture loader: any bytes give a picture within the limits or a failure, and
// nothing is written to disk (metafiles may carry raster pictures that a metafile
// player would store as files of their own).

#include "fuzzsupport.h"

#include <catalogue/bildladen.h>

using namespace quorbel;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(true);
    QDir::setCurrent(fuzzsupport::scratchDir());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const BildErgebnis r = loadPictureData(bytes);
    if (r.ok()) {
        fuzzsupport::check(r.bild.width() <= BildGrenzen::maxSeite &&
                               r.bild.height() <= BildGrenzen::maxSeite,
                           "picture larger than allowed");
        fuzzsupport::check(qint64(r.bild.width()) * r.bild.height() <= BildGrenzen::maxPixel,
                           "picture has more pixels than allowed");
        fuzzsupport::check(!toBitmapBytes(r.bild).isEmpty(), "loaded picture cannot be stored");
    } else {
        fuzzsupport::check(!r.grund.isEmpty(), "failure without a reason");
    }
    fuzzsupport::check(fuzzsupport::scratchEmpty(), "the loader wrote a file");
    return 0;
}
