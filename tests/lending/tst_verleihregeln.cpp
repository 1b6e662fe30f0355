// Lending, taking back, the loan list's orders and the reminders of overdue loans,
// on real tables with a test clock and a fake reminder window.

#include "lendingtesthelpers.h"

#include <QRandomGenerator>
#include <QTest>
#include <limits>
#include <store/dates.h>
#include <store/engine.h>
#include <store/error.h>
#include <ui/interaction.h>

using namespace quorbel;
using namespace lendingtest;
using testing_support::FakeInteraction;
using testing_support::FixedClock;

namespace {

const QString kAn = QStringLiteral("An");

struct Aufbau
{
    Sammlung s;
    FakeInteraction ui;
    FixedClock clock;
    int warnTage = 7;
    FakeAnzeige anzeige;
    Verleihregeln regeln;

    explicit Aufbau(const QString& name, int kassetten = 3)
        : s(name), regeln(
                       s.kass, s.filme, s.verliehen, ui, clock, [this] { return warnTage; }, anzeige)
    {
        anzeige.heute = [this] { return clock.today(); };
        s.kassettenAnlegen(kassetten);
    }

    QDate heute() const { return clock.today(); }
    void tage(int n) { clock.current = clock.current.addDays(n); }

    Verleihknoepfe verleihe(int kassette, const QString& an)
    {
        if (!s.kass.locate(kassette))
            qFatal("no cassette %d", kassette);
        ui.inputAnswers.push_back(an);
        return regeln.BitBtn_VerleihenClick();
    }

    bool verliehen(int kassette)
    {
        const qint64 vorher = s.kass.currentKey();
        s.kass.locate(kassette);
        const bool v = s.kass.asBoolean(QStringLiteral("Verliehen"));
        s.kass.locate(vorher);
        return v;
    }

    // The loans' cassettes in the list's current order.
    QList<int> reihenfolge()
    {
        QList<int> out;
        for (int r = 0; r < s.verliehen.rowCount(); ++r)
            out << s.verliehen.valueAt(r, QStringLiteral("Kassette")).toInt();
        return out;
    }

    bool gehtZu(int kassette)
    {
        for (s.verliehen.first(); !s.verliehen.eof(); s.verliehen.next())
            if (s.verliehen.asInteger(QStringLiteral("Kassette")) == kassette)
                return true;
        return false;
    }

    void filme(int kassette, int anzahl)
    {
        s.kass.locate(kassette);
        for (int i = 0; i < anzahl; ++i) {
            s.filme.append();
            s.filme.setString(QStringLiteral("Filmname"), QStringLiteral("Film %1").arg(i));
            s.filme.post();
        }
    }
};

// The textbook Julian day number of a Gregorian date (Fliegel and Van Flandern).
long long julianDay(int y, int m, int d)
{
    const long long a = (14 - m) / 12;
    const long long yy = y + 4800 - a;
    const long long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

} // namespace

class TestVerleihregeln : public QObject
{
    Q_OBJECT

private slots:
    void lendingIsStoredAndSurvivesReopening();
    void emptyOrCancelledBorrowerStoresNothing();
    void borrowerIsKeptAsTypedUpToFortyCharacters();
    void aFailedLoanRowTakesTheMarkAway();
    void takingBack();
    void doubleClickGoesToTheLoansCassette();
    void threeOrders();
    void dayCounts();
    void reminderText();
    void reminderComesOnTheSeventhDay();
    void settingZeroNeverReminds();
    void severalDueLoansInListOrder();
    void zeroDaysIsDueAgainAtTheNextCheckOnly();
    void nichtMehrStopsOnlyThatLoan();
    void aCheckWhileOneRunsDoesNothing();
    void reminderDayStaysWithinTheCalendar_data();
    void reminderDayStaysWithinTheCalendar();
};

void TestVerleihregeln::lendingIsStoredAndSurvivesReopening()
{
    Aufbau a(QStringLiteral("lend"));
    QCOMPARE(a.regeln.Knoepfe(), (Verleihknoepfe{true, false}));

    const Verleihknoepfe k = a.verleihe(2, QStringLiteral("Müller"));
    QCOMPARE(k, (Verleihknoepfe{false, true}));
    QCOMPARE(a.ui.shown.size(), 1);
    QCOMPARE(a.ui.shown[0].caption, QStringLiteral("Kassette Ausleihen"));
    QCOMPARE(a.ui.shown[0].text, QStringLiteral("An wen soll die Kassette verliehen werden ?"));
    QCOMPARE(a.s.kass.recNo(), 2);

    a.s.schliessen();
    a.s.oeffnen();
    QCOMPARE(a.s.verliehen.recordCount(), 1);
    QCOMPARE(a.s.verliehen.asInteger(QStringLiteral("Kassette")), 2);
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Datum")), a.heute());
    QCOMPARE(a.s.verliehen.asString(kAn), QStringLiteral("Müller"));
    QVERIFY(a.s.verliehen.asBoolean(QStringLiteral("Anzeigen")));
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), a.heute().addDays(7));
    QVERIFY(a.verliehen(2));
    QVERIFY(!a.verliehen(1));
    QVERIFY(!a.verliehen(3));

    // The buttons as the page sets them after opening and moving.
    a.s.kass.locate(2);
    QCOMPARE(a.regeln.Knoepfe(), (Verleihknoepfe{false, true}));
    a.s.kass.locate(3);
    QCOMPARE(a.regeln.Knoepfe(), (Verleihknoepfe{true, true}));

    // A lent cassette cannot be lent again, even when asked to.
    a.s.kass.locate(2);
    a.regeln.BitBtn_VerleihenClick();
    QCOMPARE(a.s.verliehen.recordCount(), 1);
}

