// Datasets against real table files: navigation, field types, the pending-row
// rules, master-detail, notifications and their transactions.

#include "storetesthelpers.h"

#include <QSignalSpy>
#include <QTest>
#include <store/datasetmodel.h>

using namespace store;
using namespace storetest;

namespace {

// The five datasets of a collection, opened.
struct Collection
{
    Dataset kass, filme, uebersicht, verliehen, timer;
    QString dir;
    explicit Collection(const QString& name, int number = 0)
    {
        dir = collection(name, number);
        tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
        point(kass, dir, tables::kKassStem, number);
        point(filme, dir, tables::kFilmeStem, number);
        point(uebersicht, dir, tables::kFilmeStem, number);
        point(verliehen, dir, tables::kAusgeliehenStem, number);
        point(timer, dir, tables::kATimerStem, number);
        for (Dataset* ds : {&kass, &filme, &verliehen, &timer, &uebersicht})
            ds->open();
    }
    void addCassette(int spielzeit, bool original = false)
    {
        kass.append();
        kass.setInteger(QStringLiteral("Posi"), kass.recordCount() + 1);
        kass.setInteger(QStringLiteral("Spielzeit"), spielzeit);
        kass.setInteger(QStringLiteral("Belegt"), 0);
        kass.setInteger(QStringLiteral("Frei"), original ? 0 : spielzeit);
        kass.setBoolean(QStringLiteral("Original"), original);
        kass.post();
    }
    void addFilm(const QString& name, const QVariant& length, const QString& genre = QString())
    {
        filme.append();
        filme.setString(QStringLiteral("Filmname"), name);
        filme.setValue(QStringLiteral("Filmlaenge"), length);
        filme.setString(QStringLiteral("Genre"), genre);
        filme.post();
    }
    // The recount of a cassette's capacity, as the film handlers do it.
    void recount()
    {
        const qint64 film = filme.currentKey();
        filme.disableControls();
        int sum = 0;
        bool zero = false;
        for (filme.first(); !filme.eof(); filme.next()) {
            sum += filme.asInteger(QStringLiteral("Filmlaenge"));
            zero = zero || filme.asInteger(QStringLiteral("Filmlaenge")) == 0;
        }
        kass.edit();
        kass.setInteger(QStringLiteral("Belegt"), sum);
        kass.setBoolean(QStringLiteral("Nullfilme"), zero);
        kass.setInteger(QStringLiteral("Frei"), kass.asInteger(QStringLiteral("Spielzeit")) - sum);
        kass.post();
        filme.enableControls();
        if (film)
            filme.locate(film);
    }
};

} // namespace

class TestStoreDataset : public QObject
{
    Q_OBJECT

private slots:
    void openErrors();
    void navigationAndRecNo();
    void fieldTypes();
    void autoincNeverReused();
    void pendingRowRules();
    void editOnEmptyAndRemoveWhileInserting();
    void masterDetail();
    void reentrantNotifications();
    void afterInsertMayCancel();
    void rollbackOnThrowingHandler();
    void longWalksAndSharedFile();
    void textAsStored();
    void integersFromOtherTools();
};

void TestStoreDataset::openErrors()
{
    const QString dir = collection(QStringLiteral("openerr"));
    Dataset ds;
    ds.setDatabaseName(dir);
    ds.setTableName(QStringLiteral("fehlt.db"));
    try {
        ds.open();
        QFAIL("missing file opened");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Datei nicht gefunden")), qPrintable(e.message()));
    }
    QVERIFY(!ds.isActive());
    ds.setDatabaseName(dir + QStringLiteral("/gibtsnicht"));
    ds.setTableName(QStringLiteral("kass.db"));
    QVERIFY_THROWS_EXCEPTION(EngineError, ds.open());
    ds.setDatabaseName(dir);
    ds.open();
    QVERIFY(ds.isActive());
    QVERIFY_THROWS_EXCEPTION(EngineError, ds.setTableName(QStringLiteral("filme.db")));
    QVERIFY_THROWS_EXCEPTION(EngineError, ds.value(QStringLiteral("Unbekannt")));
    QCOMPARE(ds.fieldNames(),
             (QStringList{QStringLiteral("Nummer"), QStringLiteral("Posi"), QStringLiteral("Spielzeit"),
                          QStringLiteral("Belegt"), QStringLiteral("Frei"), QStringLiteral("Nullfilme"),
                          QStringLiteral("Verliehen"), QStringLiteral("Original")}));
    QCOMPARE(ds.fieldType(QStringLiteral("nummer")), FieldType::AutoInc);
}

