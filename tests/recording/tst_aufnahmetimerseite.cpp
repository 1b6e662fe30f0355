// The planner page in the real main window: its grid and buttons, new entries through
// the dialog, the checks after opening and at the change of day (also while a message
// is open), and the free-space search with a film still being typed on the input page.

#include "recordingtesthelpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTest>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <catalogue/hinzufuegenformular.h>
#include <fenster.h>
#include <kind.h>
#include <memory>
#include <recording/aufnahmetimerformular.h>
#include <settings/keystore.h>
#include <store/dataset.h>
#include <ui/datasetgrid.h>

using namespace quorbel;
using recordingtest::Beobachter;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

const QString LFCR = QStringLiteral("\n\r");

// Integer fields of one table file, row by row in key order, read through a dataset of
// their own (the engine keeps its files to itself while the window has them open).
QList<QList<qint64>> spalten(const QString& dir, const QString& datei, const QStringList& felder)
{
    QList<QList<qint64>> zeilen;
    store::Dataset ds;
    ds.setDatabaseName(dir);
    ds.setTableName(datei);
    ds.open();
    for (int r = 0; r < ds.rowCount(); ++r) {
        QList<qint64> z;
        for (const QString& feld : felder)
            z << ds.valueAt(r, feld).toLongLong();
        zeilen << z;
    }
    return zeilen;
}

// The main window over a scratch program directory and a new collection "videos".
struct Fenster
{
    Beobachter ui;
    FixedClock clock; // Tuesday 08.12.2026, 10:00:00
    QString program, dir, settingsFile;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name, const QStringList& sender = {})
    {
        program = freshDir(name + QStringLiteral("-programm"));
        dir = freshDir(name);
        settingsFile = program + QStringLiteral("/einstellungen.key");
        if (!sender.isEmpty()) {
            QDir(program).mkdir(QStringLiteral("Lists"));
            QFile f(program + QStringLiteral("/Lists/prgs.qb"));
            if (f.open(QIODevice::WriteOnly))
                f.write(sender.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
        }
    }

    void zeigen()
    {
        w = std::make_unique<THauptformular>(program, ui, clock, settingsFile);
        testing_support::zeigenUndAktivieren(*w);
        QApplication::processEvents();
    }

    void anlegen()
    {
        testing_support::neueSammlungAnlegen(*w, ui.fake, dir);
        ui.fake.clear();
    }
    QString listFile() const { return dir + QStringLiteral("/videos.qbx"); }
    void oeffnen()
    {
        ui.fake.fileAnswers.push_back(listFile());
        kind<QAction>(w, "ffnen1")->trigger();
    }
    void schliessen() { kind<QAction>(w, "Schliessen_Menu")->trigger(); }

    // A recording through "Neuen Film eingeben"; `ok` false cancels the dialog.
    void neuerFilm(const QString& titel, const QString& programm, const QDate& datum, const QString& beginn,
                   const QString& ende, bool ok = true)
    {
        ui.fake.dialogAnswers.push_back([=](QDialog& d) {
            auto& f = dynamic_cast<TForm_Aufnahmetimer&>(d);
            f.Edit_Filmname->setText(titel);
            f.ComboBox_Programme->setEditText(programm);
            f.DateTimePicker->setDate(datum);
            f.MaskEdit_Beginn->setText(beginn);
            f.MaskEdit_Ende->setText(ende);
            if (!ok)
                return int(QDialog::Rejected);
            f.BitBtn_Uebernehmen->click();
            return f.result();
        });
        kind<QPushButton>(w, "BitBtn_NeuerFilm")->click();
    }

    void neueKassette(const QString& eintrag)
    {
        ui.fake.dialogAnswers.push_back([eintrag](QDialog& d) {
            auto& h = dynamic_cast<THinzufuegenformular&>(d);
            h.ComboBox_Spielzeit->setCurrentIndex(h.ComboBox_Spielzeit->findText(eintrag));
            h.BitBtn_Ok->click();
            return h.result();
        });
        kind<QPushButton>(w, "BitBtn_NeueKassette")->click();
    }

    void speichereEinstellung(const QString& name, const QString& wert) const
    {
        settings::FileKeyStore key(settingsFile);
        if (!key.openKey())
            key.createKey();
        key.writeText(name, wert);
        key.closeKey();
    }

    store::Dataset& timer() const { return *kind<store::Dataset>(w, "Table_Aufnahmetimer"); }
    QStringList filme() const
    {
        QStringList t;
        for (int r = 0; r < timer().rowCount(); ++r)
            t << timer().valueAt(r, QStringLiteral("Filmname")).toString();
        return t;
    }
    QTabWidget* seiten() const { return kind<QTabWidget>(w, "Pagecontrol"); }
    bool planerVorn() const { return seiten()->currentWidget() == kind<QWidget>(w, "Tab_Aufnahmetimer"); }
    QPushButton* aufgenommen() const { return kind<QPushButton>(w, "BitBtn_Aufgenommen"); }
    QStringList freieKassetten() const
    {
        QStringList t;
        auto* l = kind<QListWidget>(w, "ListBox_FreieKassetten");
        for (int i = 0; i < l->count(); ++i)
            t << l->item(i)->text();
        return t;
    }
    TForm_Aufnahmetimer& dialog() const { return *kind<TForm_Aufnahmetimer>(w, "Form_Aufnahmetimer"); }
    QStringList meldungen() const { return ui.fake.messages(); }
};

} // namespace