void TestVerleihregeln::emptyOrCancelledBorrowerStoresNothing()
{
    Aufbau a(QStringLiteral("lend-empty"));
    // An empty answer, and Cancel (which answers the empty initial text).
    a.verleihe(3, QString());
    a.s.kass.locate(3);
    a.regeln.BitBtn_VerleihenClick();
    const QStringList m = a.ui.messages();
    QCOMPARE(m.size(), 2);
    QCOMPARE(m[0], QStringLiteral("Kassette 3 wurde nicht verliehen !"));
    QCOMPARE(m[1], m[0]);
    QCOMPARE(a.ui.shown[1].icon, MsgIcon::Information);
    QCOMPARE(a.s.verliehen.recordCount(), 0);
    QVERIFY(!a.verliehen(3));
    QCOMPARE(a.regeln.Knoepfe(), (Verleihknoepfe{true, false}));
}

void TestVerleihregeln::borrowerIsKeptAsTypedUpToFortyCharacters()
{
    Aufbau a(QStringLiteral("lend-name"), 4);
    const QString name = QStringLiteral("Łukasz Øre 山田太郎 Жанна € “Kino” Ξ 😀");
    a.verleihe(1, name);
    const QString lang = QStringLiteral("Maximilian-Alexander von Hohenzollern-Sigmaringen");
    a.verleihe(2, lang);
    const QString paar = QStringLiteral("x").repeated(39) + QStringLiteral("😀");
    a.verleihe(3, paar);
    const QString ueber = QStringLiteral("x").repeated(40) + QStringLiteral("😀");
    a.verleihe(4, ueber);
    a.s.schliessen();
    a.s.oeffnen();
    QVERIFY(a.gehtZu(1));
    QCOMPARE(a.s.verliehen.asString(kAn), name);
    QVERIFY(a.gehtZu(2));
    QCOMPARE(a.s.verliehen.asString(kAn), lang.left(40));
    // Forty characters, counted as characters: one that needs two UTF-16 units
    // counts once and is never cut in half.
    QVERIFY(a.gehtZu(3));
    QCOMPARE(a.s.verliehen.asString(kAn), paar);
    QVERIFY(a.gehtZu(4));
    QCOMPARE(a.s.verliehen.asString(kAn), QStringLiteral("x").repeated(40));
}

