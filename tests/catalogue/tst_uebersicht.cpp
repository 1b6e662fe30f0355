// The film overview driven through a real main window: films entered on the input
// page in each order, the search by title, the date filter with the print button, and
// the jump from a film to its cassette.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <catalogue/eingabeseite.h>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/uebersichtseite.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <memory>
#include <store/dataset.h>
#include <store/dates.h>
#include <ui/radiogroup.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

// One main window with an open, new collection, shown and active.
struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    QString program, dir;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name)
    {
        program = freshDir(name + QStringLiteral("-programm"));
        dir = freshDir(name);
        w = std::make_unique<THauptformular>(program, ui, clock);
        testing_support::zeigenUndAktivieren(*w);
        testing_support::neueSammlungAnlegen(*w, ui, dir);
        ui.clear();
    }

    QTabWidget* seiten() const { return kind<QTabWidget>(w, "Pagecontrol"); }
    QWidget* eingabe() const { return kind<QWidget>(w, "Tab_Eingabe"); }
    QWidget* uebersichtSeite() const { return kind<QWidget>(w, "Tab_Uebersicht"); }
    QTableView* grid() const { return kind<QTableView>(w, "DBGrid_Filmuebersicht"); }
    RadioGroup* sortieren() const { return kind<RadioGroup>(w, "RadioGroup_Sortieren"); }
    QLineEdit* suchen() const { return kind<QLineEdit>(w, "Edit_Suchen"); }
    QDateEdit* picker() const { return kind<QDateEdit>(w, "DateTimePicker_Filter"); }
    QPushButton* drucken() const { return kind<QPushButton>(w, "BitBtn_Drucken"); }
    store::Dataset& kassetten() const { return *kind<store::Dataset>(w, "Table_Kassetten"); }
    store::Dataset& filme() const { return *kind<store::Dataset>(w, "Table_Filme"); }
    store::Dataset& uebersicht() const { return *kind<store::Dataset>(w, "Table_Filmuebersicht"); }

    void kassetten(int anzahl)
    {
        for (int i = 0; i < anzahl; ++i) {
            ui.dialogAnswers.push_back([](QDialog& d) {
                auto& h = dynamic_cast<THinzufuegenformular&>(d);
                h.ComboBox_Spielzeit->setCurrentIndex(
                    h.ComboBox_Spielzeit->findText(QStringLiteral("E - 240")));
                h.BitBtn_Ok->click();
                return h.result();
            });
            kind<QPushButton>(w, "BitBtn_NeueKassette")->click();
        }
    }
    // A film stored on the input page on cassette `nummer`.
    void film(int nummer, const QString& titel, int laenge, const QString& genre)
    {
        seiten()->setCurrentWidget(eingabe());
        eingabeseite()->Kassette_Zeigen(nummer);
        filme().append();
        filme().setString(QStringLiteral("Filmname"), titel);
        filme().setInteger(QStringLiteral("Filmlaenge"), laenge);
        filme().setString(QStringLiteral("Genre"), genre);
        filme().post();
    }
    void zeigeUebersicht() { seiten()->setCurrentWidget(uebersichtSeite()); }
    QRadioButton* alleFilmeKnopf() const { return kind<QRadioButton>(w, "RadioButton_AlleFilme"); }
    Eingabeseite* eingabeseite() const { return kind<Eingabeseite>(w, "Tab_Eingabe"); }

    // Titles in the order the grid lists them.
    QStringList titel() const
    {
        QStringList t;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            t << grid()->model()->index(r, 1).data().toString();
        return t;
    }
    QString aktuellerTitel() const { return uebersicht().asString(QStringLiteral("Filmname")); }
    void tippe(const QString& text)
    {
        suchen()->setFocus();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, suchen(), static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
    void suchtextLeeren()
    {
        suchen()->clear();
        QApplication::processEvents();
    }
    void waehle(int item) { sortieren()->button(item)->click(); }
    void doppelklick(int row)
    {
        const QModelIndex i = grid()->model()->index(row, 1);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(i).center());
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(i).center());
    }
};

// "A|B|C" as a list of titles.
QStringList liste(const char* titel)
{
    return QString::fromUtf8(titel).split(QLatin1Char('|'));
}

} // namespace

