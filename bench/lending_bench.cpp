// The overdue-loan check over 1,000 loans of which none is due, beside the bare
// SQLite query that selects the due loans in the list's order. Prints both medians
// and ratio=<ours/bare>; exits 1 when the ratio is above 1.5.
//
//   lending_bench   (Release build; takes a few seconds)

#include "benchsammlung.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <lending/verleihregeln.h>
#include <sqlite3.h>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/engine.h>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 1200;
constexpr int kLoans = 1000;
const QDate kToday(2026, 12, 8);

struct Clock final : quorbel::Clock
{
    QDateTime now() const override { return QDateTime(kToday, QTime(10, 0)); }
};

// Never asked: the bench has no due loan.
struct NoUi final : quorbel::Interaction
{
protected:
    quorbel::MsgButton showMessage(const quorbel::Message&) override { return quorbel::Ok; }
    QString showInputBox(const QString&, const QString&, const QString& i) override { return i; }
    QString showFileChooser(const QString&, const QString&) override { return {}; }
    QString showSaveFileChooser(const QString&, const QString&) override { return {}; }
    int showDialog(QDialog&) override { return 0; }
    void showErrorDialog(const QString&) override {}
};
struct NoReminder final : quorbel::Erinnerungsanzeige
{
    int shown = 0;
    Antwort Erinnerung_Zeigen(const QString&, int) override
    {
        ++shown;
        return {true, {}};
    }
};

using bench::check;

// The loans are written with bare SQL in one transaction, in our file format; half
// of them have their reminders switched off, the others are due only later.
void build(const QString& dir)
{
    sqlite3* db = bench::leereSammlungOeffnen(dir, "kass.db", {{"ausgelhn.db", "l"}});
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    {
        Stmt k(
            db,
            "INSERT INTO main.tabelle (Posi, Spielzeit, Belegt, Frei, Verliehen) VALUES (?, 240, 0, 240, ?)");
        for (int c = 1; c <= kCassettes; ++c) {
            k.reset();
            k.bind(1, c);
            k.bind(2, c <= kLoans ? 1 : 0);
            k.exec();
        }
        Stmt l(db, "INSERT INTO l.tabelle (Kassette, Datum, An, An__k, Anzeigen, Meldung_Am) VALUES (?, ?, "
                   "?, ?, ?, ?)");
        QRandomGenerator rng(7);
        for (int i = 1; i <= kLoans; ++i) {
            const QString an = QStringLiteral("Person %1").arg(rng.bounded(500));
            const bool anzeigen = rng.bounded(2) == 0;
            l.reset();
            l.bind(1, i);
            l.bind(2, kToday.addDays(-static_cast<int>(rng.bounded(400))).toString(Qt::ISODate));
            l.bind(3, an);
            l.bind(4, engine::foldKey(an));
            l.bind(5, anzeigen ? 1 : 0);
            // Switched-off loans lie in the past, waiting ones in the future.
            l.bind(6, kToday
                          .addDays(anzeigen ? 1 + static_cast<int>(rng.bounded(60))
                                            : -static_cast<int>(rng.bounded(60)))
                          .toString(Qt::ISODate));
            l.exec();
        }
    }
    check(sqlite3_exec(db, "COMMIT; ANALYZE main; ANALYZE l;", nullptr, nullptr, nullptr), db);
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
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    build(tmp.path());

    Dataset kass, filme, uebersicht, verliehen, timer;
    tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
    for (const auto& [ds, stem] : {std::pair<Dataset*, const char*>{&kass, tables::kKassStem},
                                   {&filme, tables::kFilmeStem},
                                   {&verliehen, tables::kAusgeliehenStem}}) {
        ds->setDatabaseName(tmp.path());
        ds->setTableName(tables::tableFileName(QLatin1String(stem), 0));
        ds->open();
    }
    verliehen.moveTo(kLoans / 2);
    Clock clock;
    NoUi ui;
    NoReminder reminder;
    quorbel::Verleihregeln regeln(
        kass, filme, verliehen, ui, clock, [] { return 7; }, reminder);

    // The bare selection on the datasets' own connection (the files are locked to it).
    sqlite3* db = engine::Connection::forDirectory(tmp.path())->db();
    QByteArray schema;
    {
        Stmt s(db, "SELECT name, file FROM pragma_database_list");
        while (s.step())
            if (s.column(1).toString().endsWith(QStringLiteral("/ausgelhn.db")))
                schema = s.column(0).toString().toUtf8();
    }
    Stmt due(db, "SELECT Zaehler, Kassette, Datum, An FROM " + schema +
                     ".tabelle WHERE Anzeigen = 1 AND Meldung_Am <= ? ORDER BY Kassette, Zaehler");
    const QString today = kToday.toString(Qt::ISODate);
    int bareFound = 0;
    auto bare = [&] {
        due.reset();
        due.bind(1, today);
        while (due.step())
            ++bareFound;
    };
    auto ours = [&] { regeln.Pruefe_Verliehene_Kassetten(); };

    constexpr int kRounds = 9;
    constexpr int kCalls = 200;
    std::vector<double> o, b;
    ours();
    bare();
    for (int r = 0; r < kRounds; ++r) {
        o.push_back(perCallMicros(kCalls, ours));
        b.push_back(perCallMicros(kCalls, bare));
    }
    if (reminder.shown || bareFound || verliehen.recNo() != kLoans / 2 + 1) {
        std::fprintf(stderr, "the bench collection has due loans or the check moved the list\n");
        return 2;
    }
    const double mo = median(o), mb = median(b);
    const double ratio = bench::rundenVerhaeltnis(o, b);
    std::printf("%-36s %14s %14s  %s\n", "operation", "ours (us)", "bare (us)", "ratio");
    std::printf("%-36s %14.1f %14.1f  ratio=%.2f\n", "loan_check_1000_none_due", mo, mb, ratio);
    return ratio <= 1.5 ? 0 : 1;
}
