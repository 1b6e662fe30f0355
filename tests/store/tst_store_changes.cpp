// Changes and their ends: a master's every way to another row stores the detail's
// pending row first, reading a dataset changes nothing, nothing waits for a person
// inside a change, a transaction that SQLite ends by itself, the files' durability
// settings and their release, and the conversions of text.

#include "storetesthelpers.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <fakeinteraction.h>
#include <sqlite3.h>
#include <store/changes.h>
#include <store/engine.h>

using namespace store;
using namespace storetest;
using testing_support::FakeInteraction;

namespace {

const QString kBelegt = QStringLiteral("Belegt");
const QString kFrei = QStringLiteral("Frei");
const QString kFilmname = QStringLiteral("Filmname");
const QString kFilmlaenge = QStringLiteral("Filmlaenge");

// Cassettes with the films of the current one, and the recount of the film handlers.
struct Shelf
{
    QString dir;
    Dataset kass, filme, timer;
    explicit Shelf(const QString& name)
    {
        dir = collection(name);
        Dataset unused;
        tables::configureDatasets(kass, filme, unused, unused, timer);
        point(kass, dir, tables::kKassStem);
        point(filme, dir, tables::kFilmeStem);
        point(timer, dir, tables::kATimerStem);
        kass.open();
        filme.open();
        timer.open();
        for (int spielzeit : {180, 240, 300}) {
            kass.append();
            kass.setInteger(QStringLiteral("Spielzeit"), spielzeit);
            kass.setInteger(kBelegt, 0);
            kass.setInteger(kFrei, spielzeit);
            kass.post();
        }
        kass.first();
        filme.afterPost = [this](Dataset&) { recount(); };
    }
    void recount()
    {
        const qint64 film = filme.currentKey();
        filme.disableControls();
        int sum = 0;
        for (filme.first(); !filme.eof(); filme.next())
            sum += filme.asInteger(kFilmlaenge);
        filme.enableControls();
        filme.locate(film);
        kass.edit();
        kass.setInteger(kBelegt, sum);
        kass.setInteger(kFrei, kass.asInteger(QStringLiteral("Spielzeit")) - sum);
        kass.post();
    }
    void pendingFilm(int length)
    {
        filme.append();
        filme.setString(kFilmname, QStringLiteral("Schwebend"));
        filme.setInteger(kFilmlaenge, length);
    }
    // A cassette's stored field, read through a dataset of its own.
    int stored(int nummer, const QString& field) const
    {
        Dataset k;
        point(k, dir, tables::kKassStem);
        k.open();
        return k.locate(nummer) ? k.asInteger(field) : -1;
    }
    QList<int> filmCassettes() const
    {
        Dataset f;
        point(f, dir, tables::kFilmeStem);
        f.open();
        QList<int> out;
        for (f.first(); !f.eof(); f.next())
            out << f.asInteger(QStringLiteral("Zu_Kassette"));
        return out;
    }
    sqlite3* db() const { return engine::Connection::forDirectory(dir)->db(); }
};

QString pragma(sqlite3* db, const QByteArray& sql)
{
    engine::Stmt s(db, sql);
    return s.step() ? s.column(0).toString() : QString();
}

// A second program's connection to one table file: can it write there?
bool writableElsewhere(const QString& file)
{
    sqlite3* other = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(other, 0);
    const int rc = sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE tabelle SET rowid = rowid; COMMIT;", nullptr,
                                nullptr, nullptr);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(other);
    return rc == SQLITE_OK;
}

} // namespace

class TestStoreChanges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testing_support::initTestEnvironment(); }
    void masterRepositioningStoresThePendingFilm_data();
    void masterRepositioningStoresThePendingFilm();
    void readingChangesNothing();
    void messagesWaitForTheEndOfAChange();
    void transactionEndedBySqlite();
    void durabilityOfEveryFile();
    void closedFilesAreReleased();
    void textConversions();
};

void TestStoreChanges::masterRepositioningStoresThePendingFilm_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("filter changed") << 0;
    QTest::newRow("filter applied") << 1;
    QTest::newRow("filter lifted") << 2;
    QTest::newRow("ordering") << 3;
    QTest::newRow("refresh") << 4;
    QTest::newRow("find nearest") << 5;
    QTest::newRow("locate") << 6;
}

