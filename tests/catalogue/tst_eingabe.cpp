// The input page driven through a real main window: cassette moves and new cassettes,
// "Gehe zu Nr...", the film grid with its keys, the capacity rules, the play-length
// change and the film details; every result is read back from the table files.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <catalogue/eingabeseite.h>
#include <catalogue/filminfoformular.h>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/spielzeitformular.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <memory>
#include <store/changes.h>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <ui/datasetgrid.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

using Row = QVariantMap;

// All rows of a table file in key order, read through a dataset of their own (the
// engine keeps its files to itself while the window has them open).
QList<Row> readTable(const QString& dir, const QString& file, const QString& field = QString(),
                     const QVariant& equals = {})
{
    QList<Row> rows;
    store::Dataset ds;
    ds.setDatabaseName(dir);
    ds.setTableName(file);
    ds.open();
    for (ds.first(); !ds.isEmpty() && !ds.eof(); ds.next()) {
        if (!field.isEmpty() && ds.value(field) != equals)
            continue;
        Row r;
        for (const QString& name : ds.fieldNames())
            r.insert(name, ds.value(name));
        rows << r;
        if (ds.currentRow() == ds.recordCount() - 1)
            break;
    }
    return rows;
}

// One main window with an open, new collection, shown and active.
struct Seite
{
    FakeInteraction ui;
    FixedClock clock;
    QString program, dir;
    std::unique_ptr<THauptformular> w;

    explicit Seite(const QString& name)
    {
        program = freshDir(name + QStringLiteral("-programm"));
        dir = freshDir(name);
        w = std::make_unique<THauptformular>(program, ui, clock);
        testing_support::zeigenUndAktivieren(*w);
        testing_support::neueSammlungAnlegen(*w, ui, dir);
        ui.clear();
    }

    QTableView* grid() const { return kind<QTableView>(w, "DBGrid_Filme"); }
    store::Dataset& filme() const { return *kind<store::Dataset>(w, "Table_Filme"); }
    store::Dataset& kassetten() const { return *kind<store::Dataset>(w, "Table_Kassetten"); }

    QList<Row> kassettenAufPlatte() const { return readTable(dir, kassetten().tableName()); }
    Row kassette(int nummer) const
    {
        const QList<Row> r = readTable(dir, kassetten().tableName(), QStringLiteral("Nummer"), nummer);
        return r.isEmpty() ? Row() : r.first();
    }
    QList<Row> filmeVon(int nummer) const
    {
        return readTable(dir, filme().tableName(), QStringLiteral("Zu_Kassette"), nummer);
    }
    int aktuelleNummer() const { return kassetten().asInteger(QStringLiteral("Nummer")); }

    // Adds a cassette through the new-cassette dialog, picking `entry`. The dialog
    // must open with no entry chosen and OK disabled.
    bool neueKassette(const QString& entry, bool abbrechen = false)
    {
        bool frisch = false;
        ui.dialogAnswers.push_back([entry, abbrechen, &frisch](QDialog& d) {
            auto& h = dynamic_cast<THinzufuegenformular&>(d);
            h.show();
            frisch = h.ComboBox_Spielzeit->currentIndex() == -1 && !h.BitBtn_Ok->isEnabled();
            h.ComboBox_Spielzeit->setCurrentIndex(h.ComboBox_Spielzeit->findText(entry));
            (abbrechen ? h.BitBtn_Abbruch : h.BitBtn_Ok)->click();
            return h.result();
        });
        kind<QPushButton>(w, "BitBtn_NeueKassette")->click();
        aktivieren();
        return frisch;
    }

    // The play-length dialog, answered with `entry` (empty: cancelled).
    void spielzeitAendern(const QString& entry)
    {
        ui.dialogAnswers.push_back([entry](QDialog& d) {
            auto& s = dynamic_cast<TSpielzeit_Formular&>(d);
            s.show();
            if (entry.isEmpty()) {
                s.BitBtn_Abbruch->click();
            } else {
                s.ComboBox_Spielzeiten->setCurrentIndex(s.ComboBox_Spielzeiten->findText(entry));
                s.BitBtn_Ok->click();
            }
            return s.result();
        });
        kind<QPushButton>(w, "BitBtn_SpielzeitAendern")->click();
        aktivieren();
    }

    // The main window active again after a dialog that the test showed.
    void aktivieren()
    {
        QApplication::processEvents();
        if (QApplication::activeWindow() != w.get()) {
            w->activateWindow();
            if (!QTest::qWaitForWindowActive(w.get()))
                qWarning("window not active");
        }
    }

    // --- Keyboard and mouse on the film grid ---------------------------------------------
    QWidget* fokus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : grid(); }
    void taste(int key) { QTest::keyClick(fokus(), static_cast<Qt::Key>(key)); }
    void tippe(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, fokus(), static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
    void gridFokus()
    {
        aktivieren();
        grid()->setFocus();
        QApplication::processEvents();
    }
    void zelle(int row, int column)
    {
        const QModelIndex i = grid()->model()->index(row, column);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(i).center());
    }
    void zelleTippen(int row, int column, const QString& text)
    {
        zelle(row, column);
        tippe(text);
    }
    // A new film through the grid: Insert, the cells typed, Enter.
    void film(const QString& titel, const QString& laenge, const QString& genre = QString())
    {
        gridFokus();
        if (grid()->model()->rowCount() > 0) {
            QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
            taste(Qt::Key_Down); // past the last row: a new row
        } else {
            QTest::keyClick(grid(), Qt::Key_Insert);
        }
        const int row = filme().currentRow();
        if (!titel.isEmpty())
            zelleTippen(row, 0, titel);
        if (!laenge.isEmpty())
            zelleTippen(row, 1, laenge);
        if (!genre.isEmpty())
            zelleTippen(row, 2, genre);
        taste(Qt::Key_Return);
    }
    void gridVerlassen()
    {
        kind<QLineEdit>(w, "Edit_Direkt")->setFocus();
        QApplication::processEvents();
    }
    QStringList meldungen() const { return ui.messages(); }
};

