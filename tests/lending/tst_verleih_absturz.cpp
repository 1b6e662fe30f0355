// A program killed while lending or taking back leaves each cassette's lent mark
// exactly where a loan row for it exists.

#include "lendingtesthelpers.h"

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <csignal>

using namespace lendingtest;

namespace {

// Reopens the collection and checks the mark against the loan rows; returns the
// number of loans.
int pruefeSammlung(const QString& dir)
{
    store::Dataset kass, verliehen;
    kass.setDatabaseName(dir);
    kass.setTableName(QStringLiteral("kass.db"));
    verliehen.setDatabaseName(dir);
    verliehen.setTableName(QStringLiteral("ausgelhn.db"));
    kass.open();
    verliehen.open();
    QHash<int, int> loans;
    for (verliehen.first(); !verliehen.eof(); verliehen.next())
        ++loans[verliehen.asInteger(QStringLiteral("Kassette"))];
    for (kass.first(); !kass.eof(); kass.next()) {
        const int nummer = kass.asInteger(QStringLiteral("Nummer"));
        const bool mark = kass.asBoolean(QStringLiteral("Verliehen"));
        if (loans.value(nummer) != (mark ? 1 : 0))
            qWarning("cassette %d: mark %d, %d loans", nummer, int(mark), loans.value(nummer));
        if (loans.value(nummer) != (mark ? 1 : 0))
            return -1;
    }
    return verliehen.recordCount();
}

} // namespace

class TestVerleihAbsturz : public QObject
{
    Q_OBJECT

private slots:
    void killedBetweenMarkAndLoanRow();
    void killedAtRandomMoments();
};

void TestVerleihAbsturz::killedBetweenMarkAndLoanRow()
{
    Sammlung s(QStringLiteral("zwischen"));
    s.schliessen();
    QProcess child;
    child.start(QStringLiteral(LENDING_HELPER), {QStringLiteral("zwischen"), s.dir});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(pruefeSammlung(s.dir), 0);
}

void TestVerleihAbsturz::killedAtRandomMoments()
{
    Sammlung s(QStringLiteral("zufall"));
    s.schliessen();
    QElapsedTimer total;
    total.start();
    auto* rng = QRandomGenerator::global();
    int schritte = 0;
    for (int round = 0; round < 8 && total.elapsed() < 20000; ++round) {
        QProcess child;
        child.start(QStringLiteral(LENDING_HELPER),
                    {QStringLiteral("schleife"), s.dir, QString::number(round + 1)});
        QVERIFY(child.waitForStarted(10000));
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qWait(static_cast<int>(rng->bounded(30, 500)));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        const QByteArray out = child.readAllStandardOutput();
        QVERIFY2(!out.contains("Fehler"), out.constData());
        schritte += static_cast<int>(out.count("ok\n"));
        QVERIFY2(pruefeSammlung(s.dir) >= 0, qPrintable(QStringLiteral("round %1").arg(round)));
    }
    QVERIFY(schritte > 8);
    qInfo("%d lending steps returned before the kills", schritte);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestVerleihAbsturz t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_verleih_absturz.moc"