void TestStoreDataset::navigationAndRecNo()
{
    Collection c(QStringLiteral("nav"));
    Dataset& k = c.kass;
    QVERIFY(k.isEmpty());
    QCOMPARE(k.recNo(), 0);
    QVERIFY(k.eof() && k.bof());
    for (int i = 0; i < 10; ++i)
        c.addCassette(180 + i);
    QCOMPARE(k.recordCount(), 10);
    QCOMPARE(k.asInteger(QStringLiteral("Nummer")), 10);
    QCOMPARE(k.asInteger(QStringLiteral("Posi")), 10);
    QCOMPARE(k.recNo(), 10);
    k.first();
    QCOMPARE(k.recNo(), 1);
    QVERIFY(k.bof());
    QVERIFY(!k.eof());
    int seen = 0;
    while (!k.eof()) {
        ++seen;
        QCOMPARE(k.asInteger(QStringLiteral("Nummer")), seen);
        k.next();
    }
    QCOMPARE(seen, 10);
    QCOMPARE(k.recNo(), 10); // next past the end stays on the last row
    k.prior();
    QCOMPARE(k.recNo(), 9);
    k.last();
    QCOMPARE(k.recNo(), k.recordCount());
    QVERIFY(k.locate(4));
    QCOMPARE(k.recNo(), 4);
    QVERIFY(!k.locate(99));
    QCOMPARE(k.recNo(), 4);
    k.moveTo(6);
    QCOMPARE(k.asInteger(QStringLiteral("Nummer")), 7);
    QCOMPARE(k.valueAt(2, QStringLiteral("Spielzeit")).toInt(), 182);

    // Find nearest on a whole number: 7 in 1..5 goes to the last row, 0 to the first.
    Dataset& t = c.timer;
    t.setIndexFieldNames(QStringLiteral("Laenge"));
    for (int i = 1; i <= 5; ++i) {
        t.append();
        t.setInteger(QStringLiteral("Laenge"), i);
        t.post();
    }
    t.findNearest(7);
    QCOMPARE(t.recNo(), 5);
    t.findNearest(0);
    QCOMPARE(t.recNo(), 1);
    t.findNearest(QStringLiteral("3"));
    QCOMPARE(t.asInteger(QStringLiteral("Laenge")), 3);
    QVERIFY_THROWS_EXCEPTION(EngineError, t.findNearest(QStringLiteral("abc")));

    // Refresh keeps the current row.
    k.locate(3);
    k.refresh();
    QCOMPARE(k.asInteger(QStringLiteral("Nummer")), 3);
}