class TestAufnahmetimerseite : public QObject
{
    Q_OBJECT
private slots:
    void gridShowsTimesAndFourDigitYears()
    {
        Fenster f(QStringLiteral("seite-raster"));
        f.zeigen();
        f.anlegen();
        auto* grid = kind<DatasetGrid>(f.w, "DBGrid_ATimer");
        QVERIFY(grid->isReadOnly());
        QCOMPARE(grid->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(grid->toolTip(), QStringLiteral("Übersicht über ausstehende Aufnahmen"));
        QVERIFY(f.aufgenommen()->isDefault() && !f.aufgenommen()->isEnabled());

        f.neuerFilm(QStringLiteral("Spätfilm"), QStringLiteral("ZDF"), QDate(2026, 12, 9),
                    QStringLiteral("23:30"), QStringLiteral("00:15"));
        f.neuerFilm(QStringLiteral("Krimi"), QStringLiteral("ARD"), QDate(2026, 12, 9),
                    QStringLiteral(" 8:05"), QStringLiteral("09:00"));
        QCOMPARE(f.filme(), (QStringList{QStringLiteral("Krimi"), QStringLiteral("Spätfilm")}));
        const auto text = [&](int row, int col) {
            const QModelIndex i = grid->model()->index(row, col);
            auto* d = qobject_cast<QStyledItemDelegate*>(grid->itemDelegateForIndex(i));
            return d ? d->displayText(i.data(), QLocale()) : i.data().toString();
        };
        QStringList titel;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            titel << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titel, (QStringList{QStringLiteral("Filmname"), QStringLiteral("Programm"),
                                     QStringLiteral("Datum"), QStringLiteral("Beginn"),
                                     QStringLiteral("Ende"), QStringLiteral("Laenge (Min.)")}));
        QCOMPARE((QStringList{text(1, 0), text(1, 1), text(1, 2), text(1, 3), text(1, 4), text(1, 5)}),
                 (QStringList{QStringLiteral("Spätfilm"), QStringLiteral("ZDF"), QStringLiteral("09.12.2026"),
                              QStringLiteral("23:30"), QStringLiteral("00:15"), QStringLiteral("45")}));
        QCOMPARE(text(0, 3), QStringLiteral("08:05"));
        // The date with its four-digit year fits its column.
        QVERIFY(grid->columnWidth(2) >= grid->fontMetrics().horizontalAdvance(text(0, 2)) + 8);
        QVERIFY(grid->columnWidth(5) >=
                grid->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Laenge (Min.)")) +
                    8);
        // All six side by side, the title as wide as the design has it where the font allows.
        int breite = 0;
        for (int c = 0; c < 6; ++c)
            breite += grid->columnWidth(c);
        QVERIFY(breite <= grid->viewport()->width());
        QVERIFY(grid->columnWidth(0) <= 161 && grid->columnWidth(0) >= 120);
        QCOMPARE(grid->columnWidth(3), 63);
    }

