// The reminder window offscreen: its days and date, its two buttons and the system
// menu's close, and a whole reminder through the lending rules.

#include "lendingtesthelpers.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <kind.h>
#include <lending/meldungsformular.h>
#include <store/dates.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;

class TestMeldungsformular : public QObject
{
    Q_OBJECT

private slots:
    void daysGiveTheDate();
    void buttonsGiveTheAnswer();
    void aReminderThroughTheRules();
    void everySettingAndTheLastDay_data();
    void everySettingAndTheLastDay();
};

void TestMeldungsformular::daysGiveTheDate()
{
    FixedClock clock;
    clock.current.setDate(QDate(2026, 12, 28));
    TMeldungsformular f(nullptr, &clock);
    auto* spin = testing_support::kind<QSpinBox>(f, "SpinEdit_Tage");
    auto* datum = testing_support::kind<QLineEdit>(f, "Edit_Datum");
    QVERIFY(datum->isReadOnly() && !datum->isEnabled());
    QVERIFY(!spin->accessibleName().isEmpty() && !datum->accessibleName().isEmpty());

    f.show();
    QCOMPARE(datum->text(), QStringLiteral("28.12.2026"));
    spin->setValue(7);
    QCOMPARE(datum->text(), QStringLiteral("04.01.2027"));
    QCOMPARE(f.Naechste_Meldung(), QDate(2027, 1, 4));

    // A negative value goes back to 0.
    spin->setValue(-5);
    QCOMPARE(spin->value(), 0);
    QCOMPARE(datum->text(), QStringLiteral("28.12.2026"));

    // Typed days, and a cleared field that counts as 0.
    QLineEdit* eingabe = spin->findChild<QLineEdit*>();
    QVERIFY(eingabe);
    eingabe->selectAll();
    QTest::keyClicks(eingabe, QStringLiteral("12"));
    QCOMPARE(datum->text(), QStringLiteral("09.01.2027"));
    eingabe->selectAll();
    QTest::keyClick(eingabe, Qt::Key_Backspace);
    QCOMPARE(eingabe->text(), QString());
    QCOMPARE(datum->text(), QStringLiteral("28.12.2026"));
    QCOMPARE(f.Tage(), 0);
    QCOMPARE(f.Naechste_Meldung(), QDate(2026, 12, 28));

    // Shown again on a later day, the date starts from that day.
    f.hide();
    spin->setValue(3);
    clock.current = clock.current.addDays(10);
    f.show();
    QCOMPARE(datum->text(), QStringLiteral("10.01.2027"));
}

void TestMeldungsformular::buttonsGiveTheAnswer()
{
    FixedClock clock;
    const QDate heute = clock.today();
    TMeldungsformular f(nullptr, &clock);
    FakeInteraction ui;
    Meldungsfenster fenster(f, ui);
    const QString text = Verleihregeln::Erinnerungstext(QStringLiteral("Anna"), 4, QDate(2026, 12, 1), 7);

    // "Übernehmen" after changing the days.
    QString label;
    int gezeigteTage = -1;
    QString gezeigtesDatum;
    ui.dialogAnswers.push_back([&](QDialog& d) {
        label = d.findChild<QLabel*>(QStringLiteral("Label3"))->text();
        gezeigteTage = d.findChild<QSpinBox*>(QStringLiteral("SpinEdit_Tage"))->value();
        gezeigtesDatum = d.findChild<QLineEdit*>(QStringLiteral("Edit_Datum"))->text();
        d.findChild<QSpinBox*>(QStringLiteral("SpinEdit_Tage"))->setValue(3);
        d.findChild<QPushButton*>(QStringLiteral("BitBtn_Uebernehmen"))->click();
        return d.result();
    });
    Erinnerungsanzeige::Antwort a = fenster.Erinnerung_Zeigen(text, 7);
    QCOMPARE(ui.shown.last().text, QStringLiteral("Zur Erinnerung"));
    QCOMPARE(label,
             QStringLiteral("\nAnna hat die Kassette Nr. 4 schon seit dem 01.12.2026, das sind 7 Tage,\n"
                            "ausgeliehen."));
    QCOMPARE(gezeigteTage, 7);
    QCOMPARE(gezeigtesDatum, store::formatDate(heute.addDays(7)));
    QVERIFY(!a.nichtMehr);
    QCOMPARE(a.naechsteMeldung, heute.addDays(3));

    // "Nicht mehr anzeigen".
    ui.dialogAnswers.push_back([](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("BitBtn_NichtMehr"))->click();
        return d.result();
    });
    a = fenster.Erinnerung_Zeigen(text, 7);
    QVERIFY(a.nichtMehr);

    // Closed by the system menu: the date shown counts, also when the days were
    // already the ones asked for.
    ui.dialogAnswers.push_back([](QDialog& d) {
        d.reject();
        return d.result();
    });
    f.SpinEdit_Tage->setValue(5);
    f.Edit_Datum->clear();
    a = fenster.Erinnerung_Zeigen(text, 5);
    QVERIFY(!a.nichtMehr);
    QCOMPARE(a.naechsteMeldung, heute.addDays(5));
}

