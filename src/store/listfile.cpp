#include "listfile.h"

#include "collectiontables.h"
#include "error.h"
#include "sicheresschreiben.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace store {

namespace {

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString readCollectionNumber(const QString& listFilePath)
{
    if (listFilePath.isEmpty())
        throw FileError(QStringLiteral("Datei nicht gefunden"));
    const QFileInfo info(listFilePath);
    if (!info.exists())
        throw FileError(QStringLiteral("Datei nicht gefunden\n\r%1").arg(nativePath(listFilePath)));
    const auto invalid = [&listFilePath] {
        return FileError(QStringLiteral("Die Videoliste %1 ist ungültig: Sie muss in ihrer ersten Zeile "
                                        "die Nummer der Videoliste enthalten (nur Ziffern).")
                             .arg(nativePath(listFilePath)));
    };
    const auto unreadable = [&listFilePath] {
        return FileError(
            QStringLiteral("Die Videoliste %1 kann nicht gelesen werden.").arg(nativePath(listFilePath)));
    };
    if (info.isDir())
        throw unreadable();
    // Only a regular file is opened: opening a pipe would wait for a writer for good,
    // and a device never holds a collection number.
    if (!info.isFile())
        throw invalid();
    QFile file(listFilePath);
    if (!file.open(QIODevice::ReadOnly))
        throw unreadable();
    if (file.isSequential()) // a device put in its place since it was looked at
        throw invalid();

    // Only the first line counts, up to its line end, and only within the first few
    // kilobytes: a longer "line" is no collection number.
    const QByteArray head = file.read(kMaxFirstLine + 1);
    if (file.error() != QFileDevice::NoError)
        throw unreadable();
    qsizetype end = head.indexOf('\n');
    const qsizetype cr = head.indexOf('\r');
    if (cr >= 0 && (end < 0 || cr < end))
        end = cr;
    if (end < 0 && head.size() > kMaxFirstLine)
        throw invalid();
    QByteArray line = end >= 0 ? head.left(end) : head;
    line = line.trimmed();

    bool allDigits = true;
    for (const char c : std::as_const(line))
        allDigits = allDigits && c >= '0' && c <= '9';
    if (!allDigits)
        throw invalid();
    return QString::fromLatin1(line);
}

void writeCollectionNumber(const QString& listFilePath, int number)
{
    SicheresSchreiben file(listFilePath);
    // Writing straight over the target keeps a list file on file systems that do not
    // allow renaming; the content is a single short line either way.
    file.direktErlauben();
    const QByteArray line = QByteArray::number(number) + "\r\n";
    if (!file.oeffnen() || !file.schreiben(line) || !file.abschliessen())
        throw FileError(QStringLiteral("Die Videoliste %1 kann nicht geschrieben werden:\n\r%2")
                            .arg(nativePath(listFilePath), file.grund()));
}

int nextCollectionNumber(const QString& directory)
{
    tables::recoverCreations(directory); // an interrupted creation is whole or gone
    const QDir dir(directory);
    if (!dir.exists(QStringLiteral("filme.db")))
        return 0;
    int n = 1;
    while (dir.exists(QStringLiteral("filme%1.db").arg(n)))
        ++n;
    return n;
}

} // namespace store