void TestStoreDataset::fieldTypes()
{
    Collection c(QStringLiteral("types"));
    c.addCassette(180);
    // A boolean never written reads false.
    QVERIFY(!c.kass.asBoolean(QStringLiteral("Verliehen")));
    QVERIFY(c.kass.isNull(QStringLiteral("Verliehen")));
    // Another program cannot read the open tables.
    QVERIFY(
        storetest::shell(c.dir + QStringLiteral("/kass.db"), QStringLiteral("SELECT count(*) FROM tabelle"))
            .contains(QStringLiteral("database is locked")));

    Dataset& f = c.filme;
    f.append();
    QCOMPARE(f.asInteger(QStringLiteral("Zu_Kassette")), 1); // from the master
    const QString longTitle = QString(60, QLatin1Char('x'));
    f.setString(QStringLiteral("Filmname"), longTitle);
    QCOMPARE(f.asString(QStringLiteral("Filmname")).size(), 50); // cut to the field's width
    f.setDate(QStringLiteral("Datum"), QDate(2026, 5, 19));
    f.setBlob(QStringLiteral("Bild"), QByteArray("\x89PNG\0\1", 6));
    f.setMemo(QStringLiteral("Beschreibung"), QStringLiteral("Ein Film über Äpfel"));
    try {
        f.setString(QStringLiteral("Filmlaenge"), QStringLiteral("abc"));
        QFAIL("abc accepted as a number");
    } catch (const EngineError& e) {
        QCOMPARE(e.message(), QStringLiteral("'abc' ist kein gültiger Integerwert"));
    }
    QVERIFY_THROWS_EXCEPTION(EngineError, f.setString(QStringLiteral("Datum"), QStringLiteral("19.05.26")));
    QVERIFY_THROWS_EXCEPTION(EngineError, f.setInteger(QStringLiteral("Zaehler"), 5));
    f.setString(QStringLiteral("Filmlaenge"), QStringLiteral("95"));
    f.post();
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QString(50, QLatin1Char('x')));
    QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), 95);
    QCOMPARE(f.asDate(QStringLiteral("Datum")), QDate(2026, 5, 19));
    QCOMPARE(f.asString(QStringLiteral("Datum")), QStringLiteral("19.05.2026"));
    QCOMPARE(f.blob(QStringLiteral("Bild")), QByteArray("\x89PNG\0\1", 6));
    QCOMPARE(f.memo(QStringLiteral("Beschreibung")), QStringLiteral("Ein Film über Äpfel"));
    QVERIFY(!f.asBoolean(QStringLiteral("Bild_Vorhanden")));
    // Empty length stays empty and reads 0.
    c.addFilm(QStringLiteral("Leer"), QVariant());
    QVERIFY(f.isNull(QStringLiteral("Filmlaenge")));
    QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), 0);

    c.timer.append();
    c.timer.setTime(QStringLiteral("Beginn"), QTime(20, 15));
    c.timer.setString(QStringLiteral("Ende"), QStringLiteral("22:00:00"));
    c.timer.post();
    QCOMPARE(c.timer.asTime(QStringLiteral("Beginn")), QTime(20, 15));
    QCOMPARE(c.timer.asString(QStringLiteral("Ende")), QStringLiteral("22:00:00"));

    // The stored forms other tools see.
    for (Dataset* ds : {&c.kass, &c.filme, &c.uebersicht, &c.verliehen, &c.timer})
        ds->close();
    QCOMPARE(storetest::shell(
                 c.dir + QStringLiteral("/filme.db"),
                 QStringLiteral("SELECT Datum, length(Filmname) FROM tabelle ORDER BY Zaehler LIMIT 1")),
             QStringLiteral("2026-05-19|50"));
    QCOMPARE(storetest::shell(c.dir + QStringLiteral("/filme.db"), QStringLiteral("PRAGMA integrity_check")),
             QStringLiteral("ok"));
}

void TestStoreDataset::autoincNeverReused()
{
    Collection c(QStringLiteral("autoinc"));
    c.addCassette(180);
    c.addFilm(QStringLiteral("A"), 10);
    c.addFilm(QStringLiteral("B"), 20);
    QCOMPARE(c.filme.asInteger(QStringLiteral("Zaehler")), 2);
    c.filme.last();
    c.filme.remove();
    QCOMPARE(c.filme.recordCount(), 1);
    c.addFilm(QStringLiteral("C"), 30);
    QCOMPARE(c.filme.asInteger(QStringLiteral("Zaehler")), 3);
    // Also after closing and opening again.
    c.filme.last();
    c.filme.remove();
    c.filme.close();
    c.filme.open();
    c.addFilm(QStringLiteral("D"), 30);
    QCOMPARE(c.filme.asInteger(QStringLiteral("Zaehler")), 4);
}

void TestStoreDataset::pendingRowRules()
{
    Collection c(QStringLiteral("pending"));
    c.addCassette(180);
    c.addFilm(QStringLiteral("A"), 10);
    c.addFilm(QStringLiteral("B"), 20);
    Dataset& f = c.filme;

    // An unchanged new row is dropped by a move.
    f.first();
    f.append();
    QCOMPARE(f.state(), Dataset::State::Insert);
    QCOMPARE(f.rowCount(), 3);
    QCOMPARE(f.recordCount(), 2);
    QCOMPARE(f.recNo(), 3);
    QVERIFY(!f.modified());
    f.first();
    QCOMPARE(f.state(), Dataset::State::Browse);
    QCOMPARE(f.recordCount(), 2);

    // A changed new row is stored by a move; the cursor then moves from it.
    f.append();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("C"));
    QVERIFY(f.modified());
    f.prior();
    QCOMPARE(f.recordCount(), 3);
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("B"));

    // Insert shows the new row before the current one.
    f.locate(2);
    f.insert();
    QCOMPARE(titles(f),
             (QStringList{QStringLiteral("A"), QString(), QStringLiteral("B"), QStringLiteral("C")}));
    QCOMPARE(f.recNo(), 2);
    f.cancel();
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("B"));
    QCOMPARE(titles(f), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));

    // An unchanged edit is dropped, a changed one stored by the move.
    f.first();
    f.edit();
    f.next();
    QCOMPARE(f.state(), Dataset::State::Browse);
    f.edit();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("B2"));
    QCOMPARE(f.valueAt(1, QStringLiteral("Filmname")).toString(), QStringLiteral("B2"));
    f.first();
    QCOMPARE(f.valueAt(1, QStringLiteral("Filmname")).toString(), QStringLiteral("B2"));
    // Cancel of an edit restores the stored values.
    f.edit();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("weg"));
    f.cancel();
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("A"));
    // checkBrowseMode stores a changed row.
    f.edit();
    f.setInteger(QStringLiteral("Filmlaenge"), 11);
    f.checkBrowseMode();
    QCOMPARE(f.state(), Dataset::State::Browse);
    f.refresh();
    QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), 11);
    // Writing needs a pending row.
    QVERIFY_THROWS_EXCEPTION(EngineError, f.setInteger(QStringLiteral("Filmlaenge"), 1));
}

