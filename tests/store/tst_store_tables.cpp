// The statement runner and the collection tables as code, against real files.

#include "storetesthelpers.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/dates.h>
#include <store/listfile.h>

using namespace store;
using namespace storetest;

class TestStoreTables : public QObject
{
    Q_OBJECT

private slots:
    void statementTexts();
    void tableFileNames();
    void createsAllTablesAndIndexes();
    void numberedCollectionBesidePlainOne();
    void refusesUnknownStatementsAndExistingFiles();
    void indexErrors();
    void datasetSettings();
    void dateFormats();
    void staleJournalsStayOutOfNewTables();
    void creationSurvivesAKillAtEveryStep();
};

void TestStoreTables::statementTexts()
{
    const QStringList kass = tables::createKass();
    QCOMPARE(kass.size(), 11);
    QCOMPARE(kass.first(), QStringLiteral("CREATE TABLE \"kass.db\""));
    QCOMPARE(kass[9], QStringLiteral("PRIMARY KEY (Nummer));"));
    QCOMPARE(kass.last(), QString());
    const QStringList filme = tables::createFilme();
    QCOMPARE(filme.size(), 11);
    QCOMPARE(filme.last(), QStringLiteral("PRIMARY KEY (Zaehler))"));
    QCOMPARE(filme[9], QStringLiteral("Beschreibung BLOB(5,1),"));
    QCOMPARE(tables::createAusgeliehen().size(), 9);
    QCOMPARE(tables::createAusgeliehen().last(), QString());
    QCOMPARE(tables::createATimer().size(), 10);
    QCOMPARE(tables::createATimer().last(), QStringLiteral("PRIMARY KEY (Zaehler));"));

    QCOMPARE(tables::filmeIndexes(QStringLiteral("filme3.db")),
             (QStringList{QStringLiteral("CREATE INDEX iZu_Kassette ON \"filme3.db\" (Zu_Kassette)"),
                          QStringLiteral("CREATE INDEX iFilmname ON \"filme3.db\" (Filmname)"),
                          QStringLiteral("CREATE INDEX iFilmlaenge ON \"filme3.db\" (Filmlaenge)"),
                          QStringLiteral("CREATE INDEX iGenre ON \"filme3.db\" (Genre,Filmname)")}));
    QCOMPARE(tables::ausgeliehenIndexes(QStringLiteral("ausgelhn.db")),
             (QStringList{QStringLiteral("CREATE INDEX iAn ON \"ausgelhn.db\" (An)"),
                          QStringLiteral("CREATE INDEX iDatum ON \"ausgelhn.db\" (Datum)"),
                          QStringLiteral("CREATE INDEX iKassette ON \"ausgelhn.db\" (Kassette)")}));
    QCOMPARE(tables::atimerIndexes(QStringLiteral("atimer.db")),
             QStringList{QStringLiteral("CREATE INDEX iDatum ON \"atimer.db\" (Datum,Beginn)")});
    QCOMPARE(tables::createTableLine(QStringLiteral("kass3.db")),
             QStringLiteral("CREATE TABLE \"kass3.db\""));
}

void TestStoreTables::tableFileNames()
{
    QCOMPARE(tables::tableFileName(QStringLiteral("kass"), 0), QStringLiteral("kass.db"));
    QCOMPARE(tables::tableFileName(QStringLiteral("filme"), 12), QStringLiteral("filme12.db"));
    QCOMPARE(tables::tableFileName(QStringLiteral("ausgelhn"), QStringLiteral("0")),
             QStringLiteral("ausgelhn.db"));
    QCOMPARE(tables::tableFileName(QStringLiteral("atimer"), QString()), QStringLiteral("atimer.db"));
    QCOMPARE(tables::tableFileName(QStringLiteral("atimer"), QStringLiteral("3")),
             QStringLiteral("atimer3.db"));
}

