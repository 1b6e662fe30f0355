#pragma once

// What the benchmark programs share: an empty collection made by our own statements,
// opened by bare SQLite so that a program can fill it in one transaction.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sqlite3.h>
#include <store/collectiontables.h>
#include <store/engine.h>
#include <utility>
#include <vector>

namespace bench {

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The ratio of one line: ours over bare within each round, both measured side by side,
// and of those ratios the median. A round in which the machine was busy for one side
// only then moves one ratio, not the line: the median of each side on its own can pair a
// noisy round of ours with a quiet one of bare.
inline double rundenVerhaeltnis(const std::vector<double>& ours, const std::vector<double>& bare)
{
    std::vector<double> verhaeltnisse;
    for (std::size_t i = 0; i < std::min(ours.size(), bare.size()); ++i)
        if (bare[i] > 0)
            verhaeltnisse.push_back(ours[i] / bare[i]);
    return median(verhaeltnisse);
}

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