void TestStoreDataset::editOnEmptyAndRemoveWhileInserting()
{
    Collection c(QStringLiteral("emptyedit"));
    c.addCassette(180);
    Dataset& f = c.filme;
    QVERIFY(f.isEmpty());
    f.edit(); // starts a new row
    QCOMPARE(f.state(), Dataset::State::Insert);
    f.setString(QStringLiteral("Filmname"), QStringLiteral("Neu"));
    f.post();
    QCOMPARE(f.recordCount(), 1);
    QCOMPARE(f.asInteger(QStringLiteral("Zu_Kassette")), 1);

    f.append();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("verworfen"));
    f.remove(); // discards the new row, deletes nothing
    QCOMPARE(f.state(), Dataset::State::Browse);
    QCOMPARE(f.recordCount(), 1);
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("Neu"));
    f.remove();
    QVERIFY(f.isEmpty());
    QVERIFY_THROWS_EXCEPTION(EngineError, f.remove());
}

void TestStoreDataset::masterDetail()
{
    Collection c(QStringLiteral("masterdetail"));
    c.addCassette(180);
    c.addFilm(QStringLiteral("K1 A"), 10);
    c.addFilm(QStringLiteral("K1 B"), 20);
    c.addCassette(240);
    QVERIFY(c.filme.isEmpty());
    c.addFilm(QStringLiteral("K2 A"), 30);
    QCOMPARE(c.filme.asInteger(QStringLiteral("Zu_Kassette")), 2);
    c.kass.first();
    QCOMPARE(titles(c.filme), (QStringList{QStringLiteral("K1 A"), QStringLiteral("K1 B")}));
    QCOMPARE(c.uebersicht.recordCount(), 0); // not re-read yet
    c.uebersicht.refresh();
    QCOMPARE(c.uebersicht.recordCount(), 3);

    // A changed pending detail row is stored before the master moves ...
    c.filme.append();
    c.filme.setString(QStringLiteral("Filmname"), QStringLiteral("K1 C"));
    c.kass.next();
    QCOMPARE(titles(c.filme), QStringList{QStringLiteral("K2 A")});
    c.kass.first();
    QCOMPARE(c.filme.recordCount(), 3);
    // ... an unchanged new one dropped.
    c.filme.append();
    c.kass.last();
    c.kass.first();
    QCOMPARE(c.filme.recordCount(), 3);

    // While the master's controls are disabled the detail stays where it was, and
    // reading it changes nothing; it catches up when it is moved itself or when the
    // master's controls are enabled again.
    QSignalSpy resets(&c.filme, &Dataset::rowsReset);
    c.kass.disableControls();
    c.kass.last();
    QCOMPARE(c.filme.recordCount(), 3);
    QCOMPARE(resets.size(), 0);
    c.filme.first();
    QCOMPARE(c.filme.recordCount(), 1);
    QCOMPARE(resets.size(), 1);
    c.kass.first();
    QCOMPARE(titles(c.filme).size(), 1);
    c.kass.enableControls();
    QCOMPARE(titles(c.filme).size(), 3);

    // Display suspend nests; one reset at the end.
    resets.clear();
    QSignalSpy moves(&c.filme, &Dataset::currentChanged);
    c.filme.disableControls();
    c.filme.disableControls();
    for (c.filme.first(); !c.filme.eof(); c.filme.next()) {
    }
    c.filme.enableControls();
    QCOMPARE(moves.size(), 0);
    c.filme.enableControls();
    QCOMPARE(resets.size(), 1);
    QCOMPARE(moves.size(), 1);
}

