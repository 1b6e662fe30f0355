// Lending, taking back, the jump to a loan's cassette and the overdue-loan reminders,
// driven through the real main window with the fake interaction and a test clock.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <app/application.h>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <lending/meldungsformular.h>
#include <memory>
#include <settings/keystore.h>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/dates.h>
#include <store/engine.h>
#include <ui/datasetgrid.h>
#include <ui/radiogroup.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

const QString kKassette = QStringLiteral("Kassette");

struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    QString program;
    QString dir;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name)
    {
        program = freshDir(name + QStringLiteral("-programm"));
        dir = freshDir(name + QStringLiteral("-sammlung"));
        neuesFenster();
    }

    void neuesFenster()
    {
        w.reset();
        w = std::make_unique<THauptformular>(program, ui, clock,
                                             program + QStringLiteral("/einstellungen.key"));
    }

    void einstellung(const QString& name, const QString& wert) const
    {
        settings::FileKeyStore key(program + QStringLiteral("/einstellungen.key"));
        if (!key.openKey())
            key.createKey();
        key.writeText(name, wert);
        key.closeKey();
    }

    // A new collection with `anzahl` cassettes of 180 minutes; the first is current.
    void anlegen(int anzahl)
    {
        testing_support::neueSammlungAnlegen(*w, ui, dir);
        store::Dataset& kass = w->collection().kassetten();
        QVERIFY(kass.isActive());
        for (int i = 0; i < anzahl; ++i) {
            kass.append();
            kass.setInteger(QStringLiteral("Spielzeit"), 180);
            kass.post();
        }
        kass.first();
        w->Refresh_Navigator();
    }

    void oeffnen()
    {
        ui.fileAnswers.push_back(dir + QStringLiteral("/videos.qbx"));
        kind<QAction>(w, "ffnen1")->trigger();
    }

    void schliessen() { kind<QAction>(w, "Schliessen_Menu")->trigger(); }

    void zuKassette(int nummer)
    {
        kind<QLineEdit>(w, "Edit_Direkt")->clear();
        kind<QLineEdit>(w, "Edit_Direkt")->setText(QString::number(nummer));
    }

    int aktuelleKassette() const { return kind<QLabel>(w, "DBText_Kassette")->text().toInt(); }

    void verleihe(int nummer, const QString& an)
    {
        zuKassette(nummer);
        ui.inputAnswers.push_back(an);
        kind<QPushButton>(w, "BitBtn_Verleihen")->click();
    }

    bool verleihenAn() const { return kind<QPushButton>(w, "BitBtn_Verleihen")->isEnabled(); }
    bool zurueckAn() const { return kind<QPushButton>(w, "BitBtn_Zurueckbekommen")->isEnabled(); }

    QWidget* seite() const { return kind<QTabWidget>(w, "Pagecontrol")->currentWidget(); }

    // The loans' cassettes as the grid shows them.
    QList<int> liste() const
    {
        const QAbstractItemModel* m = kind<DatasetGrid>(w, "DBGrid_Verliehen")->model();
        QList<int> out;
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, 0).data().toInt();
        return out;
    }

    bool istVerliehen(int nummer) const
    {
        store::Dataset& kass = w->collection().kassetten();
        for (int r = 0; r < kass.rowCount(); ++r)
            if (kass.valueAt(r, QStringLiteral("Nummer")).toInt() == nummer)
                return kass.valueAt(r, QStringLiteral("Verliehen")).toBool();
        return false;
    }

    void doppelklick()
    {
        auto* grid = kind<DatasetGrid>(w, "DBGrid_Verliehen");
        const QRect zeile = grid->visualRect(grid->currentIndex());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           zeile.isValid() ? zeile.center() : QPoint(20, 20));
    }

    int reminders() const
    {
        int n = 0;
        for (const auto& s : ui.shown)
            n += s.kind == FakeInteraction::Shown::Kind::Dialog && s.text == QStringLiteral("Zur Erinnerung");
        return n;
    }
};

} // namespace

