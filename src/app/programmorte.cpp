#include "programmorte.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorbel {

namespace {

QString mitTrenner(const QString& path)
{
    QString result = QDir(path).absolutePath();
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

} // namespace

bool Verzeichnis_Beschreibbar(const QString& directory)
{
    // Asks the system for the running user, so a read-only mount counts as unwritable too.
    const QFileInfo info(directory);
    return info.isDir() && info.isWritable();
}

Programmorte Programmorte_Bestimmen(const QString& programmVerzeichnis, const Beschreibbar& beschreibbar)
{
    const QString programm = mitTrenner(programmVerzeichnis);
    if (beschreibbar(programm))
        return {programm, programm};

    const QString daten = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (daten.isEmpty()) // no home at all: nowhere better to go
        return {programm, programm};
    const QString listenBasis = mitTrenner(daten + QStringLiteral("/quorbel98"));
    // The lists directory is made at window creation, which needs its parent.
    QDir().mkpath(listenBasis);

    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    return {listenBasis, mitTrenner(start)};
}

QString Startliste_Aus_Argumenten(const QStringList& argumente, const QString& arbeitsVerzeichnis)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("liste"),
                                 QStringLiteral("Die zu öffnende Videoliste (*.qbx)"));
    // Options that the program does not know are left alone; Qt took its own already.
    parser.parse(argumente);
    const QStringList listen = parser.positionalArguments();
    if (listen.isEmpty() || listen.first().isEmpty())
        return {};
    return QFileInfo(QDir(arbeitsVerzeichnis), listen.first()).absoluteFilePath();
}

} // namespace quorbel
