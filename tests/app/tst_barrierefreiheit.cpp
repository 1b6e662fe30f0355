// What a screen reader gets from the main window: the text a named label shows, the
// radio buttons chosen without a click, the planner's times as the grid shows them, and
// a grid of many rows that a walk of the window gets through at once.

#include <QAbstractTableModel>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <app/hauptformular.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <lending/meldungsformular.h>
#include <memory>
#include <store/collection.h>
#include <store/dataset.h>
#include <ui/datasetgrid.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

// 50,000 rows of three columns, worked out on request.
class VieleZeilen : public QAbstractTableModel
{
public:
    int zeilen = 50000;
    int rowCount(const QModelIndex& = {}) const override { return zeilen; }
    int columnCount(const QModelIndex& = {}) const override { return 3; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("%1/%2").arg(i.row()).arg(i.column()))
                                       : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        return o == Qt::Horizontal && role == Qt::DisplayRole
                   ? QVariant(QStringLiteral("Spalte %1").arg(section))
                   : QVariant();
    }
    void weniger(int n)
    {
        beginResetModel();
        zeilen = n;
        endResetModel();
    }
};

// The main window over a collection with a cassette, a film, a loan and a recording.
struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name)
    {
        w = std::make_unique<THauptformular>(freshDir(name + QStringLiteral("-programm")), ui, clock);
        testing_support::zeigenUndAktivieren(*w);
        testing_support::neueSammlungAnlegen(*w, ui, freshDir(name));
        store::Collection& c = w->collection();
        c.kassetten().append();
        c.kassetten().setInteger(QStringLiteral("Spielzeit"), 180);
        c.kassetten().post();
        c.filme().append();
        c.filme().setString(QStringLiteral("Filmname"), QStringLiteral("Alien"));
        c.filme().setInteger(QStringLiteral("Filmlaenge"), 90);
        c.filme().post();
        c.verliehen().append();
        c.verliehen().setInteger(QStringLiteral("Kassette"), 1);
        c.verliehen().setDate(QStringLiteral("Datum"), clock.today());
        c.verliehen().setString(QStringLiteral("An"), QStringLiteral("Anna"));
        c.verliehen().setBoolean(QStringLiteral("Anzeigen"), false);
        c.verliehen().post();
        c.aufnahmetimer().append();
        c.aufnahmetimer().setString(QStringLiteral("Filmname"), QStringLiteral("Spätfilm"));
        c.aufnahmetimer().setDate(QStringLiteral("Datum"), clock.today().addDays(30));
        c.aufnahmetimer().setTime(QStringLiteral("Beginn"), QTime(20, 15));
        c.aufnahmetimer().setTime(QStringLiteral("Ende"), QTime(22, 0));
        c.aufnahmetimer().post();
        ui.clear();
    }

    void seite(const char* name)
    {
        kind<QTabWidget>(w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(w, name));
        QApplication::processEvents();
    }
};

QString gelesen(QObject* o, QAccessible::Text was)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(was) : QStringLiteral("<keine Schnittstelle>");
}

// Every label whose accessible name is not its caption gives its text as description.
QStringList verborgeneTexte(const QWidget& oberstes)
{
    QStringList fehlt;
    for (QLabel* l : oberstes.findChildren<QLabel*>()) {
        QString text = Qt::mightBeRichText(l->text())
                           ? QTextDocumentFragment::fromHtml(l->text()).toPlainText()
                           : l->text();
        QString beschriftung = l->text();
        beschriftung.remove(QLatin1Char('&'));
        if (text.isEmpty() || l->accessibleName().isEmpty() || l->accessibleName() == beschriftung)
            continue;
        if (gelesen(l, QAccessible::Description) != text)
            fehlt << l->objectName() + QStringLiteral(": ") + gelesen(l, QAccessible::Description);
    }
    return fehlt;
}

} // namespace

class TestBarrierefreiheit : public QObject
{
    Q_OBJECT
private slots:
    void benannteTexteWerdenGelesen()
    {
        Fenster f(QStringLiteral("texte"));
        for (const char* seite : {"TabSheet2", "Tab_Eingabe"})
            f.seite(seite);
        QVERIFY(!kind<QLabel>(f.w, "DBText_Kassette")->text().isEmpty());
        QVERIFY(!kind<QLabel>(f.w, "Panel_Uhrzeit")->text().isEmpty());
        QCOMPARE(verborgeneTexte(*f.w), QStringList());

        TMeldungsformular formular(nullptr, &f.clock);
        Meldungsfenster fenster(formular, f.ui);
        QStringList imFenster;
        f.ui.dialogAnswers.push_back([&](QDialog& d) {
            imFenster = verborgeneTexte(d);
            return int(QDialog::Rejected);
        });
        fenster.Erinnerung_Zeigen(QStringLiteral("Anna hat die Kassette Nr. 1"), 7);
        QCOMPARE(imFenster, QStringList());
        QCOMPARE(gelesen(formular.Label3, QAccessible::Description), formular.Label3->text());
    }

