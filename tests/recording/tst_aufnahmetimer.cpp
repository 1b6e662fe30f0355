// The recording planner: lengths, the dialog "Film aufnehmen" with its checks and
// clearing, new entries, "Film aufgenommen" and the check that reports missed
// recordings and reminds of coming ones, all on a collection on disk and a test clock.

#include "recordingtesthelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <recording/aufnahmeregeln.h>
#include <recording/aufnahmetimerformular.h>
#include <settings/einstellungen.h>

using namespace quorbel;
using recordingtest::Beobachter;
using recordingtest::Sammlung;
using testing_support::FakeInteraction;
using testing_support::FixedClock;

namespace {

const QString LFCR = QStringLiteral("\n\r");

struct Planer
{
    Sammlung s;
    Beobachter ui;
    FixedClock clock; // Tuesday 08.12.2026, 10:00:00
    settings::Einstellungen e;
    Aufnahmeregeln regeln{s.timer, ui, clock, e};
    int seiteGezeigt = 0;
    std::optional<bool> knopf;

    explicit Planer(const QString& name) : s(name)
    {
        regeln.zeigeSeite = [this] { ++seiteGezeigt; };
        regeln.setzeAufgenommen = [this](bool an) { knopf = an; };
    }
    void add(const QString& film, const QDate& datum, const QTime& beginn, const QTime& ende = QTime(23, 0))
    {
        regeln.Eintragen({film, QStringLiteral("ARD"), datum, beginn, ende});
    }
    QStringList filme()
    {
        QStringList t;
        for (int r = 0; r < s.timer.rowCount(); ++r)
            t << s.timer.valueAt(r, QStringLiteral("Filmname")).toString();
        return t;
    }
    QStringList meldungen() const { return ui.fake.messages(); }
    void setNow(const QDate& d, const QTime& t) { clock.current = QDateTime(d, t); }
};

} // namespace

class TestAufnahmetimer : public QObject
{
    Q_OBJECT
private slots:
    void lengthsForwardAcrossMidnight()
    {
        QCOMPARE(Berechne_Filmdauer(QTime(20, 15), QTime(22, 0)), 105);
        QCOMPARE(Berechne_Filmdauer(QTime(23, 30), QTime(0, 15)), 45);
        QCOMPARE(Berechne_Filmdauer(QTime(12, 0), QTime(12, 0)), 0);
        QCOMPARE(Berechne_Filmdauer(QTime(0, 0), QTime(23, 59)), 1439);
        QCOMPARE(Berechne_Filmdauer(QTime(0, 1), QTime(0, 0)), 1439);
        // Seconds do not count.
        QCOMPARE(Berechne_Filmdauer(QTime(10, 0, 59), QTime(10, 1, 0)), 1);
        QCOMPARE(Berechne_Filmdauer(QTime(10, 0, 0), QTime(10, 0, 59)), 0);

        // Every pair: the result is the one count in 0..1439 that leads from begin to end.
        for (int b = 0; b < 1440; ++b) {
            const QTime beginn = QTime(0, 0).addSecs(b * 60);
            for (int e = 0; e < 1440; ++e) {
                const QTime ende = QTime(0, 0).addSecs(e * 60);
                const int n = Berechne_Filmdauer(beginn, ende);
                if (n < 0 || n > 1439 || beginn.addSecs(n * 60) != ende)
                    QFAIL(qPrintable(
                        QStringLiteral("%1 -> %2 gives %3").arg(beginn.toString(), ende.toString()).arg(n)));
            }
        }
    }

    void timeFieldsReadAsTheMaskShowsThem()
    {
        QCOMPARE(TForm_Aufnahmetimer::Zeit_Lesen(QStringLiteral("09:30")), QTime(9, 30));
        QCOMPARE(TForm_Aufnahmetimer::Zeit_Lesen(QStringLiteral(" 9:30")), QTime(9, 30));
        QCOMPARE(TForm_Aufnahmetimer::Zeit_Lesen(QStringLiteral("9:30")), QTime(9, 30));
        QCOMPARE(TForm_Aufnahmetimer::Zeit_Lesen(QStringLiteral("00:00")), QTime(0, 0));
        QCOMPARE(TForm_Aufnahmetimer::Zeit_Lesen(QStringLiteral("23:59")), QTime(23, 59));
        for (const char* falsch : {"", ":", "  :  ", "24:00", "12:60", "12:3", "12: 3", "-1:30", "+1:30",
                                   "1230", "ab:cd", "123:00"})
            QVERIFY2(!TForm_Aufnahmetimer::Zeit_Lesen(QLatin1String(falsch)), falsch);
    }

