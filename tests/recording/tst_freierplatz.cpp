// The free-space search over a collection on disk: which cassettes are listed, the
// suggestion and its wording, the zero-length warning, the input checks, and the
// cassette and film datasets left as they were found.

#include "recordingtesthelpers.h"

#include <QApplication>
#include <QTest>
#include <recording/aufnahmeregeln.h>
#include <recording/freierplatz.h>
#include <settings/einstellungen.h>

using namespace quorbel;
using recordingtest::Beobachter;
using recordingtest::Sammlung;

namespace {

const QString LFCR = QStringLiteral("\n\r");

QString zeile(int nummer, int frei)
{
    return QStringLiteral("Kassette %1  [ %2 ] Minuten frei.").arg(nummer).arg(frei);
}

QString tip(int nummer, const QString& schluss)
{
    return QStringLiteral("Tip : Nehmen Sie den Film auf") + LFCR + QStringLiteral("Kassette Nr. ") +
           QString::number(nummer) + schluss;
}

const QString kNullWarnung = QStringLiteral("Bei mindestens einem Film wurde die Spiel-") + LFCR +
                             QStringLiteral("zeit 0 Minuten eingetragen. Das Suchergebnis") + LFCR +
                             QStringLiteral("ist eventuell nicht korrekt !");

struct Suche
{
    Sammlung s;
    Beobachter ui;
    settings::Einstellungen e;
    FreierPlatz platz{s.kassetten, s.filme, s.timer, ui, e};

    explicit Suche(const QString& name) : s(name) {}

    // A cassette as the capacity rules leave it; films of the given lengths on it.
    void kassette(int frei, bool original = false, const QList<int>& filme = {})
    {
        store::Dataset& k = s.kassetten;
        k.append();
        k.setInteger(QStringLiteral("Posi"), k.recordCount() + 1);
        k.setInteger(QStringLiteral("Spielzeit"), frei);
        k.setInteger(QStringLiteral("Belegt"), 0);
        k.setInteger(QStringLiteral("Frei"), frei);
        k.setBoolean(QStringLiteral("Nullfilme"), filme.contains(0));
        k.setBoolean(QStringLiteral("Original"), original);
        k.post();
        for (int laenge : filme) {
            s.filme.append();
            s.filme.setString(QStringLiteral("Filmname"), QStringLiteral("Film %1").arg(laenge));
            s.filme.setInteger(QStringLiteral("Filmlaenge"), laenge);
            s.filme.post();
        }
    }
    std::optional<QStringList> suche(const QString& antwort)
    {
        ui.fake.clear();
        ui.fake.inputAnswers = {antwort};
        return platz.BitBtn_FreienPlatzSuchenClick();
    }
    QStringList meldungen() const { return ui.fake.messages(); }
};

} // namespace

