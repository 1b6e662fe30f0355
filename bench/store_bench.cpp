// The dataset layer beside bare SQLite statements doing the same work, on a
// synthetic collection of 5,000 cassettes and 50,000 films with loans and planned
// recordings. Prints one line per operation: both medians and ratio=<ours/bare>;
// fails when a ratio is above 1.5.
//
//   store_bench [--benchmark_filter=<regex>]   (Release build; takes about a minute)

#include "benchsammlung.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/engine.h>
#include <store/error.h>
#include <string>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 5000;
constexpr int kFilms = 50000;
constexpr int kLoans = 400;
constexpr int kTimers = 300;

QString g_dir;

const char* const kWords[] = {"Apfel",  "Äpfel",   "Straße",  "Nacht",      "Tag",   "Liebe",
                              "Krieg",  "Frieden", "Ölprinz", "Schatz",     "Insel", "Stadt",
                              "Himmel", "Hölle",   "Zorro",   "Übermorgen", "Wolf",  "Berg",
                              "Meer",   "Stern",   "Jäger",   "König",      "Dieb",  "Spiel"};
const char* const kGenres[] = {"Action",          "Komödie",      "Krimi",         "Drama",     "Western",
                               "Science Fiction", "Zeichentrick", "Dokumentation", "Abenteuer", "Horror"};

using bench::check;