static QStringList indexNames(const QString& file)
{
    return shell(file, QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND name NOT LIKE "
                                      "'sqlite_%' ORDER BY name"))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestStoreTables::createsAllTablesAndIndexes()
{
    const QString dir = collection(QStringLiteral("plain"));
    for (const char* f : {"kass.db", "filme.db", "ausgelhn.db", "atimer.db"}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(f);
        QVERIFY2(QFileInfo::exists(path), f);
        QCOMPARE(shell(path, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    }
    QCOMPARE(indexNames(dir + QStringLiteral("/kass.db")), QStringList());
    QCOMPARE(indexNames(dir + QStringLiteral("/filme.db")),
             (QStringList{QStringLiteral("iFilmlaenge"), QStringLiteral("iFilmname"),
                          QStringLiteral("iGenre"), QStringLiteral("iZu_Kassette")}));
    QCOMPARE(indexNames(dir + QStringLiteral("/ausgelhn.db")),
             (QStringList{QStringLiteral("iAn"), QStringLiteral("iDatum"), QStringLiteral("iKassette")}));
    QCOMPARE(indexNames(dir + QStringLiteral("/atimer.db")), QStringList{QStringLiteral("iDatum")});
    // The declared types carry the engine's types for other tools.
    const QString types =
        shell(dir + QStringLiteral("/filme.db"),
              QStringLiteral("SELECT group_concat(type, ' ') FROM pragma_table_info('tabelle')"));
    QVERIFY2(types.contains(QStringLiteral("CHAR(50)")) && types.contains(QStringLiteral("BLOB(0,5)")) &&
                 types.contains(QStringLiteral("DATE")) && types.contains(QStringLiteral("BOOLEAN")),
             qPrintable(types));
    // The title index is on the folding key, with the key as tie-break implied.
    QVERIFY(shell(dir + QStringLiteral("/filme.db"),
                  QStringLiteral("SELECT sql FROM sqlite_master WHERE name='iGenre'"))
                .contains(QStringLiteral("\"Genre__k\", \"Filmname__k\"")));
}

void TestStoreTables::numberedCollectionBesidePlainOne()
{
    const QString dir = collection(QStringLiteral("numbered"), 12);
    inDirectory(dir, [] { tables::createCollection(0); });
    for (const char* f : {"kass12.db", "filme12.db", "ausgelhn12.db", "atimer12.db", "kass.db", "filme.db"})
        QVERIFY2(QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(f)), f);
    QCOMPARE(indexNames(dir + QStringLiteral("/filme12.db")).size(), 4);
    // Creating number 12 again is refused: its files exist.
    QVERIFY_THROWS_EXCEPTION(EngineError, inDirectory(dir, [] { tables::createCollection(12); }));
}

void TestStoreTables::refusesUnknownStatementsAndExistingFiles()
{
    const QString dir = testing_support::freshDir(QStringLiteral("refuse"));
    auto run = [&](const QStringList& sql) {
        inDirectory(dir, [&] {
            Query q;
            q.sql = sql;
            q.execSQL();
        });
    };
    auto refused = [&](const QStringList& sql) -> QString {
        try {
            run(sql);
        } catch (const EngineError& e) {
            return e.message();
        }
        return QString();
    };
    const QStringList bad[] = {
        {QStringLiteral("DROP TABLE \"kass.db\"")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a INTEGER"), QStringLiteral("")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a FLOAT)")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a CHAR(0))")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a INTEGER); DROP TABLE y")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a INTEGER, a CHAR(3))")},
        {QStringLiteral("CREATE TABLE \"x.db\" (a AUTOINC, b INTEGER, PRIMARY KEY (b))")},
        {QStringLiteral("CREATE TABLE x.db (a INTEGER)")},
        // A NUL in the name would make the file functions create "x" instead.
        {QStringLiteral("CREATE TABLE \"x") + QChar(u'\0') + QStringLiteral("y.db\" (a INTEGER)")},
        {QStringLiteral("SELECT * FROM tabelle")},
        {},
    };
    for (const QStringList& sql : bad) {
        const QString msg = refused(sql);
        QVERIFY2(!msg.isEmpty(), qPrintable(sql.join(QLatin1Char(' '))));
        QVERIFY2(!msg.contains(QLatin1String("syntax error")), qPrintable(msg));
    }
    QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList());

    // Both forms of the end of a statement are accepted.
    run(tables::createKass());
    run(tables::createFilme());
    // An existing file is refused and left as it was.
    const QString msg = refused(tables::createKass());
    QVERIFY2(msg.contains(QStringLiteral("existiert bereits")), qPrintable(msg));
    QCOMPARE(QDir(dir).entryList(QDir::Files),
             (QStringList{QStringLiteral("filme.db"), QStringLiteral("kass.db")}));
}

