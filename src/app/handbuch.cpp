#include "handbuch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <ui/interaction.h>

namespace quorbel {

namespace {

struct Seite
{
    const char* name;
    const char* abschnitt;
};

constexpr std::array kSeiten{
    Seite{"Tab_Eingabe", "eingabe"},
    Seite{"Tab_Uebersicht", "uebersicht"},
    Seite{"Tab_Verleihmanager", "verleih"},
    Seite{"Tab_Aufnahmetimer", "aufnahmetimer"},
    Seite{"Tab_Einstellungen", "einstellungen"},
    Seite{"TabSheet2", "info"},
};

} // namespace

QString Handbuch_Abschnitt(const QString& seitenName)
{
    for (const Seite& s : kSeiten)
        if (seitenName == QLatin1String(s.name))
            return QString::fromLatin1(s.abschnitt);
    return {};
}

QStringList Handbuch_Seitenabschnitte()
{
    QStringList out;
    for (const Seite& s : kSeiten)
        out << QString::fromLatin1(s.abschnitt);
    return out;
}

QString Handbuch_Datei()
{
    const QString index = QStringLiteral("index.html");
    QStringList orte;
    const QString vorgegeben = qEnvironmentVariable("QUORBEL_HANDBUCH_DIR");
    if (!vorgegeben.isEmpty())
        orte << vorgegeben;
    const QDir programm(QCoreApplication::applicationDirPath());
    // The installed copy: bin/ and share/ of one prefix (QUORBEL_HANDBUCH_INSTALLDIR).
    orte << programm.filePath(QStringLiteral("../share/quorbel98/handbuch"))
         << programm.filePath(QStringLiteral("../handbuch"));
    for (const QString& ort : orte) {
        const QFileInfo datei(QDir(ort), index);
        if (datei.isFile())
            return datei.canonicalFilePath();
    }
    return {};
}

QUrl Handbuch_Url(const QString& datei, const QString& abschnitt)
{
    QUrl url = QUrl::fromLocalFile(datei);
    if (!abschnitt.isEmpty())
        url.setFragment(abschnitt);
    return url;
}

void Handbuch_Oeffnen(Interaction& ui, const QString& abschnitt)
{
    const QString datei = Handbuch_Datei();
    if (datei.isEmpty()) {
        ui.warning(QStringLiteral("Das Handbuch ist nicht installiert."));
        return;
    }
    if (!ui.openHelp(Handbuch_Url(datei, abschnitt)))
        ui.warning(QStringLiteral("Das Handbuch konnte nicht im Browser geöffnet werden:") + kMessageBreak +
                   QDir::toNativeSeparators(datei));
}

} // namespace quorbel
