// Read-only evaluations over an open collection, and its backup into a directory.

#include "storetesthelpers.h"

#include <QFile>
#include <QTest>
#include <store/collection.h>

using namespace store;
using testing_support::freshDir;

namespace {

// A collection with two recordable cassettes, a bought tape, three films, a loan and
// a planned recording.
void fill(Collection& c)
{
    Dataset& k = c.kassetten();
    auto cassette = [&](int spielzeit, int belegt, bool original) {
        k.append();
        k.setInteger(QStringLiteral("Posi"), k.recordCount() + 1);
        k.setInteger(QStringLiteral("Spielzeit"), spielzeit);
        k.setInteger(QStringLiteral("Belegt"), belegt);
        k.setInteger(QStringLiteral("Frei"), original ? 0 : spielzeit - belegt);
        k.setBoolean(QStringLiteral("Original"), original);
        k.post();
    };
    cassette(180, 150, false);
    cassette(240, 0, false);
    cassette(95, 95, true);
    auto film = [&](int kassette, const QString& titel, int laenge) {
        QVERIFY(k.locate(kassette));
        Dataset& f = c.filme();
        f.append();
        f.setString(QStringLiteral("Filmname"), titel);
        f.setInteger(QStringLiteral("Filmlaenge"), laenge);
        f.setDate(QStringLiteral("Datum"), QDate(2026, 12, 1));
        f.post();
    };
    film(1, QStringLiteral("Der Große Diktator"), 120);
    film(1, QStringLiteral("Kurzfilm"), 30);
    film(3, QStringLiteral("Metropolis"), 95);
    c.verliehen().append();
    c.verliehen().setInteger(QStringLiteral("Kassette"), 2);
    c.verliehen().setString(QStringLiteral("An"), QStringLiteral("Jürgen"));
    c.verliehen().post();
    c.aufnahmetimer().append();
    c.aufnahmetimer().setString(QStringLiteral("Filmname"), QStringLiteral("Tatort"));
    c.aufnahmetimer().setDate(QStringLiteral("Datum"), QDate(2026, 12, 9));
    c.aufnahmetimer().post();
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

} // namespace

class TstStoreBackup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { testing_support::initTestEnvironment(); }

    void auswertungRechnetUndBindet()
    {
        Collection c;
        c.create(freshDir(QStringLiteral("ausw")), QStringLiteral("liste.qbx"), 0);
        fill(c);
        const auto summe = c.auswerten(
            QStringLiteral(
                "SELECT count(*), sum(coalesce(Filmlaenge, 0)) FROM {filme} WHERE Zu_Kassette = ?"),
            {1});
        QCOMPARE(summe.size(), size_t(1));
        QCOMPARE(summe[0][0].toInt(), 2);
        QCOMPARE(summe[0][1].toInt(), 150);
        // A title with a quote is a value, not part of the statement.
        const auto titel = c.auswerten(QStringLiteral("SELECT count(*) FROM {filme} WHERE Filmname = ?"),
                                       {QStringLiteral("x' OR '1'='1")});
        QCOMPARE(titel[0][0].toInt(), 0);
        const auto join =
            c.auswerten(QStringLiteral("SELECT k.Nummer, count(f.Zaehler) FROM {kass} k LEFT JOIN "
                                       "{filme} f ON f.Zu_Kassette = k.Nummer GROUP BY k.Nummer "
                                       "ORDER BY k.Nummer"));
        QCOMPARE(join.size(), size_t(3));
        QCOMPARE(join[1][1].toInt(), 0);
        QCOMPARE(join[2][1].toInt(), 1);

        // Refused: writing, a wrong number of values, no open collection.
        QVERIFY_THROWS_EXCEPTION(EngineError, c.auswerten(QStringLiteral("DELETE FROM {filme}")));
        QVERIFY_THROWS_EXCEPTION(EngineError, c.auswerten(QStringLiteral("SELECT ? FROM {kass}")));
        QCOMPARE(c.auswerten(QStringLiteral("SELECT count(*) FROM {filme}"))[0][0].toInt(), 3);
        c.close();
        QVERIFY_THROWS_EXCEPTION(EngineError, c.auswerten(QStringLiteral("SELECT 1")));
    }

