#include "protokolldatei.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>
#include <ui/protokoll.h>
#include <utility>

namespace quorbel {

Q_LOGGING_CATEGORY(lcApp, "quorbel.app")

namespace {

Protokolldatei* g_ziel = nullptr;
QtMessageHandler g_vorher = nullptr;
// A message logged while a message is being written (by Qt's file classes, say) is not
// written again: it would come back here without end.
thread_local bool t_schreibt = false;

const char* stufe(QtMsgType typ)
{
    switch (typ) {
    case QtDebugMsg:
        return "Debug";
    case QtInfoMsg:
        return "Info";
    case QtWarningMsg:
        return "Warnung";
    case QtCriticalMsg:
        return "Fehler";
    case QtFatalMsg:
        return "Abbruch";
    }
    return "?";
}

} // namespace

Protokolldatei::Protokolldatei(QString pfad, qint64 grenze) : m_pfad(std::move(pfad)), m_grenze(grenze) {}

Protokolldatei::~Protokolldatei()
{
    if (m_installiert) {
        qInstallMessageHandler(g_vorher);
        g_ziel = nullptr;
        setProtokolldatei(QString());
    }
}

QString Protokolldatei::standardPfad()
{
    QString ordner;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    ordner = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(ordner))
        ordner = QDir::homePath() + QStringLiteral("/.local/state");
    ordner += QStringLiteral("/quorbel98");
#else
    ordner = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
    return QDir::cleanPath(ordner + QStringLiteral("/quorbel98.log"));
}

bool Protokolldatei::schreiben(QtMsgType typ, const QMessageLogContext& kontext, const QString& text)
{
    if (typ != QtWarningMsg && typ != QtCriticalMsg && typ != QtFatalMsg)
        return true;
    const QByteArray zeile = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + ' ' + stufe(typ) +
                             ' ' + (kontext.category ? kontext.category : "default") + ": " +
                             text.toUtf8().replace('\n', "\n    ") + '\n';
    const QMutexLocker lock(&m_mutex);
    QDir().mkpath(QFileInfo(m_pfad).absolutePath());
    const qint64 groesse = QFileInfo(m_pfad).size();
    if (groesse > 0 && groesse + zeile.size() > m_grenze) {
        // The full file becomes the one old file; the one before goes.
        QFile::remove(altePfad());
        if (!QFile::rename(m_pfad, altePfad()))
            QFile::remove(m_pfad);
    }
    QFile datei(m_pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // A single line longer than the whole file may be is cut to it.
    const QByteArray teil = zeile.size() > m_grenze ? zeile.left(m_grenze - 1) + '\n' : zeile;
    return datei.write(teil) == teil.size() && datei.flush();
}

void Protokolldatei::handler(QtMsgType typ, const QMessageLogContext& kontext, const QString& text)
{
    if (g_ziel && !t_schreibt) {
        t_schreibt = true;
        g_ziel->schreiben(typ, kontext, text);
        t_schreibt = false;
    }
    if (g_vorher)
        g_vorher(typ, kontext, text);
}

void Protokolldatei::installieren()
{
    g_ziel = this;
    g_vorher = qInstallMessageHandler(&Protokolldatei::handler);
    m_installiert = true;
    setProtokolldatei(QDir::toNativeSeparators(m_pfad));
}

} // namespace quorbel
