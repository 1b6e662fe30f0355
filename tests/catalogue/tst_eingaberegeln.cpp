// The input page's rules over a collection of their own, without any widget: what the
// navigator allows where, and the refusals around new cassettes and new films.

#include <QTest>
#include <catalogue/eingaberegeln.h>
#include <fakeinteraction.h>
#include <store/collection.h>
#include <store/dataset.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;

namespace {

struct Regeln
{
    FakeInteraction ui;
    FixedClock clock;
    store::Collection sammlung;
    Eingaberegeln regeln{sammlung, ui, clock};

    explicit Regeln(const QString& name) { sammlung.create(freshDir(name), QStringLiteral("videos.qbx"), 0); }
    store::Dataset& kassetten() { return sammlung.kassetten(); }
    store::Dataset& filme() { return sammlung.filme(); }
    void film(const QString& titel, int laenge)
    {
        filme().append();
        if (filme().state() != store::Dataset::State::Insert)
            return;
        filme().setString(QStringLiteral("Filmname"), titel);
        filme().setInteger(QStringLiteral("Filmlaenge"), laenge);
        filme().post();
    }
};

} // namespace

class TestEingaberegeln : public QObject
{
    Q_OBJECT
private slots:
    void navigatorNachLageDerKassette()
    {
        Regeln r(QStringLiteral("navigator"));
        QCOMPARE(r.regeln.Navigator(), NavigatorZustand{});

        QVERIFY(r.regeln.Neue_Kassette(QStringLiteral("E - 180")));
        NavigatorZustand eine = r.regeln.Navigator();
        QVERIFY(!eine.zurueck && !eine.vor && !eine.labeldrucken && !eine.filmloeschen);
        QVERIFY(eine.freienPlatzSuchen && eine.spielzeitAendern && eine.bearbeitbar && eine.verleihen);

        QVERIFY(r.regeln.Neue_Kassette(QStringLiteral("E - 240")));
        QVERIFY(r.regeln.Neue_Kassette(QStringLiteral("Kaufvideo")));
        r.kassetten().first();
        QVERIFY(!r.regeln.Navigator().zurueck && r.regeln.Navigator().vor);
        r.kassetten().next();
        QVERIFY(r.regeln.Navigator().zurueck && r.regeln.Navigator().vor);
        r.film(QStringLiteral("Film"), 90);
        QVERIFY(r.regeln.Navigator().labeldrucken && r.regeln.Navigator().filmloeschen);
        r.kassetten().last();
        QVERIFY(r.regeln.Navigator().zurueck && !r.regeln.Navigator().vor);

        // An entry that names no play length is refused and stores nothing.
        QVERIFY(!r.regeln.Neue_Kassette(QStringLiteral("E - zwei")));
        QCOMPARE(r.ui.messages().size(), 1);
        QCOMPARE(r.kassetten().recordCount(), 3);
    }

    void refusalsAndRecount()
    {
        Regeln r(QStringLiteral("refusals"));
        QVERIFY(r.regeln.Neue_Kassette(QStringLiteral("Kaufvideo")));
        r.film(QStringLiteral("Gekauft"), 100);
        QCOMPARE(r.kassetten().asInteger(QStringLiteral("Spielzeit")), 100);
        r.film(QStringLiteral("Zweiter"), 10);
        QCOMPARE(r.ui.messages(),
                 QStringList{QStringLiteral("Ein Kaufvideo kann nur einen Film beinhalten.")});
        QCOMPARE(r.filme().recordCount(), 1);
        r.ui.clear();

        QVERIFY(r.regeln.Neue_Kassette(QStringLiteral("E - 180")));
        r.film(QString(), 30); // stored as "???"
        r.film(QStringLiteral("Danach"), 30);
        QCOMPARE(r.ui.messages(), QStringList{QStringLiteral("Letzter Film hat keinen Titel !")});
        QCOMPARE(r.filme().recordCount(), 1);
        r.ui.clear();

        // Lengths at the field's limit: the sums are exact and the film that does not
        // fit is kept with length 0.
        r.filme().first();
        r.filme().edit();
        r.filme().setString(QStringLiteral("Filmname"), QStringLiteral("Erster"));
        r.filme().post();
        r.film(QStringLiteral("Riese"), 2147483647);
        QCOMPARE(r.ui.messages(), QStringList{QStringLiteral("Film passt nicht mehr auf die Kassette")});
        QCOMPARE(r.regeln.Filmsumme(), qint64(30));
        QCOMPARE(r.kassetten().asInteger(QStringLiteral("Belegt")), 30);
        QCOMPARE(r.kassetten().asInteger(QStringLiteral("Frei")), 150);
        QVERIFY(r.kassetten().asBoolean(QStringLiteral("Nullfilme")));
    }
};

QTEST_MAIN(TestEingaberegeln)
#include "tst_eingaberegeln.moc"