void TestStoreDataset::reentrantNotifications()
{
    Collection c(QStringLiteral("reentrant"));
    c.addCassette(180);
    QStringList calls;
    c.filme.beforePost = [&](Dataset& ds) {
        calls << QStringLiteral("beforePost");
        if (ds.asInteger(QStringLiteral("Filmlaenge")) < 0)
            ds.setInteger(QStringLiteral("Filmlaenge"), 0);
        if (ds.asString(QStringLiteral("Filmname")).isEmpty())
            ds.setString(QStringLiteral("Filmname"), QStringLiteral("???"));
    };
    int corrections = 0;
    c.filme.afterPost = [&](Dataset& ds) {
        calls << QStringLiteral("afterPost");
        c.recount();
        if (c.kass.asInteger(QStringLiteral("Frei")) < 0) {
            ++corrections;
            ds.edit();
            ds.setInteger(QStringLiteral("Filmlaenge"), 0);
            ds.post();
        }
    };
    c.filme.afterDelete = [&](Dataset&) { c.recount(); };
    c.addFilm(QStringLiteral("A"), 90);
    c.addFilm(QStringLiteral("B"), 60);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 150);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Frei")), 30);
    QVERIFY(!c.kass.asBoolean(QStringLiteral("Nullfilme")));
    c.addFilm(QStringLiteral("C"), 30);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Frei")), 0);
    calls.clear();
    c.addFilm(QStringLiteral("D"), 1); // does not fit: stored with length 0
    QCOMPARE(corrections, 1);
    QCOMPARE(calls, (QStringList{QStringLiteral("beforePost"), QStringLiteral("afterPost"),
                                 QStringLiteral("beforePost"), QStringLiteral("afterPost")}));
    QCOMPARE(c.filme.asString(QStringLiteral("Filmname")), QStringLiteral("D"));
    QCOMPARE(c.filme.asInteger(QStringLiteral("Filmlaenge")), 0);
    QCOMPARE(c.filme.state(), Dataset::State::Browse);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 180);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Frei")), 0);
    QVERIFY(c.kass.asBoolean(QStringLiteral("Nullfilme")));

    // Editing the first film so that it no longer fits: that film is set to 0.
    c.filme.first();
    c.filme.edit();
    c.filme.setInteger(QStringLiteral("Filmlaenge"), 150);
    c.filme.post();
    QCOMPARE(c.filme.asString(QStringLiteral("Filmname")), QStringLiteral("A"));
    QCOMPARE(c.filme.asInteger(QStringLiteral("Filmlaenge")), 0);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 90);

    c.addFilm(QString(), -5);
    QCOMPARE(c.filme.asString(QStringLiteral("Filmname")), QStringLiteral("???"));
    QCOMPARE(c.filme.asInteger(QStringLiteral("Filmlaenge")), 0);
    // Deleting every zero-length film clears Nullfilme.
    for (c.filme.first(); !c.filme.eof();) {
        if (c.filme.asInteger(QStringLiteral("Filmlaenge")) == 0)
            c.filme.remove();
        else
            c.filme.next();
    }
    QVERIFY(!c.kass.asBoolean(QStringLiteral("Nullfilme")));
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 90);
    // What was stored, seen from a fresh reading.
    c.kass.refresh();
    QCOMPARE(c.kass.asInteger(QStringLiteral("Frei")), 90);
}

void TestStoreDataset::afterInsertMayCancel()
{
    Collection c(QStringLiteral("refuse"));
    c.addCassette(0, true);
    bool previousTitle = true;
    c.filme.beforeInsert = [&](Dataset& ds) {
        previousTitle = ds.asString(QStringLiteral("Filmname")) != QLatin1String("???");
    };
    c.filme.afterInsert = [&](Dataset& ds) {
        if (!previousTitle || (c.kass.asBoolean(QStringLiteral("Original")) && ds.recordCount() == 1)) {
            ds.cancel();
            return;
        }
        ds.setDate(QStringLiteral("Datum"), QDate(2026, 12, 8));
        ds.setBoolean(QStringLiteral("Bild_Vorhanden"), false);
    };
    c.filme.append();
    QVERIFY(c.filme.modified()); // a new row counts as changed once afterInsert wrote to it
    c.filme.checkBrowseMode();   // so a move stores it
    QCOMPARE(c.filme.recordCount(), 1);
    c.filme.append(); // second film on a bought tape: refused
    QCOMPARE(c.filme.state(), Dataset::State::Browse);
    QCOMPARE(c.filme.recordCount(), 1);
    QCOMPARE(c.filme.rowCount(), 1);
}

