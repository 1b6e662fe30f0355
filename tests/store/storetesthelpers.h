#pragma once

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTest>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/error.h>
#include <store/query.h>
#include <testenvironment.h>

namespace storetest {

// Runs `body` with `dir` as the current directory.
template <typename F> void inDirectory(const QString& dir, F body)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir);
    try {
        body();
    } catch (...) {
        QDir::setCurrent(old);
        throw;
    }
    QDir::setCurrent(old);
}

// A fresh directory with a complete collection of the given number.
inline QString collection(const QString& name, int number = 0)
{
    QString dir = testing_support::freshDir(name);
    inDirectory(dir, [&] { store::tables::createCollection(number); });
    return dir;
}

inline void point(store::Dataset& ds, const QString& dir, const char* stem, int number = 0)
{
    ds.setDatabaseName(dir);
    ds.setTableName(store::tables::tableFileName(QLatin1String(stem), number));
}

// The titles of a film dataset's rows, in its order.
inline QStringList titles(store::Dataset& ds)
{
    QStringList t;
    for (int r = 0; r < ds.rowCount(); ++r)
        t << ds.valueAt(r, QStringLiteral("Filmname")).toString();
    return t;
}

// Output of the sqlite3 shell for one statement on a file.
inline QString shell(const QString& file, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {file, sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

} // namespace storetest
