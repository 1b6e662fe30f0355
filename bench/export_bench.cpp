// The spreadsheet export of the film overview at 200,000 films, beside a bare loop that
// reads the same rows from SQLite in the same order and writes the same bytes through
// one buffered file. Both files are compared byte for byte. Prints both medians and
// ratio=<ours/bare>; exits 1 above 1.5.
//
//   export_bench [rounds]   (Release build; 5 rounds unless told, about half a minute)

#include "benchsammlung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <extras/csv.h>
#include <extras/export.h>
#include <functional>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/engine.h>
#include <store/listfile.h>
#include <vector>

using namespace store;
using engine::Stmt;

namespace {

constexpr int kCassettes = 20000;
constexpr int kFilms = 200000;
const QDate kToday(2026, 12, 8);

using bench::check;

// Titles of two words and a number, some with a separator or a quote, genres with and
// without umlauts, some lengths empty.
void build(const QString& dir)
{
    sqlite3* db = bench::leereSammlungOeffnen(dir, "filme.db");
    writeCollectionNumber(dir + QStringLiteral("/bench.qbx"), 0);
    const QStringList words = {QStringLiteral("Abend"),  QStringLiteral("Ärger"),     QStringLiteral("Berg"),
                               QStringLiteral("Café"),   QStringLiteral("Dämmerung"), QStringLiteral("Eis"),
                               QStringLiteral("Fluss"),  QStringLiteral("Glück"),     QStringLiteral("Hafen"),
                               QStringLiteral("Insel"),  QStringLiteral("\"Jagd\""),  QStringLiteral("Küste"),
                               QStringLiteral("Licht;"), QStringLiteral("Mädchen"),   QStringLiteral("Nacht"),
                               QStringLiteral("Ozean"),  QStringLiteral("Prinz"),     QStringLiteral("Regen"),
                               QStringLiteral("Straße"), QStringLiteral("Traum"),     QStringLiteral("Wald"),
                               QStringLiteral("Zug")};
    const QStringList genres = {QStringLiteral("Abenteuer"),       QStringLiteral("Drama"),
                                QStringLiteral("Komödie"),         QStringLiteral("Krimi"),
                                QStringLiteral("Science Fiction"), QStringLiteral("Western"),
                                QStringLiteral("Dokumentation"),   QString()};
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    {
        Stmt f(db,
               "INSERT INTO main.tabelle (Zu_Kassette, Filmname, Filmname__k, Filmlaenge, Genre, Genre__k, "
               "Datum, Bild_Vorhanden) VALUES (?, ?, ?, ?, ?, ?, ?, 0)");
        QRandomGenerator rng(42);
        for (int i = 0; i < kFilms; ++i) {
            const QString name = words.at(rng.bounded(int(words.size()))) + QLatin1Char(' ') +
                                 words.at(rng.bounded(int(words.size()))) +
                                 QStringLiteral(" %1").arg(rng.bounded(1000));
            const QString& genre = genres.at(rng.bounded(int(genres.size())));
            f.reset();
            f.bind(1, 1 + int(rng.bounded(kCassettes)));
            f.bind(2, name);
            f.bind(3, engine::foldKey(name));
            f.bind(4, rng.bounded(20) == 0 ? QVariant() : QVariant(int(rng.bounded(181))));
            f.bind(5, genre);
            f.bind(6, engine::foldKey(genre));
            f.bind(7, kToday.addDays(-int(rng.bounded(3 * 365))).toString(Qt::ISODate));
            f.exec();
        }
    }
    check(sqlite3_exec(db, "COMMIT; ANALYZE;", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The bare side: one ordered statement, each row formatted by hand, one stdio buffer.
// It reads the way the export does: one pass over the table and a sort ("+" keeps SQLite
// from walking the cassette index and fetching each row by its key).
struct Bare
{
    sqlite3* db;
    QByteArray table;

    static void text(std::vector<char>& z, const unsigned char* t, int n)
    {
        bool quote = false;
        for (int i = 0; i < n; ++i)
            quote = quote || t[i] == ';' || t[i] == '"' || t[i] == '\r' || t[i] == '\n';
        if (quote)
            z.push_back('"');
        for (int i = 0; i < n; ++i) {
            if (t[i] == '"')
                z.push_back('"');
            z.push_back(char(t[i]));
        }
        if (quote)
            z.push_back('"');
    }
    static void number(std::vector<char>& z, sqlite3_stmt* s, int c)
    {
        if (sqlite3_column_type(s, c) == SQLITE_NULL)
            return;
        char b[24];
        const auto r = std::to_chars(b, b + sizeof b, sqlite3_column_int64(s, c));
        z.insert(z.end(), b, r.ptr);
    }

    void run(const QString& path) const
    {
        std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
        if (!f)
            std::exit(2);
        static char buffer[1 << 16];
        std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
        const QByteArray head =
            extras::kUtf8Bom + extras::csvZeile({QStringLiteral("Kassette"), QStringLiteral("Filmname"),
                                                 QStringLiteral("Filmlaenge"), QStringLiteral("Genre"),
                                                 QStringLiteral("Datum")});
        std::fwrite(head.constData(), 1, size_t(head.size()), f);
        Stmt st(db, "SELECT Zu_Kassette, Filmname, Filmlaenge, Genre, Datum FROM " + table +
                        " ORDER BY +Zu_Kassette, Zaehler");
        sqlite3_stmt* s = st.get();
        std::vector<char> z;
        while (sqlite3_step(s) == SQLITE_ROW) {
            z.clear();
            number(z, s, 0);
            z.push_back(';');
            text(z, sqlite3_column_text(s, 1), sqlite3_column_bytes(s, 1));
            z.push_back(';');
            number(z, s, 2);
            z.push_back(';');
            text(z, sqlite3_column_text(s, 3), sqlite3_column_bytes(s, 3));
            z.push_back(';');
            const unsigned char* d = sqlite3_column_text(s, 4); // yyyy-MM-dd
            if (d && sqlite3_column_bytes(s, 4) == 10) {
                const char out[10] = {char(d[8]), char(d[9]), '.',        char(d[5]), char(d[6]),
                                      '.',        char(d[0]), char(d[1]), char(d[2]), char(d[3])};
                z.insert(z.end(), out, out + 10);
            }
            z.push_back('\r');
            z.push_back('\n');
            std::fwrite(z.data(), 1, z.size(), f);
        }
        std::fclose(f);
    }
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Wall time of `work` in seconds; its CPU time is added to `cpu`.
double seconds(const std::function<void()>& work, std::vector<double>& cpu)
{
    const double c = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu.push_back(cpuSeconds() - c);
    return wall;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QByteArray inhalt(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir tmp;
    build(tmp.path());

    Collection c;
    c.open(tmp.path() + QStringLiteral("/bench.qbx"));
    Dataset& u = c.filmuebersicht();
    u.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    u.refresh();

    // The bare statements on the collection's own connection (the files are locked to it).
    sqlite3* db = engine::Connection::forDirectory(tmp.path())->db();
    QByteArray table;
    {
        Stmt s(db, "SELECT name, file FROM pragma_database_list");
        while (s.step())
            if (QFileInfo(s.column(1).toString()).fileName() == QLatin1String("filme.db"))
                table = s.column(0).toString().toUtf8() + ".tabelle";
    }
    const Bare bare{db, table};
    const QString oursFile = tmp.filePath(QStringLiteral("ours.csv"));
    const QString bareFile = tmp.filePath(QStringLiteral("bare.csv"));
    extras::Export exporter(c);

    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> o, b, oCpu, bCpu;
    for (int r = 0; r < rounds; ++r) {
        // In turns, so that both see the same load of the machine.
        if (r % 2) {
            o.push_back(seconds([&] { exporter.filmuebersicht(oursFile); }, oCpu));
            b.push_back(seconds([&] { bare.run(bareFile); }, bCpu));
        } else {
            b.push_back(seconds([&] { bare.run(bareFile); }, bCpu));
            o.push_back(seconds([&] { exporter.filmuebersicht(oursFile); }, oCpu));
        }
    }
    const QByteArray ours = inhalt(oursFile);
    if (ours != inhalt(bareFile) || ours.count('\n') != kFilms + 1) {
        std::fprintf(stderr, "the two files differ (%lld and %lld bytes)\n",
                     static_cast<long long>(ours.size()), static_cast<long long>(inhalt(bareFile).size()));
        return 2;
    }
    const double mo = median(o), mb = median(b);
    const double ratio = mb > 0 ? mo / mb : 0;
    std::printf("%-36s %14s %14s  %s\n", "operation", "export (s)", "bare (s)", "ratio");
    std::printf("%-36s %14.3f %14.3f  ratio=%.2f\n", "export_overview_200000_films", mo, mb, ratio);
    std::printf("%-36s %14.3f %14.3f\n", "  CPU time of the same rounds", median(oCpu), median(bCpu));
    return ratio <= 1.5 ? 0 : 1;
}
