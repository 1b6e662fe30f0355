#include "protokoll.h"

#include <QMutex>
#include <QMutexLocker>

namespace quorbel {

Q_LOGGING_CATEGORY(lcUi, "quorbel.ui")
Q_LOGGING_CATEGORY(lcCatalogue, "quorbel.catalogue")
Q_LOGGING_CATEGORY(lcLending, "quorbel.lending")
Q_LOGGING_CATEGORY(lcRecording, "quorbel.recording")
Q_LOGGING_CATEGORY(lcPrinting, "quorbel.printing")
Q_LOGGING_CATEGORY(lcSettings, "quorbel.settings")

namespace {
QMutex g_mutex;
QString g_pfad;
} // namespace

QString protokolldatei()
{
    const QMutexLocker lock(&g_mutex);
    return g_pfad;
}

void setProtokolldatei(const QString& pfad)
{
    const QMutexLocker lock(&g_mutex);
    g_pfad = pfad;
}

} // namespace quorbel