    void radioKnoepfeOhneKlick_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("datenmenge");
        QTest::addColumn<QString>("ordnung");
        QTest::newRow("overview by title")
            << QStringLiteral("Tab_Uebersicht") << QStringLiteral("RadioGroup_Sortieren1")
            << QStringLiteral("Table_Filmuebersicht") << QStringLiteral("Filmname");
        QTest::newRow("loans by borrower")
            << QStringLiteral("Tab_Verleihmanager") << QStringLiteral("RadioGroup_Sortieren22")
            << QStringLiteral("Table_Verliehen") << QStringLiteral("An");
        QTest::newRow("new films since")
            << QStringLiteral("Tab_Uebersicht") << QStringLiteral("RadioButton_NeueFilme")
            << QStringLiteral("Table_Filmuebersicht") << QString();
    }
    // A radio button chosen through a screen reader's toggle action (which sends no
    // click) does what a click does.
    void radioKnoepfeOhneKlick()
    {
        QFETCH(QString, seite);
        QFETCH(QString, knopf);
        QFETCH(QString, datenmenge);
        QFETCH(QString, ordnung);
        Fenster f(QStringLiteral("radio"));
        f.seite(seite.toLatin1().constData());
        auto* k = f.w->findChild<QRadioButton*>(knopf);
        QVERIFY(k && !k->isChecked());
        QAccessible::queryAccessibleInterface(k)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        QVERIFY(k->isChecked());
        auto* ds = f.w->findChild<store::Dataset*>(datenmenge);
        if (ordnung.isEmpty())
            QVERIFY(ds->filtered() && kind<QDateEdit>(f.w, "DateTimePicker_Filter")->isVisibleTo(f.w.get()));
        else
            QCOMPARE(ds->indexFieldNames(), ordnung);
    }

    // A grid offers the rows in view as children and every row through its table: each
    // child is found again at its own index, the current cell far down is a child once
    // scrolled to, and rows that a reset took away are no longer offered.
    void grosseTabelle()
    {
        FakeInteraction ui;
        VieleZeilen model;
        DatasetGrid grid(ui, true);
        grid.setModel(&model);
        grid.resize(400, 300);
        grid.show();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&grid);
        QAccessibleTableInterface* t = a->tableInterface();
        QCOMPARE(t->rowCount(), 50000);
        QVERIFY2(a->childCount() > 3 && a->childCount() < 3 * 40,
                 qPrintable(QString::number(a->childCount())));
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface* kind = a->child(i);
            QVERIFY(kind && kind->parent() == a);
            QCOMPARE(a->indexOfChild(kind), i);
        }
        QCOMPARE(a->child(0)->text(QAccessible::Name), QStringLiteral("Spalte 0"));
        QCOMPARE(a->child(a->childCount()), nullptr);

        grid.setCurrentIndex(model.index(49990, 2));
        QCOMPARE(t->cellAt(49990, 2)->text(QAccessible::Name), QStringLiteral("49990/2"));
        QAccessibleInterface* aktuell = a->focusChild();
        QCOMPARE(aktuell, t->cellAt(49990, 2));
        QCOMPARE(a->child(a->indexOfChild(aktuell)), aktuell);

        model.weniger(10);
        QCOMPARE(t->cellAt(49990, 2), nullptr);
        QCOMPARE(t->cellAt(9, 1)->text(QAccessible::Name), QStringLiteral("9/1"));
    }

    // The planner's times read as the grid shows them, without seconds.
    void zeitenImPlaner()
    {
        Fenster f(QStringLiteral("planer"));
        f.seite("Tab_Aufnahmetimer");
        auto* grid = kind<DatasetGrid>(f.w, "DBGrid_ATimer");
        QAccessibleTableInterface* tabelle = QAccessible::queryAccessibleInterface(grid)->tableInterface();
        QCOMPARE(tabelle->cellAt(0, 3)->text(QAccessible::Name), QStringLiteral("20:15"));
        QCOMPARE(tabelle->cellAt(0, 4)->text(QAccessible::Name), QStringLiteral("22:00"));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestBarrierefreiheit t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_barrierefreiheit.moc"