// A changed pending film is stored on its own cassette, and the recount runs there,
// whatever takes the cassettes to another row; an unchanged new one is dropped.
void TestStoreChanges::masterRepositioningStoresThePendingFilm()
{
    QFETCH(int, way);
    Shelf s(QStringLiteral("reposition%1").arg(way));
    auto prepare = [&] {
        s.kass.setFilter(way == 2 ? QStringLiteral("Frei >= 0") : QString());
        s.kass.setFiltered(way != 1);
        s.kass.setIndexFieldNames(QString());
        s.kass.first();
    };
    auto reposition = [&] {
        switch (way) {
        case 0:
            s.kass.setFilter(QStringLiteral("Frei >= 200")); // cassette 1 no longer passes
            break;
        case 1:
            s.kass.setFilter(QStringLiteral("Frei >= 200"));
            s.kass.setFiltered(true);
            break;
        case 2:
            s.kass.setFiltered(false);
            break;
        case 3:
            s.kass.setIndexFieldNames(QStringLiteral("Spielzeit"));
            break;
        case 4:
            s.kass.refresh();
            break;
        case 5:
            s.kass.findNearest(2);
            break;
        case 6:
            s.kass.locate(3);
            break;
        }
    };
    prepare();
    s.pendingFilm(50);
    reposition();
    QCOMPARE(s.filme.state(), Dataset::State::Browse);
    QCOMPARE(s.filmCassettes(), QList<int>{1});
    QCOMPARE(s.stored(1, kBelegt), 50);
    QCOMPARE(s.stored(1, kFrei), 130);
    for (int other : {2, 3})
        QCOMPARE(s.stored(other, kBelegt), 0);

    // An untouched new row goes away.
    prepare();
    s.filme.append();
    reposition();
    QCOMPARE(s.filme.state(), Dataset::State::Browse);
    QCOMPARE(s.filmCassettes(), QList<int>{1});
}

// Getters neither catch a detail up nor emit anything; the detail follows its
// master when the master moves, and while the master's controls are disabled when
// they are enabled again.
void TestStoreChanges::readingChangesNothing()
{
    Shelf s(QStringLiteral("reading"));
    s.pendingFilm(10);
    s.filme.post();
    s.kass.next();
    s.pendingFilm(20);
    s.filme.post();
    s.kass.first();

    QList<QSignalSpy*> spies{
        new QSignalSpy(&s.filme, &Dataset::rowsReset),   new QSignalSpy(&s.filme, &Dataset::currentChanged),
        new QSignalSpy(&s.filme, &Dataset::rowChanged),  new QSignalSpy(&s.filme, &Dataset::stateChanged),
        new QSignalSpy(&s.filme, &Dataset::rowInserted), new QSignalSpy(&s.filme, &Dataset::rowRemoved)};
    auto emitted = [&] {
        int n = 0;
        for (QSignalSpy* spy : spies) {
            n += static_cast<int>(spy->size());
            spy->clear();
        }
        return n;
    };
    auto readAll = [&] {
        QList<QVariant> r;
        r << s.filme.recordCount() << s.filme.rowCount() << s.filme.recNo() << s.filme.currentRow()
          << s.filme.eof() << s.filme.bof() << s.filme.isEmpty() << s.filme.currentKey()
          << s.filme.value(kFilmlaenge) << s.filme.valueAt(0, kFilmname) << s.filme.asInteger(kFilmlaenge);
        return r;
    };

    // A move of the master: the detail is reset at once, reading then is quiet.
    s.kass.next();
    QVERIFY(emitted() > 0);
    QCOMPARE(s.filme.asInteger(kFilmlaenge), 20);
    readAll();
    QCOMPARE(emitted(), 0);

    // Controls disabled: the detail keeps its rows, however often it is read.
    s.kass.disableControls();
    s.kass.prior();
    const QList<QVariant> before = readAll();
    QCOMPARE(readAll(), before);
    QCOMPARE(s.filme.asInteger(kFilmlaenge), 20);
    QCOMPARE(emitted(), 0);
    s.kass.enableControls();
    QVERIFY(emitted() > 0);
    QCOMPARE(s.filme.asInteger(kFilmlaenge), 10);
    readAll();
    QCOMPARE(emitted(), 0);
    qDeleteAll(spies);
}