void TestStoreTables::indexErrors()
{
    const QString dir = collection(QStringLiteral("indexerr"));
    auto refused = [&](const QString& sql) -> QString {
        try {
            inDirectory(dir, [&] {
                Query q;
                q.sql = QStringList{sql};
                q.execSQL();
            });
        } catch (const EngineError& e) {
            return e.message();
        }
        return QString();
    };
    QVERIFY(refused(QStringLiteral("CREATE INDEX iX ON \"fehlt.db\" (A)"))
                .contains(QStringLiteral("Datei nicht gefunden")));
    QVERIFY(refused(QStringLiteral("CREATE INDEX iX ON \"filme.db\" (Unbekannt)"))
                .contains(QStringLiteral("Unbekannt")));
    QVERIFY(refused(QStringLiteral("CREATE INDEX iGenre ON \"filme.db\" (Genre)"))
                .contains(QStringLiteral("existiert bereits")));
    QVERIFY(!refused(QStringLiteral("CREATE INDEX iX ON \"filme.db\" (Bild)")).isEmpty());
}

void TestStoreTables::datasetSettings()
{
    Dataset kass, filme, uebersicht, verliehen, timer;
    tables::configureDatasets(kass, filme, uebersicht, verliehen, timer);
    QCOMPARE(kass.indexFieldNames(), QString());
    QVERIFY(kass.filtered());
    QCOMPARE(kass.filter(), QString());
    QCOMPARE(filme.indexFieldNames(), QStringLiteral("Zu_Kassette"));
    QCOMPARE(filme.master(), &kass);
    QVERIFY(!filme.readOnly());
    QVERIFY(uebersicht.readOnly());
    QCOMPARE(uebersicht.master(), nullptr);
    QCOMPARE(uebersicht.indexFieldNames(), QStringLiteral("Zu_Kassette"));
    QCOMPARE(verliehen.indexFieldNames(), QStringLiteral("Kassette"));
    QCOMPARE(timer.indexFieldNames(), QStringLiteral("Datum;Beginn"));

    const QString dir = collection(QStringLiteral("settings"), 2);
    point(kass, dir, tables::kKassStem, 2);
    point(filme, dir, tables::kFilmeStem, 2);
    point(uebersicht, dir, tables::kFilmeStem, 2);
    point(verliehen, dir, tables::kAusgeliehenStem, 2);
    point(timer, dir, tables::kATimerStem, 2);
    for (Dataset* ds : {&kass, &filme, &verliehen, &timer, &uebersicht})
        ds->open();
    QVERIFY(kass.isEmpty() && filme.isEmpty() && uebersicht.isEmpty());
    QVERIFY_THROWS_EXCEPTION(EngineError, uebersicht.edit());
}

