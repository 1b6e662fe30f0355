// Bringing over a collection of old tables with 5,000 cassettes and 50,000 films, 5,000 of
// them with a picture of 20 KB: the time beside copying the same files (ratio=<convert/copy>),
// and the conversion's peak memory beside the pictures' bytes (memory=<peak/pictures>),
// which stays far below 1 because pictures are never all in memory at once.
//
//   umwandlung_bench   (Release build; takes about a minute)
//
// The conversion runs in a child process of its own, so that its peak memory is its own.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <store/listfile.h>
#include <store/paradox.h>
#include <store/umwandlung.h>
#include <sys/resource.h>

using namespace store;

namespace {

constexpr int kKassetten = 5000;
constexpr int kFilme = 50000;
constexpr int kBilder = 5000;
constexpr int kBildGroesse = 20 * 1024;

void erzeugen(const QString& dir)
{
    auto tabelle = [&dir](const char* stem) {
        return std::make_unique<paradox::Schreiber>(
            QDir(dir).filePath(QLatin1String(stem) + QStringLiteral(".db")),
            umwandlung::paradoxFelder(QLatin1String(stem)), true);
    };
    {
        auto k = tabelle("kass");
        for (int i = 1; i <= kKassetten; ++i)
            k->zeile({i, i, 240, 200, 40, false, false, false});
        k->abschliessen();
    }
    {
        auto f = tabelle("filme");
        QByteArray bild = "BM" + QByteArray(kBildGroesse - 2, 'x');
        for (int i = 1; i <= kFilme; ++i) {
            const bool mitBild = i % (kFilme / kBilder) == 0;
            bild[2 + (i % 1000)] = char(i);
            f->zeile(
                {i, 1 + (i - 1) / (kFilme / kKassetten), QStringLiteral("Film Nummer %1 über Größe").arg(i),
                 20, QStringLiteral("Drama"), QDate(1998, 1, 1).addDays(i % 9000),
                 mitBild ? QVariant(bild) : QVariant(), mitBild,
                 i % 3 == 0 ? QVariant(QStringLiteral("Beschreibung des Films %1").arg(i)) : QVariant()});
        }
        f->abschliessen();
    }
    for (const char* stem : {"ausgelhn", "atimer"}) {
        auto t = tabelle(stem);
        t->abschliessen();
    }
    writeCollectionNumber(QDir(dir).filePath(QStringLiteral("bench.qbx")), 0);
}

long spitzeKb()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--umwandeln") == 0) {
        try {
            const auto e = umwandlung::umwandeln(QString::fromLocal8Bit(argv[2]));
            if (e.kassetten != kKassetten || e.filme != kFilme) {
                std::fprintf(stderr, "converted %lld cassettes, %lld films\n", e.kassetten, e.filme);
                return 1;
            }
        } catch (const Error& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
        std::printf("%ld\n", spitzeKb());
        return 0;
    }

    QTemporaryDir tmp;
    const QString quelle = tmp.filePath(QStringLiteral("quelle"));
    const QString kopie = tmp.filePath(QStringLiteral("kopie"));
    QDir().mkpath(quelle);
    QDir().mkpath(kopie);
    erzeugen(quelle);

    QElapsedTimer t;
    t.start();
    qint64 bytes = 0;
    for (const QString& n : QDir(quelle).entryList(QDir::Files)) {
        QFile::copy(QDir(quelle).filePath(n), QDir(kopie).filePath(n));
        bytes += QFileInfo(QDir(quelle).filePath(n)).size();
    }
    const qint64 kopieren = t.elapsed();

    QProcess kind;
    t.restart();
    kind.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--umwandeln"), QDir(quelle).filePath(QStringLiteral("bench.qbx"))});
    if (!kind.waitForFinished(600000) || kind.exitCode() != 0) {
        std::fprintf(stderr, "conversion failed: %s\n", kind.readAllStandardError().constData());
        return 1;
    }
    const qint64 umwandeln = t.elapsed();
    const double spitzeMb = kind.readAllStandardOutput().trimmed().toDouble() / 1024.0;
    const double bilderMb = double(kBilder) * kBildGroesse / (1024.0 * 1024.0);
    std::printf("old tables: %.1f MB; copy %lld ms; convert %lld ms; ratio=%.1f\n", double(bytes) / (1 << 20),
                kopieren, umwandeln, double(umwandeln) / double(std::max<qint64>(1, kopieren)));
    std::printf("peak memory of the conversion %.1f MB, pictures %.1f MB; memory=%.2f\n", spitzeMb, bilderMb,
                spitzeMb / bilderMb);
    return spitzeMb < bilderMb ? 0 : 1;
}