// Messages raised inside a change are shown once it is committed; questions, input
// boxes and dialogs are refused; a timer firing while a message is shown writes a
// change of its own.
void TestStoreChanges::messagesWaitForTheEndOfAChange()
{
    Shelf s(QStringLiteral("deferred"));
    const QString full = QStringLiteral("Film passt nicht mehr auf die Kassette");
    FakeInteraction ui;
    s.filme.afterPost = [&](Dataset&) {
        s.recount();
        if (s.kass.asInteger(kFrei) < 0)
            ui.error(full);
    };
    struct Seen
    {
        bool changeOpen = true;
        bool committed = false;
        int belegt = -1;
    } seen;
    ui.onMessage = [&](const quorbel::Message&) {
        seen.changeOpen = changeOpen();
        seen.committed = sqlite3_get_autocommit(s.db()) != 0;
        seen.belegt = s.stored(1, kBelegt);
        // What a timer would do meanwhile: a change of its own, committed at once.
        s.timer.append();
        s.timer.setString(kFilmname, QStringLiteral("Aufnahme"));
        s.timer.post();
        QVERIFY(!changeOpen());
    };
    s.pendingFilm(200);
    s.filme.post();
    QCOMPARE(ui.messages(), QStringList{full});
    QVERIFY(!seen.changeOpen);
    QVERIFY(seen.committed);
    QCOMPARE(seen.belegt, 200);
    QCOMPARE(s.timer.recordCount(), 1);
    ui.onMessage = nullptr;

    // Asking inside a change: refused, nothing of the change stored.
    using quorbel::MsgIcon;
    const std::function<void()> asks[] = {
        [&] { ui.askYesNo(QStringLiteral("Wirklich?")); },
        [&] { ui.inputBox(QStringLiteral("Titel"), QStringLiteral("Eingabe"), QString()); },
        [&] { ui.chooseFile(QStringLiteral("Alle Dateien (*.*)|*.*"), s.dir); },
        [&] {
            QDialog dialog;
            ui.exec(dialog);
        },
    };
    for (const auto& ask : asks) {
        ui.clear();
        s.filme.afterPost = [&](Dataset&) { ask(); };
        s.pendingFilm(5);
        QVERIFY_THROWS_EXCEPTION(EngineError, s.filme.post());
        QVERIFY(ui.shown.isEmpty());
        s.filme.cancel();
        QCOMPARE(s.filmCassettes().size(), 1);
        QVERIFY(!changeOpen());
    }

    // A change rolled back: its messages are dropped, an error dialog is still shown.
    ui.clear();
    s.filme.afterPost = [&](Dataset&) {
        ui.warning(QStringLiteral("gilt nicht mehr"));
        ui.showError(QStringLiteral("Fehler im Handler"));
        throw EngineError(QStringLiteral("Abbruch"));
    };
    s.pendingFilm(5);
    QVERIFY_THROWS_EXCEPTION(EngineError, s.filme.post());
    QVERIFY(ui.messages().isEmpty());
    QCOMPARE(ui.errors(), QStringList{QStringLiteral("Fehler im Handler")});

    // Outside a change everything is shown at once.
    ui.clear();
    ui.information(QStringLiteral("sofort"));
    QCOMPARE(ui.messages(), QStringList{QStringLiteral("sofort")});
}

// When SQLite ends the transaction by itself, the change fails with one error,
// no later write of it runs outside a transaction, and the datasets re-read.
void TestStoreChanges::transactionEndedBySqlite()
{
    Shelf s(QStringLiteral("aborted"));
    // A handler that goes on after the transaction is gone, and swallows the error.
    QString swallowed;
    s.filme.afterPost = [&](Dataset&) {
        sqlite3_exec(s.db(), "ROLLBACK", nullptr, nullptr, nullptr); // as SQLite does on IOERR/NOMEM
        try {
            s.kass.edit();
            s.kass.setInteger(kBelegt, 99);
            s.kass.post();
        } catch (const EngineError& e) {
            swallowed = e.message();
            if (s.kass.state() != Dataset::State::Browse)
                s.kass.cancel();
        }
    };
    s.pendingFilm(50);
    try {
        s.filme.post();
        QFAIL("the change went through");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("abgebrochen")), qPrintable(e.message()));
    }
    QVERIFY(!swallowed.isEmpty());
    QVERIFY(sqlite3_get_autocommit(s.db()));
    QVERIFY(!changeOpen());
    QCOMPARE(s.stored(1, kBelegt), 0);
    QVERIFY(s.filmCassettes().isEmpty());
    QCOMPARE(s.kass.asInteger(kBelegt), 0);
    // The film is still pending, and stores normally now.
    QCOMPARE(s.filme.state(), Dataset::State::Insert);
    s.filme.afterPost = [&](Dataset&) { s.recount(); };
    s.filme.post();
    QCOMPARE(s.stored(1, kBelegt), 50);

    // A full disk: the film's file may not grow.
    const QByteArray schema = [&] {
        engine::Stmt l(s.db(), "SELECT name FROM pragma_database_list WHERE file LIKE '%filme.db'");
        return l.step() ? l.column(0).toString().toUtf8() : QByteArray();
    }();
    QVERIFY(!schema.isEmpty());
    const QString pages = pragma(s.db(), "PRAGMA " + schema + ".page_count");
    pragma(s.db(), "PRAGMA " + schema + ".max_page_count = " + pages.toUtf8());
    s.pendingFilm(20);
    s.filme.setMemo(QStringLiteral("Beschreibung"), QString(200000, QLatin1Char('x')));
    try {
        s.filme.post();
        QFAIL("stored beyond the end of the disk");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Der Datenträger ist voll.")),
                 qPrintable(e.message()));
    }
    QVERIFY(sqlite3_get_autocommit(s.db()));
    QCOMPARE(s.filmCassettes().size(), 1);
    QCOMPARE(s.stored(1, kBelegt), 50);
    pragma(s.db(), "PRAGMA " + schema + ".max_page_count = 1073741823");
    s.filme.post();
    QCOMPARE(s.filmCassettes().size(), 2);
    QCOMPARE(s.stored(1, kBelegt), 70);
}

