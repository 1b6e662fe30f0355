// The vocabulary files: any bytes decode; the entries read fit a list file again and
// come back unchanged when written and read once more; code page 1252 round-trips.

#include "fuzzsupport.h"

#include <settings/vocabulary.h>

using namespace settings::vocabulary;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const QString text = decodeWindows1252(bytes);
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArrayView beforeNul = nul >= 0 ? bytes.first(nul) : bytes;
    const std::optional<QByteArray> encoded = encodeWindows1252(text);
    fuzzsupport::check(encoded.has_value(), "decoded text cannot be encoded");
    fuzzsupport::check(*encoded == beforeNul, "code page does not round-trip");

    QStringList entries = parseLines(bytes);
    for (const QString& e : entries)
        fuzzsupport::check(fitsListFile(e), "entry read does not fit a list file");
    const std::optional<QByteArray> written = formatLines(entries);
    fuzzsupport::check(written.has_value(), "entries read cannot be written");
    fuzzsupport::check(parseLines(*written) == entries, "entries change when written and read");

    const qsizetype count = entries.size();
    sortEntries(entries);
    fuzzsupport::check(entries.size() == count, "sorting changes the number of entries");
    for (qsizetype i = 1; i < entries.size(); ++i)
        fuzzsupport::check(compareEntries(entries[i - 1], entries[i]) <= 0, "entries not sorted");
    if (!entries.isEmpty()) {
        const QString first = entries.first();
        const qsizetype at = insertSorted(entries, first);
        fuzzsupport::check(at >= 0 && at < entries.size() && entries[at] == first, "entry not inserted");
    }
    return 0;
}
