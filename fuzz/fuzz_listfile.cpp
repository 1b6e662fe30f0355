// The list file: whatever its content, reading gives decimal digits only, or a FileError.

#include "fuzzsupport.h"

#include <QFile>
#include <store/error.h>
#include <store/listfile.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::scratchDir() + QStringLiteral("/liste.qbx");
    {
        QFile f(path);
        fuzzsupport::check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "list file not written");
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        const QString number = store::readCollectionNumber(path);
        for (const QChar c : number)
            fuzzsupport::check(c >= QLatin1Char('0') && c <= QLatin1Char('9'), "not a number");
        fuzzsupport::check(number.size() <= qsizetype(size), "number longer than the file");
    } catch (const store::FileError&) {
    }
    return 0;
}