void TestVerleihregeln::aFailedLoanRowTakesTheMarkAway()
{
    Aufbau a(QStringLiteral("lend-fail"));
    bool markiert = false;
    a.s.verliehen.beforePost = [&](store::Dataset&) {
        markiert = a.s.kass.asBoolean(QStringLiteral("Verliehen"));
        throw store::EngineError(QStringLiteral("Schreibfehler"));
    };
    QVERIFY_THROWS_EXCEPTION(store::EngineError, a.verleihe(2, QStringLiteral("Meier")));
    QVERIFY(markiert); // the cassette had been marked before the loan row failed
    a.s.verliehen.beforePost = nullptr;
    QCOMPARE(a.s.verliehen.state(), store::Dataset::State::Browse);
    QCOMPARE(a.s.kass.state(), store::Dataset::State::Browse);
    QCOMPARE(a.s.verliehen.recordCount(), 0);
    QVERIFY(!a.verliehen(2));
    a.s.schliessen();
    a.s.oeffnen();
    QCOMPARE(a.s.verliehen.recordCount(), 0);
    QVERIFY(!a.verliehen(2));

    // Once the fault is gone lending works again.
    a.verleihe(2, QStringLiteral("Meier"));
    QCOMPARE(a.s.verliehen.recordCount(), 1);
    QVERIFY(a.verliehen(2));
}

void TestVerleihregeln::takingBack()
{
    Aufbau a(QStringLiteral("back"), 4);
    a.filme(2, 3);
    a.verleihe(1, QStringLiteral("Anna"));
    a.verleihe(3, QStringLiteral("Bernd"));
    a.verleihe(4, QStringLiteral("Clara"));

    // The loan of cassette 3 while cassette 2, not lent, is current on its last film.
    a.s.kass.locate(2);
    a.s.filme.last();
    QVERIFY(a.gehtZu(3));
    Verleihknoepfe k = a.regeln.BitBtn_ZurueckbekommenClick();
    QCOMPARE(k, (Verleihknoepfe{true, true}));
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 2);
    QCOMPARE(a.s.filme.recNo(), 1);
    QCOMPARE(a.s.filme.asString(QStringLiteral("Filmname")), QStringLiteral("Film 0"));
    QVERIFY(!a.verliehen(3));
    QVERIFY(a.verliehen(1));
    QVERIFY(a.verliehen(4));
    QCOMPARE(a.reihenfolge(), (QList<int>{1, 4}));

    // While a lent cassette is current, its own lend button stays off.
    a.s.kass.locate(1);
    QVERIFY(a.gehtZu(4));
    k = a.regeln.BitBtn_ZurueckbekommenClick();
    QCOMPARE(k, (Verleihknoepfe{false, true}));
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 1);

    // Taking back the last loan, that of the current cassette.
    QVERIFY(a.gehtZu(1));
    k = a.regeln.BitBtn_ZurueckbekommenClick();
    QCOMPARE(k, (Verleihknoepfe{true, false}));
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 1);
    QCOMPARE(a.s.verliehen.recordCount(), 0);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!a.verliehen(n));

    // Nothing to take back: nothing happens.
    QCOMPARE(a.regeln.BitBtn_ZurueckbekommenClick(), (Verleihknoepfe{true, false}));

    // A loan whose cassette is missing frees no other cassette.
    a.verleihe(4, QStringLiteral("Dora"));
    a.s.verliehen.edit();
    a.s.verliehen.setInteger(QStringLiteral("Kassette"), 99);
    a.s.verliehen.post();
    a.s.kass.locate(2);
    a.regeln.BitBtn_ZurueckbekommenClick();
    QVERIFY(a.verliehen(4));
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 2);
}

void TestVerleihregeln::doubleClickGoesToTheLoansCassette()
{
    Aufbau a(QStringLiteral("dblclick"), 5);
    a.s.kass.locate(2);
    QVERIFY(!a.regeln.DBGrid_VerliehenDblClick());
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 2);

    a.verleihe(4, QStringLiteral("Egon"));
    a.s.kass.locate(1);
    QVERIFY(a.regeln.DBGrid_VerliehenDblClick());
    QCOMPARE(a.s.kass.asInteger(QStringLiteral("Nummer")), 4);
    QCOMPARE(a.regeln.Knoepfe(), (Verleihknoepfe{false, true}));
}