    void entriesThroughDialogAndButtons()
    {
        Fenster f(QStringLiteral("seite-eintraege"),
                  {QStringLiteral("KANAL EINS"), QStringLiteral("KANAL ZWEI")});
        f.clock.current = QDateTime(QDate(2026, 12, 8), QTime(10, 0));
        f.zeigen();
        // The station file reached the dialog; its date is today from the first activation.
        QCOMPARE(f.dialog().ComboBox_Programme->count(), 2);
        QCOMPARE(f.dialog().ComboBox_Programme->itemText(1), QStringLiteral("KANAL ZWEI"));
        QCOMPARE(f.dialog().DateTimePicker->date(), QDate(2026, 12, 8));
        f.anlegen();

        // Cancelled: nothing stored, the fields cleared all the same.
        f.neuerFilm(QStringLiteral("Abgebrochen"), QStringLiteral("ARD"), QDate(2026, 12, 20),
                    QStringLiteral("20:15"), QStringLiteral("22:00"), false);
        QVERIFY(f.filme().isEmpty());
        QVERIFY(!f.aufgenommen()->isEnabled());
        QVERIFY(f.dialog().Edit_Filmname->text().isEmpty());

        f.neuerFilm(QStringLiteral("Western"), QStringLiteral("KANAL ZWEI"), QDate(2026, 12, 8),
                    QStringLiteral("10:00"), QStringLiteral("11:00"));
        QCOMPARE(f.filme(), QStringList{QStringLiteral("Western")});
        QVERIFY(f.aufgenommen()->isEnabled());
        QVERIFY(f.dialog().Edit_Filmname->text().isEmpty() &&
                f.dialog().ComboBox_Programme->currentText().isEmpty());
        QCOMPARE(f.dialog().MaskEdit_Beginn->text(), QStringLiteral(":"));

        f.neuerFilm(QStringLiteral("Doku"), QStringLiteral("ARTE"), QDate(2026, 12, 10),
                    QStringLiteral("20:15"), QStringLiteral("21:00"));
        f.neuerFilm(QStringLiteral("Oper"), QStringLiteral("3 SAT"), QDate(2026, 12, 11),
                    QStringLiteral("19:00"), QStringLiteral("22:30"));

        // "Film aufgenommen" removes the chosen entry without asking.
        f.ui.fake.clear();
        f.timer().moveTo(1);
        f.aufgenommen()->click();
        QCOMPARE(f.filme(), (QStringList{QStringLiteral("Western"), QStringLiteral("Oper")}));
        QVERIFY(f.meldungen().isEmpty());

        // Enter on the page presses the default button; on "Neuen Film eingeben" it opens the dialog.
        f.seiten()->setCurrentWidget(kind<QWidget>(f.w, "Tab_Aufnahmetimer"));
        kind<QWidget>(f.w, "DBGrid_ATimer")->setFocus();
        QTest::keyClick(kind<QWidget>(f.w, "DBGrid_ATimer"), Qt::Key_Return);
        QCOMPARE(f.filme().size(), 1);
        kind<QPushButton>(f.w, "BitBtn_NeuerFilm")->setFocus();
        QTest::keyClick(kind<QPushButton>(f.w, "BitBtn_NeuerFilm"), Qt::Key_Return);
        QCOMPARE(f.filme().size(), 1);
        QVERIFY(f.ui.fake.shown.size() == 1 &&
                f.ui.fake.shown.first().kind == testing_support::FakeInteraction::Shown::Kind::Dialog);

        f.aufgenommen()->click();
        QVERIFY(f.filme().isEmpty());
        QVERIFY(!f.aufgenommen()->isEnabled());
        // Pressing it on an empty planner does nothing.
        QTest::keyClick(kind<QWidget>(f.w, "DBGrid_ATimer"), Qt::Key_Return);
        QVERIFY(f.ui.fake.errors().isEmpty());
    }

