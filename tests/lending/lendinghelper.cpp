// A second program for the lending crash tests.
//   lendinghelper zwischen <dir>        lends cassette 1 and dies right after the
//                                       cassette was marked, before the loan row
//   lendinghelper schleife <dir> <seed> lends and takes back cassettes in a loop and
//                                       prints "ok" after each step returned

#include "lendingtesthelpers.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <csignal>
#include <cstdio>
#include <store/error.h>

using namespace quorbel;

namespace {

struct Stumm final : Erinnerungsanzeige
{
    Antwort Erinnerung_Zeigen(const QString&, int) override { return {true, {}}; }
};

} // namespace

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString& mode = args[1];
    store::Dataset kass, filme, uebersicht, verliehen, timer;
    store::tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
    const std::pair<store::Dataset*, const char*> all[] = {{&kass, store::tables::kKassStem},
                                                           {&filme, store::tables::kFilmeStem},
                                                           {&verliehen, store::tables::kAusgeliehenStem}};
    testing_support::FakeInteraction ui;
    testing_support::FixedClock clock;
    Stumm anzeige;
    try {
        for (const auto& [ds, stem] : all) {
            ds->setDatabaseName(args[2]);
            ds->setTableName(store::tables::tableFileName(QLatin1String(stem), 0));
            ds->open();
        }
        Verleihregeln regeln(
            kass, filme, verliehen, ui, clock, [] { return 7; }, anzeige);
        while (kass.recordCount() < 3) {
            kass.append();
            kass.setInteger(QStringLiteral("Spielzeit"), 240);
            kass.post();
        }
        if (mode == QLatin1String("zwischen")) {
            verliehen.beforePost = [](store::Dataset&) { std::raise(SIGKILL); };
            kass.first();
            ui.inputAnswers.push_back(QStringLiteral("Anna"));
            regeln.BitBtn_VerleihenClick();
            return 3; // not reached
        }
        if (mode != QLatin1String("schleife"))
            return 2;
        QRandomGenerator rng(args.value(3).toUInt());
        for (int i = 0;; ++i) {
            const int nummer = static_cast<int>(rng.bounded(1, 4));
            kass.locate(nummer);
            if (!kass.asBoolean(QStringLiteral("Verliehen"))) {
                ui.inputAnswers.push_back(QStringLiteral("Person %1").arg(i));
                regeln.BitBtn_VerleihenClick();
            } else {
                for (verliehen.first(); !verliehen.eof(); verliehen.next())
                    if (verliehen.asInteger(QStringLiteral("Kassette")) == nummer)
                        break;
                regeln.BitBtn_ZurueckbekommenClick();
            }
            std::printf("ok\n");
            std::fflush(stdout);
        }
    } catch (const store::Error& e) {
        std::printf("Fehler: %s\n", e.message().toUtf8().constData());
        std::fflush(stdout);
        return 1;
    }
}