// Builds the collection: our statements create the files, bare SQL in one
// transaction fills them in our file format (key columns included).
void buildCollection()
{
    sqlite3* db = bench::leereSammlungOeffnen(
        g_dir, "kass.db", {{"filme.db", "filme"}, {"ausgelhn.db", "ausgelhn"}, {"atimer.db", "atimer"}});
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    QRandomGenerator rng(42);
    {
        Stmt k(db, "INSERT INTO main.tabelle (Posi, Spielzeit, Belegt, Frei, Nullfilme, Verliehen, Original) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)");
        Stmt f(db,
               "INSERT INTO filme.tabelle (Zu_Kassette, Filmname, Filmname__k, Filmlaenge, Genre, Genre__k, "
               "Datum, Bild_Vorhanden) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        const int perCassette = kFilms / kCassettes;
        for (int c = 1; c <= kCassettes; ++c) {
            const bool original = rng.bounded(10) == 0;
            int sum = 0;
            for (int i = 0; i < perCassette; ++i) {
                const QString name = QStringLiteral("%1 %2 %3")
                                         .arg(QString::fromUtf8(kWords[rng.bounded(24)]),
                                              QString::fromUtf8(kWords[rng.bounded(24)]))
                                         .arg(rng.bounded(1000));
                const QString genre = QString::fromUtf8(kGenres[rng.bounded(10)]);
                const int len = static_cast<int>(rng.bounded(5, 30));
                sum += len;
                f.reset();
                f.bind(1, c);
                f.bind(2, name);
                f.bind(3, engine::foldKey(name));
                f.bind(4, len);
                f.bind(5, genre);
                f.bind(6, engine::foldKey(genre));
                f.bind(7, QDate(1995, 1, 1).addDays(rng.bounded(11000)).toString(Qt::ISODate));
                f.bind(8, 0);
                f.exec();
            }
            const int spielzeit = sum + static_cast<int>(rng.bounded(0, 200));
            k.reset();
            k.bind(1, c);
            k.bind(2, spielzeit);
            k.bind(3, sum);
            k.bind(4, original ? 0 : spielzeit - sum);
            k.bind(5, 0);
            k.bind(6, 0);
            k.bind(7, original ? 1 : 0);
            k.exec();
        }
        Stmt l(db, "INSERT INTO ausgelhn.tabelle (Kassette, Datum, An, An__k, Anzeigen, Meldung_Am) VALUES "
                   "(?, ?, ?, "
                   "?, 1, ?)");
        for (int i = 0; i < kLoans; ++i) {
            const QString an = QStringLiteral("Person %1").arg(i % 37);
            const QDate d = QDate(2026, 1, 1).addDays(rng.bounded(300));
            l.reset();
            l.bind(1, static_cast<int>(rng.bounded(1, kCassettes + 1)));
            l.bind(2, d.toString(Qt::ISODate));
            l.bind(3, an);
            l.bind(4, engine::foldKey(an));
            l.bind(5, d.addDays(14).toString(Qt::ISODate));
            l.exec();
        }
        Stmt t(
            db,
            "INSERT INTO atimer.tabelle (Filmname, Filmname__k, Programm, Programm__k, Datum, Beginn, Ende, "
            "Laenge, Anzeigen) VALUES (?, ?, 'ARD', 'ard', ?, ?, ?, 90, 1)");
        for (int i = 0; i < kTimers; ++i) {
            const QString name = QStringLiteral("Aufnahme %1").arg(i);
            t.reset();
            t.bind(1, name);
            t.bind(2, engine::foldKey(name));
            t.bind(3, QDate(2026, 12, 1).addDays(rng.bounded(60)).toString(Qt::ISODate));
            t.bind(4, QTime(20, 15).toString(Qt::ISODate));
            t.bind(5, QTime(21, 45).toString(Qt::ISODate));
            t.exec();
        }
    }
    check(sqlite3_exec(db, "COMMIT; ANALYZE main; ANALYZE filme; ANALYZE ausgelhn; ANALYZE atimer;", nullptr,
                       nullptr, nullptr),
          db);
    sqlite3_close(db);
}

// The five datasets of the main window.
struct Five
{
    Dataset kass, filme, uebersicht, verliehen, timer;
    Five()
    {
        tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
        const std::pair<Dataset*, const char*> all[] = {{&kass, tables::kKassStem},
                                                        {&filme, tables::kFilmeStem},
                                                        {&verliehen, tables::kAusgeliehenStem},
                                                        {&timer, tables::kATimerStem},
                                                        {&uebersicht, tables::kFilmeStem}};
        for (const auto& [ds, stem] : all) {
            ds->setDatabaseName(g_dir);
            ds->setTableName(tables::tableFileName(QLatin1String(stem), 0));
        }
    }
    void open()
    {
        for (Dataset* ds : {&kass, &filme, &verliehen, &timer, &uebersicht})
            ds->open();
    }
    void close()
    {
        for (Dataset* ds : {&verliehen, &timer, &uebersicht, &filme, &kass})
            ds->close();
    }
    // The recount of the film handlers.
    void installRecount()
    {
        filme.afterPost = [this](Dataset& f) {
            const qint64 current = f.currentKey();
            f.disableControls();
            int sum = 0;
            bool zero = false;
            for (f.first(); !f.eof(); f.next()) {
                const int len = f.asInteger(QStringLiteral("Filmlaenge"));
                sum += len;
                zero = zero || len == 0;
            }
            kass.edit();
            kass.setInteger(QStringLiteral("Belegt"), sum);
            kass.setBoolean(QStringLiteral("Nullfilme"), zero);
            kass.setInteger(QStringLiteral("Frei"), kass.asInteger(QStringLiteral("Spielzeit")) - sum);
            kass.post();
            f.enableControls();
            f.locate(current);
        };
    }
};

std::unique_ptr<Five> g_open; // the datasets used by every operation but opening

// Bare SQLite on the datasets' own connection (the tables are locked to it).
sqlite3* bareDb()
{
    return engine::Connection::forDirectory(g_dir)->db();
}

// Schema alias under which a table file is attached.
QByteArray schemaOf(const char* file)
{
    Stmt s(bareDb(), "SELECT name, file FROM pragma_database_list");
    while (s.step())
        if (s.column(1).toString().endsWith(QLatin1Char('/') + QLatin1String(file)))
            return s.column(0).toString().toUtf8();
    std::fprintf(stderr, "%s not attached\n", file);
    std::exit(1);
}

struct Bare
{
    QByteArray kass, filme, verliehen, timer;
    std::map<QByteArray, std::unique_ptr<Stmt>> stmts;
    Bare()
    {
        kass = schemaOf("kass.db") + ".tabelle";
        filme = schemaOf("filme.db") + ".tabelle";
        verliehen = schemaOf("ausgelhn.db") + ".tabelle";
        timer = schemaOf("atimer.db") + ".tabelle";
    }
    Stmt& st(const QByteArray& sql)
    {
        auto it = stmts.find(sql);
        if (it == stmts.end())
            it = stmts.emplace(sql, std::make_unique<Stmt>(bareDb(), sql)).first;
        it->second->reset();
        return *it->second;
    }
    std::vector<qint64> keys(const QByteArray& sql, const QVariant& p = {})
    {
        Stmt& s = st(sql);
        if (p.isValid())
            s.bind(1, p);
        std::vector<qint64> k;
        while (s.step())
            k.push_back(s.int64(0));
        s.reset();
        return k;
    }
    // One row by key, every column read.
    void row(const QByteArray& table, const QByteArray& cols, const QByteArray& key, qint64 value)
    {
        Stmt& s = st("SELECT " + cols + " FROM " + table + " WHERE " + key + " = ?");
        s.bind(1, value);
        if (s.step())
            for (int i = 0; i < sqlite3_column_count(s.get()); ++i)
                benchmark::DoNotOptimize(s.column(i));
        s.reset();
    }
};
std::unique_ptr<Bare> g_bare;

const QByteArray kKassCols = "Nummer, Posi, Spielzeit, Belegt, Frei, Nullfilme, Verliehen, Original";
const QByteArray kFilmCols = "Zaehler, Zu_Kassette, Filmname, Filmlaenge, Genre, Datum, Bild_Vorhanden";

// --- opening the five datasets -------------------------------------------------------

void ours_open(benchmark::State& state)
{
    g_bare.reset();
    g_open->close();
    for (auto _ : state) {
        Five f;
        f.open();
        benchmark::DoNotOptimize(f.uebersicht.asString(QStringLiteral("Filmname")));
        benchmark::DoNotOptimize(f.filme.asString(QStringLiteral("Filmname")));
        f.close();
    }
    g_open->open();
    g_bare = std::make_unique<Bare>();
}

void bare_open(benchmark::State& state)
{
    g_bare.reset();
    g_open->close();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        check(sqlite3_open_v2((g_dir + QStringLiteral("/kass.db")).toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE, nullptr),
              db);
        const char* aliases[] = {"main", "f", "a", "t"};
        const char* files[] = {"kass.db", "filme.db", "ausgelhn.db", "atimer.db"};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                Stmt a(db, "ATTACH DATABASE ? AS " + QByteArray(aliases[i]));
                a.bind(1, g_dir + QLatin1Char('/') + QLatin1String(files[i]));
                a.exec();
            }
            const QByteArray s = aliases[i];
            check(sqlite3_exec(db,
                               ("PRAGMA " + s + ".locking_mode=EXCLUSIVE; PRAGMA " + s +
                                ".journal_mode=DELETE; PRAGMA " + s +
                                ".synchronous=FULL; BEGIN EXCLUSIVE; COMMIT;")
                                   .constData(),
                               nullptr, nullptr, nullptr),
                  db);
        }
        auto keys = [&](const QByteArray& sql, const QVariant& p = {}) {
            Stmt s(db, sql);
            if (p.isValid())
                s.bind(1, p);
            std::vector<qint64> k;
            while (s.step())
                k.push_back(s.int64(0));
            return k;
        };
        auto k = keys("SELECT Nummer FROM main.tabelle ORDER BY Nummer");
        auto f = keys("SELECT Zaehler FROM f.tabelle WHERE Zu_Kassette = ? ORDER BY Zu_Kassette, Zaehler",
                      k.front());
        auto u = keys("SELECT Zaehler FROM f.tabelle ORDER BY Zu_Kassette, Zaehler");
        auto l = keys("SELECT Zaehler FROM a.tabelle ORDER BY Kassette, Zaehler");
        auto t = keys("SELECT Zaehler FROM t.tabelle ORDER BY Datum, Beginn, Zaehler");
        for (const auto& [table, key] : {std::pair{"main.tabelle", k.front()},
                                         {"f.tabelle", f.front()},
                                         {"f.tabelle", u.front()},
                                         {"a.tabelle", l.front()},
                                         {"t.tabelle", t.front()}}) {
            Stmt s(db, "SELECT * FROM " + QByteArray(table) + " WHERE rowid = ?");
            s.bind(1, key);
            if (s.step())
                benchmark::DoNotOptimize(s.column(1));
        }
        sqlite3_close(db);
    }
    g_open->open();
    g_bare = std::make_unique<Bare>();
}