class TestUebersicht : public QObject
{
    Q_OBJECT
private slots:
    void reihenfolgenUndNeueFilme();
    void sucheNachTitel();
    void datumsfilter();
    void sprungZurKassette();
    void leereUebersicht();
};

void TestUebersicht::reihenfolgenUndNeueFilme()
{
    Fenster f(QStringLiteral("reihenfolgen"));
    f.kassetten(3);
    f.film(2, QStringLiteral("Zorro"), 90, QStringLiteral("Western"));
    f.film(1, QStringLiteral("Matrix"), 130, QStringLiteral("Science Fiction"));
    f.film(3, QStringLiteral("Heat"), 160, QStringLiteral("Krimi"));
    f.film(1, QStringLiteral("Alien"), 110, QStringLiteral("Science Fiction"));
    f.film(2, QStringLiteral("Django"), 95, QStringLiteral("Western"));

    // The grid as designed, and the start state.
    QVERIFY(!f.drucken()->isEnabled());
    QCOMPARE(f.grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kassette"));
    QCOMPARE(f.grid()->columnWidth(0), 55);
    QCOMPARE(f.grid()->columnWidth(1), 187);
    QCOMPARE(f.grid()->columnWidth(2), 65);
    QCOMPARE(f.grid()->columnWidth(3), 123);

    QCOMPARE(f.grid()->toolTip(), QStringLiteral("Übersicht über alle Filme"));
    QCOMPARE(f.grid()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.sortieren()->itemIndex(), 0);

    f.zeigeUebersicht();
    QVERIFY(f.drucken()->isEnabled());
    QCOMPARE(f.grid()->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                 Qt::AlignHCenter,
             Qt::AlignHCenter);
    // By cassette, and within a cassette in the order the films were entered.
    QCOMPARE(f.titel(), liste("Matrix|Alien|Zorro|Django|Heat"));
    f.waehle(1);
    QCOMPARE(f.titel(), liste("Alien|Django|Heat|Matrix|Zorro"));
    f.waehle(2);
    QCOMPARE(f.titel(), liste("Zorro|Django|Alien|Matrix|Heat"));
    // Genre, then the title within one genre.
    f.waehle(3);
    QCOMPARE(f.titel(), liste("Heat|Alien|Matrix|Django|Zorro"));

    // A film stored while the overview is hidden is there at the next showing, in its
    // place, also where it sorts first; the order, search text and filter stay.
    f.waehle(1);
    f.tippe(QStringLiteral("Ma"));
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Matrix"));
    f.film(3, QStringLiteral("Abyss"), 140, QStringLiteral("Science Fiction"));
    QCOMPARE(f.uebersicht().recordCount(), 5); // not read until the page is shown
    f.zeigeUebersicht();
    QCOMPARE(f.titel(), liste("Abyss|Alien|Django|Heat|Matrix|Zorro"));
    QCOMPARE(f.grid()->model()->index(0, 0).data().toString(), QStringLiteral("3"));
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Matrix"));
    QCOMPARE(f.grid()->currentIndex().row(), 4);
    QCOMPARE(f.sortieren()->itemIndex(), 1);
    QCOMPARE(f.suchen()->text(), QStringLiteral("Ma"));
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestUebersicht::sucheNachTitel()
{
    Fenster f(QStringLiteral("suche"));
    f.kassetten(2);
    f.film(1, QStringLiteral("Zorro"), 90, QStringLiteral("Western"));
    f.film(1, QStringLiteral("mädchen in Uniform"), 90, QStringLiteral("Drama"));
    f.film(2, QStringLiteral("Lola rennt"), 80, QStringLiteral("Drama"));
    f.film(2, QStringLiteral("Matrix"), 130, QStringLiteral("Science Fiction"));
    f.film(2, QStringLiteral("Alien"), 110, QStringLiteral("Science Fiction"));
    f.zeigeUebersicht();
    QCOMPARE(f.sortieren()->itemIndex(), 0);

    // "Ma" in the cassette order: title order, the first title >= "Ma" (case and
    // accents folded), the sort choice on "...Film&name", the grid on the film.
    struct Fall
    {
        QString text, erwartet;
    };
    const QList<Fall> faelle = {{QStringLiteral("Ma"), QStringLiteral("mädchen in Uniform")},
                                {QStringLiteral("ma"), QStringLiteral("mädchen in Uniform")},
                                {QStringLiteral("Mä"), QStringLiteral("mädchen in Uniform")},
                                {QStringLiteral("MAT"), QStringLiteral("Matrix")},
                                {QStringLiteral("Zz"), QStringLiteral("Zorro")}, // none after: the last
                                {QStringLiteral("0"), QStringLiteral("Alien")}};
    for (const Fall& fall : faelle) {
        f.waehle(0);
        f.suchtextLeeren();
        f.waehle(0);
        QCOMPARE(f.uebersicht().indexFieldNames(), QStringLiteral("Zu_Kassette"));
        f.tippe(fall.text);
        QCOMPARE(f.uebersicht().indexFieldNames(), QStringLiteral("Filmname"));
        QCOMPARE(f.sortieren()->itemIndex(), 1);
        QCOMPARE(f.aktuellerTitel(), fall.erwartet);
        QCOMPARE(f.grid()->model()->index(f.grid()->currentIndex().row(), 1).data().toString(),
                 fall.erwartet);
        QVERIFY(f.grid()->selectionModel()->isRowSelected(f.grid()->currentIndex().row(), {}));
        QCOMPARE(f.grid()->selectionModel()->selectedRows().size(), 1);
    }
    // An emptied search goes to the first film.
    f.suchtextLeeren();
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Alien"));

    // The text stays when the order changes; the next keystroke orders by title again.
    f.tippe(QStringLiteral("L"));
    f.waehle(3);
    QCOMPARE(f.suchen()->text(), QStringLiteral("L"));
    QCOMPARE(f.uebersicht().indexFieldNames(), QStringLiteral("Genre;Filmname"));
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Lola rennt"));
    f.tippe(QStringLiteral("o"));
    QCOMPARE(f.sortieren()->itemIndex(), 1);
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Lola rennt"));
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestUebersicht::datumsfilter()
{
    Fenster f(QStringLiteral("datumsfilter"));
    const QDate heute = f.clock.today();
    // The picker: today - 14, a four-digit year, a calendar, hidden.
    QCOMPARE(f.picker()->date(), heute.addDays(-14));
    QVERIFY(f.picker()->displayFormat().contains(QStringLiteral("yyyy")));
    QCOMPARE(f.picker()->text(), heute.addDays(-14).toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(f.picker()->calendarPopup());
    QVERIFY(f.picker()->isHidden());
    QVERIFY(f.alleFilmeKnopf()->isChecked());
    // The filter text carries the four-digit year that the engine reads back.
    QCOMPARE(Uebersichtzustand::filterText(QDate(1998, 5, 19)), QStringLiteral("DATUM >= 19.05.1998"));
    QCOMPARE(Uebersichtzustand::filterText(QDate(2031, 1, 2)), QStringLiteral("DATUM >= 02.01.2031"));

    f.kassetten(1);
    f.film(1, QStringLiteral("Heute"), 90, QStringLiteral("Drama"));
    f.clock.current = f.clock.current.addDays(-30);
    f.film(1, QStringLiteral("Alt"), 90, QStringLiteral("Drama"));
    f.clock.current = f.clock.current.addDays(30);
    f.zeigeUebersicht();
    QCOMPARE(f.titel(), liste("Heute|Alt"));

    // New films since today - 14: the old one is left out.
    kind<QRadioButton>(f.w, "RadioButton_NeueFilme")->click();
    QVERIFY(f.picker()->isVisible());
    QCOMPARE(f.uebersicht().filter(), QStringLiteral("DATUM >= ") + store::formatDate(heute.addDays(-14)));
    QVERIFY(f.uebersicht().filtered());
    QCOMPARE(f.titel(), liste("Heute"));
    QVERIFY(f.drucken()->isEnabled());
    // A film entered today passes a filter dated today.
    f.picker()->setDate(heute);
    QCOMPARE(f.titel(), liste("Heute"));
    QVERIFY(f.drucken()->isEnabled());
    // A date after the newest film: nothing listed, nothing to print.
    f.picker()->setDate(heute.addDays(1));
    QCOMPARE(f.titel(), QStringList());
    QVERIFY(!f.drucken()->isEnabled());
    // Across page changes the choice and the date stay; a new showing re-reads.
    f.seiten()->setCurrentWidget(f.eingabe());
    f.zeigeUebersicht();
    QVERIFY(f.uebersicht().filtered());
    QCOMPARE(f.picker()->date(), heute.addDays(1));
    QVERIFY(!f.drucken()->isEnabled());
    // All films again.
    f.alleFilmeKnopf()->click();
    QVERIFY(f.picker()->isHidden());
    QVERIFY(!f.uebersicht().filtered());
    QCOMPARE(f.titel(), liste("Heute|Alt"));
    QVERIFY(f.drucken()->isEnabled());
    // A change of the hidden picker does not filter.
    f.picker()->setDate(heute.addDays(-100));
    QVERIFY(!f.uebersicht().filtered());
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestUebersicht::sprungZurKassette()
{
    Fenster f(QStringLiteral("sprung"));
    f.kassetten(8);
    f.film(3, QStringLiteral("Alien"), 110, QStringLiteral("Science Fiction"));
    f.film(7, QStringLiteral("Brazil"), 140, QStringLiteral("Satire"));
    f.film(7, QStringLiteral("Casablanca"), 100, QStringLiteral("Drama"));
    f.film(8, QStringLiteral("Dune"), 130, QStringLiteral("Science Fiction"));
    // Cassette 7 is lent: its lending button must be off after the jump.
    f.kassetten().locate(7);
    f.kassetten().edit();
    f.kassetten().setBoolean(QStringLiteral("Verliehen"), true);
    f.kassetten().post();
    f.eingabeseite()->Kassette_Zeigen(1);

    f.zeigeUebersicht();
    f.waehle(1);
    f.doppelklick(2); // Casablanca
    QCOMPARE(f.seiten()->currentWidget(), f.eingabe());
    QCOMPARE(f.kassetten().asInteger(QStringLiteral("Nummer")), 7);
    QCOMPARE(f.filme().recordCount(), 2);
    QCOMPARE(f.filme().asInteger(QStringLiteral("Zu_Kassette")), 7);
    const NavigatorZustand z = f.eingabeseite()->regeln().Navigator();
    QVERIFY(z.zurueck && z.vor && !z.verleihen);
    QCOMPARE(kind<QToolButton>(f.w, "BitBtn_Vorherige")->isEnabled(), true);
    QCOMPARE(kind<QToolButton>(f.w, "BitBtn_Naechste")->isEnabled(), true);
    QCOMPARE(kind<QPushButton>(f.w, "BitBtn_Verleihen")->isEnabled(), false);

    // Enter on a row: the film on cassette 8, the last one.
    f.zeigeUebersicht();
    f.grid()->setFocus();
    f.grid()->setCurrentIndex(f.grid()->model()->index(3, 1)); // Dune
    QCOMPARE(f.aktuellerTitel(), QStringLiteral("Dune"));
    QTest::keyClick(f.grid(), Qt::Key_Return);
    QCOMPARE(f.seiten()->currentWidget(), f.eingabe());
    QCOMPARE(f.kassetten().asInteger(QStringLiteral("Nummer")), 8);
    QCOMPARE(kind<QToolButton>(f.w, "BitBtn_Naechste")->isEnabled(), false);
    QCOMPARE(kind<QToolButton>(f.w, "BitBtn_Letzte")->isEnabled(), false);
    QCOMPARE(kind<QPushButton>(f.w, "BitBtn_Verleihen")->isEnabled(), true);
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestUebersicht::leereUebersicht()
{
    Fenster f(QStringLiteral("leer"));
    f.kassetten(2);
    f.eingabeseite()->Kassette_Zeigen(2);
    f.ui.clear();
    f.zeigeUebersicht();
    QVERIFY(!f.drucken()->isEnabled());
    f.tippe(QStringLiteral("Ma"));
    QCOMPARE(f.uebersicht().recordCount(), 0);
    QCOMPARE(f.sortieren()->itemIndex(), 1);
    QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, QPoint(40, 10));
    f.grid()->setFocus();
    QTest::keyClick(f.grid(), Qt::Key_Return);
    QCOMPARE(f.seiten()->currentWidget(), f.uebersichtSeite());
    QCOMPARE(f.kassetten().asInteger(QStringLiteral("Nummer")), 2);
    kind<QRadioButton>(f.w, "RadioButton_NeueFilme")->click();
    QVERIFY(!f.drucken()->isEnabled());
    QCOMPARE(f.ui.errors(), QStringList());
    QCOMPARE(f.ui.shown.size(), 0);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestUebersicht t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_uebersicht.moc"