    void checksAfterOpeningAndAtChangeOfDay()
    {
        Fenster f(QStringLiteral("seite-pruefung"));
        f.zeigen();
        f.anlegen();
        f.neuerFilm(QStringLiteral("Frühstück"), QStringLiteral("ARD"), QDate(2026, 12, 8),
                    QStringLiteral("11:00"), QStringLiteral("12:00"));
        f.neuerFilm(QStringLiteral("Nachts"), QStringLiteral("ZDF"), QDate(2026, 12, 12),
                    QStringLiteral("23:00"), QStringLiteral("01:00"));
        f.neuerFilm(QStringLiteral("Später"), QStringLiteral("VOX"), QDate(2027, 1, 20),
                    QStringLiteral("20:15"), QStringLiteral("22:00"));
        QVERIFY(f.meldungen().isEmpty());
        f.schliessen();

        // Opened after the first start: reported with the planner in front, and removed.
        f.clock.current = QDateTime(QDate(2026, 12, 8), QTime(11, 30));
        f.ui.fake.clear();
        f.seiten()->setCurrentIndex(0);
        f.ui.beiMeldung = [&](const Message&) {
            if (!f.planerVorn())
                qWarning("planner not in front");
        };
        f.oeffnen();
        QCOMPARE(f.meldungen(),
                 QStringList{QStringLiteral("Sie haben vergessen, am 08.12.2026 um 11:00 den") + LFCR +
                             QStringLiteral("Film \"Frühstück\" aufzunehmen")});
        QVERIFY(f.planerVorn());
        QCOMPARE(f.filme(), (QStringList{QStringLiteral("Nachts"), QStringLiteral("Später")}));
        QVERIFY(f.aufgenommen()->isEnabled());

        // Three days before: the change of day reminds, and the dialog's date follows.
        f.ui.fake.clear();
        f.seiten()->setCurrentIndex(0);
        f.clock.current = QDateTime(QDate(2026, 12, 9), QTime(0, 0, 3));
        f.ui.fake.messageAnswers = {No};
        f.w->Timer_UhrzeitTimer();
        QCOMPARE(f.dialog().DateTimePicker->date(), QDate(2026, 12, 9));
        QCOMPARE(f.meldungen().size(), 1);
        QVERIFY(f.meldungen().first().startsWith(
            QStringLiteral("Sie wollen  am 12.12.2026 um 23:00 Uhr auf ZDF")));
        QVERIFY(f.planerVorn());
        // Later ticks of the same day only move the clock; after No there is no reminder.
        f.clock.current = f.clock.current.addSecs(5);
        f.w->Timer_UhrzeitTimer();
        f.clock.current = f.clock.current.addDays(1);
        f.w->Timer_UhrzeitTimer();
        QCOMPARE(f.meldungen().size(), 1);

        // At the autostart the check runs too.
        f.w.reset();
        f.speichereEinstellung(QStringLiteral("Autostart"), f.listFile());
        f.clock.current = QDateTime(QDate(2026, 12, 13), QTime(9, 0));
        f.ui.fake.clear();
        f.zeigen();
        QTRY_VERIFY(f.w->collectionOpen());
        QCOMPARE(f.meldungen(),
                 QStringList{QStringLiteral("Sie haben vergessen, am 12.12.2026 um 23:00 den") + LFCR +
                             QStringLiteral("Film \"Nachts\" aufzunehmen")});
        QCOMPARE(f.filme(), QStringList{QStringLiteral("Später")});
    }

    void tickDuringMessageStartsNoSecondCheck()
    {
        Fenster f(QStringLiteral("seite-takt"));
        f.zeigen();
        f.anlegen();
        for (const auto& [titel, tag] : {std::pair{"Eins", 9}, std::pair{"Zwei", 10}, std::pair{"Drei", 11}})
            f.neuerFilm(QString::fromUtf8(titel), QStringLiteral("ARD"), QDate(2026, 12, tag),
                        QStringLiteral("20:00"), QStringLiteral("21:00"));
        f.ui.fake.clear();

        // The first report stays open over the next change of day: its ticks run into the open message.
        f.clock.current = QDateTime(QDate(2026, 12, 11), QTime(0, 0, 2));
        int takte = 0;
        f.ui.beiMeldung = [&](const Message&) {
            if (takte++ > 0)
                return;
            f.clock.current = QDateTime(QDate(2026, 12, 12), QTime(0, 0, 1));
            f.w->Timer_UhrzeitTimer();
            f.clock.current = f.clock.current.addSecs(5);
            f.w->Timer_UhrzeitTimer();
        };
        f.w->Timer_UhrzeitTimer();
        // Each missed recording reported once; the last one is reminded of (its start has not passed
        // when the check looked at it) or reported, never twice.
        QStringList berichtet;
        for (const QString& m : f.meldungen())
            berichtet << m.section(QLatin1Char('"'), 1, 1);
        QCOMPARE(berichtet.count(QStringLiteral("Eins")), 1);
        QCOMPARE(berichtet.count(QStringLiteral("Zwei")), 1);
        QVERIFY(berichtet.count(QStringLiteral("Drei")) <= 1);
        QVERIFY(!f.filme().contains(QStringLiteral("Eins")) && !f.filme().contains(QStringLiteral("Zwei")));
        QVERIFY(f.ui.fake.errors().isEmpty());
    }