// Row i of a list, or an empty row (so that a missing row fails a comparison).
Row at(const QList<Row>& rows, int i)
{
    return i >= 0 && i < rows.size() ? rows.at(i) : Row();
}

QVariant v(const Row& r, const char* field)
{
    return r.value(QLatin1String(field));
}

} // namespace

class TestEingabe : public QObject
{
    Q_OBJECT
private slots:
    void navigatorUndNeueKassetten();
    void geheZuNummer();
    void kapazitaetBeimEintragen();
    void riesigeLaengeUndLoeschklick();
    void bearbeiteterErsterFilm();
    void titelLaengeUndNeueZeilen();
    void escapeUndVerlassen();
    void kaufvideoUndLoeschen();
    void mehrAls255Filme();
    void spielzeitAendern();
    void filmdetails();
    void genreWieGetippt_data();
    void genreWieGetippt();
};

void TestEingabe::navigatorUndNeueKassetten()
{
    Seite s(QStringLiteral("navigator"));
    auto& w = *s.w;
    const auto moves = [&] {
        return QList<bool>{kind<QToolButton>(w, "BitBtn_Erste")->isEnabled(),
                           kind<QToolButton>(w, "BitBtn_Vorherige")->isEnabled(),
                           kind<QToolButton>(w, "BitBtn_Naechste")->isEnabled(),
                           kind<QToolButton>(w, "BitBtn_Letzte")->isEnabled()};
    };
    const QList<bool> none{false, false, false, false};

    // No cassette: nothing can be used, the grid is read-only.
    QCOMPARE(moves(), none);
    QVERIFY(!kind<QPushButton>(w, "BitBtn_FreienPlatzSuchen")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_SpielzeitAendern")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Labeldrucken")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Filmloeschen")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Verleihen")->isEnabled());
    QVERIFY(!kind<DatasetGrid>(w, "DBGrid_Filme")->isEditable());
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    QTest::keyClick(s.grid(), Qt::Key_A);
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);

    // Cancelling adds nothing.
    QVERIFY(s.neueKassette(QStringLiteral("E - 240"), true));
    QVERIFY(s.kassettenAufPlatte().isEmpty());

    // The first cassette.
    QVERIFY(s.neueKassette(QStringLiteral("E - 240")));
    QCOMPARE(s.kassettenAufPlatte().size(), 1);
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Posi"), QVariant(1));
    QCOMPARE(v(k, "Spielzeit"), QVariant(240));
    QCOMPARE(v(k, "Belegt"), QVariant(0));
    QCOMPARE(v(k, "Frei"), QVariant(240));
    QCOMPARE(v(k, "Original"), QVariant(false));
    QCOMPARE(v(k, "Verliehen"), QVariant(false));
    QCOMPARE(moves(), none);
    QVERIFY(kind<DatasetGrid>(w, "DBGrid_Filme")->isEditable());
    QVERIFY(kind<QPushButton>(w, "BitBtn_Verleihen")->isEnabled());
    QVERIFY(kind<QPushButton>(w, "BitBtn_SpielzeitAendern")->isEnabled());
    QVERIFY(kind<QPushButton>(w, "BitBtn_FreienPlatzSuchen")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Labeldrucken")->isEnabled());
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Filmloeschen")->isEnabled());
    QCOMPARE(kind<QLabel>(w, "DBText_Kassette")->text(), QStringLiteral("1"));
    QCOMPARE(kind<QLineEdit>(w, "DBEdit_SpielzeitInfo")->text(), QStringLiteral("240"));
    QCOMPARE(kind<QLineEdit>(w, "DBEdit_FreiInfo")->text(), QStringLiteral("240"));

    // A bought tape; the dialog again starts with no choice.
    QVERIFY(s.neueKassette(QStringLiteral("Kaufvideo")));
    k = s.kassette(2);
    QCOMPARE(v(k, "Posi"), QVariant(2));
    QCOMPARE(v(k, "Spielzeit"), QVariant(0));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QCOMPARE(v(k, "Original"), QVariant(true));
    QVERIFY(!v(k, "Belegt").isValid());
    QVERIFY(!v(k, "Nullfilme").isValid());
    QCOMPARE(moves(), (QList<bool>{true, true, false, false}));
    QCOMPARE(kind<QLabel>(w, "DBText_Kassette")->text(), QStringLiteral("2"));

    QVERIFY(s.neueKassette(QStringLiteral("E - 180")));
    QCOMPARE(s.aktuelleNummer(), 3);
    kind<QToolButton>(w, "BitBtn_Vorherige")->click();
    QCOMPARE(s.aktuelleNummer(), 2);
    QCOMPARE(moves(), (QList<bool>{true, true, true, true}));
    kind<QToolButton>(w, "BitBtn_Letzte")->click();
    QCOMPARE(s.aktuelleNummer(), 3);
    QCOMPARE(moves(), (QList<bool>{true, true, false, false}));
    kind<QToolButton>(w, "BitBtn_Erste")->click();
    QCOMPARE(s.aktuelleNummer(), 1);
    QCOMPARE(moves(), (QList<bool>{false, false, true, true}));
    kind<QToolButton>(w, "BitBtn_Naechste")->click();
    QCOMPARE(s.aktuelleNummer(), 2);
    QCOMPARE(kind<QLineEdit>(w, "DBEdit_SpielzeitInfo")->text(), QStringLiteral("0"));

    // A hand-edited entry whose minutes are no number: a clear message, nothing stored.
    kind<THinzufuegenformular>(w)->setSpielzeiten(
        QStringList{QStringLiteral("E - abc"), QStringLiteral("E - -20"), QStringLiteral("E - 180")});
    for (const QString& kaputt : {QStringLiteral("E - abc"), QStringLiteral("E - -20")}) {
        s.ui.clear();
        s.neueKassette(kaputt);
        QCOMPARE(s.kassettenAufPlatte().size(), 3);
        QCOMPARE(s.ui.shown.size(), 2);
        QCOMPARE(s.ui.shown.at(1).icon, MsgIcon::Error);
        QVERIFY(s.ui.shown.at(1).text.contains(kaputt));
    }
    QCOMPARE(s.kassetten().state(), store::Dataset::State::Browse);
    QCOMPARE(s.aktuelleNummer(), 2);

    // A lent cassette cannot be lent again; the next one can.
    s.kassetten().edit();
    s.kassetten().setBoolean(QStringLiteral("Verliehen"), true);
    s.kassetten().post();
    w.Refresh_Navigator();
    QVERIFY(!kind<QPushButton>(w, "BitBtn_Verleihen")->isEnabled());
    kind<QToolButton>(w, "BitBtn_Naechste")->click();
    QVERIFY(kind<QPushButton>(w, "BitBtn_Verleihen")->isEnabled());
}

