#include "listfile.h"

#include "error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    QFile file(listFilePath);
    if (listFilePath.isEmpty())
        throw FileError(QStringLiteral("Datei nicht gefunden"));
    if (!QFileInfo::exists(listFilePath))
        throw FileError(QStringLiteral("Datei nicht gefunden\n\r%1").arg(nativePath(listFilePath)));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(
            QStringLiteral("Die Videoliste %1 kann nicht gelesen werden.").arg(nativePath(listFilePath)));

    // Only the first line counts, up to its line end.
    QByteArray line = file.readLine();
    if (line.isEmpty() && file.error() != QFileDevice::NoError)
        throw FileError(
            QStringLiteral("Die Videoliste %1 kann nicht gelesen werden.").arg(nativePath(listFilePath)));
    const qsizetype end = line.indexOf('\r');
    if (end >= 0)
        line.truncate(end);
    line = line.trimmed();

    bool allDigits = true;
    for (const char c : std::as_const(line))
        allDigits = allDigits && c >= '0' && c <= '9';
    if (!allDigits)
        throw FileError(QStringLiteral("Die Videoliste %1 ist ungültig: Sie muss in ihrer ersten Zeile "
                                       "die Nummer der Videoliste enthalten (nur Ziffern).")
                            .arg(nativePath(listFilePath)));
    return QString::fromLatin1(line);
}

void writeCollectionNumber(const QString& listFilePath, int number)
{
    QSaveFile file(listFilePath);
    // Writing straight over the target keeps a list file on file systems that do not
    // allow renaming; the content is a single short line either way.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Die Videoliste %1 kann nicht geschrieben werden:\n\r%2")
                            .arg(nativePath(listFilePath), file.errorString()));
    const QByteArray line = QByteArray::number(number) + "\r\n";
    if (file.write(line) != line.size() || !file.commit())
        throw FileError(QStringLiteral("Die Videoliste %1 kann nicht geschrieben werden:\n\r%2")
                            .arg(nativePath(listFilePath), file.errorString()));
}

int nextCollectionNumber(const QString& directory)
{
    const QDir dir(directory);
    if (!dir.exists(QStringLiteral("filme.db")))
        return 0;
    int n = 1;
    while (dir.exists(QStringLiteral("filme%1.db").arg(n)))
        ++n;
    return n;
}

} // namespace store
