// A second program for the store tests.
//   storehelper hold <dir>        opens the collection, prints "offen", waits for stdin to close
//   storehelper post <dir> <seed> posts films in a loop like the real program (the after-post
//                                 handler recounts the cassette) and prints each film key
//                                 after post() returned

#include <QCoreApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <cstdio>
#include <iostream>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/error.h>
#include <string>

using namespace store;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString& mode = args[1];
    const QString& dir = args[2];
    Dataset kass, filme, uebersicht, verliehen, timer;
    tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
    const std::pair<Dataset*, const char*> all[] = {{&kass, tables::kKassStem},
                                                    {&filme, tables::kFilmeStem},
                                                    {&verliehen, tables::kAusgeliehenStem},
                                                    {&timer, tables::kATimerStem},
                                                    {&uebersicht, tables::kFilmeStem}};
    try {
        for (const auto& [ds, stem] : all) {
            ds->setDatabaseName(dir);
            ds->setTableName(tables::tableFileName(QLatin1String(stem), 0));
            ds->open();
        }
    } catch (const Error& e) {
        std::printf("Fehler: %s\n", e.message().toUtf8().constData());
        std::fflush(stdout);
        return 1;
    }
    if (mode == QLatin1String("hold")) {
        std::printf("offen\n");
        std::fflush(stdout);
        std::string line;
        std::getline(std::cin, line);
        return 0;
    }
    if (mode != QLatin1String("post"))
        return 2;

    filme.afterPost = [&](Dataset& f) {
        const qint64 current = f.currentKey();
        f.disableControls();
        int sum = 0;
        for (f.first(); !f.eof(); f.next())
            sum += f.asInteger(QStringLiteral("Filmlaenge"));
        kass.edit();
        kass.setInteger(QStringLiteral("Belegt"), sum);
        kass.setInteger(QStringLiteral("Frei"), kass.asInteger(QStringLiteral("Spielzeit")) - sum);
        kass.post();
        f.enableControls();
        f.locate(current);
    };
    while (kass.recordCount() < 3) {
        kass.append();
        kass.setInteger(QStringLiteral("Spielzeit"), 1000000);
        kass.post();
    }
    QRandomGenerator rng(args.value(3).toUInt());
    for (int i = 0;; ++i) {
        kass.moveTo(static_cast<int>(rng.bounded(3)));
        filme.append();
        filme.setString(QStringLiteral("Filmname"), QStringLiteral("Film %1").arg(i));
        filme.setInteger(QStringLiteral("Filmlaenge"), static_cast<int>(rng.bounded(1, 200)));
        filme.post();
        std::printf("%lld\n", static_cast<long long>(filme.currentKey()));
        std::fflush(stdout);
    }
}