void TestEingabe::geheZuNummer()
{
    Seite s(QStringLiteral("gehezu"));
    for (int i = 0; i < 5; ++i)
        s.neueKassette(QStringLiteral("E - 180"));
    s.ui.clear();
    QLineEdit* e = kind<QLineEdit>(s.w, "Edit_Direkt");
    e->setFocus();
    kind<QToolButton>(s.w, "BitBtn_Erste")->click();

    QTest::keyClicks(e, QStringLiteral("7"));
    QCOMPARE(s.aktuelleNummer(), 5);
    QVERIFY(kind<QToolButton>(s.w, "BitBtn_Erste")->isEnabled());
    QVERIFY(!kind<QToolButton>(s.w, "BitBtn_Letzte")->isEnabled());
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString());
    QCOMPARE(s.aktuelleNummer(), 1);
    QVERIFY(!kind<QToolButton>(s.w, "BitBtn_Erste")->isEnabled());
    QTest::keyClicks(e, QStringLiteral("0"));
    QCOMPARE(s.aktuelleNummer(), 1);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, QStringLiteral("3"));
    QCOMPARE(s.aktuelleNummer(), 3);
    QCOMPARE(e->text(), QStringLiteral("3")); // kept after the jump

    // Letters are dropped; the field holds three characters at most.
    QTest::keyClicks(e, QStringLiteral("a-, "));
    QCOMPARE(e->text(), QStringLiteral("3"));
    QCOMPARE(s.aktuelleNummer(), 3);
    QTest::keyClicks(e, QStringLiteral("0001"));
    QCOMPARE(e->text(), QStringLiteral("300"));
    QCOMPARE(s.aktuelleNummer(), 5);

    // Pasted text: its leading digits count; without them nothing moves. No error.
    e->clear();
    QCOMPARE(s.aktuelleNummer(), 1);
    e->insert(QStringLiteral("2a"));
    QCOMPARE(s.aktuelleNummer(), 2);
    e->clear();
    kind<QToolButton>(s.w, "BitBtn_Letzte")->click();
    e->insert(QStringLiteral("x1"));
    QCOMPARE(s.aktuelleNummer(), 5);
    e->selectAll();
    e->insert(QStringLiteral("1a"));
    QCOMPARE(s.aktuelleNummer(), 1);
    QVERIFY(s.ui.shown.isEmpty());
    QCOMPARE(s.kassettenAufPlatte().size(), 5);
}

