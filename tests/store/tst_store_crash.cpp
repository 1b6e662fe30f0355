// A second program and a crashing one: tables in use are refused, and a process
// killed at any moment leaves intact files with every post that had returned, the
// cassette's derived sum always matching its films.

#include "storetesthelpers.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <csignal>

using namespace store;
using namespace storetest;

class TestStoreCrash : public QObject
{
    Q_OBJECT

private slots:
    void secondProgramIsRefused();
    void killedWhilePosting();
};

void TestStoreCrash::secondProgramIsRefused()
{
    const QString dir = collection(QStringLiteral("lock"));
    QProcess other;
    other.start(QStringLiteral(STORE_HELPER), {QStringLiteral("hold"), dir});
    QVERIFY(other.waitForReadyRead(10000));
    QCOMPARE(other.readLine().trimmed(), QByteArray("offen"));

    Dataset kass;
    point(kass, dir, tables::kKassStem);
    try {
        kass.open();
        QFAIL("opened tables in use by another program");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("gesperrt")), qPrintable(e.message()));
    }
    QVERIFY(!kass.isActive());
    // The lock goes with the process, however it ends.
    ::kill(static_cast<pid_t>(other.processId()), SIGKILL);
    QVERIFY(other.waitForFinished(10000));
    kass.open();
    QVERIFY(kass.isActive());

    // And the other way round: our open tables refuse the other program.
    QProcess again;
    again.start(QStringLiteral(STORE_HELPER), {QStringLiteral("hold"), dir});
    QVERIFY(again.waitForFinished(10000));
    const QString out = QString::fromUtf8(again.readAllStandardOutput());
    QVERIFY2(out.startsWith(QStringLiteral("Fehler: ")) && out.contains(QStringLiteral("gesperrt")),
             qPrintable(out));
    QCOMPARE(again.exitCode(), 1);
}

void TestStoreCrash::killedWhilePosting()
{
    const QString dir = collection(QStringLiteral("crash"));
    QSet<qint64> returned;
    QElapsedTimer total;
    total.start();
    auto* rng = QRandomGenerator::global();
    for (int round = 0; round < 6; ++round) {
        QProcess child;
        child.start(QStringLiteral(STORE_HELPER), {QStringLiteral("post"), dir, QString::number(round + 1)});
        QVERIFY(child.waitForStarted(10000));
        // Wait for the first posts, then kill at a random moment.
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qWait(static_cast<int>(rng->bounded(50, 700)));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        int got = 0;
        for (const QByteArray& l : lines) {
            bool ok = false;
            const qint64 key = l.trimmed().toLongLong(&ok);
            if (ok) {
                returned.insert(key);
                ++got;
            }
        }
        QVERIFY2(got > 0, qPrintable(QString::fromUtf8(child.readAllStandardError())));

        // Reopen as the program does, and check what survived.
        Dataset kass, filme;
        point(kass, dir, tables::kKassStem);
        point(filme, dir, tables::kFilmeStem);
        kass.open();
        filme.open();
        QSet<qint64> stored;
        QHash<int, int> sums;
        for (filme.first(); !filme.eof(); filme.next()) {
            stored.insert(filme.currentKey());
            sums[filme.asInteger(QStringLiteral("Zu_Kassette"))] +=
                filme.asInteger(QStringLiteral("Filmlaenge"));
        }
        for (qint64 key : returned)
            QVERIFY2(stored.contains(key), qPrintable(QStringLiteral("film %1 lost").arg(key)));
        QCOMPARE(kass.recordCount(), 3);
        for (kass.first(); !kass.eof(); kass.next()) {
            const int nummer = kass.asInteger(QStringLiteral("Nummer"));
            QCOMPARE(kass.asInteger(QStringLiteral("Belegt")), sums.value(nummer));
        }
        kass.close();
        filme.close();
        for (const char* f : {"kass.db", "filme.db", "ausgelhn.db", "atimer.db"})
            QCOMPARE(
                shell(dir + QLatin1Char('/') + QLatin1String(f), QStringLiteral("PRAGMA integrity_check")),
                QStringLiteral("ok"));
        if (total.elapsed() > 20000)
            break;
    }
    QVERIFY(returned.size() > 6);
    qInfo("%d posts returned before the kills", int(returned.size()));
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestStoreCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_store_crash.moc"
