// The film overview at 50,000 films beside bare SQLite doing the same work in the same
// run: showing the page (the list read again plus the first screen of rows), switching
// to each of the four orders, one search keystroke, and the date filter switched on and
// off. Prints both medians and ratio=<ours/bare> per line, then how many rows a full
// scroll reads and what the page costs in memory; exits 1 when a ratio is above 1.5.
//
//   QT_QPA_PLATFORM=offscreen overview_bench   (Release build; takes about a minute)

#include "benchsammlung.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <catalogue/uebersichtseite.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/engine.h>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <ui/radiogroup.h>
#include <unistd.h>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 5000;
constexpr int kFilmsPerCassette = 10;
constexpr int kScreen = 16; // rows of one screen of the grid
const QDate kToday(2026, 12, 8);

struct Clock final : quorbel::Clock
{
    QDateTime now() const override { return QDateTime(kToday, QTime(10, 0)); }
};

struct NoUi final : quorbel::Interaction
{
    int errors = 0;

protected:
    quorbel::MsgButton showMessage(const quorbel::Message&) override { return quorbel::Ok; }
    QString showInputBox(const QString&, const QString&, const QString& i) override { return i; }
    QString showFileChooser(const QString&, const QString&) override { return {}; }
    QString showSaveFileChooser(const QString&, const QString&) override { return {}; }
    int showDialog(QDialog&) override { return 0; }
    void showErrorDialog(const QString& text) override
    {
        ++errors;
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

using bench::check;

// Our statements create the files; bare SQL in one transaction fills them with films
// of random titles, genres, lengths and entry dates over three years.
QString build(const QString& dir)
{
    sqlite3* db = bench::leereSammlungOeffnen(dir, "filme.db");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    const QStringList words = {QStringLiteral("Abend"),  QStringLiteral("Ärger"),     QStringLiteral("Berg"),
                               QStringLiteral("Café"),   QStringLiteral("Dämmerung"), QStringLiteral("Eis"),
                               QStringLiteral("Fluss"),  QStringLiteral("Glück"),     QStringLiteral("Hafen"),
                               QStringLiteral("Insel"),  QStringLiteral("Jagd"),      QStringLiteral("Küste"),
                               QStringLiteral("Licht"),  QStringLiteral("Mädchen"),   QStringLiteral("Nacht"),
                               QStringLiteral("Ozean"),  QStringLiteral("Prinz"),     QStringLiteral("Regen"),
                               QStringLiteral("Straße"), QStringLiteral("Traum"),     QStringLiteral("Wald"),
                               QStringLiteral("Zug")};
    const QStringList genres = {QStringLiteral("Abenteuer"),       QStringLiteral("Drama"),
                                QStringLiteral("Komödie"),         QStringLiteral("Krimi"),
                                QStringLiteral("Science Fiction"), QStringLiteral("Western"),
                                QStringLiteral("Dokumentation"),   QStringLiteral("Zeichentrick")};
    {
        Stmt f(db,
               "INSERT INTO main.tabelle (Zu_Kassette, Filmname, Filmname__k, Filmlaenge, Genre, Genre__k, "
               "Datum, Bild_Vorhanden) VALUES (?, ?, ?, ?, ?, ?, ?, 0)");
        QRandomGenerator rng(42);
        for (int c = 1; c <= kCassettes; ++c)
            for (int i = 0; i < kFilmsPerCassette; ++i) {
                const QString name = words.at(rng.bounded(static_cast<int>(words.size()))) +
                                     QLatin1Char(' ') +
                                     words.at(rng.bounded(static_cast<int>(words.size()))) +
                                     QStringLiteral(" %1").arg(rng.bounded(1000));
                const QString& genre = genres.at(rng.bounded(static_cast<int>(genres.size())));
                f.reset();
                f.bind(1, c);
                f.bind(2, name);
                f.bind(3, engine::foldKey(name));
                f.bind(4, static_cast<int>(rng.bounded(181)));
                f.bind(5, genre);
                f.bind(6, engine::foldKey(genre));
                f.bind(7, kToday.addDays(-static_cast<int>(rng.bounded(3 * 365))).toString(Qt::ISODate));
                f.exec();
            }
    }
    check(sqlite3_exec(db, "COMMIT; ANALYZE;", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    QString list = dir + QStringLiteral("/videos.qbx");
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(2);
    file.write("0\r\n");
    return list;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

using Work = std::function<void()>;

double once(const Work& setup, const Work& work)
{
    setup();
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

struct Line
{
    const char* name;
    double ours, bare, ratio;
};

// Median times in microseconds of our work and the bare work, taken in turns so that
// both see the same load of the machine; each `setup` runs untimed before its call.
Line timed(const char* name, int n, const Work& setupOurs, const Work& ours, const Work& setupBare,
           const Work& bare)
{
    std::vector<double> o, b;
    for (int i = 0; i < n; ++i) {
        if (i % 2) {
            o.push_back(once(setupOurs, ours));
            b.push_back(once(setupBare, bare));
        } else {
            b.push_back(once(setupBare, bare));
            o.push_back(once(setupOurs, ours));
        }
    }
    return {name, median(o), median(b), bench::rundenVerhaeltnis(o, b)};
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Rows SQLite hands out while `work` runs.
int g_rowsRead = 0;
int countRows(unsigned, void*, void*, void*)
{
    ++g_rowsRead;
    return 0;
}

// The bare side: the same statements on the same connection (the files are locked
// to it), holding the keys of the order in a vector as any list view over them must.
struct Bare
{
    sqlite3* db;
    QByteArray table;
    std::vector<qint64> keys;
    int cur = 0;
    int sink = 0;

    void readKeys(const QByteArray& orderBy, const QByteArray& where = {}, const QVariant& param = {})
    {
        const qint64 current = keys.empty() ? 0 : keys[static_cast<size_t>(cur)];
        Stmt s(db, "SELECT Zaehler FROM " + table + where + " ORDER BY " + orderBy + ", Zaehler");
        if (param.isValid())
            s.bind(1, param);
        keys.clear();
        while (s.step())
            keys.push_back(s.int64(0));
        const auto it = std::find(keys.begin(), keys.end(), current);
        cur = it == keys.end() ? 0 : static_cast<int>(it - keys.begin());
    }
    void screen()
    {
        QByteArray marks = "?";
        for (int i = 1; i < kScreen; ++i)
            marks += ",?";
        Stmt s(db, "SELECT Zaehler, Zu_Kassette, Filmname, Filmlaenge, Genre FROM " + table +
                       " WHERE Zaehler IN (" + marks + ")");
        for (int i = 0; i < kScreen; ++i) {
            const size_t at = static_cast<size_t>(std::min(cur + i, static_cast<int>(keys.size()) - 1));
            s.bind(i + 1, keys.empty() ? QVariant() : QVariant(keys[at]));
        }
        while (s.step())
            sink += s.column(2).toString().size() + s.column(3).toInt();
    }
    void nearest(const QString& text)
    {
        Stmt s(db, "SELECT Zaehler FROM " + table +
                       " WHERE Filmname__k >= ? ORDER BY Filmname__k, Zaehler LIMIT 1");
        s.bind(1, engine::foldKey(text));
        cur = static_cast<int>(keys.size()) - 1;
        if (s.step()) {
            const auto it = std::find(keys.begin(), keys.end(), s.int64(0));
            if (it != keys.end())
                cur = static_cast<int>(it - keys.begin());
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    const QString list = build(tmp.path());

    Collection sammlung;
    NoUi ui;
    Clock clock;
    quorbel::Uebersichtseite seite(sammlung, ui, clock);
    seite.resize(545, 480);
    seite.show();
    QApplication::processEvents();
    const long before = residentKiB();
    sammlung.open(list);
    seite.Seite_Gezeigt();
    QApplication::processEvents();

    auto* grid = seite.findChild<QTableView*>(QStringLiteral("DBGrid_Filmuebersicht"));
    auto* sortieren = seite.findChild<quorbel::RadioGroup*>(QStringLiteral("RadioGroup_Sortieren"));
    auto* suchen = seite.findChild<QLineEdit*>(QStringLiteral("Edit_Suchen"));
    auto* neue = seite.findChild<QRadioButton*>(QStringLiteral("RadioButton_NeueFilme"));
    auto* alle = seite.findChild<QRadioButton*>(QStringLiteral("RadioButton_AlleFilme"));
    Dataset& filme = sammlung.filmuebersicht();
    QAbstractItemModel* model = grid->model();
    int sink = 0;
    // The first screen of rows from the current film on, as the grid asks for them.
    const auto screen = [&] {
        const int top = std::max(0, filme.currentRow());
        for (int r = top; r < std::min(top + kScreen, model->rowCount()); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                sink += static_cast<int>(model->index(r, c).data().toString().size());
    };

    sqlite3* db = engine::Connection::forDirectory(tmp.path())->db();
    QByteArray schema;
    {
        Stmt s(db, "SELECT name, file FROM pragma_database_list");
        while (s.step())
            if (s.column(1).toString().endsWith(QStringLiteral("/filme.db")))
                schema = s.column(0).toString().toUtf8();
    }
    Bare bare{db, schema + ".tabelle", {}, 0, 0};
    const QList<QByteArray> orders = {"Zu_Kassette", "Filmname__k", "Filmlaenge", "Genre__k, Filmname__k"};
    bare.readKeys(orders[0]);

    constexpr int kRuns = 31;
    const Work none = [] {};
    std::vector<Line> lines;

    lines.push_back(timed(
        "show_page_50000", kRuns, none,
        [&] {
            seite.Seite_Gezeigt();
            screen();
        },
        none,
        [&] {
            bare.readKeys(orders[0]);
            bare.screen();
        }));

    const char* names[] = {"order_cassette", "order_title", "order_length", "order_genre_title"};
    for (int o = 0; o < 4; ++o) {
        const int other = (o + 1) % 4;
        lines.push_back(timed(
            names[o], kRuns, [&] { sortieren->button(other)->click(); },
            [&] {
                sortieren->button(o)->click();
                screen();
            },
            [&] { bare.readKeys(orders[other]); },
            [&] {
                bare.readKeys(orders[o]);
                bare.screen();
            }));
    }

    // One keystroke while the title order is in force.
    sortieren->button(1)->click();
    const QStringList prefixes = {QStringLiteral("K"), QStringLiteral("Kü"), QStringLiteral("Küs"),
                                  QStringLiteral("M"), QStringLiteral("Mä"), QStringLiteral("Zug 5")};
    int ko = 0, kb = 0;
    lines.push_back(timed(
        "search_keystroke", kRuns * 4, none,
        [&] {
            suchen->setText(prefixes.at(ko++ % prefixes.size()));
            screen();
        },
        [&] { bare.readKeys(orders[1]); },
        [&] {
            bare.nearest(prefixes.at(kb++ % prefixes.size()));
            bare.screen();
        }));

    // The date filter on (films of the last 90 days) and off again, in cassette order.
    sortieren->button(0)->click();
    seite.findChild<QDateEdit*>(QStringLiteral("DateTimePicker_Filter"))->setDate(kToday.addDays(-90));
    const QVariant since = kToday.addDays(-90).toString(Qt::ISODate);
    lines.push_back(timed(
        "date_filter_on", kRuns, [&] { alle->click(); },
        [&] {
            neue->click();
            screen();
        },
        [&] { bare.readKeys(orders[0]); },
        [&] {
            bare.readKeys(orders[0], " WHERE Datum >= ?", since);
            bare.screen();
        }));
    lines.push_back(timed(
        "date_filter_off", kRuns, [&] { neue->click(); },
        [&] {
            alle->click();
            screen();
        },
        [&] { bare.readKeys(orders[0], " WHERE Datum >= ?", since); },
        [&] {
            bare.readKeys(orders[0]);
            bare.screen();
        }));

    bool ok = ui.errors == 0;
    std::printf("%-24s %12s %12s  %s\n", "operation", "ours (us)", "bare (us)", "ratio");
    for (const Line& l : lines) {
        const double ratio = l.ratio;
        ok = ok && ratio <= 1.5;
        std::printf("%-24s %12.1f %12.1f  ratio=%.2f\n", l.name, l.ours, l.bare, ratio);
    }

    // A full scroll, page by page, painting each screen; and a jump to the bottom.
    sortieren->button(1)->click();
    filme.first();
    QApplication::processEvents();
    sqlite3_trace_v2(db, SQLITE_TRACE_ROW, countRows, nullptr);
    QScrollBar* bar = grid->verticalScrollBar();
    g_rowsRead = 0;
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep()) {
        bar->setValue(v);
        grid->viewport()->repaint();
    }
    bar->setValue(bar->maximum());
    grid->viewport()->repaint();
    const int fullScroll = g_rowsRead;
    bar->setValue(0);
    grid->viewport()->repaint();
    g_rowsRead = 0;
    bar->setValue(bar->maximum());
    grid->viewport()->repaint();
    const int jump = g_rowsRead;
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    std::printf("rows read: full scroll page by page %d of %d, jump to the bottom %d\n", fullScroll,
                filme.recordCount(), jump);
    std::printf("memory: %ld KiB resident more with 50,000 films than with the page empty\n",
                residentKiB() - before);
    return ok && (sink + bare.sink) >= 0 ? 0 : 1;
}