void TestEingabe::kapazitaetBeimEintragen()
{
    Seite s(QStringLiteral("kapazitaet"));
    s.neueKassette(QStringLiteral("E - 180"));
    s.film(QStringLiteral("Erster"), QStringLiteral("90"), QStringLiteral("Drama"));
    s.film(QStringLiteral("Zweiter"), QStringLiteral("60"));
    QList<Row> f = s.filmeVon(1);
    QCOMPARE(f.size(), 2);
    QCOMPARE(v(at(f, 0), "Filmname"), QVariant(QStringLiteral("Erster")));
    QCOMPARE(v(at(f, 0), "Genre"), QVariant(QStringLiteral("Drama")));
    QCOMPARE(v(at(f, 0), "Datum"), QVariant(QDate(2026, 12, 8)));
    QCOMPARE(v(at(f, 0), "Bild_Vorhanden"), QVariant(false));
    QCOMPARE(v(at(f, 1), "Filmlaenge"), QVariant(60));
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(150));
    QCOMPARE(v(k, "Frei"), QVariant(30));
    QCOMPARE(v(k, "Nullfilme"), QVariant(false));
    QCOMPARE(kind<QLineEdit>(s.w, "DBEdit_FreiInfo")->text(), QStringLiteral("30"));
    QVERIFY(kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->isEnabled());
    QVERIFY(kind<QPushButton>(s.w, "BitBtn_Labeldrucken")->isEnabled());

    s.film(QStringLiteral("Dritter"), QStringLiteral("30"));
    k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(180));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QVERIFY(s.meldungen().isEmpty());

    // The full cassette: a film of one minute is stored with length 0 and the user told,
    // once the film and the recount are committed.
    bool offen = true;
    QList<Row> filmeBeiMeldung;
    s.ui.onMessage = [&](const Message&) {
        offen = store::changeOpen();
        filmeBeiMeldung = s.filmeVon(1);
    };
    s.film(QStringLiteral("Vierter"), QStringLiteral("1"));
    s.ui.onMessage = nullptr;
    QVERIFY(!offen);
    QCOMPARE(filmeBeiMeldung.size(), 4);
    QCOMPARE(v(at(filmeBeiMeldung, 3), "Filmlaenge"), QVariant(0));
    f = s.filmeVon(1);
    QCOMPARE(f.size(), 4);
    QCOMPARE(v(at(f, 3), "Filmname"), QVariant(QStringLiteral("Vierter")));
    QCOMPARE(v(at(f, 3), "Filmlaenge"), QVariant(0));
    k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(180));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QCOMPARE(v(k, "Nullfilme"), QVariant(true));
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Film passt nicht mehr auf die Kassette")});
    QCOMPARE(s.ui.shown.last().icon, MsgIcon::Error);
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Vierter"));

    // A length that is not a whole number: the engine's message, nothing stored.
    s.ui.clear();
    s.gridFokus();
    s.zelleTippen(1, 1, QStringLiteral("1x"));
    s.taste(Qt::Key_Return);
    QTRY_COMPARE(s.meldungen().size(), 1);
    QCOMPARE(s.meldungen().first(), QStringLiteral("'1x' ist kein gültiger Integerwert"));
    QCOMPARE(s.ui.shown.last().icon, MsgIcon::Error);
    QCOMPARE(v(at(s.filmeVon(1), 1), "Filmlaenge"), QVariant(60));
    // The cell opens again with the refused text; Escape undoes it.
    auto* zelle = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(zelle);
    QCOMPARE(zelle->text(), QStringLiteral("1x"));
    s.taste(Qt::Key_Escape);
    QCOMPARE(s.grid()->model()->index(1, 1).data().toString(), QStringLiteral("60"));
    // Refused while moving to another row: the message, and the other row untouched.
    s.ui.clear();
    s.zelleTippen(1, 1, QStringLiteral("7y"));
    s.zelle(2, 0);
    QTRY_COMPARE(s.meldungen().size(), 1);
    QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    QCOMPARE(s.grid()->model()->index(2, 0).data().toString(), QStringLiteral("Dritter"));
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Dritter"));
    QCOMPARE(v(at(s.filmeVon(1), 1), "Filmlaenge"), QVariant(60));
    // On a new row, Enter after a refused length stores nothing.
    s.ui.clear();
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    const int neu = s.filme().currentRow();
    s.zelleTippen(neu, 0, QStringLiteral("Halb"));
    s.zelleTippen(neu, 1, QStringLiteral("zehn"));
    s.taste(Qt::Key_Return);
    QTRY_COMPARE(s.meldungen().size(), 1);
    QCOMPARE(s.filmeVon(1).size(), 4);
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    s.taste(Qt::Key_Escape); // the refused cell
    s.taste(Qt::Key_Escape); // the row
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    QCOMPARE(s.filmeVon(1).size(), 4);

    // Deleting the only zero-length film clears the marker.
    s.zelle(3, 0);
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Vierter"));
    kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->click();
    QCOMPARE(s.filmeVon(1).size(), 3);
    QCOMPARE(v(s.kassette(1), "Nullfilme"), QVariant(false));
    QCOMPARE(v(s.kassette(1), "Frei"), QVariant(0));
}

void TestEingabe::riesigeLaengeUndLoeschklick()
{
    Seite s(QStringLiteral("riesig"));
    s.neueKassette(QStringLiteral("E - 180"));
    s.film(QStringLiteral("Erster"), QStringLiteral("90"));
    // The largest length the field holds, beside another film: it does not fit, and the
    // sums stay right.
    s.film(QStringLiteral("Riese"), QStringLiteral("2147483647"));
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Film passt nicht mehr auf die Kassette")});
    QList<Row> f = s.filmeVon(1);
    QCOMPARE(f.size(), 2);
    QCOMPARE(v(at(f, 1), "Filmlaenge"), QVariant(0));
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(90));
    QCOMPARE(v(k, "Frei"), QVariant(90));
    QCOMPARE(v(k, "Nullfilme"), QVariant(true));
    s.ui.clear();

    // A click on "Film löschen" discards a new film being typed, without storing it
    // first and without a message.
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_End, Qt::ControlModifier);
    s.taste(Qt::Key_Down);
    const int row = s.filme().currentRow();
    s.zelleTippen(row, 0, QStringLiteral("Weg"));
    s.zelleTippen(row, 1, QStringLiteral("500"));
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    auto* loeschen = kind<QPushButton>(s.w, "BitBtn_Filmloeschen");
    QTest::mouseClick(loeschen, Qt::LeftButton);
    QApplication::processEvents();
    QVERIFY2(s.meldungen().isEmpty(), qPrintable(s.meldungen().join(u'|')));
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    QCOMPARE(s.filmeVon(1).size(), 2);
    QCOMPARE(v(s.kassette(1), "Belegt"), QVariant(90));
}

void TestEingabe::bearbeiteterErsterFilm()
{
    Seite s(QStringLiteral("erster"));
    s.neueKassette(QStringLiteral("E - 180"));
    s.film(QStringLiteral("Lang"), QStringLiteral("90"));
    s.film(QStringLiteral("Kurz"), QStringLiteral("60"));
    s.ui.clear();
    s.gridFokus();
    s.zelle(0, 1);
    s.taste(Qt::Key_Backspace); // the editor opens on the cell's text
    s.tippe(QStringLiteral("150"));
    s.taste(Qt::Key_Return);
    const QList<Row> f = s.filmeVon(1);
    QCOMPARE(v(at(f, 0), "Filmname"), QVariant(QStringLiteral("Lang")));
    QCOMPARE(v(at(f, 0), "Filmlaenge"), QVariant(0));
    QCOMPARE(v(at(f, 1), "Filmlaenge"), QVariant(60));
    const Row k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(60));
    QCOMPARE(v(k, "Frei"), QVariant(120));
    QCOMPARE(v(k, "Nullfilme"), QVariant(true));
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Film passt nicht mehr auf die Kassette")});
    // The grid still stands on the edited film.
    QCOMPARE(s.grid()->currentIndex().row(), 0);
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Lang"));
}