void TestStoreDataset::rollbackOnThrowingHandler()
{
    Collection c(QStringLiteral("rollback"));
    c.addCassette(180);
    c.addFilm(QStringLiteral("A"), 90);
    bool fail = true;
    c.filme.afterPost = [&](Dataset&) {
        c.kass.edit();
        c.kass.setInteger(QStringLiteral("Belegt"), 999);
        c.kass.post();
        if (fail)
            throw EngineError(QStringLiteral("Abbruch"));
    };
    c.filme.append();
    c.filme.setString(QStringLiteral("Filmname"), QStringLiteral("B"));
    QVERIFY_THROWS_EXCEPTION(EngineError, c.filme.post());
    // Neither the film nor the cassette change is stored; the new row is still pending.
    QCOMPARE(c.filme.state(), Dataset::State::Insert);
    QCOMPARE(c.filme.asString(QStringLiteral("Filmname")), QStringLiteral("B"));
    QCOMPARE(c.filme.recordCount(), 1);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 0);
    fail = false;
    c.filme.post();
    QCOMPARE(c.filme.recordCount(), 2);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 999);
    // A handler that catches the failure of a nested post: only the nested change is
    // undone, the outer post stands.
    c.kass.beforePost = [](Dataset& k) {
        if (k.asInteger(QStringLiteral("Belegt")) == 7)
            throw EngineError(QStringLiteral("nein"));
    };
    c.filme.afterPost = [&](Dataset&) {
        c.kass.edit();
        c.kass.setInteger(QStringLiteral("Belegt"), 7);
        try {
            c.kass.post();
        } catch (const EngineError&) {
            c.kass.cancel();
        }
    };
    c.addFilm(QStringLiteral("C"), 5);
    QCOMPARE(c.filme.recordCount(), 3);
    QCOMPARE(c.filme.asString(QStringLiteral("Filmname")), QStringLiteral("C"));
    QCOMPARE(c.kass.state(), Dataset::State::Browse);
    QCOMPARE(c.kass.asInteger(QStringLiteral("Belegt")), 999);
    c.filme.refresh();
    QCOMPARE(c.filme.recordCount(), 3);
    c.filme.afterPost = nullptr;
    // A throwing beforeDelete leaves the row.
    c.filme.beforeDelete = [](Dataset&) { throw EngineError(QStringLiteral("nein")); };
    QVERIFY_THROWS_EXCEPTION(EngineError, c.filme.remove());
    QCOMPARE(c.filme.recordCount(), 3);
}

