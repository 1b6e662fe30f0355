// Tables of the old format: whatever the table and blob file hold, reading gives rows of
// the declared shape or a Formatfehler, within the files' size and without endless loops.
// The input is a 4-byte little-endian length, that many bytes of the table file and the
// rest as its blob file (none when nothing is left).

#include "fuzzsupport.h"

#include <QFile>
#include <store/paradox.h>

namespace {

void schreibe(const QString& pfad, const uint8_t* data, size_t size)
{
    QFile f(pfad);
    fuzzsupport::check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "file not written");
    f.write(reinterpret_cast<const char*>(data), qint64(size));
}

bool passt(const QVariant& v, store::paradox::Feldtyp typ)
{
    using store::paradox::Feldtyp;
    if (!v.isValid())
        return true;
    switch (typ) {
    case Feldtyp::Alpha:
    case Feldtyp::Memo:
        return v.typeId() == QMetaType::QString && !v.toString().isEmpty();
    case Feldtyp::Short:
    case Feldtyp::Long:
    case Feldtyp::AutoInc:
        return v.typeId() == QMetaType::Int;
    case Feldtyp::Logical:
        return v.typeId() == QMetaType::Bool;
    case Feldtyp::Datum:
        return v.typeId() == QMetaType::QDate && v.toDate().isValid();
    case Feldtyp::Zeit:
        return v.typeId() == QMetaType::QTime && v.toTime().isValid();
    case Feldtyp::Blob:
    case Feldtyp::Graphic:
        return v.typeId() == QMetaType::QByteArray && !v.toByteArray().isEmpty();
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const size_t rest = size - 4;
    const size_t dbLaenge = std::min<size_t>(rest, size_t(data[0]) | (size_t(data[1]) << 8) |
                                                       (size_t(data[2]) << 16) | (size_t(data[3]) << 24));
    const QString dbPfad = fuzzsupport::scratchDir() + QStringLiteral("/x.db");
    const QString mbPfad = fuzzsupport::scratchDir() + QStringLiteral("/x.mb");
    QFile::remove(mbPfad);
    schreibe(dbPfad, data + 4, dbLaenge);
    if (rest > dbLaenge)
        schreibe(mbPfad, data + 4 + dbLaenge, rest - dbLaenge);

    const bool erkannt = store::paradox::istParadoxTabelle(dbPfad);
    try {
        store::paradox::Leser leser(dbPfad);
        fuzzsupport::check(erkannt, "opened a file not recognised as a table");
        const auto& felder = leser.kopf().felder;
        fuzzsupport::check(!felder.empty(), "table without fields");
        std::vector<QVariant> zeile;
        while (leser.naechste(zeile)) {
            fuzzsupport::check(zeile.size() == felder.size(), "row of the wrong width");
            for (size_t i = 0; i < zeile.size(); ++i) {
                fuzzsupport::check(passt(zeile[i], felder[i].typ), "value of the wrong type");
                if (zeile[i].typeId() == QMetaType::QByteArray)
                    fuzzsupport::check(size_t(zeile[i].toByteArray().size()) <= size,
                                       "blob beyond the input");
            }
            fuzzsupport::check(leser.gelesen() <= leser.kopf().datensaetze, "more rows than the header has");
        }
        fuzzsupport::check(leser.gelesen() == leser.kopf().datensaetze, "row count differs from the header");
    } catch (const store::Error&) {
    }
    return 0;
}