class TestFreierPlatz : public QObject
{
    Q_OBJECT
private slots:
    void listsRecordableCassettesAndSuggestsTheTightest()
    {
        Suche t(QStringLiteral("liste"));
        t.kassette(120);
        t.kassette(500, true); // bought tape, never offered
        t.kassette(95);
        t.kassette(60);
        t.kassette(95);
        t.kassette(0, true);

        // 90: three cassettes, cassette 3 wins the tie with 5.
        QCOMPARE(t.suche(QStringLiteral("90")), (QStringList{zeile(1, 120), zeile(3, 95), zeile(5, 95)}));
        QCOMPARE(t.ui.fake.shown.at(0).caption, QStringLiteral("Freien Platz suchen"));
        QCOMPARE(t.ui.fake.shown.at(0).text, QStringLiteral("Nach wieviel Minuten soll gesucht werden ?"));
        QCOMPARE(t.meldungen(), QStringList{tip(3, QStringLiteral(" auf. Die Restzeit") + LFCR +
                                                       QStringLiteral("umfasst dann noch 5 Minuten."))});
        QCOMPARE(t.ui.fake.shown.at(1).icon, MsgIcon::Information);

        // Singular, plural, exact fit.
        t.suche(QStringLiteral("94"));
        QVERIFY(t.meldungen().at(0).endsWith(LFCR + QStringLiteral("umfasst dann noch 1 Minute.")));
        t.suche(QStringLiteral("93"));
        QVERIFY(t.meldungen().at(0).endsWith(LFCR + QStringLiteral("umfasst dann noch 2 Minuten.")));
        QCOMPARE(t.suche(QStringLiteral("95")), (QStringList{zeile(1, 120), zeile(3, 95), zeile(5, 95)}));
        QCOMPARE(t.meldungen(), QStringList{tip(3, QStringLiteral(" auf. Die Kassette") + LFCR +
                                                       QStringLiteral("ist dann randvoll."))});

        // 0 lists every recordable cassette without a suggestion.
        const QStringList alle{zeile(1, 120), zeile(3, 95), zeile(4, 60), zeile(5, 95)};
        QCOMPARE(t.suche(QStringLiteral("0")), alle);
        QVERIFY(t.meldungen().isEmpty());
        // A negative amount is taken as entered: the remainder grows by it.
        QCOMPARE(t.suche(QStringLiteral("-30")), alle);
        QVERIFY(t.meldungen().at(0).endsWith(QStringLiteral("umfasst dann noch 90 Minuten.")));
        QCOMPARE(t.suche(QStringLiteral("-2147483648")), alle);
        QVERIFY(t.meldungen().at(0).endsWith(QStringLiteral("umfasst dann noch 2147483708 Minuten.")));

        // Nothing with room: the one line, no message box.
        QCOMPARE(t.suche(QStringLiteral("121")),
                 QStringList{QStringLiteral("     Keine Kassetten gefunden.")});
        QVERIFY(t.meldungen().isEmpty());

        // Suggestion switched off.
        t.e.Tip_Anzeigen = false;
        QCOMPARE(t.suche(QStringLiteral("90")).value().size(), 3);
        QVERIFY(t.meldungen().isEmpty());
    }

    void answersThatAreNoWholeNumberLeaveTheList()
    {
        Suche t(QStringLiteral("eingabe"));
        t.kassette(120);
        t.kassette(30);
        for (const char* falsch :
             {"abc", "9 0", "90,5", "2147483648", "-2147483649", "0x10", "90) OR (Original=1", "1e2"}) {
            QCOMPARE(t.suche(QLatin1String(falsch)), std::nullopt);
            QCOMPARE(t.meldungen(), QStringList{QStringLiteral("Es sind nur Zahlenwerte erlaubt !")});
            QCOMPARE(t.ui.fake.shown.at(1).icon, MsgIcon::Error);
        }
        // An empty answer stops without a word.
        QCOMPARE(t.suche(QString()), std::nullopt);
        QVERIFY(t.meldungen().isEmpty());

        // A sign and blanks around the number are fine; only the number reaches the filter.
        for (const char* gut : {"+90", " 90 ", "090"}) {
            QCOMPARE(t.suche(QLatin1String(gut)), QStringList{zeile(1, 120)});
            QVERIFY(t.meldungen().at(0).contains(QStringLiteral("umfasst dann noch 30 Minuten.")));
        }
    }

    void zeroLengthWarningOnlyForListedCassettes()
    {
        Suche t(QStringLiteral("null"));
        t.kassette(100, false, {0});  // too full for 120
        t.kassette(150, false, {20}); // listed, no zero-length film
        QCOMPARE(t.suche(QStringLiteral("120")), QStringList{zeile(2, 150)});
        QCOMPARE(t.meldungen().size(), 1);
        QVERIFY(t.meldungen().at(0).startsWith(QStringLiteral("Tip : ")));

        // Listed: the warning comes first, then the suggestion.
        t.suche(QStringLiteral("90"));
        QCOMPARE(t.meldungen().size(), 2);
        QCOMPARE(t.meldungen().at(0), kNullWarnung);
        QCOMPARE(t.ui.fake.shown.at(1).icon, MsgIcon::Warning);
        QVERIFY(t.meldungen().at(1).startsWith(QStringLiteral("Tip : ")));

        t.e.Nulllaengentip = false;
        t.suche(QStringLiteral("90"));
        QCOMPARE(t.meldungen().size(), 1);

        // No cassette at all: neither warning nor suggestion.
        t.e.Nulllaengentip = true;
        t.suche(QStringLiteral("500"));
        QVERIFY(t.meldungen().isEmpty());
    }