void TestVerleihregeln::threeOrders()
{
    Aufbau a(QStringLiteral("orders"));
    // Cassette order 1 2 3, date order 2 3 1, name order 3 1 2 (case and accents
    // do not count).
    a.clock.current.setDate(QDate(2026, 3, 1));
    a.verleihe(1, QStringLiteral("Bernd"));
    a.clock.current.setDate(QDate(2025, 12, 31));
    a.verleihe(2, QStringLiteral("Zoë"));
    a.clock.current.setDate(QDate(2026, 2, 10));
    a.verleihe(3, QStringLiteral("änne"));

    QCOMPARE(a.reihenfolge(), (QList<int>{1, 2, 3}));
    a.regeln.RadioGroup_Sortieren2Click(1);
    QCOMPARE(a.reihenfolge(), (QList<int>{2, 3, 1}));
    a.regeln.RadioGroup_Sortieren2Click(2);
    QCOMPARE(a.reihenfolge(), (QList<int>{3, 1, 2}));
    a.regeln.RadioGroup_Sortieren2Click(0);
    QCOMPARE(a.reihenfolge(), (QList<int>{1, 2, 3}));
}

void TestVerleihregeln::dayCounts()
{
    using store::Vergangene_Tage;
    QCOMPARE(Vergangene_Tage(QDate(2024, 2, 28), QDate(2024, 3, 1)), 2);
    QCOMPARE(Vergangene_Tage(QDate(2023, 2, 28), QDate(2023, 3, 1)), 1);
    QCOMPARE(Vergangene_Tage(QDate(1999, 12, 31), QDate(2000, 1, 1)), 1);
    QCOMPARE(Vergangene_Tage(QDate(1900, 1, 1), QDate(1900, 3, 1)), 59);
    QCOMPARE(Vergangene_Tage(QDate(2000, 1, 1), QDate(2000, 3, 1)), 60);
    QCOMPARE(Vergangene_Tage(QDate(2100, 2, 28), QDate(2100, 3, 1)), 1);
    QCOMPARE(Vergangene_Tage(QDate(2026, 5, 19), QDate(2026, 5, 19)), 0);
    QCOMPARE(Vergangene_Tage(QDate(1998, 1, 1), QDate(2028, 1, 1)), 10957);
    // Backwards counts negative; an invalid date counts nothing.
    QCOMPARE(Vergangene_Tage(QDate(2026, 3, 1), QDate(2026, 2, 1)), -28);
    QCOMPARE(Vergangene_Tage(QDate(), QDate(2026, 2, 1)), 0);

    // Against the textbook Julian day numbers over four centuries and more.
    QRandomGenerator rng(19980519);
    auto zufall = [&] {
        const int y = static_cast<int>(rng.bounded(1583, 2500));
        const int m = static_cast<int>(rng.bounded(1, 13));
        const int d = static_cast<int>(rng.bounded(1, QDate(y, m, 1).daysInMonth() + 1));
        return QDate(y, m, d);
    };
    for (int i = 0; i < 200000; ++i) {
        QDate s = zufall();
        QDate e = zufall();
        if (e < s)
            std::swap(s, e);
        const long long erwartet =
            julianDay(e.year(), e.month(), e.day()) - julianDay(s.year(), s.month(), s.day());
        if (Vergangene_Tage(s, e) != erwartet)
            QFAIL(
                qPrintable(QStringLiteral("%1 .. %2").arg(s.toString(Qt::ISODate), e.toString(Qt::ISODate))));
    }
}

void TestVerleihregeln::reminderText()
{
    QCOMPARE(Verleihregeln::Erinnerungstext(QStringLiteral("Anna"), 12, QDate(1999, 12, 31), 1),
             QStringLiteral("\n\rAnna hat die Kassette Nr. 12 schon seit dem 31.12.1999, das sind 1 Tage,\n\r"
                            "ausgeliehen."));
}