// --- one move of the cassette dataset, the films following -----------------------------

void ours_move(benchmark::State& state)
{
    Dataset& k = g_open->kass;
    Dataset& f = g_open->filme;
    for (auto _ : state) {
        k.next();
        if (k.eof())
            k.first();
        benchmark::DoNotOptimize(k.asInteger(QStringLiteral("Frei")));
        for (int r = 0; r < f.rowCount(); ++r)
            benchmark::DoNotOptimize(f.valueAt(r, QStringLiteral("Filmname")));
    }
}

void bare_move(benchmark::State& state)
{
    Bare& b = *g_bare;
    const auto keys = b.keys("SELECT Nummer FROM " + b.kass + " ORDER BY Nummer");
    size_t i = 0;
    for (auto _ : state) {
        i = (i + 1) % keys.size();
        b.row(b.kass, kKassCols, "Nummer", keys[i]);
        Stmt& s = b.st("SELECT " + kFilmCols + " FROM " + b.filme +
                       " WHERE Zu_Kassette = ? ORDER BY Zu_Kassette, Zaehler");
        s.bind(1, keys[i]);
        while (s.step())
            for (int c = 0; c < 7; ++c)
                benchmark::DoNotOptimize(s.column(c));
        s.reset();
    }
}

// --- storing a film with the cassette recount ----------------------------------------

