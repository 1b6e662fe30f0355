// The recording check and the free-space search beside bare SQLite doing the same
// selection, on a synthetic collection of 5,000 cassettes with 50,000 films and 1,000
// planned recordings, none of them due. Prints both medians and ratio=<ours/bare>, the
// median of the rounds' ratios; exits 1 when a line is above 1.5.
//
//   recording_bench [--benchmark_filter=<regex>]   (Release build)

#include "benchsammlung.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <recording/aufnahmeregeln.h>
#include <recording/freierplatz.h>
#include <settings/einstellungen.h>
#include <sqlite3.h>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/engine.h>
#include <string>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 5000;
constexpr int kFilmsPerCassette = 10;
constexpr int kTimers = 1000;
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0));

QString g_dir;

using bench::check;

// Our statements create the files; bare SQL in one transaction fills them.
void buildCollection()
{
    sqlite3* db =
        bench::leereSammlungOeffnen(g_dir, "kass.db", {{"filme.db", "filme"}, {"atimer.db", "atimer"}});
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    QRandomGenerator rng(42);
    {
        Stmt k(db, "INSERT INTO main.tabelle (Posi, Spielzeit, Belegt, Frei, Nullfilme, Verliehen, Original) "
                   "VALUES (?, ?, ?, ?, ?, 0, ?)");
        Stmt f(db,
               "INSERT INTO filme.tabelle (Zu_Kassette, Filmname, Filmname__k, Filmlaenge, Genre, Genre__k, "
               "Datum, Bild_Vorhanden) VALUES (?, ?, ?, ?, 'Drama', 'drama', '2020-01-01', 0)");
        for (int c = 1; c <= kCassettes; ++c) {
            const bool original = rng.bounded(10) == 0;
            int sum = 0;
            bool zero = false;
            for (int i = 0; i < kFilmsPerCassette; ++i) {
                const QString name = QStringLiteral("Film %1-%2").arg(c).arg(i);
                const int len = static_cast<int>(rng.bounded(0, 30));
                sum += len;
                zero = zero || len == 0;
                f.reset();
                f.bind(1, c);
                f.bind(2, name);
                f.bind(3, engine::foldKey(name));
                f.bind(4, len);
                f.exec();
            }
            const int spielzeit = sum + static_cast<int>(rng.bounded(0, 200));
            k.reset();
            k.bind(1, c);
            k.bind(2, spielzeit);
            k.bind(3, sum);
            k.bind(4, original ? 0 : spielzeit - sum);
            k.bind(5, zero);
            k.bind(6, original);
            k.exec();
        }
        // All well beyond the reminder days: the check only reads.
        Stmt t(
            db,
            "INSERT INTO atimer.tabelle (Filmname, Filmname__k, Programm, Programm__k, Datum, Beginn, Ende, "
            "Laenge, Anzeigen) VALUES (?, ?, 'ARD', 'ard', ?, ?, '21:45:00', 90, 1)");
        for (int i = 0; i < kTimers; ++i) {
            const QString name = QStringLiteral("Aufnahme %1").arg(i);
            t.reset();
            t.bind(1, name);
            t.bind(2, engine::foldKey(name));
            t.bind(3, kNow.date().addDays(30 + rng.bounded(300)).toString(Qt::ISODate));
            t.bind(4, QTime(static_cast<int>(rng.bounded(24)), 15).toString(Qt::ISODate));
            t.exec();
        }
    }
    check(sqlite3_exec(db, "COMMIT; ANALYZE main; ANALYZE filme; ANALYZE atimer;", nullptr, nullptr, nullptr),
          db);
    sqlite3_close(db);
}

// Answers the input box with 90 minutes and every message with its first button.
class Stumm final : public quorbel::Interaction
{
protected:
    quorbel::MsgButton showMessage(const quorbel::Message& m) override
    {
        return (m.buttons & quorbel::Ok) ? quorbel::Ok : quorbel::Yes;
    }
    QString showInputBox(const QString&, const QString&, const QString&) override
    {
        return QStringLiteral("90");
    }
    QString showFileChooser(const QString&, const QString&) override { return QString(); }
    QString showSaveFileChooser(const QString&, const QString&) override { return QString(); }
    int showDialog(QDialog&) override { return 0; }
    void showErrorDialog(const QString&) override {}
};

class FesteUhr final : public quorbel::Clock
{
public:
    QDateTime now() const override { return kNow; }
};

struct Offen
{
    Dataset kass, filme, uebersicht, verliehen, timer;
    Stumm ui;
    FesteUhr uhr;
    settings::Einstellungen e;
    quorbel::Aufnahmeregeln regeln{timer, ui, uhr, e};
    quorbel::FreierPlatz platz{kass, filme, timer, ui, e};
    Offen()
    {
        tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
        const std::pair<Dataset*, const char*> all[] = {
            {&kass, tables::kKassStem}, {&filme, tables::kFilmeStem}, {&timer, tables::kATimerStem}};
        for (const auto& [ds, stem] : all) {
            ds->setDatabaseName(g_dir);
            ds->setTableName(tables::tableFileName(QLatin1String(stem), 0));
            ds->open();
        }
    }
};
std::unique_ptr<Offen> g_open;

sqlite3* bareDb()
{
    return engine::Connection::forDirectory(g_dir)->db();
}

QByteArray tableOf(const char* file)
{
    Stmt s(bareDb(), "SELECT name, file FROM pragma_database_list");
    while (s.step())
        if (s.column(1).toString().endsWith(QLatin1Char('/') + QLatin1String(file)))
            return s.column(0).toString().toUtf8() + ".tabelle";
    std::fprintf(stderr, "%s not attached\n", file);
    std::exit(1);
}

