// Showing the info page's figures over 50,000 films (the aggregates, the figures'
// text and the genre chart painted), beside the bare SQLite aggregates that the
// figures need. Prints both medians and ratio=<page/bare>; exits 1 above 1.5.
//
//   info_bench   (Release build; takes a few seconds)

#include "benchsammlung.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <app/infoseite.h>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/collectiontables.h>
#include <store/engine.h>
#include <store/listfile.h>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 2500;
constexpr int kFilms = 50000;
constexpr int kLoans = 300;
constexpr int kRecordings = 200;
const QDate kToday(2026, 12, 8);

struct Clock final : quorbel::Clock
{
    QDateTime now() const override { return QDateTime(kToday, QTime(10, 0)); }
};

using bench::check;

void build(const QString& dir)
{
    sqlite3* db = bench::leereSammlungOeffnen(dir, "kass.db",
                                              {{"filme.db", "f"}, {"ausgelhn.db", "l"}, {"atimer.db", "t"}});
    writeCollectionNumber(dir + QStringLiteral("/bench.qbx"), 0);
    const QStringList genres{QStringLiteral("Drama"),           QStringLiteral("Komödie"),
                             QStringLiteral("Krimi"),           QStringLiteral("Western"),
                             QStringLiteral("Science-Fiction"), QStringLiteral("Dokumentation"),
                             QStringLiteral("Zeichentrick"),    QString()};
    QRandomGenerator rng(11);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    {
        std::vector<int> belegt(kCassettes + 1, 0);
        Stmt f(db, "INSERT INTO f.tabelle (Zu_Kassette, Filmname, Filmname__k, Filmlaenge, Genre, Genre__k, "
                   "Datum) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < kFilms; ++i) {
            const int k = 1 + int(rng.bounded(kCassettes));
            const int len = int(rng.bounded(12));
            belegt[size_t(k)] += len;
            const QString titel = QStringLiteral("Film %1").arg(i);
            const QString& genre = genres[int(rng.bounded(int(genres.size())))];
            f.reset();
            f.bind(1, k);
            f.bind(2, titel);
            f.bind(3, engine::foldKey(titel));
            f.bind(4, len);
            f.bind(5, genre);
            f.bind(6, engine::foldKey(genre));
            f.bind(7, kToday.addDays(-int(rng.bounded(3000))).toString(Qt::ISODate));
            f.exec();
        }
        Stmt k(db,
               "INSERT INTO main.tabelle (Posi, Spielzeit, Belegt, Frei, Original) VALUES (?, ?, ?, ?, ?)");
        for (int c = 1; c <= kCassettes; ++c) {
            const bool original = c % 10 == 0;
            const int spielzeit = original ? belegt[size_t(c)] : 240;
            k.reset();
            k.bind(1, c);
            k.bind(2, spielzeit);
            k.bind(3, belegt[size_t(c)]);
            k.bind(4, original ? 0 : spielzeit - belegt[size_t(c)]);
            k.bind(5, original ? 1 : 0);
            k.exec();
        }
        Stmt l(db, "INSERT INTO l.tabelle (Kassette, Datum, Anzeigen, Meldung_Am) VALUES (?, ?, 1, ?)");
        for (int i = 1; i <= kLoans; ++i) {
            l.reset();
            l.bind(1, i);
            l.bind(2, kToday.addDays(-int(rng.bounded(100))).toString(Qt::ISODate));
            l.bind(3, kToday.addDays(int(rng.bounded(60)) - 30).toString(Qt::ISODate));
            l.exec();
        }
        Stmt t(db, "INSERT INTO t.tabelle (Filmname, Datum, Anzeigen) VALUES ('x', ?, 1)");
        for (int i = 1; i <= kRecordings; ++i) {
            t.reset();
            t.bind(1, kToday.addDays(int(rng.bounded(60))).toString(Qt::ISODate));
            t.exec();
        }
    }
    check(
        sqlite3_exec(db, "COMMIT; ANALYZE main; ANALYZE f; ANALYZE l; ANALYZE t;", nullptr, nullptr, nullptr),
        db);
    sqlite3_close(db);
}

