// The settings key file: a file that opens keeps its values through a close and an open
// (a malformed value reads as missing and stays as it is); a file that does not open is
// moved aside with a report, never overwritten.

#include "fuzzsupport.h"

#include <QFile>
#include <QFileInfo>
#include <settings/keystore.h>

using settings::FileKeyStore;
using settings::KeyError;

namespace {

struct Snapshot
{
    QStringList names;
    QStringList values;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(FileKeyStore& store)
{
    Snapshot s;
    s.names = store.valueNames();
    for (const QString& name : s.names) {
        // Values are found without regard to case; the first of equal names counts.
        if (store.holdsText(name))
            s.values << QStringLiteral("T:") + store.readText(name);
        else if (store.holdsInteger(name))
            s.values << QStringLiteral("Z:%1").arg(store.readInteger(name));
        else
            s.values << QStringLiteral("?"); // malformed: read as missing, kept as it stands
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::clearScratch();
    const QString path = fuzzsupport::scratchDir() + QStringLiteral("/quorbel98.key");
    {
        QFile f(path);
        fuzzsupport::check(f.open(QIODevice::WriteOnly), "key file not written");
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    FileKeyStore store(path);
    try {
        if (!store.openKey()) {
            fuzzsupport::check(!store.damageReport().isEmpty(), "unreadable file without a report");
            fuzzsupport::check(!QFileInfo::exists(path), "unreadable file not moved aside");
            QFile aside(path + QStringLiteral(".beschaedigt"));
            fuzzsupport::check(aside.open(QIODevice::ReadOnly), "moved file missing");
            fuzzsupport::check(aside.readAll() ==
                                   QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                               "moved file changed");
            return 0;
        }
        const Snapshot read = snapshot(store);
        store.writeInteger(QStringLiteral("Geprüft"), 1);
        store.closeKey();

        FileKeyStore again(path);
        fuzzsupport::check(again.openKey(), "a file written by the key store does not open");
        Snapshot reread = snapshot(again);
        const qsizetype added = reread.names.indexOf(QStringLiteral("Geprüft"));
        if (added >= 0 && added >= read.names.size()) {
            reread.names.removeAt(added);
            reread.values.removeAt(added);
        }
        fuzzsupport::check(reread == read, "values changed through close and open");
        again.closeKey();
    } catch (const KeyError&) {
        fuzzsupport::finding("key error on a file that opened");
    }
    return 0;
}