void ours_post(benchmark::State& state)
{
    Dataset& k = g_open->kass;
    Dataset& f = g_open->filme;
    k.locate(77);
    g_open->installRecount();
    int n = 0;
    for (auto _ : state) {
        f.first();
        f.edit();
        f.setInteger(QStringLiteral("Filmlaenge"), 5 + (n++ % 2));
        f.post();
    }
    f.afterPost = nullptr;
}

void bare_post(benchmark::State& state)
{
    Bare& b = *g_bare;
    const qint64 cassette = 78;
    const auto films = b.keys(
        "SELECT Zaehler FROM " + b.filme + " WHERE Zu_Kassette = ? ORDER BY Zu_Kassette, Zaehler", cassette);
    int n = 0;
    for (auto _ : state) {
        b.st("SAVEPOINT b").exec();
        Stmt& u = b.st("UPDATE " + b.filme + " SET Filmlaenge = ? WHERE Zaehler = ?");
        u.bind(1, 5 + (n++ % 2));
        u.bind(2, films.front());
        u.exec();
        Stmt& s = b.st("SELECT Filmlaenge FROM " + b.filme +
                       " WHERE Zu_Kassette = ? ORDER BY Zu_Kassette, Zaehler");
        s.bind(1, cassette);
        int sum = 0;
        bool zero = false;
        while (s.step()) {
            sum += static_cast<int>(s.int64(0));
            zero = zero || s.int64(0) == 0;
        }
        Stmt& sp = b.st("SELECT Spielzeit FROM " + b.kass + " WHERE Nummer = ?");
        sp.bind(1, cassette);
        sp.step();
        const qint64 spielzeit = sp.int64(0);
        sp.reset();
        Stmt& k = b.st("UPDATE " + b.kass + " SET Belegt = ?, Nullfilme = ?, Frei = ? WHERE Nummer = ?");
        k.bind(1, sum);
        k.bind(2, zero);
        k.bind(3, spielzeit - sum);
        k.bind(4, cassette);
        k.exec();
        b.st("RELEASE b").exec();
    }
}

// --- the overview orderings ------------------------------------------------------------

const char* const kOrders[] = {"Zu_Kassette", "Filmname", "Filmlaenge", "Genre;Filmname"};
const char* const kBareOrders[] = {"Zu_Kassette, Zaehler", "Filmname__k, Zaehler", "Filmlaenge, Zaehler",
                                   "Genre__k, Filmname__k, Zaehler"};

void ours_order(benchmark::State& state)
{
    Dataset& u = g_open->uebersicht;
    const QString order = QLatin1String(kOrders[state.range(0)]);
    for (auto _ : state) {
        u.setIndexFieldNames(order);
        for (int r = 0; r < 30; ++r) // the rows a grid shows
            benchmark::DoNotOptimize(u.valueAt(r, QStringLiteral("Filmname")));
    }
    u.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
}