template <typename F> double perCallMicros(int n, F f)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        f();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / n;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    build(tmp.path());

    Collection c;
    c.open(tmp.path() + QStringLiteral("/bench.qbx"));
    Clock clock;
    quorbel::QtInteraction ui;
    quorbel::Infoseite page(c, clock, ui);
    page.resize(541, 485);

    // The bare aggregates on the collection's own connection (the files are locked to it).
    sqlite3* db = engine::Connection::forDirectory(tmp.path())->db();
    QHash<QString, QByteArray> schema;
    {
        Stmt s(db, "SELECT name, file FROM pragma_database_list");
        while (s.step())
            schema[QFileInfo(s.column(1).toString()).fileName()] =
                s.column(0).toString().toUtf8() + ".tabelle";
    }
    const QByteArray k = schema[QStringLiteral("kass.db")], f = schema[QStringLiteral("filme.db")],
                     l = schema[QStringLiteral("ausgelhn.db")], t = schema[QStringLiteral("atimer.db")];
    Stmt summen(db, "SELECT (SELECT count(*) FROM " + k + "), (SELECT count(*) FROM " + k +
                        " WHERE Original = 1), (SELECT count(*) FROM " + f +
                        "), (SELECT coalesce(sum(coalesce(Filmlaenge, 0)), 0) FROM " + f +
                        "), (SELECT coalesce(sum(max(coalesce(Frei, 0), 0)), 0) FROM " + k +
                        " WHERE coalesce(Original, 0) = 0), (SELECT count(*) FROM " + l +
                        "), (SELECT count(*) FROM " + l + " WHERE Meldung_Am <= ?), (SELECT count(*) FROM " +
                        t + " WHERE Datum >= ? AND Datum <= ?)");
    Stmt voll(db,
              "SELECT Nummer, coalesce(Frei, 0), Spielzeit FROM " + k +
                  " WHERE coalesce(Original, 0) = 0 AND Spielzeit > 0 ORDER BY coalesce(Frei, 0) ASC, Nummer "
                  "LIMIT 1");
    Stmt leer(
        db, "SELECT Nummer, coalesce(Frei, 0), Spielzeit FROM " + k +
                " WHERE coalesce(Original, 0) = 0 AND Spielzeit > 0 ORDER BY coalesce(Frei, 0) DESC, Nummer "
                "LIMIT 1");
    Stmt genres(db, "SELECT trim(coalesce(Genre, '')) AS g, count(*) AS n FROM " + f +
                        " GROUP BY g ORDER BY n DESC, g");
    const QString heute = kToday.toString(Qt::ISODate), bis = kToday.addDays(6).toString(Qt::ISODate);
    qint64 sink = 0;
    auto bare = [&] {
        summen.reset();
        summen.bind(1, heute);
        summen.bind(2, heute);
        summen.bind(3, bis);
        while (summen.step())
            sink += summen.int64(2);
        for (Stmt* s : {&voll, &leer, &genres}) {
            s->reset();
            while (s->step())
                sink += s->int64(1);
        }
    };
    auto ours = [&] {
        page.Seite_Gezeigt();
        const QPixmap shown = page.grab();
        sink += shown.width();
    };

    constexpr int kRounds = 7;
    constexpr int kCalls = 10;
    std::vector<double> o, b;
    ours();
    bare();
    for (int r = 0; r < kRounds; ++r) {
        o.push_back(perCallMicros(kCalls, ours));
        b.push_back(perCallMicros(kCalls, bare));
    }
    if (page.statistik().filme != kFilms || sink == 0) {
        std::fprintf(stderr, "the page counted %lld films\n", static_cast<long long>(page.statistik().filme));
        return 2;
    }
    const double mo = median(o), mb = median(b);
    const double ratio = bench::rundenVerhaeltnis(o, b);
    std::printf("%-36s %14s %14s  %s\n", "operation", "page (us)", "bare (us)", "ratio");
    std::printf("%-36s %14.1f %14.1f  ratio=%.2f\n", "info_page_50000_films", mo, mb, ratio);
    return ratio <= 1.5 ? 0 : 1;
}