void TestMeldungsformular::aReminderThroughTheRules()
{
    lendingtest::Sammlung s(QStringLiteral("meldung"));
    s.kassettenAnlegen(2);
    FixedClock clock;
    FakeInteraction ui;
    TMeldungsformular f(nullptr, &clock);
    Meldungsfenster fenster(f, ui);
    Verleihregeln regeln(
        s.kass, s.filme, s.verliehen, ui, clock, [] { return 7; }, fenster);

    s.kass.locate(2);
    ui.inputAnswers.push_back(QStringLiteral("Bernd"));
    regeln.BitBtn_VerleihenClick();
    clock.current = clock.current.addDays(7);

    // 0 days and "Übernehmen": due again from today.
    ui.dialogAnswers.push_back([](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("SpinEdit_Tage"))->setValue(0);
        d.findChild<QPushButton*>(QStringLiteral("BitBtn_Uebernehmen"))->click();
        return d.result();
    });
    regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(ui.shown.size(), 2);
    QCOMPARE(s.verliehen.asDate(QStringLiteral("Meldung_Am")), clock.today());

    // The next check shows it again; "Nicht mehr anzeigen" ends that.
    ui.dialogAnswers.push_back([](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("BitBtn_NichtMehr"))->click();
        return d.result();
    });
    regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(ui.shown.size(), 3);
    QVERIFY(!s.verliehen.asBoolean(QStringLiteral("Anzeigen")));
    regeln.Pruefe_Verliehene_Kassetten();
    QCOMPARE(ui.shown.size(), 3);
}

void TestMeldungsformular::everySettingAndTheLastDay_data()
{
    QTest::addColumn<QDate>("heute");
    QTest::addColumn<int>("tage");
    QTest::addColumn<QDate>("naechste");
    QTest::newRow("1000 days") << QDate(2026, 12, 8) << 1000 << QDate(2029, 9, 3);
    QTest::newRow("the largest setting") << QDate(2026, 12, 7) << 99999 << QDate(2026, 12, 7).addDays(99999);
    QTest::newRow("past the last day") << QDate(9999, 12, 30) << 7 << QDate(9999, 12, 31);
}

// The window offers the days of the setting unchanged, and its date never lies beyond
// the last day the tables can hold.
void TestMeldungsformular::everySettingAndTheLastDay()
{
    QFETCH(QDate, heute);
    QFETCH(int, tage);
    QFETCH(QDate, naechste);
    FixedClock clock;
    clock.current.setDate(heute);
    TMeldungsformular f(nullptr, &clock);
    FakeInteraction ui;
    Meldungsfenster fenster(f, ui);
    int gezeigt = -1;
    ui.dialogAnswers.push_back([&](QDialog& d) {
        gezeigt = f.SpinEdit_Tage->value();
        d.accept();
        return d.result();
    });
    const Erinnerungsanzeige::Antwort a = fenster.Erinnerung_Zeigen(QStringLiteral("Anna"), tage);
    QCOMPARE(gezeigt, tage);
    QCOMPARE(f.Edit_Datum->text(), store::formatDate(naechste));
    QCOMPARE(a.naechsteMeldung, naechste);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestMeldungsformular t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_meldungsformular.moc"