    void dialogChecksInOrderAndStaysOpen()
    {
        Beobachter ui;
        FixedClock clock;
        TForm_Aufnahmetimer d(ui, clock);
        QVERIFY(d.DateTimePicker->displayFormat().contains(QStringLiteral("yyyy")));
        QCOMPARE(d.DateTimePicker->date(), clock.today());
        d.show();

        // Each step mends the previous refusal; the next rule then speaks.
        const auto versuch = [&](const QString& erwartet) {
            ui.fake.clear();
            d.BitBtn_Uebernehmen->click();
            QCOMPARE(ui.fake.errors().size(), 0);
            QCOMPARE(ui.fake.messages(), QStringList{erwartet});
            QCOMPARE(ui.fake.shown.at(0).icon, MsgIcon::Error);
            QVERIFY(d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
        };
        d.MaskEdit_Beginn->setText(QStringLiteral("25:00"));
        d.ComboBox_Programme->setEditText(QStringLiteral("ZDF"));
        versuch(QStringLiteral("Kein Filmtitel eingegeben !"));
        QCOMPARE(d.ComboBox_Programme->currentText(), QStringLiteral("ZDF"));

        d.ComboBox_Programme->setEditText(QString());
        d.Edit_Filmname->setText(QStringLiteral("Metropolis"));
        versuch(QStringLiteral("Kein Programm ausgewählt !"));

        d.ComboBox_Programme->setEditText(QStringLiteral("ARTE"));
        versuch(QStringLiteral("Falsche Anfangszeit !"));
        d.MaskEdit_Beginn->clear(); // unfilled counts as wrong
        versuch(QStringLiteral("Falsche Anfangszeit !"));

        d.MaskEdit_Beginn->setText(QStringLiteral("09:59"));
        versuch(QStringLiteral("Falsche Endzeit !"));
        d.MaskEdit_Ende->setText(QStringLiteral("12:3"));
        versuch(QStringLiteral("Falsche Endzeit !"));

        // Today at 09:59 has passed at 10:00; so has yesterday.
        d.MaskEdit_Ende->setText(QStringLiteral("08:00"));
        versuch(QStringLiteral("Die Aufnahme muss in der Zukunft stattfinden !"));
        d.DateTimePicker->setDate(clock.today().addDays(-1));
        d.MaskEdit_Beginn->setText(QStringLiteral("23:59"));
        versuch(QStringLiteral("Die Aufnahme muss in der Zukunft stattfinden !"));
        QCOMPARE(d.Edit_Filmname->text(), QStringLiteral("Metropolis"));
        QCOMPARE(d.MaskEdit_Beginn->text(), QStringLiteral("23:59"));
        QCOMPARE(d.MaskEdit_Ende->text(), QStringLiteral("08:00"));

        // The present moment itself still counts as the future.
        d.DateTimePicker->setDate(clock.today());
        d.MaskEdit_Beginn->setText(QStringLiteral("10:00"));
        ui.fake.clear();
        d.BitBtn_Uebernehmen->click();
        QVERIFY(ui.fake.shown.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        const Aufnahme a = d.aufnahme();
        QCOMPARE(a.Filmname, QStringLiteral("Metropolis"));
        QCOMPARE(a.Programm, QStringLiteral("ARTE"));
        QCOMPARE(a.Beginn, QTime(10, 0));
        QCOMPARE(a.Ende, QTime(8, 0));

        // A station list replaces the built-in ones.
        d.setProgramme({QStringLiteral("Eins"), QStringLiteral("Zwei")});
        QCOMPARE(d.ComboBox_Programme->count(), 2);
    }

    void newEntryStoredAndDialogCleared()
    {
        Planer p(QStringLiteral("neu"));
        TForm_Aufnahmetimer d(p.ui, p.clock);
        p.ui.fake.dialogAnswers.push_back([](QDialog& dlg) {
            auto& f = dynamic_cast<TForm_Aufnahmetimer&>(dlg);
            f.Edit_Filmname->setText(QStringLiteral("Der dritte Mann"));
            f.ComboBox_Programme->setEditText(QStringLiteral("NACHRICHTENSENDER PLUS 24"));
            f.DateTimePicker->setDate(QDate(2026, 12, 24));
            f.MaskEdit_Beginn->setText(QStringLiteral("23:30"));
            f.MaskEdit_Ende->setText(QStringLiteral("00:15"));
            f.BitBtn_Uebernehmen->click();
            return f.result();
        });
        p.regeln.BitBtn_NeuerFilmClick(d);
        QCOMPARE(p.s.timer.recordCount(), 1);
        store::Dataset& t = p.s.timer;
        QCOMPARE(t.asString(QStringLiteral("Filmname")), QStringLiteral("Der dritte Mann"));
        QCOMPARE(t.asString(QStringLiteral("Programm")), QStringLiteral("NACHRICHTENSENDER PL"));
        QCOMPARE(t.asDate(QStringLiteral("Datum")), QDate(2026, 12, 24));
        QCOMPARE(t.asTime(QStringLiteral("Beginn")), QTime(23, 30));
        QCOMPARE(t.asTime(QStringLiteral("Ende")), QTime(0, 15));
        QCOMPARE(t.asInteger(QStringLiteral("Laenge")), 45);
        QVERIFY(t.asBoolean(QStringLiteral("Anzeigen")));
        QCOMPARE(p.knopf, std::optional<bool>(true));

        const auto leer = [&] {
            QVERIFY(d.Edit_Filmname->text().isEmpty());
            QVERIFY(d.ComboBox_Programme->currentText().isEmpty());
            QCOMPARE(d.DateTimePicker->date(), p.clock.today());
            QCOMPARE(d.MaskEdit_Beginn->displayText(), QStringLiteral("__:__"));
            QCOMPARE(d.MaskEdit_Ende->displayText(), QStringLiteral("__:__"));
        };
        leer();

        // Cancel stores nothing and clears as well.
        p.ui.fake.dialogAnswers.push_back([](QDialog& dlg) {
            auto& f = dynamic_cast<TForm_Aufnahmetimer&>(dlg);
            f.Edit_Filmname->setText(QStringLiteral("Nosferatu"));
            f.ComboBox_Programme->setEditText(QStringLiteral("ARD"));
            f.DateTimePicker->setDate(QDate(2027, 1, 2));
            f.MaskEdit_Beginn->setText(QStringLiteral("20:15"));
            f.MaskEdit_Ende->setText(QStringLiteral("22:00"));
            f.BitBtn_Abbruch->click();
            return f.result();
        });
        p.regeln.BitBtn_NeuerFilmClick(d);
        QCOMPARE(p.filme(), QStringList{QStringLiteral("Der dritte Mann")});
        leer();
    }

    void remindedFromTheSetDaysUntilTheStart()
    {
        Planer p(QStringLiteral("erinnern"));
        p.e.Aufnahme_TageWarnen = 3;
        p.add(QStringLiteral("Casablanca"), QDate(2026, 12, 12), QTime(20, 15));

        p.regeln.Pruefe_Aufnahmen(); // four days ahead
        QVERIFY(p.meldungen().isEmpty());
        QCOMPARE(p.seiteGezeigt, 0);

        const QString am =
            QStringLiteral(
                "Sie wollen  am 12.12.2026 um 20:15 Uhr auf ARD den Film \"Casablanca\" aufnehmen.") +
            LFCR + LFCR +
            QStringLiteral("Soll diese Meldung für \"Casablanca\" weiterhin angezeigt werden ?");
        for (int tag = 9; tag <= 11; ++tag) {
            p.setNow(QDate(2026, 12, tag), QTime(23, 59, 59));
            p.ui.fake.clear();
            p.ui.fake.messageAnswers = {Yes};
            p.regeln.Pruefe_Aufnahmen();
            QCOMPARE(p.meldungen(), QStringList{am});
            QCOMPARE(p.ui.fake.shown.at(0).icon, MsgIcon::Information);
            QCOMPARE(p.ui.fake.shown.at(0).buttons, Yes | No);
        }

        // On the day itself, until the very start.
        const QString heute =
            QStringLiteral("Sie wollen  heute um 20:15 Uhr auf ARD den Film \"Casablanca\" aufnehmen.") +
            LFCR + LFCR +
            QStringLiteral("Soll diese Meldung für \"Casablanca\" weiterhin angezeigt werden ?");
        for (const QTime zeit : {QTime(0, 0), QTime(20, 15)}) {
            p.setNow(QDate(2026, 12, 12), zeit);
            p.ui.fake.clear();
            p.regeln.Pruefe_Aufnahmen();
            QCOMPARE(p.meldungen(), QStringList{heute});
        }
        QCOMPARE(p.filme(), QStringList{QStringLiteral("Casablanca")});
        QVERIFY(p.s.timer.asBoolean(QStringLiteral("Anzeigen")));
        QCOMPARE(p.seiteGezeigt, 5);
        QCOMPARE(p.knopf, std::optional<bool>(true));
    }

    void noStopsRemindersAndTheLoanSettingSwitchesThemOff()
    {
        Planer p(QStringLiteral("nein"));
        p.add(QStringLiteral("Vertigo"), QDate(2026, 12, 9), QTime(22, 0));
        p.add(QStringLiteral("Psycho"), QDate(2026, 12, 10), QTime(22, 0));
        p.ui.fake.messageAnswers = {No, Yes};
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 2);
        QVERIFY(p.meldungen().at(0).contains(QStringLiteral("\"Vertigo\"")));
        p.s.timer.first();
        QVERIFY(!p.s.timer.asBoolean(QStringLiteral("Anzeigen")));

        p.ui.fake.clear();
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 1);
        QVERIFY(p.meldungen().at(0).contains(QStringLiteral("\"Psycho\"")));

        // With the loan reminders off no coming recording is reminded of, but a
        // missed one is still reported and removed.
        p.e.Warnen_Nach_x_Tagen = 0;
        p.ui.fake.clear();
        p.regeln.Pruefe_Aufnahmen();
        QVERIFY(p.meldungen().isEmpty());
        p.setNow(QDate(2026, 12, 9), QTime(22, 1));
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen(),
                 QStringList{QStringLiteral("Sie haben vergessen, am 09.12.2026 um 22:00 den") + LFCR +
                             QStringLiteral("Film \"Vertigo\" aufzunehmen")});
        QCOMPARE(p.ui.fake.shown.at(0).icon, MsgIcon::Warning);
        QCOMPARE(p.filme(), QStringList{QStringLiteral("Psycho")});
    }

    void missedOnesReportedAndRemovedInOneCheck()
    {
        Planer p(QStringLiteral("verpasst"));
        p.e.Warnen_Nach_x_Tagen = 0;
        p.add(QStringLiteral("Heute Abend"), QDate(2026, 12, 8), QTime(20, 15));
        p.add(QStringLiteral("Gestern"), QDate(2026, 12, 7), QTime(20, 15));
        p.add(QStringLiteral("Vorhin"), QDate(2026, 12, 8), QTime(9, 59));
        p.add(QStringLiteral("Jetzt"), QDate(2026, 12, 8), QTime(10, 0));
        p.add(QStringLiteral("Morgen"), QDate(2026, 12, 9), QTime(6, 0));
        QCOMPARE(p.filme(),
                 (QStringList{QStringLiteral("Gestern"), QStringLiteral("Vorhin"), QStringLiteral("Jetzt"),
                              QStringLiteral("Heute Abend"), QStringLiteral("Morgen")}));
        p.s.timer.moveTo(4); // "Morgen"
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 2);
        QVERIFY(p.meldungen().at(0).startsWith(
            QStringLiteral("Sie haben vergessen, am 07.12.2026 um 20:15 den")));
        QVERIFY(p.meldungen().at(1).endsWith(QStringLiteral("\"Vorhin\" aufzunehmen")));
        QCOMPARE(p.filme(), (QStringList{QStringLiteral("Jetzt"), QStringLiteral("Heute Abend"),
                                         QStringLiteral("Morgen")}));
        // Fewer rows than the remembered position: the last one is current.
        QCOMPARE(p.s.timer.asString(QStringLiteral("Filmname")), QStringLiteral("Morgen"));
        QCOMPARE(p.seiteGezeigt, 2);

        // Nothing missed: the current row stays.
        p.s.timer.moveTo(1);
        p.ui.fake.clear();
        p.regeln.Pruefe_Aufnahmen();
        QVERIFY(p.meldungen().isEmpty());
        QCOMPARE(p.s.timer.asString(QStringLiteral("Filmname")), QStringLiteral("Heute Abend"));

        // The last ones missed, at the end of the list: all reported, the button goes off.
        p.setNow(QDate(2026, 12, 10), QTime(0, 0));
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 3);
        QVERIFY(p.filme().isEmpty());
        QCOMPARE(p.knopf, std::optional<bool>(false));
        QVERIFY(!p.s.timer.controlsDisabled());
    }

    // Today plus the reminder days beyond the last day the filter can read: the check
    // still reports what was missed, at every opening.
    void checkLimitsStayWithinTheCalendar_data()
    {
        QTest::addColumn<QDate>("heute");
        QTest::addColumn<int>("tage");
        QTest::newRow("the clock at 30.12.9999") << QDate(9999, 12, 30) << 3;
        QTest::newRow("ten million reminder days") << QDate(2026, 12, 8) << 10'000'000;
    }
    void checkLimitsStayWithinTheCalendar()
    {
        QFETCH(QDate, heute);
        QFETCH(int, tage);
        Planer p(QStringLiteral("kalenderende"));
        p.e.Aufnahme_TageWarnen = tage;
        p.add(QStringLiteral("Gestern"), heute.addDays(-1), QTime(20, 15));
        p.add(QStringLiteral("Morgen"), heute.addDays(1), QTime(20, 15));
        p.setNow(heute, QTime(10, 0));
        p.ui.fake.messageAnswers = {Ok, Yes};
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 2);
        QVERIFY(p.meldungen().at(0).endsWith(QStringLiteral("\"Gestern\" aufzunehmen")));
        QCOMPARE(p.filme(), QStringList{QStringLiteral("Morgen")});
    }

    void recordedRemovesTheCurrentEntry()
    {
        Planer p(QStringLiteral("aufgenommen"));
        p.add(QStringLiteral("Eins"), QDate(2026, 12, 20), QTime(20, 15));
        p.add(QStringLiteral("Zwei"), QDate(2026, 12, 21), QTime(20, 15));
        p.s.timer.moveTo(1);
        p.regeln.BitBtn_AufgenommenClick();
        QCOMPARE(p.filme(), QStringList{QStringLiteral("Eins")});
        QCOMPARE(p.knopf, std::optional<bool>(true));
        p.regeln.BitBtn_AufgenommenClick();
        QVERIFY(p.filme().isEmpty());
        QCOMPARE(p.knopf, std::optional<bool>(false));
        QVERIFY(p.ui.fake.shown.isEmpty());
        // Once more on the empty planner: nothing happens.
        p.regeln.BitBtn_AufgenommenClick();
        QCOMPARE(p.knopf, std::optional<bool>(false));
    }

    void aTickDuringAMessageStartsNoSecondCheck()
    {
        Planer p(QStringLiteral("takt"));
        p.add(QStringLiteral("A"), QDate(2026, 12, 9), QTime(20, 15));
        p.add(QStringLiteral("B"), QDate(2026, 12, 10), QTime(20, 15));
        int verschachtelt = 0;
        p.ui.beiMeldung = [&](const Message&) {
            ++verschachtelt;
            p.regeln.Pruefe_Aufnahmen();
        };
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(verschachtelt, 2);
        QCOMPARE(p.meldungen().size(), 2);
        // Afterwards the next check runs again.
        p.ui.beiMeldung = nullptr;
        p.regeln.Pruefe_Aufnahmen();
        QCOMPARE(p.meldungen().size(), 4);
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestAufnahmetimer t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_aufnahmetimer.moc"