void bare_order(benchmark::State& state)
{
    Bare& b = *g_bare;
    const QByteArray order = kBareOrders[state.range(0)];
    for (auto _ : state) {
        const auto keys = b.keys("SELECT Zaehler FROM " + b.filme + " ORDER BY " + order);
        for (int r = 0; r < 30; ++r)
            b.row(b.filme, kFilmCols, "Zaehler", keys[static_cast<size_t>(r)]);
    }
}

// --- find nearest by title ---------------------------------------------------------------

const char* const kProbes[] = {"apf", "STRASSE", "ölp", "Nacht 3", "zz", "König Dieb", "h", "tag"};

void ours_find(benchmark::State& state)
{
    Dataset& u = g_open->uebersicht;
    u.setIndexFieldNames(QStringLiteral("Filmname"));
    int n = 0;
    for (auto _ : state) {
        u.findNearest(QString::fromUtf8(kProbes[n++ % 8]));
        benchmark::DoNotOptimize(u.asString(QStringLiteral("Filmname")));
    }
    u.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
}

void bare_find(benchmark::State& state)
{
    Bare& b = *g_bare;
    int n = 0;
    for (auto _ : state) {
        Stmt& s = b.st("SELECT Zaehler FROM " + b.filme +
                       " WHERE Filmname__k >= ? ORDER BY Filmname__k, Zaehler LIMIT 1");
        s.bind(1, engine::foldKey(QString::fromUtf8(kProbes[n++ % 8])));
        const qint64 key = s.step() ? s.int64(0) : 0;
        s.reset();
        b.row(b.filme, kFilmCols, "Zaehler", key);
    }
}

// --- the date filter, applied and lifted -----------------------------------------------

void ours_datefilter(benchmark::State& state)
{
    Dataset& u = g_open->uebersicht;
    for (auto _ : state) {
        u.setFilter(QStringLiteral("Datum >= 19.05.2020"));
        u.setFiltered(true);
        benchmark::DoNotOptimize(u.recordCount());
        benchmark::DoNotOptimize(u.asString(QStringLiteral("Filmname")));
        u.setFiltered(false);
        benchmark::DoNotOptimize(u.asString(QStringLiteral("Filmname")));
    }
}

void bare_datefilter(benchmark::State& state)
{
    Bare& b = *g_bare;
    for (auto _ : state) {
        auto k = b.keys("SELECT Zaehler FROM " + b.filme + " WHERE Datum >= ? ORDER BY Zu_Kassette, Zaehler",
                        QStringLiteral("2020-05-19"));
        b.row(b.filme, kFilmCols, "Zaehler", k.front());
        auto all = b.keys("SELECT Zaehler FROM " + b.filme + " ORDER BY Zu_Kassette, Zaehler");
        b.row(b.filme, kFilmCols, "Zaehler", all.front());
    }
}

// --- one pass over the cassettes with the free-space filter ------------------------------