    void proposesThePlannedLength()
    {
        Suche t(QStringLiteral("vorschlag"));
        t.kassette(100);
        t.kassette(200);
        // Without planned recordings: nothing proposed, Cancel yields nothing.
        t.ui.fake.clear();
        QCOMPARE(t.platz.BitBtn_FreienPlatzSuchenClick(), std::nullopt);
        QCOMPARE(t.ui.fake.shown.size(), 1);

        testing_support::FixedClock clock;
        Aufnahmeregeln regeln(t.s.timer, t.ui, clock, t.e);
        regeln.Eintragen({QStringLiteral("Lang"), QStringLiteral("ARD"), QDate(2026, 12, 20), QTime(20, 0),
                          QTime(21, 50)});
        regeln.Eintragen({QStringLiteral("Kurz"), QStringLiteral("ARD"), QDate(2026, 12, 21), QTime(20, 0),
                          QTime(20, 30)});
        t.s.timer.first();
        t.ui.fake.clear();
        // The input box's Cancel gives back the proposal: the search runs for 110.
        QCOMPARE(t.platz.BitBtn_FreienPlatzSuchenClick(), QStringList{zeile(2, 200)});
        QCOMPARE(t.ui.fake.shown.at(0).kind, testing_support::FakeInteraction::Shown::Kind::Input);
        QVERIFY(t.meldungen().at(0).endsWith(QStringLiteral("umfasst dann noch 90 Minuten.")));
        t.s.timer.last();
        QCOMPARE(t.platz.BitBtn_FreienPlatzSuchenClick().value().size(), 2);
    }

    void datasetsEndAsTheyWereBeforeAnyMessage()
    {
        Suche t(QStringLiteral("zurueck"));
        t.kassette(100, false, {0, 10});
        t.kassette(300, false, {20, 30, 40});
        t.kassette(50, true, {50});
        t.kassette(250, false, {0});
        store::Dataset& k = t.s.kassetten;
        store::Dataset& f = t.s.filme;
        k.locate(2);
        f.last();
        const qint64 film = f.currentKey();
        QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("Film 40"));

        int meldungen = 0;
        const auto wieVorher = [&] {
            QCOMPARE(k.currentKey(), qint64(2));
            QCOMPARE(f.currentKey(), film);
            QCOMPARE(k.recordCount(), 4);
            QVERIFY(k.filter().isEmpty());
            QVERIFY(!k.controlsDisabled());
            QVERIFY(!f.controlsDisabled());
            QVERIFY(!QApplication::overrideCursor());
        };
        t.ui.beiMeldung = [&](const Message&) {
            ++meldungen;
            wieVorher();
        };
        QCOMPARE(t.suche(QStringLiteral("200")), (QStringList{zeile(2, 300), zeile(4, 250)}));
        QCOMPARE(meldungen, 2);
        wieVorher();

        // A film row still being typed is stored first and stays the current film.
        f.append();
        f.setString(QStringLiteral("Filmname"), QStringLiteral("Neu"));
        f.setInteger(QStringLiteral("Filmlaenge"), 5);
        t.ui.beiMeldung = nullptr;
        t.suche(QStringLiteral("200"));
        QCOMPARE(f.state(), store::Dataset::State::Browse);
        QCOMPARE(f.asString(QStringLiteral("Filmname")), QStringLiteral("Neu"));
        QCOMPARE(f.recordCount(), 4);
        QCOMPARE(k.currentKey(), qint64(2));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestFreierPlatz t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_freierplatz.moc"
