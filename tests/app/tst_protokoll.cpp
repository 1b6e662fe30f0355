// The log file: only warnings and errors, kept below its size by turning the full file
// into the one old file; and a failure no handler caught, shown in German with its
// detail in the log instead.

#include "fakeinteraction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <app/protokolldatei.h>
#include <stdexcept>
#include <store/error.h>
#include <ui/guard.h>
#include <ui/protokoll.h>

Q_DECLARE_METATYPE(std::exception_ptr)

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::freshDir;

namespace {

QByteArray inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestProtokoll : public QObject
{
    Q_OBJECT
private slots:
    void grenzeUndAlteDatei_data()
    {
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<bool>("alteDatei");
        QTest::newRow("below the limit") << 5 << false;
        QTest::newRow("over it many times") << 200 << true;
    }
    void grenzeUndAlteDatei()
    {
        QFETCH(int, zeilen);
        QFETCH(bool, alteDatei);
        const QString ordner = freshDir(QStringLiteral("grenze"));
        constexpr qint64 kGrenze = 1000;
        Protokolldatei p(ordner + QStringLiteral("/log/quorbel98.log"), kGrenze);
        const QMessageLogContext kontext(nullptr, 0, nullptr, "quorbel.store");
        QVERIFY(p.schreiben(QtDebugMsg, kontext, QStringLiteral("nur zur Fehlersuche")));
        QVERIFY(p.schreiben(QtInfoMsg, kontext, QStringLiteral("nur zur Auskunft")));
        for (int i = 0; i < zeilen; ++i)
            QVERIFY(p.schreiben(i % 2 ? QtWarningMsg : QtCriticalMsg, kontext,
                                QStringLiteral("Zeile %1 ").arg(i, 4) + QString(60, QLatin1Char('x'))));

        const QByteArray jetzt = inhalt(p.pfad());
        QVERIFY(jetzt.size() <= kGrenze);
        QVERIFY(jetzt.contains(QStringLiteral("Zeile %1").arg(zeilen - 1, 4).toUtf8()));
        QVERIFY(jetzt.contains(" quorbel.store: "));
        QVERIFY(!jetzt.contains("nur zur"));
        QCOMPARE(QFile::exists(p.altePfad()), alteDatei);
        QVERIFY(inhalt(p.altePfad()).size() <= kGrenze);
        QVERIFY(!QFile::exists(p.altePfad() + QStringLiteral(".1")));
    }

    void unerwarteterFehler_data()
    {
        QTest::addColumn<std::exception_ptr>("fehler");
        QTest::addColumn<bool>("eigeneMeldung");
        QTest::addColumn<QString>("protokolliert");
        QTest::newRow("runtime_error")
            << std::make_exception_ptr(std::runtime_error("vector::_M_range_check")) << false
            << QStringLiteral("vector::_M_range_check");
        QTest::newRow("of no known kind")
            << std::make_exception_ptr(42) << false << QStringLiteral("unbekannter Art");
        QTest::newRow("engine error")
            << std::make_exception_ptr(store::Error(QStringLiteral("Tabelle ist gesperrt"))) << true
            << QStringLiteral("Tabelle ist gesperrt");
    }
    void unerwarteterFehler()
    {
        QFETCH(std::exception_ptr, fehler);
        QFETCH(bool, eigeneMeldung);
        QFETCH(QString, protokolliert);
        const QString ordner = freshDir(QStringLiteral("fehler"));
        QByteArray geschrieben;
        {
            Protokolldatei p(ordner + QStringLiteral("/quorbel98.log"));
            p.installieren();
            FakeInteraction ui;
            reportUncaught(ui, fehler);
            QCOMPARE(ui.errors().size(), 1);
            const QString gezeigt = ui.errors().constFirst();
            if (eigeneMeldung) {
                QCOMPARE(gezeigt, protokolliert);
            } else {
                QVERIFY(gezeigt.startsWith(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten.")));
                QVERIFY(gezeigt.endsWith(QDir::toNativeSeparators(p.pfad())));
                QVERIFY(!gezeigt.contains(protokolliert));
            }
            geschrieben = inhalt(p.pfad());
        }
        QVERIFY2(geschrieben.contains(protokolliert.toUtf8()), geschrieben.constData());
        QVERIFY(geschrieben.contains(" quorbel.ui: "));
        QCOMPARE(protokolldatei(), QString()); // taken back with the object
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestProtokoll t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_protokoll.moc"
