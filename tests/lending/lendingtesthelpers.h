#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <deque>
#include <fakeinteraction.h>
#include <functional>
#include <lending/verleihregeln.h>
#include <memory>
#include <store/collectiontables.h>
#include <store/dataset.h>

namespace lendingtest {

// A collection on disk with its cassette, film and loan datasets open as the main
// window opens them.
struct Sammlung
{
    QString dir;
    store::Dataset kass, filme, uebersicht, verliehen, timer;

    explicit Sammlung(const QString& name) : dir(testing_support::freshDir(name))
    {
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir);
        store::tables::createCollection(0);
        QDir::setCurrent(old);
        store::tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
        oeffnen();
    }

    void oeffnen()
    {
        const std::pair<store::Dataset*, const char*> all[] = {{&kass, store::tables::kKassStem},
                                                               {&filme, store::tables::kFilmeStem},
                                                               {&verliehen, store::tables::kAusgeliehenStem}};
        for (const auto& [ds, stem] : all) {
            ds->setDatabaseName(dir);
            ds->setTableName(store::tables::tableFileName(QLatin1String(stem), 0));
            ds->open();
        }
    }

    void schliessen()
    {
        verliehen.close();
        filme.close();
        kass.close();
    }

    void kassettenAnlegen(int anzahl)
    {
        for (int i = 0; i < anzahl; ++i) {
            kass.append();
            kass.setInteger(QStringLiteral("Spielzeit"), 180);
            kass.post();
        }
        kass.first();
    }
};

// Answers reminders from a queue and records what it was shown.
struct FakeAnzeige final : quorbel::Erinnerungsanzeige
{
    struct Gezeigt
    {
        QString text;
        int tage;
    };
    QList<Gezeigt> gezeigt;
    // Without a queued answer: "Übernehmen" with the date `heute` + days.
    std::deque<std::function<Antwort(const QString&, int)>> antworten;
    std::function<QDate()> heute;

    Antwort Erinnerung_Zeigen(const QString& text, int tage) override
    {
        gezeigt.append({text, tage});
        if (!antworten.empty()) {
            auto a = std::move(antworten.front());
            antworten.pop_front();
            return a(text, tage);
        }
        return {false, heute().addDays(tage)};
    }
};

} // namespace lendingtest
