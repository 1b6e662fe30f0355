// The figures of the info page against a collection built by hand.

#include "extrastesthelpers.h"

#include <QDir>
#include <extras/statistik.h>
#include <sqlite3.h>

using namespace extrastest;
using testing_support::freshDir;

class TstStatistik : public QObject
{
    Q_OBJECT
    const QDate heute{2026, 12, 8};

    void leihen(store::Collection& c, int kassette, const QDate& meldung)
    {
        store::Dataset& v = c.verliehen();
        v.append();
        v.setInteger(QStringLiteral("Kassette"), kassette);
        v.setDate(QStringLiteral("Datum"), meldung.addDays(-14));
        v.setDate(QStringLiteral("Meldung_Am"), meldung);
        v.setBoolean(QStringLiteral("Anzeigen"), true);
        v.post();
    }
    void planen(store::Collection& c, const QDate& tag)
    {
        store::Dataset& a = c.aufnahmetimer();
        a.append();
        a.setString(QStringLiteral("Filmname"), QStringLiteral("Sendung"));
        a.setDate(QStringLiteral("Datum"), tag);
        a.post();
    }

private slots:
    void initTestCase() { testing_support::initTestEnvironment(); }

    void leereListe()
    {
        store::Collection c;
        c.create(freshDir(QStringLiteral("statistik-leer")), QStringLiteral("l.qbx"), 0);
        const extras::Statistik s = extras::berechneStatistik(c, heute);
        QCOMPARE(s.kassetten, 0);
        QCOMPARE(s.minutenAufgenommen, 0);
        QCOMPARE(s.minutenFrei, 0);
        QVERIFY(!s.vollste && !s.leerste);
        QVERIFY(s.genres.empty());
    }

    void zahlenEinerListe()
    {
        store::Collection c;
        c.create(freshDir(QStringLiteral("statistik")), QStringLiteral("l.qbx"), 0);
        kassette(c, 180, 150, false); // 1: 30 free
        kassette(c, 240, 0, false);   // 2: empty
        kassette(c, 95, 95, true);    // 3: bought tape
        kassette(c, 240, 230, false); // 4: 10 free, the fullest
        kassette(c, 240, 0, false);   // 5: as empty as 2
        film(c, 1, QStringLiteral("A"), 120, QStringLiteral("Drama"), heute);
        film(c, 1, QStringLiteral("B"), 30, QStringLiteral("Krimi"), heute);
        film(c, 3, QStringLiteral("C"), 95, QStringLiteral("Drama"), heute);
        film(c, 4, QStringLiteral("D"), 230, QStringLiteral("Drama "), heute);
        film(c, 4, QStringLiteral("E"), -1, QString(), heute); // no length, no genre
        leihen(c, 1, heute.addDays(-1));
        leihen(c, 2, heute);
        leihen(c, 4, heute.addDays(1));
        planen(c, heute.addDays(-1));
        planen(c, heute);
        planen(c, heute.addDays(6));
        planen(c, heute.addDays(7));

        const extras::Statistik s = extras::berechneStatistik(c, heute);
        QCOMPARE(s.kassetten, 5);
        QCOMPARE(s.kaufvideos, 1);
        QCOMPARE(s.filme, 5);
        QCOMPARE(s.minutenAufgenommen, 120 + 30 + 95 + 230);
        QCOMPARE(s.minutenFrei, 30 + 240 + 10 + 240); // the bought tape has none
        QVERIFY(s.vollste && s.leerste);
        QCOMPARE(s.vollste->nummer, 4);
        QCOMPARE(s.vollste->frei, 10);
        QCOMPARE(s.leerste->nummer, 2); // the lower number of two equally empty ones
        QCOMPARE(s.leerste->spielzeit, 240);
        QCOMPARE(s.genres.size(), size_t(3));
        QCOMPARE(s.genres[0], (std::pair<QString, qint64>(QStringLiteral("Drama"), 3)));
        QCOMPARE(s.genres[1], (std::pair<QString, qint64>(extras::kOhneGenre, 1)));
        QCOMPARE(s.genres[2], (std::pair<QString, qint64>(QStringLiteral("Krimi"), 1)));
        QCOMPARE(s.verliehen, 3);
        QCOMPARE(s.ueberfaellig, 2); // reminder day yesterday and today
        QCOMPARE(s.aufnahmen, 2);    // today and in six days

        // A pending row is not counted: the figures are what is stored.
        c.filme().append();
        c.filme().setString(QStringLiteral("Filmname"), QStringLiteral("neu"));
        QCOMPARE(extras::berechneStatistik(c, heute).filme, 5);
        c.filme().cancel();
    }

    // Values a table edited with another tool may hold: a number out of range makes its
    // figure unknown and is named, the others are shown; a negative length lowers no total.
    void zahlenVonHandBearbeiteterTabellen()
    {
        struct Fall
        {
            const char *datei, *aenderung, *feld; // feld: named in the one message
            qint64 minutenAufgenommen, minutenFrei;
        };
        const Fall faelle[] = {
            {"filme.db", "UPDATE tabelle SET Filmlaenge = 9223372036854775807", "Filmlaenge", 0, 270},
            {"kass.db", "UPDATE tabelle SET Frei = 4294967396 WHERE Nummer = 1", "Frei", 150, 0},
            {"filme.db", "UPDATE tabelle SET Filmlaenge = -500 WHERE Filmname = 'A'", nullptr, 30, 270},
        };
        for (const Fall& f : faelle) {
            const QString dir = freshDir(QStringLiteral("statistik-hand"));
            store::Collection c;
            c.create(dir, QStringLiteral("l.qbx"), 0);
            kassette(c, 180, 150, false);
            kassette(c, 240, 0, false);
            film(c, 1, QStringLiteral("A"), 120, QStringLiteral("Drama"), heute);
            film(c, 1, QStringLiteral("B"), 30, QStringLiteral("Krimi"), heute);
            c.close();
            sqlite3* db = nullptr;
            sqlite3_open(QDir(dir).filePath(QLatin1String(f.datei)).toUtf8().constData(), &db);
            QCOMPARE(sqlite3_exec(db, f.aenderung, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
            c.open(QDir(dir).filePath(QStringLiteral("l.qbx")));

            const extras::Statistik s = extras::berechneStatistik(c, heute);
            QCOMPARE(s.fehler.join(QString()).contains(QLatin1String(f.datei)), f.feld != nullptr);
            QCOMPARE(s.fehler.join(QString()).contains(QLatin1String(f.feld ? f.feld : "-")),
                     f.feld != nullptr);
            QCOMPARE(s.kassetten + s.filme + qint64(s.genres.size()), 6);
            QCOMPARE(s.minutenAufgenommen, f.minutenAufgenommen);
            QCOMPARE(s.minutenFrei, f.minutenFrei);
            QCOMPARE(bool(s.vollste), qstrcmp(f.feld, "Frei") != 0);
        }
    }
};

QTEST_GUILESS_MAIN(TstStatistik)
#include "tst_statistik.moc"