    void freeSpaceSearchThroughWindow()
    {
        Fenster f(QStringLiteral("seite-platz"));
        f.zeigen();
        f.anlegen();
        auto* suchen = kind<QPushButton>(f.w, "BitBtn_FreienPlatzSuchen");
        QVERIFY(!suchen->isEnabled());
        f.neueKassette(QStringLiteral("E - 180"));
        f.neueKassette(QStringLiteral("E - 240"));
        f.neueKassette(QStringLiteral("Kaufvideo"));
        QVERIFY(suchen->isEnabled());
        f.neuerFilm(QStringLiteral("Lang"), QStringLiteral("ARD"), QDate(2026, 12, 20),
                    QStringLiteral("20:00"), QStringLiteral("23:15"));
        f.ui.fake.clear();

        // The planner's length is proposed; Cancel searches for it.
        suchen->click();
        QCOMPARE(f.ui.fake.shown.first().text, QStringLiteral("Nach wieviel Minuten soll gesucht werden ?"));
        QCOMPARE(f.freieKassetten(), (QStringList{QStringLiteral("Kassette 2  [ 240 ] Minuten frei.")}));
        QCOMPARE(f.meldungen().last(), QStringLiteral("Tip : Nehmen Sie den Film auf") + LFCR +
                                           QStringLiteral("Kassette Nr. 2 auf. Die Restzeit") + LFCR +
                                           QStringLiteral("umfasst dann noch 45 Minuten."));

        // A refused answer keeps the old lines; a search without a match says so.
        f.ui.fake.inputAnswers = {QStringLiteral("neunzig")};
        suchen->click();
        QCOMPARE(f.freieKassetten().size(), 1);
        f.ui.fake.inputAnswers = {QStringLiteral("500")};
        suchen->click();
        QCOMPARE(f.freieKassetten(), QStringList{QStringLiteral("     Keine Kassetten gefunden.")});

        // While the suggestion is read, the list already shows this search's lines.
        QList<QStringList> waehrendMeldung;
        f.ui.beiMeldung = [&](const Message&) { waehrendMeldung << f.freieKassetten(); };
        f.ui.fake.inputAnswers = {QStringLiteral("100")};
        suchen->click();
        f.ui.beiMeldung = nullptr;
        QCOMPARE(waehrendMeldung,
                 (QList<QStringList>{{QStringLiteral("Kassette 1  [ 180 ] Minuten frei."),
                                      QStringLiteral("Kassette 2  [ 240 ] Minuten frei.")}}));
    }

    void pendingFilmStoredBeforeSearch()
    {
        Fenster f(QStringLiteral("seite-offen"));
        f.zeigen();
        f.anlegen();
        f.neueKassette(QStringLiteral("E - 180"));
        f.neueKassette(QStringLiteral("E - 240"));
        // Cassette 2 is current; a film is typed into its grid and not yet stored.
        auto* grid = kind<DatasetGrid>(f.w, "DBGrid_Filme");
        f.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.w.get()));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Insert);
        const auto zelle = [&](int col, const QString& text) {
            const QModelIndex i = grid->model()->index(0, col);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(i).center());
            for (const QChar c : text) {
                QWidget* fokus = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
                QTest::sendKeyEvent(QTest::Click, fokus, static_cast<Qt::Key>(c.toUpper().unicode()),
                                    QString(c), Qt::NoModifier);
            }
        };
        zelle(0, QStringLiteral("Neu"));
        zelle(1, QStringLiteral("100"));
        QVERIFY(kind<store::Dataset>(f.w, "Table_Filme")->state() != store::Dataset::State::Browse);

        f.seiten()->setCurrentWidget(kind<QWidget>(f.w, "Tab_Aufnahmetimer"));
        f.ui.fake.inputAnswers = {QStringLiteral("100")};
        kind<QPushButton>(f.w, "BitBtn_FreienPlatzSuchen")->click();

        const auto filme = spalten(f.dir, QStringLiteral("filme.db"),
                                   {QStringLiteral("Zu_Kassette"), QStringLiteral("Filmlaenge")});
        QCOMPARE(filme, (QList<QList<qint64>>{{2, 100}}));
        const auto kassetten =
            spalten(f.dir, QStringLiteral("kass.db"),
                    {QStringLiteral("Nummer"), QStringLiteral("Belegt"), QStringLiteral("Frei")});
        QCOMPARE(kassetten, (QList<QList<qint64>>{{1, 0, 180}, {2, 100, 140}}));
        QCOMPARE(f.freieKassetten(), (QStringList{QStringLiteral("Kassette 1  [ 180 ] Minuten frei."),
                                                  QStringLiteral("Kassette 2  [ 140 ] Minuten frei.")}));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestAufnahmetimerseite t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_aufnahmetimerseite.moc"