class TestVerleihfenster : public QObject
{
    Q_OBJECT

private slots:
    void lendingSurvivesReopening()
    {
        Fenster f(QStringLiteral("verleihen"));
        f.anlegen(3);
        QVERIFY(f.verleihenAn());
        QVERIFY(!f.zurueckAn());

        // An empty answer lends nothing.
        f.verleihe(2, QString());
        QCOMPARE(f.ui.messages(), QStringList{QStringLiteral("Kassette 2 wurde nicht verliehen !")});
        QVERIFY(f.verleihenAn() && !f.zurueckAn());
        QVERIFY(f.liste().isEmpty());

        // A film being typed is stored before the cassette is lent.
        store::Dataset& filme = f.w->collection().filme();
        filme.append();
        filme.setString(QStringLiteral("Filmname"), QStringLiteral("Metropolis"));
        f.ui.inputAnswers.push_back(QStringLiteral("Anna"));
        kind<QPushButton>(f.w, "BitBtn_Verleihen")->click();
        QCOMPARE(filme.state(), store::Dataset::State::Browse);
        QCOMPARE(filme.recordCount(), 1);
        QVERIFY(!f.verleihenAn() && f.zurueckAn());
        QCOMPARE(f.liste(), QList<int>{2});
        QVERIFY(f.istVerliehen(2));

        // Moving keeps the lend button in step with each cassette.
        kind<QToolButton>(f.w, "BitBtn_Naechste")->click();
        QCOMPARE(f.aktuelleKassette(), 3);
        QVERIFY(f.verleihenAn());
        kind<QToolButton>(f.w, "BitBtn_Vorherige")->click();
        QVERIFY(!f.verleihenAn());

        // Closed and opened again on the same day: the loan is there, not yet due.
        f.schliessen();
        f.ui.clear();
        f.oeffnen();
        QVERIFY(f.w->collectionOpen());
        QCOMPARE(f.liste(), QList<int>{2});
        QVERIFY(f.zurueckAn());
        QCOMPARE(f.reminders(), 0);
        QVERIFY(f.verleihenAn()); // cassette 1 is current
        f.zuKassette(2);
        QVERIFY(!f.verleihenAn());
        QVERIFY(f.ui.errors().isEmpty());
    }

    void loanPageJumpsAndTakesBack()
    {
        Fenster f(QStringLiteral("verleihseite"));
        f.anlegen(4);
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        auto* tabs = kind<QTabWidget>(f.w, "Pagecontrol");
        QWidget* loanPage = kind<QWidget>(f.w, "Tab_Verleihmanager");
        QWidget* inputPage = kind<QWidget>(f.w, "Tab_Eingabe");

        // A double click on the empty list does nothing.
        tabs->setCurrentWidget(loanPage);
        f.doppelklick();
        QCOMPARE(f.seite(), loanPage);

        f.verleihe(4, QStringLiteral("Clara"));
        f.verleihe(1, QStringLiteral("Bernd"));
        f.clock.current = f.clock.current.addDays(1);
        f.verleihe(3, QStringLiteral("Anna"));
        QCOMPARE(f.liste(), (QList<int>{1, 3, 4}));
        auto* order = kind<RadioGroup>(f.w, "RadioGroup_Sortieren2");
        order->button(2)->click();
        QCOMPARE(f.liste(), (QList<int>{3, 1, 4}));
        order->button(1)->click();
        QCOMPARE(f.liste().last(), 3); // the two loans of the first day come first
        order->button(0)->click();
        QCOMPARE(f.liste(), (QList<int>{1, 3, 4}));

        // Double click on the loan of cassette 4: the input page shows it, its lend
        // button off and its navigation as for the last cassette.
        f.zuKassette(2);
        tabs->setCurrentWidget(loanPage);
        store::Dataset& loans = f.w->collection().verliehen();
        loans.moveTo(2);
        f.doppelklick();
        QCOMPARE(f.seite(), inputPage);
        QCOMPARE(f.aktuelleKassette(), 4);
        QVERIFY(!f.verleihenAn());
        QVERIFY(!kind<QToolButton>(f.w, "BitBtn_Naechste")->isEnabled());
        QVERIFY(kind<QToolButton>(f.w, "BitBtn_Vorherige")->isEnabled());

        // Taking back the loan of another cassette, without a question: the current
        // cassette stays, at its first film, and may be lent.
        kind<QToolButton>(f.w, "BitBtn_Vorherige")->click();
        store::Dataset& filme = f.w->collection().filme();
        for (const char* titel : {"Nosferatu", "Faust"}) {
            filme.append();
            filme.setString(QStringLiteral("Filmname"), QString::fromLatin1(titel));
            filme.post();
        }
        QCOMPARE(filme.recNo(), 2);
        tabs->setCurrentWidget(loanPage);
        loans.moveTo(0);
        f.ui.clear();
        kind<QPushButton>(f.w, "BitBtn_Zurueckbekommen")->click();
        QVERIFY(f.ui.shown.isEmpty());
        QCOMPARE(f.liste(), (QList<int>{3, 4}));
        QVERIFY(!f.istVerliehen(1));
        QCOMPARE(f.aktuelleKassette(), 3);
        QCOMPARE(filme.recNo(), 1);
        QVERIFY(!f.verleihenAn()); // cassette 3 itself is still lent
        QVERIFY(f.zurueckAn());

        // Taking back the current cassette's loan frees its lend button; the last loan
        // switches the return button off.
        loans.moveTo(0);
        kind<QPushButton>(f.w, "BitBtn_Zurueckbekommen")->click();
        QCOMPARE(f.aktuelleKassette(), 3);
        QVERIFY(f.verleihenAn());
        kind<QPushButton>(f.w, "BitBtn_Zurueckbekommen")->click();
        QVERIFY(f.liste().isEmpty());
        QVERIFY(!f.zurueckAn());
        QVERIFY(!f.istVerliehen(4));
        QVERIFY(f.ui.errors().isEmpty());
        f.w->hide();
    }