// --- the recording check, nothing due ----------------------------------------------------

void ours_check(benchmark::State& state)
{
    g_open->timer.moveTo(500);
    for (auto _ : state)
        g_open->regeln.Pruefe_Aufnahmen();
    if (g_open->timer.recordCount() != kTimers)
        state.SkipWithError("entries went away");
}

void bare_check(benchmark::State& state)
{
    const QByteArray timer = tableOf("atimer.db");
    Stmt s(bareDb(),
           "SELECT Zaehler, Datum, Beginn, Anzeigen FROM " + timer + " ORDER BY Datum, Beginn, Zaehler");
    Stmt row(bareDb(), "SELECT * FROM " + timer + " WHERE Zaehler = ?");
    const QString today = kNow.date().toString(Qt::ISODate);
    const QString time = kNow.time().toString(Qt::ISODate);
    for (auto _ : state) {
        int due = 0;
        qint64 back = 0, n = 0;
        s.reset();
        while (s.step()) {
            const QString datum = s.column(1).toString();
            const QString beginn = s.column(2).toString();
            if (datum < today || (datum == today && beginn < time))
                ++due;
            else if (s.int64(3) != 0 &&
                     QDate::fromString(datum, Qt::ISODate).toJulianDay() - kNow.date().toJulianDay() <= 3)
                ++due;
            if (++n == 501)
                back = s.int64(0);
        }
        row.reset();
        row.bind(1, back);
        if (row.step())
            benchmark::DoNotOptimize(row.column(1));
        benchmark::DoNotOptimize(due);
    }
}

// --- the free-space search for 90 minutes -------------------------------------------------

void ours_freespace(benchmark::State& state)
{
    g_open->kass.locate(1234);
    g_open->filme.last();
    for (auto _ : state)
        benchmark::DoNotOptimize(g_open->platz.BitBtn_FreienPlatzSuchenClick());
}

void bare_freespace(benchmark::State& state)
{
    const QByteArray kass = tableOf("kass.db");
    const QByteArray filme = tableOf("filme.db");
    Stmt s(bareDb(), "SELECT Nummer, Frei, Nullfilme FROM " + kass +
                         " WHERE Frei >= ? AND COALESCE(Original, 0) <> ? ORDER BY Nummer");
    Stmt k(bareDb(), "SELECT * FROM " + kass + " WHERE Nummer = ?");
    Stmt f(bareDb(), "SELECT * FROM " + filme + " WHERE Zu_Kassette = ? ORDER BY Zu_Kassette, Zaehler");
    for (auto _ : state) {
        s.reset();
        s.bind(1, 90);
        s.bind(2, 1);
        QStringList lines;
        qint64 best = -1;
        int suggested = 0;
        bool zero = false;
        while (s.step()) {
            zero = zero || s.int64(2) != 0;
            const int nummer = static_cast<int>(s.int64(0));
            const int frei = static_cast<int>(s.int64(1));
            lines << QStringLiteral("Kassette ") + QString::number(nummer) + QStringLiteral("  [ ") +
                         QString::number(frei) + QStringLiteral(" ] Minuten frei.");
            if (best < 0 || frei - 90 < best) {
                best = frei - 90;
                suggested = nummer;
            }
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(suggested);
        // Back to the cassette and its films.
        k.reset();
        k.bind(1, 1234);
        if (k.step())
            benchmark::DoNotOptimize(k.column(1));
        f.reset();
        f.bind(1, 1234);
        while (f.step())
            benchmark::DoNotOptimize(f.column(2));
    }
}

class Reporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::vector<double>> times;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration)
                continue;
            std::string name = r.run_name.function_name;
            times[name.substr(0, name.find('#'))].push_back(r.GetAdjustedRealTime());
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    g_dir = tmp.path();
    buildCollection();
    g_open = std::make_unique<Offen>();
    g_open->e.Tip_Anzeigen = false;
    g_open->e.Nulllaengentip = false;

    struct Pair
    {
        const char* name;
        void (*ours)(benchmark::State&);
        void (*bare)(benchmark::State&);
    };
    const Pair pairs[] = {{"recording_check_1000", ours_check, bare_check},
                          {"free_space_search_5000", ours_freespace, bare_freespace}};
    // The median over the rounds decides each line; one noisy round does not.
    constexpr int kRounds = 7;
    for (const Pair& p : pairs)
        for (int round = 0; round < kRounds; ++round)
            for (int side = 0; side < 2; ++side) {
                const QByteArray name =
                    QByteArray(side ? "bare/" : "ours/") + p.name + '#' + QByteArray::number(round);
                benchmark::RegisterBenchmark(name.constData(), side ? p.bare : p.ours)
                    ->Unit(benchmark::kMicrosecond)
                    ->MinTime(0.2);
            }
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-26s %14s %14s  %s\n", "operation", "ours (us)", "bare (us)", "ratio");
    bool allWithin = true;
    for (const Pair& p : pairs) {
        const double ours = reporter.median(std::string("ours/") + p.name);
        const double bare = reporter.median(std::string("bare/") + p.name);
        const double ratio = reporter.ratio(p.name);
        allWithin = allWithin && ratio <= 1.5;
        std::printf("%-26s %14.1f %14.1f  ratio=%.2f\n", p.name, ours, bare, ratio);
    }
    g_open.reset();
    return allWithin ? 0 : 1;
}