    // Only a plain SELECT runs: what SQLite counts as read-only but changes the
    // connection (a transaction, a detached table, a pragma) is refused.
    void auswertungNurLesend()
    {
        Collection c;
        c.create(freshDir(QStringLiteral("nurlesend")), QStringLiteral("liste.qbx"), 0);
        for (const char* sql :
             {"BEGIN", "SAVEPOINT s9", "DETACH DATABASE t1", "ATTACH DATABASE ':memory:' AS x",
              "PRAGMA main.user_version = 7", "SELECT count(*) FROM pragma_database_list",
              "SELECT 1; DELETE FROM {filme}", "EXPLAIN SELECT 1", ""})
            QVERIFY_THROWS_EXCEPTION(EngineError, c.auswerten(QString::fromUtf8(sql)));
        QCOMPARE(c.auswerten(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                            "WHERE i < 4) SELECT count(*) FROM n"))[0][0]
                     .toInt(),
                 4);
    }

    void sicherungIstVollstaendigUndOeffnetSich()
    {
        Collection c;
        const QString dir = freshDir(QStringLiteral("orig"));
        c.create(dir, QStringLiteral("liste.qbx"), 0);
        fill(c);
        // A numbered collection beside it in the same directory is not copied.
        const QString ziel = freshDir(QStringLiteral("ziel"));
        const auto s = c.sicherungErstellen(ziel);
        QCOMPARE(s.kassetten, 3);
        QCOMPARE(s.filme, 3);
        QCOMPARE(s.verliehen, 1);
        QCOMPARE(s.aufnahmen, 1);
        QStringList expected{QStringLiteral("atimer.db"), QStringLiteral("ausgelhn.db"),
                             QStringLiteral("filme.db"), QStringLiteral("kass.db"),
                             QStringLiteral("liste.qbx")};
        QCOMPARE(entries(ziel), expected);

        // The original stays open and usable.
        QVERIFY(c.kassetten().isActive());
        c.kassetten().first();
        QCOMPARE(c.kassetten().asInteger(QStringLiteral("Spielzeit")), 180);

        // The copy opens on its own, beside the open original, with the same rows.
        Collection kopie;
        kopie.open(QDir(ziel).filePath(QStringLiteral("liste.qbx")));
        QCOMPARE(kopie.filme().recordCount(), 2); // films of the first cassette
        QCOMPARE(storetest::titles(kopie.filmuebersicht()),
                 (QStringList{QStringLiteral("Der Große Diktator"), QStringLiteral("Kurzfilm"),
                              QStringLiteral("Metropolis")}));
        kopie.filmuebersicht().setIndexFieldNames(QStringLiteral("Filmname"));
        QCOMPARE(storetest::titles(kopie.filmuebersicht()).first(), QStringLiteral("Der Große Diktator"));
        QCOMPARE(kopie.verliehen().valueAt(0, QStringLiteral("An")).toString(), QStringLiteral("Jürgen"));
        kopie.close();
        // And passes SQLite's own check in another program.
        QCOMPARE(storetest::shell(QDir(ziel).filePath(QStringLiteral("filme.db")),
                                  QStringLiteral("PRAGMA integrity_check")),
                 QStringLiteral("ok"));
    }

    void sicherungEinerNummeriertenListe()
    {
        const QString dir = freshDir(QStringLiteral("nummer"));
        Collection c;
        c.create(dir, QStringLiteral("a.qbx"), 0);
        c.close();
        c.create(dir, QStringLiteral("b.qbx"), 1);
        fill(c);
        const QString ziel = freshDir(QStringLiteral("nummer-ziel"));
        c.sicherungErstellen(ziel);
        QCOMPARE(entries(ziel), (QStringList{QStringLiteral("atimer1.db"), QStringLiteral("ausgelhn1.db"),
                                             QStringLiteral("b.qbx"), QStringLiteral("filme1.db"),
                                             QStringLiteral("kass1.db")}));
    }

    void sicherungVerweigertUndRaeumtAuf()
    {
        Collection c;
        const QString dir = freshDir(QStringLiteral("fehl"));
        c.create(dir, QStringLiteral("liste.qbx"), 0);
        fill(c);

        // Not empty, not there, a file instead of a directory: nothing is written.
        const QString voll = freshDir(QStringLiteral("fehl-voll"));
        QFile f(QDir(voll).filePath(QStringLiteral("notiz.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY_THROWS_EXCEPTION(FileError, c.sicherungErstellen(voll));
        QCOMPARE(entries(voll), QStringList{QStringLiteral("notiz.txt")});
        QVERIFY_THROWS_EXCEPTION(FileError, c.sicherungErstellen(voll + QStringLiteral("/gibtesnicht")));
        QVERIFY_THROWS_EXCEPTION(FileError, c.sicherungErstellen(f.fileName()));
        QVERIFY_THROWS_EXCEPTION(FileError, c.sicherungErstellen(dir)); // the collection itself

        // A pending row is the caller's to store first.
        const QString ziel = freshDir(QStringLiteral("fehl-ziel"));
        c.filme().append();
        c.filme().setString(QStringLiteral("Filmname"), QStringLiteral("Offen"));
        QVERIFY_THROWS_EXCEPTION(EngineError, c.sicherungErstellen(ziel));
        QVERIFY(entries(ziel).isEmpty());
        c.filme().checkBrowseMode();
        QCOMPARE(c.sicherungErstellen(ziel).filme, 4);

        // A full disk (a page limit on the copies): the error says so, nothing stays.
        const QString eng = freshDir(QStringLiteral("fehl-eng"));
        try {
            c.sicherungErstellen(eng, 2);
            QFAIL("a full target must fail");
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("voll")), qPrintable(e.message()));
        }
        QVERIFY(entries(eng).isEmpty());
        // The original is untouched and a later backup works.
        QCOMPARE(c.auswerten(QStringLiteral("SELECT count(*) FROM {filme}"))[0][0].toInt(), 4);
        QCOMPARE(c.sicherungErstellen(eng).filme, 4);

        c.close();
        QVERIFY_THROWS_EXCEPTION(EngineError, c.sicherungErstellen(freshDir(QStringLiteral("fehl-zu"))));
    }
};

QTEST_GUILESS_MAIN(TstStoreBackup)
#include "tst_store_backup.moc"