    void remindersAtOpeningAndAtANewDay()
    {
        Fenster f(QStringLiteral("erinnerung"));
        f.anlegen(2);
        f.verleihe(1, QStringLiteral("Anna"));
        f.verleihe(2, QStringLiteral("Bernd"));
        f.schliessen();
        const QDate verliehenAm = f.clock.today();

        // Seven days later the opening reminds of both, over the loan page, with the
        // window's date; a tick of the next day while the first reminder is open starts
        // no second check.
        f.clock.current = f.clock.current.addDays(7);
        auto conn = store::engine::Connection::forDirectory(f.dir);
        bool transaktionOffen = false;
        QString text;
        QString datum;
        QWidget* seite = nullptr;
        int laeufe = -1;
        f.ui.clear();
        f.ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& m = dynamic_cast<TMeldungsformular&>(d);
            text = m.Label3->text();
            datum = m.Edit_Datum->text();
            seite = f.seite();
            transaktionOffen = conn->depth() != 0;
            laeufe = f.w->checkRuns();
            f.clock.current = f.clock.current.addDays(1);
            f.w->Timer_UhrzeitTimer();
            f.clock.current = f.clock.current.addDays(-1);
            m.BitBtn_NichtMehr->click();
            return m.result();
        });
        f.ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& m = dynamic_cast<TMeldungsformular&>(d);
            m.SpinEdit_Tage->setValue(2);
            m.BitBtn_Uebernehmen->click();
            return m.result();
        });
        f.oeffnen();
        QCOMPARE(f.reminders(), 2);
        QCOMPARE(seite, kind<QWidget>(f.w, "Tab_Verleihmanager"));
        QVERIFY(!transaktionOffen);
        QCOMPARE(text, QStringLiteral("\nAnna hat die Kassette Nr. 1 schon seit dem ") +
                           store::formatDate(verliehenAm) +
                           QStringLiteral(", das sind 7 Tage,\nausgeliehen."));
        QCOMPARE(datum, store::formatDate(f.clock.today().addDays(7)));
        QCOMPARE(f.w->checkRuns(), laeufe);
        store::Dataset& loans = f.w->collection().verliehen();
        QCOMPARE(loans.valueAt(0, QStringLiteral("Anzeigen")).toBool(), false);
        QCOMPARE(loans.valueAt(1, QStringLiteral("Meldung_Am")).toDate(), f.clock.today().addDays(2));

        // The tick after the check sees the new day and checks again: nothing is due.
        f.clock.current = f.clock.current.addDays(1);
        f.w->Timer_UhrzeitTimer();
        QCOMPARE(f.w->checkRuns(), laeufe + 1);
        QCOMPARE(f.w->lastSeenDate(), store::formatDate(f.clock.today()));
        QCOMPARE(f.reminders(), 2);

        // The day after, a tick reminds of Bernd's loan again, and of Anna's no more.
        f.ui.clear();
        kind<QTabWidget>(f.w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(f.w, "Tab_Eingabe"));
        f.ui.dialogAnswers.push_back([&](QDialog& d) {
            text = dynamic_cast<TMeldungsformular&>(d).Label3->text();
            seite = f.seite();
            return int(QDialog::Rejected);
        });
        f.clock.current = f.clock.current.addDays(1);
        f.w->Timer_UhrzeitTimer();
        QCOMPARE(f.reminders(), 1);
        QVERIFY(text.contains(QStringLiteral("Bernd hat die Kassette Nr. 2")));
        QVERIFY(text.contains(QStringLiteral("das sind 9 Tage,")));
        QCOMPARE(seite, kind<QWidget>(f.w, "Tab_Verleihmanager"));
        // Closed by its system menu: due again from today plus the proposed days.
        QCOMPARE(loans.valueAt(1, QStringLiteral("Meldung_Am")).toDate(), f.clock.today().addDays(7));
        QVERIFY(f.ui.errors().isEmpty());
    }

    void reminderAtAutostart()
    {
        Fenster f(QStringLiteral("autostart"));
        f.anlegen(1);
        f.verleihe(1, QStringLiteral("Dora"));
        QCOMPARE(f.w->checkRuns(), 0);
        f.clock.current = f.clock.current.addDays(30);
        f.einstellung(QStringLiteral("Autostart"), f.dir + QStringLiteral("/videos.qbx"));
        f.neuesFenster();
        f.ui.clear();
        f.ui.dialogAnswers.push_back([](QDialog& d) {
            dynamic_cast<TMeldungsformular&>(d).BitBtn_Uebernehmen->click();
            return d.result();
        });
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        QTRY_COMPARE(f.reminders(), 1);
        QVERIFY(f.w->collectionOpen());
        QCOMPARE(f.w->checkRuns(), 1);
        QVERIFY(f.zurueckAn());
        QVERIFY(f.ui.errors().isEmpty());
        f.w->hide();
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    Application app(argc, argv);
    TestVerleihfenster test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_verleihfenster.moc"