void TestEingabe::titelLaengeUndNeueZeilen()
{
    Seite s(QStringLiteral("titel"));
    s.neueKassette(QStringLiteral("E - 240"));

    // Typing into the empty grid starts a film.
    s.gridFokus();
    s.zelle(0, 0);
    QTest::keyClick(s.grid(), 'S');
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    s.tippe(QStringLiteral("tart"));
    s.taste(Qt::Key_Tab); // on to the length
    s.tippe(QStringLiteral("10"));
    s.taste(Qt::Key_Return);
    QCOMPARE(s.filmeVon(1).size(), 1);
    QCOMPARE(v(at(s.filmeVon(1), 0), "Filmname"), QVariant(QStringLiteral("Start")));
    QCOMPARE(v(at(s.filmeVon(1), 0), "Zu_Kassette"), QVariant(1));
    QCOMPARE(v(at(s.filmeVon(1), 0), "Filmlaenge"), QVariant(10));

    // Enter on a new row whose title is empty does not store it.
    s.gridFokus();
    s.taste(Qt::Key_Down);
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    s.zelleTippen(1, 1, QStringLiteral("50"));
    s.taste(Qt::Key_Return);
    QCOMPARE(s.filmeVon(1).size(), 1);
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    // Leaving the grid stores it as "???".
    s.gridVerlassen();
    QList<Row> f = s.filmeVon(1);
    QCOMPARE(f.size(), 2);
    QCOMPARE(v(at(f, 1), "Filmname"), QVariant(QStringLiteral("???")));
    QCOMPARE(v(at(f, 1), "Filmlaenge"), QVariant(50));

    // The next new row is refused while the cursor stands on it.
    s.gridFokus();
    s.zelle(1, 0);
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Letzter Film hat keinen Titel !")});
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    QCOMPARE(s.grid()->model()->rowCount(), 2);
    // Down past the last row is refused the same way.
    s.taste(Qt::Key_Down);
    QCOMPARE(s.meldungen().size(), 2);
    QCOMPARE(s.filmeVon(1).size(), 2);
    // After the title is corrected, new rows are accepted again.
    s.zelleTippen(1, 0, QStringLiteral("Benannt"));
    s.taste(Qt::Key_Return);
    QCOMPARE(v(at(s.filmeVon(1), 1), "Filmname"), QVariant(QStringLiteral("Benannt")));
    s.ui.clear();

    // -5 is stored as 0 and marks a zero-length film.
    s.film(QStringLiteral("Negativ"), QStringLiteral("-5"));
    f = s.filmeVon(1);
    QCOMPARE(v(at(f, 2), "Filmlaenge"), QVariant(0));
    QCOMPARE(v(s.kassette(1), "Nullfilme"), QVariant(true));
    QCOMPARE(v(s.kassette(1), "Belegt"), QVariant(60));
    s.zelle(2, 0);
    kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->click();
    QCOMPARE(v(s.kassette(1), "Nullfilme"), QVariant(false));

    // An empty length stays empty, counts 0 and marks the cassette.
    s.film(QStringLiteral("Ohne Länge"), QString());
    f = s.filmeVon(1);
    QCOMPARE(f.size(), 3);
    QCOMPARE(v(at(f, 2), "Filmname"), QVariant(QStringLiteral("Ohne Länge")));
    QVERIFY(!v(at(f, 2), "Filmlaenge").isValid());
    QCOMPARE(v(s.kassette(1), "Belegt"), QVariant(60));
    QCOMPARE(v(s.kassette(1), "Frei"), QVariant(180));
    QCOMPARE(v(s.kassette(1), "Nullfilme"), QVariant(true));
    QVERIFY(s.meldungen().isEmpty());

    // Tab through the cells of a new last row: out of its genre the film is stored and
    // the next new row starts at its title, not back at the top of the grid.
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_End, Qt::ControlModifier);
    s.taste(Qt::Key_Down);
    s.tippe(QStringLiteral("Getabbt"));
    s.taste(Qt::Key_Tab);
    s.tippe(QStringLiteral("20"));
    s.taste(Qt::Key_Tab);
    s.tippe(QStringLiteral("Krimi"));
    s.taste(Qt::Key_Tab);
    f = s.filmeVon(1);
    QCOMPARE(f.size(), 4);
    QCOMPARE(v(at(f, 3), "Filmname"), QVariant(QStringLiteral("Getabbt")));
    QCOMPARE(v(at(f, 3), "Filmlaenge"), QVariant(20));
    QCOMPARE(v(at(f, 3), "Genre"), QVariant(QStringLiteral("Krimi")));
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    QCOMPARE(s.grid()->currentIndex(), s.grid()->model()->index(4, 0));
    s.tippe(QStringLiteral("Danach"));
    s.taste(Qt::Key_Return);
    QCOMPARE(v(at(s.filmeVon(1), 4), "Filmname"), QVariant(QStringLiteral("Danach")));
    // Tab on the last cell without an open editor does the same; Escape drops the row.
    s.zelle(4, 2);
    s.taste(Qt::Key_Tab);
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    s.taste(Qt::Key_Escape);
    QCOMPARE(s.filmeVon(1).size(), 5);
    // Tab elsewhere only moves to the next cell.
    s.zelle(0, 2);
    s.taste(Qt::Key_Tab);
    QCOMPARE(s.grid()->currentIndex(), s.grid()->model()->index(1, 0));
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    QVERIFY(s.meldungen().isEmpty());
}