// The search of the free-space page: walk the cassettes with room for 90 minutes,
// note zero-length films, list each with its position and free minutes, suggest the
// one with the smallest remainder; then lift the filter and return.
void ours_freespace(benchmark::State& state)
{
    Dataset& k = g_open->kass;
    Dataset& f = g_open->filme;
    for (auto _ : state) {
        k.disableControls();
        f.disableControls();
        const qint64 remembered = k.currentKey();
        k.setFilter(QStringLiteral("(Frei >=90) AND (Original<>1)"));
        k.setFiltered(true);
        QStringList lines;
        int best = -1, suggested = 0;
        bool zero = false;
        for (k.first(); !k.eof(); k.next()) {
            zero = zero || k.asBoolean(QStringLiteral("Nullfilme"));
            const int frei = k.asInteger(QStringLiteral("Frei"));
            lines << QStringLiteral("Kassette %1  [ %2 ] Minuten frei.").arg(k.recNo()).arg(frei);
            if (best < 0 || frei - 90 < best) {
                best = frei - 90;
                suggested = k.recNo();
            }
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(suggested);
        k.setFiltered(false);
        k.findNearest(remembered);
        f.enableControls();
        k.enableControls();
    }
}

void bare_freespace(benchmark::State& state)
{
    Bare& b = *g_bare;
    for (auto _ : state) {
        Stmt& s = b.st("SELECT Nummer, Frei, Nullfilme FROM " + b.kass +
                       " WHERE Frei >= ? AND COALESCE(Original, 0) <> ? ORDER BY Nummer");
        s.bind(1, 90);
        s.bind(2, 1);
        QStringList lines;
        int best = -1, suggested = 0, position = 0;
        bool zero = false;
        while (s.step()) {
            ++position;
            zero = zero || s.int64(2) != 0;
            const int frei = static_cast<int>(s.int64(1));
            lines << QStringLiteral("Kassette %1  [ %2 ] Minuten frei.").arg(position).arg(frei);
            if (best < 0 || frei - 90 < best) {
                best = frei - 90;
                suggested = position;
            }
        }
        s.reset();
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(suggested);
        auto all = b.keys("SELECT Nummer FROM " + b.kass + " ORDER BY Nummer");
        b.row(b.kass, kKassCols, "Nummer", all.front());
    }
}

// Collects the time per iteration of every run; ours and bare run in alternation
// (ours, bare, ours, bare, ...) so that a busy machine hurts both alike.
class Reporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::vector<double>> times; // microseconds, by "ours/<name>"
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration)
                continue;
            std::string name = r.run_name.function_name;
            name = name.substr(0, name.find('#'));
            times[name].push_back(r.GetAdjustedRealTime() *
                                  (r.time_unit == benchmark::kMillisecond ? 1000.0 : 1.0));
        }
    }
    double median(const std::string& name) { return bench::median(times[name]); }
    // Rounds run in order, ours before bare: round i of both sides lies at index i.
    double ratio(const std::string& name)
    {
        return bench::rundenVerhaeltnis(times["ours/" + name], times["bare/" + name]);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    g_dir = tmp.path();
    std::fprintf(stderr, "Building %d cassettes and %d films in %s ...\n", kCassettes, kFilms,
                 qPrintable(g_dir));
    buildCollection();
    g_open = std::make_unique<Five>();
    g_open->open();
    g_bare = std::make_unique<Bare>();

    struct Pair
    {
        const char* name;
        void (*ours)(benchmark::State&);
        void (*bare)(benchmark::State&);
        int arg;
    };
    const Pair pairs[] = {
        {"open_five_datasets", ours_open, bare_open, -1},
        {"cassette_move_with_films", ours_move, bare_move, -1},
        {"store_film_with_recount", ours_post, bare_post, -1},
        {"order_Zu_Kassette", ours_order, bare_order, 0},
        {"order_Filmname", ours_order, bare_order, 1},
        {"order_Filmlaenge", ours_order, bare_order, 2},
        {"order_Genre_Filmname", ours_order, bare_order, 3},
        {"find_nearest_title", ours_find, bare_find, -1},
        {"date_filter_apply_lift", ours_datefilter, bare_datefilter, -1},
        {"free_space_pass", ours_freespace, bare_freespace, -1},
    };
    constexpr int kRounds = 7;
    for (const Pair& p : pairs) {
        for (int round = 0; round < kRounds; ++round) {
            for (int side = 0; side < 2; ++side) {
                const QByteArray name =
                    QByteArray(side ? "bare/" : "ours/") + p.name + '#' + QByteArray::number(round);
                auto* b = benchmark::RegisterBenchmark(name.constData(), side ? p.bare : p.ours);
                if (p.arg >= 0)
                    b->Arg(p.arg);
                b->Unit(benchmark::kMicrosecond)->MinTime(0.2);
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-28s %14s %14s  %s\n", "operation", "ours (us)", "bare (us)", "ratio");
    bool allWithin = true;
    for (const Pair& p : pairs) {
        const double ours = reporter.median(std::string("ours/") + p.name);
        const double bare = reporter.median(std::string("bare/") + p.name);
        const double ratio = reporter.ratio(p.name);
        allWithin = allWithin && ratio <= 1.5;
        std::printf("%-28s %14.1f %14.1f  ratio=%.2f\n", p.name, ours, bare, ratio);
    }
    g_bare.reset();
    g_open.reset();
    return allWithin ? 0 : 1;
}