void TestVerleihregeln::reminderComesOnTheSeventhDay()
{
    Aufbau a(QStringLiteral("remind7"));
    const QDate verliehenAm = a.heute();
    a.verleihe(2, QStringLiteral("Anna"));
    int seiten = 0;
    a.regeln.Verleihmanager_Zeigen = [&] { ++seiten; };
    for (int tag = 0; tag < 7; ++tag) {
        a.regeln.Pruefe_Verliehene_Kassetten();
        QVERIFY2(a.anzeige.gezeigt.isEmpty(), qPrintable(QString::number(tag)));
        a.tage(1);
    }
    a.anzeige.antworten.push_back([&](const QString&, int) {
        return Erinnerungsanzeige::Antwort{false, a.heute().addDays(10)};
    });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 1);
    QCOMPARE(seiten, 1);
    QCOMPARE(a.anzeige.gezeigt[0].tage, 7);
    QCOMPARE(a.anzeige.gezeigt[0].text,
             Verleihregeln::Erinnerungstext(QStringLiteral("Anna"), 2, verliehenAm, 7));
    QVERIFY(a.anzeige.gezeigt[0].text.contains(store::formatDate(verliehenAm)));
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), a.heute().addDays(10));
    QVERIFY(a.s.verliehen.asBoolean(QStringLiteral("Anzeigen")));

    // Waiting again until the new date.
    a.tage(9);
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 1);
    a.tage(1);
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 2);
    QCOMPARE(a.anzeige.gezeigt[1].text,
             Verleihregeln::Erinnerungstext(QStringLiteral("Anna"), 2, verliehenAm, 17));
}

void TestVerleihregeln::settingZeroNeverReminds()
{
    Aufbau a(QStringLiteral("remind0"));
    a.warnTage = 0;
    a.verleihe(1, QStringLiteral("Anna"));
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), a.heute());
    a.regeln.Pruefe_Verliehene_Kassetten();
    a.tage(4000);
    a.regeln.Pruefe_Verliehene_Kassetten();
    QVERIFY(a.anzeige.gezeigt.isEmpty());
    a.warnTage = -3;
    a.regeln.Pruefe_Verliehene_Kassetten();
    QVERIFY(a.anzeige.gezeigt.isEmpty());
}

void TestVerleihregeln::severalDueLoansInListOrder()
{
    Aufbau a(QStringLiteral("remind-order"), 4);
    a.verleihe(1, QStringLiteral("Dora"));
    a.verleihe(2, QStringLiteral("Bernd"));
    a.verleihe(3, QStringLiteral("Clara"));
    a.verleihe(4, QStringLiteral("Anna"));
    a.regeln.RadioGroup_Sortieren2Click(2);
    a.s.verliehen.moveTo(2); // Clara
    // Bernd's loan is waiting, the others are due.
    QVERIFY(a.gehtZu(2));
    a.s.verliehen.edit();
    a.s.verliehen.setDate(QStringLiteral("Meldung_Am"), a.heute().addDays(30));
    a.s.verliehen.post();
    a.s.verliehen.moveTo(2);
    a.tage(7);

    // The transaction of every change is closed before a reminder opens.
    auto conn = store::engine::Connection::forDirectory(a.s.dir);
    bool offen = false;
    a.anzeige.antworten.assign(3, [&](const QString&, int tage) {
        offen = offen || conn->depth() != 0 || !a.s.verliehen.controlsDisabled();
        return Erinnerungsanzeige::Antwort{false, a.heute().addDays(tage)};
    });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QVERIFY(!offen);
    QCOMPARE(a.anzeige.gezeigt.size(), 3);
    QVERIFY(a.anzeige.gezeigt[0].text.contains(QStringLiteral("Anna hat die Kassette Nr. 4")));
    QVERIFY(a.anzeige.gezeigt[1].text.contains(QStringLiteral("Clara hat die Kassette Nr. 3")));
    QVERIFY(a.anzeige.gezeigt[2].text.contains(QStringLiteral("Dora hat die Kassette Nr. 1")));
    QCOMPARE(a.s.verliehen.recNo(), 3);
    QCOMPARE(a.s.verliehen.asString(kAn), QStringLiteral("Clara"));
    QVERIFY(!a.s.verliehen.controlsDisabled());
    QVERIFY(!a.regeln.pruefungLaeuft());
}

