#pragma once

// What the benchmark programs share: an empty collection made by our own statements,
// opened by bare SQLite so that a program can fill it in one transaction.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sqlite3.h>
#include <store/collectiontables.h>
#include <store/engine.h>
#include <utility>

namespace bench {

// Stops the program with SQLite's message when `rc` is an error.
inline void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "SQLite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// Creates the four table files of collection 0 in `dir` and opens `mainFile` of them
// bare, with each further (file, alias) attached.
inline sqlite3* leereSammlungOeffnen(const QString& dir, const char* mainFile,
                                     std::initializer_list<std::pair<const char*, const char*>> attached = {})
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir);
    store::tables::createCollection(0);
    QDir::setCurrent(old);
    sqlite3* db = nullptr;
    check(sqlite3_open((dir + QLatin1Char('/') + QLatin1String(mainFile)).toUtf8().constData(), &db), db);
    for (const auto& [file, alias] : attached) {
        store::engine::Stmt a(db, QByteArray("ATTACH DATABASE ? AS ") + alias);
        a.bind(1, dir + QLatin1Char('/') + QLatin1String(file));
        a.exec();
    }
    return db;
}

} // namespace bench