void TestEingabe::escapeUndVerlassen()
{
    Seite s(QStringLiteral("escape"));
    s.neueKassette(QStringLiteral("E - 180"));
    s.neueKassette(QStringLiteral("E - 240"));

    // Insert and Escape: nothing left behind.
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    QCOMPARE(s.grid()->model()->rowCount(), 1);
    s.taste(Qt::Key_Escape);
    QCOMPARE(s.grid()->model()->rowCount(), 0);
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    // With a typed title the first Escape undoes the cell, the second drops the row.
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    s.zelleTippen(0, 0, QStringLiteral("Weg"));
    s.taste(Qt::Key_Escape);
    QCOMPARE(s.filme().state(), store::Dataset::State::Insert);
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QString());
    s.taste(Qt::Key_Escape);
    QCOMPARE(s.filme().state(), store::Dataset::State::Browse);
    s.gridVerlassen();
    QVERIFY(s.filmeVon(2).isEmpty());
    QVERIFY(s.meldungen().isEmpty());

    // Insert and leaving the grid without typing: a "???" film without length.
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    s.gridVerlassen();
    QList<Row> f = s.filmeVon(2);
    QCOMPARE(f.size(), 1);
    QCOMPARE(v(at(f, 0), "Filmname"), QVariant(QStringLiteral("???")));
    QVERIFY(!v(at(f, 0), "Filmlaenge").isValid());
    QCOMPARE(v(at(f, 0), "Datum"), QVariant(QDate(2026, 12, 8)));
    QCOMPARE(v(s.kassette(2), "Nullfilme"), QVariant(true));
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Letzter Film hat keinen Titel !")});
    QCOMPARE(s.filmeVon(2).size(), 1);

    // A typed title on a pending row is stored when the cassette changes.
    s.ui.clear();
    kind<QToolButton>(s.w, "BitBtn_Erste")->click();
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    s.zelleTippen(0, 0, QStringLiteral("Mitgenommen"));
    kind<QToolButton>(s.w, "BitBtn_Letzte")->click();
    QCOMPARE(s.aktuelleNummer(), 2);
    f = s.filmeVon(1);
    QCOMPARE(f.size(), 1);
    QCOMPARE(v(at(f, 0), "Filmname"), QVariant(QStringLiteral("Mitgenommen")));
    QCOMPARE(s.grid()->model()->rowCount(), 1);
    QVERIFY(s.meldungen().isEmpty());

    // Opening the file menu (to close the collection) stores a film being typed.
    kind<QToolButton>(s.w, "BitBtn_Erste")->click();
    s.gridFokus();
    s.taste(Qt::Key_Down);
    s.zelleTippen(1, 0, QStringLiteral("Vor dem Schliessen"));
    emit kind<QMenu>(s.w, "Datei1")->aboutToShow();
    kind<QAction>(s.w, "Schliessen_Menu")->trigger();
    QVERIFY(!s.filme().isActive());
    const QList<Row> gespeichert = s.filmeVon(1);
    QCOMPARE(gespeichert.size(), 2);
    QCOMPARE(v(at(gespeichert, 1), "Filmname"), QVariant(QStringLiteral("Vor dem Schliessen")));
}

void TestEingabe::kaufvideoUndLoeschen()
{
    Seite s(QStringLiteral("kaufvideo"));
    s.neueKassette(QStringLiteral("Kaufvideo"));
    s.film(QStringLiteral("Gekauft"), QStringLiteral("95"));
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Spielzeit"), QVariant(95));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QCOMPARE(kind<QLineEdit>(s.w, "DBEdit_SpielzeitInfo")->text(), QStringLiteral("95"));
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    QCOMPARE(s.meldungen(), QStringList{QStringLiteral("Ein Kaufvideo kann nur einen Film beinhalten.")});
    QCOMPARE(s.grid()->model()->rowCount(), 1);
    QCOMPARE(s.filmeVon(1).size(), 1);
    kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->click();
    QVERIFY(s.filmeVon(1).isEmpty());
    QCOMPARE(v(s.kassette(1), "Spielzeit"), QVariant(0));
    QVERIFY(!kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->isEnabled());
    QVERIFY(!kind<QPushButton>(s.w, "BitBtn_Labeldrucken")->isEnabled());

    // The last film of a blank tape deleted: everything free again.
    s.neueKassette(QStringLiteral("E - 200"));
    s.film(QStringLiteral("Einzig"), QStringLiteral("120"));
    QCOMPARE(v(s.kassette(2), "Frei"), QVariant(80));
    kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->click();
    k = s.kassette(2);
    QCOMPARE(v(k, "Belegt"), QVariant(0));
    QCOMPARE(v(k, "Frei"), QVariant(200));
    QVERIFY(!kind<QPushButton>(s.w, "BitBtn_Filmloeschen")->isEnabled());
    QVERIFY(!kind<QPushButton>(s.w, "BitBtn_Labeldrucken")->isEnabled());
    // Deleting while a new row is pending only drops that row.
    s.film(QStringLiteral("Bleibt"), QStringLiteral("10"));
    s.gridFokus();
    QTest::keyClick(s.grid(), Qt::Key_Insert);
    kind<Eingabeseite>(s.w)->BitBtn_FilmloeschenClick();
    QCOMPARE(s.filmeVon(2).size(), 1);
    QCOMPARE(v(at(s.filmeVon(2), 0), "Filmname"), QVariant(QStringLiteral("Bleibt")));

    // Quitting stores a film being typed before the collection is closed.
    s.gridFokus();
    s.taste(Qt::Key_Down);
    s.zelleTippen(1, 0, QStringLiteral("Zuletzt"));
    QVERIFY(s.w->close());
    QVERIFY(!s.filme().isActive());
    QCOMPARE(s.filmeVon(2).size(), 2);
    QCOMPARE(v(at(s.filmeVon(2), 1), "Filmname"), QVariant(QStringLiteral("Zuletzt")));
}