void TestVerleihregeln::zeroDaysIsDueAgainAtTheNextCheckOnly()
{
    Aufbau a(QStringLiteral("remind-zero-days"));
    a.verleihe(1, QStringLiteral("Anna"));
    a.tage(7);
    a.anzeige.antworten.push_back([&](const QString&, int) {
        return Erinnerungsanzeige::Antwort{false, a.heute()};
    });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 1);
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), a.heute());
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 2);
}

void TestVerleihregeln::nichtMehrStopsOnlyThatLoan()
{
    Aufbau a(QStringLiteral("remind-off"));
    a.verleihe(1, QStringLiteral("Anna"));
    a.verleihe(2, QStringLiteral("Bernd"));
    a.tage(8);
    a.anzeige.antworten.push_back([](const QString&, int) { return Erinnerungsanzeige::Antwort{true, {}}; });
    a.anzeige.antworten.push_back([&](const QString&, int) {
        return Erinnerungsanzeige::Antwort{false, a.heute()};
    });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 2);
    QVERIFY(a.gehtZu(1));
    QVERIFY(!a.s.verliehen.asBoolean(QStringLiteral("Anzeigen")));
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), a.heute().addDays(-1));

    a.tage(100);
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 3);
    QVERIFY(a.anzeige.gezeigt[2].text.contains(QStringLiteral("Bernd")));
}

void TestVerleihregeln::aCheckWhileOneRunsDoesNothing()
{
    Aufbau a(QStringLiteral("remind-reentry"));
    a.verleihe(1, QStringLiteral("Anna"));
    a.verleihe(2, QStringLiteral("Bernd"));
    a.tage(7);
    // A clock tick behind each open reminder starts another check.
    bool lief = true;
    for (int i = 0; i < 2; ++i)
        a.anzeige.antworten.push_back([&](const QString&, int tage) {
            lief = lief && a.regeln.pruefungLaeuft();
            a.regeln.Pruefe_Verliehene_Kassetten();
            return Erinnerungsanzeige::Antwort{false, a.heute().addDays(tage)};
        });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QVERIFY(lief);
    QCOMPARE(a.anzeige.gezeigt.size(), 2);
    QVERIFY(!a.regeln.pruefungLaeuft());

    // A failure while storing an answer ends the check cleanly.
    a.tage(7);
    a.s.verliehen.beforePost = [](store::Dataset&) {
        throw store::EngineError(QStringLiteral("Schreibfehler"));
    };
    QVERIFY_THROWS_EXCEPTION(store::EngineError, a.regeln.Pruefe_Verliehene_Kassetten());
    a.s.verliehen.beforePost = nullptr;
    QVERIFY(!a.regeln.pruefungLaeuft());
    QVERIFY(!a.s.verliehen.controlsDisabled());
    QCOMPARE(a.s.verliehen.state(), store::Dataset::State::Browse);
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 5);
}

void TestVerleihregeln::reminderDayStaysWithinTheCalendar_data()
{
    QTest::addColumn<QDate>("verliehenAm");
    QTest::addColumn<int>("warnTage");
    QTest::addColumn<QDate>("meldungAm");
    QTest::newRow("a week before the last day") << QDate(9999, 12, 30) << 7 << QDate(9999, 12, 31);
    QTest::newRow("the largest setting")
        << QDate(2026, 12, 8) << std::numeric_limits<int>::max() << QDate(9999, 12, 31);
}

// The reminder day of a loan is written, and the loan reminded of, also when today
// plus the days lies beyond the last day the tables can hold.
void TestVerleihregeln::reminderDayStaysWithinTheCalendar()
{
    QFETCH(QDate, verliehenAm);
    QFETCH(int, warnTage);
    QFETCH(QDate, meldungAm);
    Aufbau a(QStringLiteral("kalenderende"));
    a.warnTage = warnTage;
    a.clock.current.setDate(verliehenAm);
    a.verleihe(1, QStringLiteral("Anna"));
    QCOMPARE(a.s.verliehen.asDate(QStringLiteral("Meldung_Am")), meldungAm);

    a.clock.current.setDate(meldungAm);
    a.anzeige.antworten.push_back([](const QString&, int) { return Erinnerungsanzeige::Antwort{true, {}}; });
    a.regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(a.anzeige.gezeigt.size(), 1);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestVerleihregeln t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_verleihregeln.moc"