void TestStoreTables::dateFormats()
{
    QCOMPARE(shortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(formatDate(QDate(2026, 5, 19)), QStringLiteral("19.05.2026"));
    QCOMPARE(parseDate(QStringLiteral("19.05.2026")), QDate(2026, 5, 19));
    QCOMPARE(parseDate(QStringLiteral("1.5.1998")), QDate(1998, 5, 1));
    QVERIFY(!parseDate(QStringLiteral("19.05.26")).isValid()); // never 1926
    QVERIFY(!parseDate(QStringLiteral("31.02.2026")).isValid());
    QCOMPARE(longTimeFormat(), QStringLiteral("HH:mm:ss"));
    QCOMPARE(formatTime(QTime(9, 5, 0)), QStringLiteral("09:05:00"));
    QCOMPARE(parseTime(QStringLiteral("20:15")), QTime(20, 15));
}

namespace {

// The journal SQLite writes while emptying `file`, copied before the change is rolled
// back: what a crash leaves beside it, the pages as they were.
QByteArray journalOf(const QString& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN; DELETE FROM tabelle", nullptr, nullptr, nullptr);
    QFile journal(file + QStringLiteral("-journal"));
    journal.open(QIODevice::ReadOnly);
    QByteArray bytes = journal.readAll();
    sqlite3_close(db); // rolls back
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// The journals left beside table files the user deleted by hand (and a super-journal)
// never reach a new collection there.
void TestStoreTables::staleJournalsStayOutOfNewTables()
{
    const QString dir = collection(QStringLiteral("stale"));
    QHash<QString, QByteArray> journals;
    for (const QString& f : {QStringLiteral("/kass.db"), QStringLiteral("/filme.db")}) {
        shell(dir + f,
              QStringLiteral("INSERT INTO tabelle DEFAULT VALUES; INSERT INTO tabelle DEFAULT VALUES"));
        journals[f] = journalOf(dir + f);
        QVERIFY(journals[f].size() > 512);
    }
    for (const char* f : {"kass.db", "filme.db", "ausgelhn.db", "atimer.db"})
        QVERIFY(QFile::remove(dir + QLatin1Char('/') + QLatin1String(f)));
    for (auto it = journals.cbegin(); it != journals.cend(); ++it)
        writeFile(dir + it.key() + QStringLiteral("-journal"), it.value());
    writeFile(dir + QStringLiteral("/kass.db-mj0A1B2C3D"), "stale super-journal");

    inDirectory(dir, [] { tables::createCollection(0); });
    for (auto it = journals.cbegin(); it != journals.cend(); ++it)
        QCOMPARE(shell(dir + it.key(), QStringLiteral("SELECT count(*) FROM tabelle")), QStringLiteral("0"));
    QCOMPARE(QDir(dir).entryList({QStringLiteral("*-journal"), QStringLiteral("*-mj*")}, QDir::Files),
             QStringList());
}

// The child creates a collection; the parent kills it at random moments, and the
// child kills itself after each step of the creation. The next creation in that
// directory finds either nothing of it or all of it, and works.
void TestStoreTables::creationSurvivesAKillAtEveryStep()
{
    auto* rng = QRandomGenerator::global();
    int steps = 0;
    qint64 duration = 0;
    int nothing = 0, whole = 0;
    for (int round = 0; round < 40; ++round) {
        if (round > steps + 8)
            break;
        const QString dir = testing_support::freshDir(QStringLiteral("kill%1").arg(round));
        writeFile(dir + QStringLiteral("/fremd.txt"), "not ours");
        const int halt = round >= 1 && round <= steps ? round : 0;
        QProcess child;
        QElapsedTimer t;
        t.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--anlegen"), dir, QString::number(halt)});
        QVERIFY(child.waitForStarted(10000));
        if (round > steps) {
            QTest::qWait(static_cast<int>(rng->bounded(qint64(0), duration + 1)));
            if (child.state() == QProcess::Running && child.processId() > 0) // never kill(0)
                ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        }
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(30000));
        if (round == 0) {
            duration = t.elapsed();
            steps = child.readAllStandardOutput().trimmed().toInt();
            QVERIFY(steps >= 10);
        }

        // The next creation there first deals with what the killed one left: all four
        // tables and the list file, or nothing; and it works.
        const int next = nextCollectionNumber(dir);
        const QStringList made =
            QDir(dir).entryList({QStringLiteral("*.db"), QStringLiteral("*.qbx")}, QDir::Files);
        Collection c;
        if (made.isEmpty()) {
            ++nothing;
        } else {
            ++whole;
            QCOMPARE(made.join(QLatin1Char(' ')),
                     QStringLiteral("atimer.db ausgelhn.db filme.db kass.db neu.qbx"));
            c.open(dir + QStringLiteral("/neu.qbx"));
            c.close();
        }
        QCOMPARE(next, made.isEmpty() ? 0 : 1);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 made.size() + 1); // fremd.txt
        c.create(dir, QStringLiteral("weiter.qbx"), next);
        c.close();
    }
    QVERIFY(nothing > 0 && whole > 0);
    qInfo("creation took %lld ms in %d steps; after the kills nothing was there %d times, all of it %d times",
          duration, steps, nothing, whole);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--anlegen") == 0) {
        // Creates collection 0 with its list file; it dies after step `halt` (not 0).
        const int halt = QByteArray(argv[3]).toInt();
        int steps = 0;
        tables::createCollection(QString::fromLocal8Bit(argv[2]), 0, QStringLiteral("neu.qbx"), [&] {
            if (++steps == halt)
                ::raise(SIGKILL);
        });
        std::printf("%d\n", steps);
        return 0;
    }
    TestStoreTables t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_store_tables.moc"