void TestEingabe::mehrAls255Filme()
{
    Seite s(QStringLiteral("viele"));
    s.neueKassette(QStringLiteral("E - 300"));
    {
        store::Dataset extra;
        extra.setDatabaseName(s.dir);
        extra.setTableName(s.filme().tableName());
        extra.open();
        for (int i = 0; i < 299; ++i) {
            extra.append();
            extra.setInteger(QStringLiteral("Zu_Kassette"), 1);
            extra.setString(QStringLiteral("Filmname"), QStringLiteral("Film %1").arg(i + 1));
            extra.setInteger(QStringLiteral("Filmlaenge"), 1);
            extra.post();
        }
    }
    s.filme().refresh();
    QCOMPARE(s.grid()->model()->rowCount(), 299);

    s.film(QStringLiteral("Nummer 300"), QStringLiteral("1"));
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Belegt"), QVariant(300));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QCOMPARE(v(k, "Nullfilme"), QVariant(false));
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Nummer 300"));
    QCOMPARE(s.grid()->currentIndex().row(), 299);

    // A change in the middle keeps the grid on that film after the recount.
    s.grid()->scrollTo(s.grid()->model()->index(9, 2));
    s.zelleTippen(9, 2, QStringLiteral("Krimi"));
    s.taste(Qt::Key_Return);
    QCOMPARE(s.filme().asString(QStringLiteral("Filmname")), QStringLiteral("Film 10"));
    QCOMPARE(s.grid()->currentIndex().row(), 9);
    QCOMPARE(v(at(s.filmeVon(1), 9), "Genre"), QVariant(QStringLiteral("Krimi")));
    QCOMPARE(v(s.kassette(1), "Belegt"), QVariant(300));
    QVERIFY(s.meldungen().isEmpty());
}

void TestEingabe::spielzeitAendern()
{
    Seite s(QStringLiteral("spielzeit"));
    auto& w = *s.w;
    const QString drei = QStringLiteral("Die Laufzeit aller Filme überschreitet die") + kMessageBreak +
                         QStringLiteral("Spielzeit der Kassette. Bitte Löschen Sie") + kMessageBreak +
                         QStringLiteral("vorher genug Filme.");
    const QString zwei = QStringLiteral("Es darf maximal noch 1 Film auf der Kassette sein,") +
                         kMessageBreak +
                         QStringLiteral("wenn diese zum Kaufvideo umgeschrieben werden soll.");
    const auto zurueckgesetzt = [&] {
        return kind<TSpielzeit_Formular>(w)->ComboBox_Spielzeiten->currentIndex() == -1 &&
               !kind<TSpielzeit_Formular>(w)->BitBtn_Ok->isEnabled();
    };

    // E - 240 with 100 + 90.
    s.neueKassette(QStringLiteral("E - 240"));
    s.film(QStringLiteral("Hundert"), QStringLiteral("100"));
    s.film(QStringLiteral("Neunzig"), QStringLiteral("90"));
    s.ui.clear();
    s.spielzeitAendern(QStringLiteral("E - 180"));
    QCOMPARE(s.meldungen(), QStringList{drei});
    QCOMPARE(v(s.kassette(1), "Spielzeit"), QVariant(240));
    QVERIFY(zurueckgesetzt());
    s.spielzeitAendern(QStringLiteral("Kaufvideo"));
    QCOMPARE(s.meldungen().last(), zwei);
    QCOMPARE(v(s.kassette(1), "Original"), QVariant(false));
    QVERIFY(zurueckgesetzt());
    s.spielzeitAendern(QStringLiteral("E - 200"));
    Row k = s.kassette(1);
    QCOMPARE(v(k, "Spielzeit"), QVariant(200));
    QCOMPARE(v(k, "Belegt"), QVariant(190));
    QCOMPARE(v(k, "Frei"), QVariant(10));
    QCOMPARE(kind<QLineEdit>(w, "DBEdit_FreiInfo")->text(), QStringLiteral("10"));
    QVERIFY(zurueckgesetzt());
    // Cancelling changes nothing and resets as well.
    s.spielzeitAendern(QString());
    QCOMPARE(s.kassette(1), k);
    QVERIFY(zurueckgesetzt());

    // E - 180 with one film of 95 to a bought tape.
    s.neueKassette(QStringLiteral("E - 180"));
    s.film(QStringLiteral("Einer"), QStringLiteral("95"));
    s.spielzeitAendern(QStringLiteral("Kaufvideo"));
    k = s.kassette(2);
    QCOMPARE(v(k, "Original"), QVariant(true));
    QCOMPARE(v(k, "Spielzeit"), QVariant(95));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    QCOMPARE(v(k, "Belegt"), QVariant(95));

    // No films to a bought tape.
    s.neueKassette(QStringLiteral("E - 300"));
    s.spielzeitAendern(QStringLiteral("Kaufvideo"));
    k = s.kassette(3);
    QCOMPARE(v(k, "Original"), QVariant(true));
    QCOMPARE(v(k, "Spielzeit"), QVariant(0));
    QCOMPARE(v(k, "Frei"), QVariant(0));
    // A bought tape without films back to E - 180.
    s.spielzeitAendern(QStringLiteral("E - 180"));
    k = s.kassette(3);
    QCOMPARE(v(k, "Original"), QVariant(false));
    QCOMPARE(v(k, "Spielzeit"), QVariant(180));
    QCOMPARE(v(k, "Belegt"), QVariant(0));
    QCOMPARE(v(k, "Frei"), QVariant(180));
    QCOMPARE(v(k, "Nullfilme"), QVariant(false));

    // A bought tape of 210 minutes.
    s.neueKassette(QStringLiteral("Kaufvideo"));
    s.film(QStringLiteral("Epos"), QStringLiteral("210"));
    s.ui.clear();
    s.spielzeitAendern(QStringLiteral("E - 200"));
    QCOMPARE(s.meldungen(), QStringList{drei});
    QCOMPARE(v(s.kassette(4), "Original"), QVariant(true));
    s.spielzeitAendern(QStringLiteral("E - 240"));
    k = s.kassette(4);
    QCOMPARE(v(k, "Original"), QVariant(false));
    QCOMPARE(v(k, "Spielzeit"), QVariant(240));
    QCOMPARE(v(k, "Belegt"), QVariant(210));
    QCOMPARE(v(k, "Frei"), QVariant(30));

    // A hand-edited entry whose minutes are no number: the cassette stays, the dialog resets.
    kind<TSpielzeit_Formular>(w)->setSpielzeiten(
        QStringList{QStringLiteral("E - 1,5"), QStringLiteral("E - 240")});
    s.ui.clear();
    s.spielzeitAendern(QStringLiteral("E - 1,5"));
    QCOMPARE(s.meldungen().size(), 1);
    QVERIFY(s.meldungen().first().contains(QStringLiteral("E - 1,5")));
    QCOMPARE(s.kassette(4), k);
    QVERIFY(zurueckgesetzt());
}