void TestStoreDataset::longWalksAndSharedFile()
{
    Collection c(QStringLiteral("longwalk"));
    c.addCassette(100000);
    c.kass.disableControls();
    for (int i = 0; i < 300; ++i)
        c.addFilm(QStringLiteral("Film %1").arg(i, 3, 10, QLatin1Char('0')), i);
    c.kass.enableControls();
    Dataset& f = c.filme;
    int expected = 0;
    for (f.first(); !f.eof(); f.next())
        QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), expected++);
    QCOMPARE(expected, 300);
    for (f.last(); !f.bof(); f.prior())
        QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), --expected);
    QCOMPARE(expected, 0);
    // An edit in the middle of a walk is seen at once, by this dataset and the overview.
    c.uebersicht.refresh();
    for (int r = 0; r < 300; ++r)
        QCOMPARE(c.uebersicht.valueAt(r, QStringLiteral("Filmlaenge")).toInt(), r);
    f.moveTo(200);
    f.edit();
    f.setInteger(QStringLiteral("Filmlaenge"), 9999);
    f.post();
    QCOMPARE(f.valueAt(200, QStringLiteral("Filmlaenge")).toInt(), 9999);
    QCOMPARE(c.uebersicht.valueAt(200, QStringLiteral("Filmlaenge")).toInt(), 9999);
    QCOMPARE(f.valueAt(199, QStringLiteral("Filmlaenge")).toInt(), 199);
    // A pending new row shifts the rows behind it.
    f.moveTo(150);
    f.insert();
    QCOMPARE(f.recNo(), 151);
    QVERIFY(!f.valueAt(150, QStringLiteral("Filmlaenge")).isValid());
    QCOMPARE(f.valueAt(151, QStringLiteral("Filmlaenge")).toInt(), 150);
    QCOMPARE(f.valueAt(300, QStringLiteral("Filmlaenge")).toInt(), 299);
    QVERIFY(!f.valueAt(301, QStringLiteral("Filmlaenge")).isValid());
    f.cancel();
    QCOMPARE(f.recNo(), 151);
    // Moving to a row behind a dropped new row lands on that row.
    f.moveTo(10);
    f.insert();
    f.moveTo(21); // the view row 21 is the stored row 20
    QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), 20);
    f.moveTo(10);
    f.insert();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("Film 009b"));
    f.moveTo(21);
    QCOMPARE(f.asInteger(QStringLiteral("Filmlaenge")), 20);
    QCOMPARE(f.recordCount(), 301);
    // A film sorted by title lands where it belongs after its post.
    f.setIndexFieldNames(QStringLiteral("Filmname"));
    f.append();
    f.setString(QStringLiteral("Filmname"), QStringLiteral("film 000a"));
    f.post();
    QCOMPARE(f.recNo(), 2);
    QCOMPARE(f.valueAt(2, QStringLiteral("Filmname")).toString(), QStringLiteral("Film 001"));
    f.locate(f.valueAt(11, QStringLiteral("Zaehler")).toInt());
    QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("Film 009b"));
}

// One rule for every text field and memo: a text is cut where a character as the
// reader sees it ends, a lone surrogate is stored as U+FFFD.
void TestStoreDataset::textAsStored()
{
    const QString a49(49, QLatin1Char('a'));
    const QString lone = QStringLiteral("x") + QChar(0xD83D) + QStringLiteral("y") + QChar(0xDE00);
    const QString replaced = QStringLiteral("x\uFFFDy\uFFFD");
    const std::tuple<const char*, QString, QString> cases[] = {
        {"Filmname", a49 + QStringLiteral("e\u0301"), a49},              // letter and accent go together
        {"Filmname", a49 + QStringLiteral("\U0001F44D\U0001F3FD"), a49}, // a hand and its skin tone
        {"Filmname", a49 + QStringLiteral("\u00E9"), a49 + QStringLiteral("\u00E9")}, // fits
        {"Genre", lone, replaced},
        {"Beschreibung", lone, replaced},
    };
    Collection c(QStringLiteral("text"));
    c.addCassette(180);
    for (const auto& [field, written, stored] : cases) {
        c.filme.append();
        c.filme.setValue(QLatin1String(field), written);
        c.filme.post();
    }
    c.filme.close();
    c.filme.open();
    c.filme.first();
    for (const auto& [field, written, stored] : cases) {
        QCOMPARE(c.filme.memo(QLatin1String(field)), stored);
        c.filme.next();
    }
}

// A whole number another tool stored beyond an INTEGER field's range reads as an error
// naming table and field, never cut to 32 bits; the other values read as usual.
void TestStoreDataset::integersFromOtherTools()
{
    for (const char* wide : {"4294967396", "-2147483649", "9223372036854775807"}) {
        Collection c(QStringLiteral("wide%1").arg(QLatin1String(wide)));
        c.addCassette(180);
        for (Dataset* ds : {&c.kass, &c.filme, &c.uebersicht, &c.verliehen, &c.timer})
            ds->close();
        shell(c.dir + QStringLiteral("/kass.db"),
              QStringLiteral("UPDATE tabelle SET Frei = %1").arg(QLatin1String(wide)));
        c.kass.open();
        QCOMPARE(c.kass.asInteger(QStringLiteral("Spielzeit")), 180);
        try {
            c.kass.asInteger(QStringLiteral("Frei"));
            QFAIL(wide);
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("kass.db")) &&
                         e.message().contains(QStringLiteral("Frei")) &&
                         e.message().contains(QLatin1String(wide)),
                     qPrintable(e.message()));
        }
        DatasetModel model(&c.kass,
                           {{QStringLiteral("Frei"), QString(), Qt::AlignLeft, 80, false, Qt::AlignLeft}});
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("(ungültig)"));
    }
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestStoreDataset t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_store_dataset.moc"