// Every attached file keeps a rollback journal, syncs fully and is locked.
void TestStoreChanges::durabilityOfEveryFile()
{
    Shelf s(QStringLiteral("durability"));
    Dataset verliehen;
    point(verliehen, s.dir, tables::kAusgeliehenStem);
    verliehen.open();
    QStringList schemas;
    {
        engine::Stmt l(s.db(), "SELECT name FROM pragma_database_list WHERE name <> 'temp'");
        while (l.step())
            schemas << l.column(0).toString();
    }
    QCOMPARE(schemas.size(), 4);
    for (const QString& schema : schemas) {
        const QByteArray p = "PRAGMA " + schema.toUtf8() + '.';
        QCOMPARE(pragma(s.db(), p + "journal_mode"), QStringLiteral("delete"));
        QCOMPARE(pragma(s.db(), p + "synchronous"), QStringLiteral("2")); // FULL
        QCOMPARE(pragma(s.db(), p + "locking_mode"), QStringLiteral("exclusive"));
    }
}

// A file nobody uses any more is given back at once (after the change that closed
// it), and locked again when opened again; the statement cache stays bounded.
void TestStoreChanges::closedFilesAreReleased()
{
    Shelf s(QStringLiteral("release"));
    const QString kassFile = s.dir + QStringLiteral("/kass.db");
    const QString filmFile = s.dir + QStringLiteral("/filme.db");
    const QString timerFile = s.dir + QStringLiteral("/atimer.db");
    QVERIFY(!writableElsewhere(kassFile));
    QVERIFY(!writableElsewhere(timerFile));

    // The first file opened: the connection's main database.
    s.kass.close();
    QVERIFY(writableElsewhere(kassFile));
    s.kass.open();
    QVERIFY(!writableElsewhere(kassFile));

    // Closed inside a change: released once the change has ended.
    s.filme.afterPost = [&](Dataset&) { s.timer.close(); };
    s.pendingFilm(5);
    s.filme.post();
    QVERIFY(writableElsewhere(timerFile));
    QVERIFY(!writableElsewhere(filmFile));

    // Many different statements: the oldest make room.
    auto conn = engine::Connection::forDirectory(s.dir);
    QString filter = QStringLiteral("(Frei >= 0)");
    s.kass.setFiltered(true);
    for (int i = 0; i < 100; ++i) {
        filter += QStringLiteral(" OR (Frei = %1)").arg(i);
        s.kass.setFilter(filter);
        QCOMPARE(s.kass.recordCount(), 3);
    }
    QVERIFY(conn->cacheSize() <= engine::Connection::kCacheLimit);
    s.kass.setFiltered(false);
    QCOMPARE(s.kass.recordCount(), 3);
    s.kass.last();
    QCOMPARE(s.kass.asInteger(QStringLiteral("Spielzeit")), 300);
}

// Text that is no number is no integer; CHAR(n) keeps n whole characters.
void TestStoreChanges::textConversions()
{
    Shelf s(QStringLiteral("conversions"));
    s.pendingFilm(5);
    s.filme.setString(kFilmname, QStringLiteral("abc"));
    try {
        s.filme.asInteger(kFilmname);
        QFAIL("text read as a number");
    } catch (const EngineError& e) {
        QCOMPARE(e.message(), QStringLiteral("'abc' ist kein gültiger Integerwert"));
    }
    s.filme.setString(kFilmname, QStringLiteral(" 42 "));
    QCOMPARE(s.filme.asInteger(kFilmname), 42);
    s.filme.setString(kFilmname, QString());
    QCOMPARE(s.filme.asInteger(kFilmname), 0);
    QVERIFY_THROWS_EXCEPTION(EngineError, s.filme.setString(kFilmlaenge, QStringLiteral("12a")));

    const QString clef = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units
    const QString title = QString(49, QLatin1Char('a')) + clef + QStringLiteral("zzz");
    s.filme.setString(kFilmname, title);
    s.filme.post();
    const QString stored = s.filme.asString(kFilmname);
    QCOMPARE(stored.toUcs4().size(), 50);
    QCOMPARE(stored, QString(49, QLatin1Char('a')) + clef);
}

QTEST_MAIN(TestStoreChanges)
#include "tst_store_changes.moc"