void TestEingabe::filmdetails()
{
    Seite s(QStringLiteral("details"));
    s.neueKassette(QStringLiteral("E - 240"));
    s.ui.clear();
    const auto doppelklick = [&](int row) {
        const QModelIndex i = s.grid()->model()->index(row, 0);
        const QPoint p = i.isValid() ? s.grid()->visualRect(i).center() : QPoint(20, 20);
        QTest::mouseDClick(s.grid()->viewport(), Qt::LeftButton, {}, p);
    };
    // No film: nothing opens.
    doppelklick(-1);
    QVERIFY(s.ui.shown.isEmpty());

    s.film(QStringLiteral("Titanic"), QStringLiteral("190"));
    s.film(QStringLiteral("Anderer"), QStringLiteral("20"));
    const Row vorher = s.kassette(1);

    QImage bild(40, 30, QImage::Format_RGB32);
    bild.fill(Qt::darkCyan);
    const QString pfad = s.dir + QStringLiteral("/motiv.bmp");
    QVERIFY(bild.save(pfad, "BMP"));
    s.ui.fileAnswers.push_back(pfad);
    bool neuerFilmRichtig = false;
    s.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& f = dynamic_cast<TFilminfoformular&>(d);
        f.show();
        neuerFilmRichtig = f.BitBtn_Bildladen->isVisibleTo(&f) && !f.MI_Loeschen->isEnabled();
        f.BitBtn_Bildladen->click();
        f.DBMemo_Bemerkungen->setFocus();
        f.DBMemo_Bemerkungen->insertPlainText(QStringLiteral("Mit Eisberg."));
        f.BitBtn_Zurueck->click();
        return f.result();
    });
    s.zelle(0, 0);
    doppelklick(0);
    QCOMPARE(s.ui.shown.size(), 2);
    QCOMPARE(s.ui.shown.at(0).text, QStringLiteral("Zusatzinformation über Titanic"));
    QVERIFY(neuerFilmRichtig);
    Row f = at(s.filmeVon(1), 0);
    QCOMPARE(v(f, "Bild_Vorhanden"), QVariant(true));
    QVERIFY(!v(f, "Bild").toByteArray().isEmpty());
    QCOMPARE(v(f, "Beschreibung").toString(), QStringLiteral("Mit Eisberg."));
    QCOMPARE(v(at(s.filmeVon(1), 1), "Beschreibung"), QVariant());
    QCOMPARE(s.kassette(1), vorher);

    // Opened again: the picture is shown and can be removed.
    bool wiedergezeigt = false;
    s.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& f2 = dynamic_cast<TFilminfoformular&>(d);
        f2.show();
        wiedergezeigt = !f2.angezeigtesBild().isNull() && f2.MI_Loeschen->isEnabled() &&
                        f2.DBMemo_Bemerkungen->toPlainText() == QStringLiteral("Mit Eisberg.");
        f2.MI_Loeschen->trigger();
        f2.BitBtn_Zurueck->click();
        return f2.result();
    });
    doppelklick(0);
    QVERIFY(wiedergezeigt);
    f = at(s.filmeVon(1), 0);
    QCOMPARE(v(f, "Bild_Vorhanden"), QVariant(false));
    QVERIFY(v(f, "Bild").toByteArray().isEmpty());
    QCOMPARE(s.kassette(1), vorher);
    QCOMPARE(s.ui.errors(), QStringList());
}

void TestEingabe::genreWieGetippt_data()
{
    QTest::addColumn<QString>("getippt");
    QTest::newRow("the start of one entry") << QStringLiteral("Doku");
    QTest::newRow("the start of several") << QStringLiteral("Kri");
}

// The genre cell takes free text: what is typed is stored as typed, the entries that
// begin with it are only offered in a pop-up beside the pick list.
void TestEingabe::genreWieGetippt()
{
    QFETCH(QString, getippt);
    Seite s(QStringLiteral("genre"));
    s.neueKassette(QStringLiteral("E - 180"));
    s.film(QStringLiteral("Erde"), QStringLiteral("50"));
    s.zelle(0, 2);
    s.tippe(getippt);
    auto* combo = qobject_cast<QComboBox*>(kind<DatasetGrid>(s.w, "DBGrid_Filme")->openEditor());
    QVERIFY(combo);
    QVERIFY(combo->findText(QStringLiteral("Dokumentation")) >= 0);
    QCOMPARE(combo->completer()->completionMode(), QCompleter::PopupCompletion);
    QCOMPARE(combo->currentText(), getippt);
    s.taste(Qt::Key_Return);
    QCOMPARE(v(at(s.filmeVon(1), 0), "Genre"), QVariant(getippt));
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestEingabe t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_eingabe.moc"
