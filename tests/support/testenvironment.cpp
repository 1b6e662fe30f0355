#include "testenvironment.h"

#include <QDir>
#include <QLocale>
#include <QtGlobal>

namespace testing_support {

QString freshDir(const QString& name)
{
    QString base = qEnvironmentVariable("QUORBEL_TEST_SCRATCH");
    if (base.isEmpty())
        base = QDir::tempPath() + QStringLiteral("/quorbel-tests");
    QDir dir(base + QLatin1Char('/') + name);
    if (dir.exists())
        dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.absolutePath();
}

void initTestEnvironment()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

} // namespace testing_support
