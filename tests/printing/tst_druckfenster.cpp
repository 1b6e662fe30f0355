// Both printouts and the label settings driven through the real main window: the
// buttons, the preview's pages and its PDF file, the sub-page "Etikettendruck" and the
// fonts and title of the settings page reaching the next printout.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPdfWriter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <array>
#include <fakeinteraction.h>
#include <fenster.h>
#include <functional>
#include <kind.h>
#include <memory>
#include <printing/reportfont.h>
#include <printing/reportlayout.h>
#include <printing/reportpainter.h>
#include <printing/reportpreview.h>
#include <settings/einstellungsseite.h>
#include <settings/keystore.h>
#include <settings/schriftartenformular.h>
#include <store/collection.h>
#include <store/dataset.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

struct Film
{
    int kassette;
    const char* titel;
};

// One shown and active main window over a settings file of its own.
struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    QString program, dir, key;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name)
    {
        program = freshDir(name + QStringLiteral("-programm"));
        dir = freshDir(name + QStringLiteral("-sammlung"));
        key = program + QStringLiteral("/einstellungen.key");
    }

    void starten()
    {
        w.reset();
        w = std::make_unique<THauptformular>(program, ui, clock, key);
        testing_support::zeigenUndAktivieren(*w);
        QApplication::processEvents();
    }

    // Values as an earlier run (or a hand in the key) left them.
    void zahl(const QString& name, qint32 wert) const
    {
        settings::FileKeyStore k(key);
        if (!k.openKey())
            k.createKey();
        k.writeInteger(name, wert);
        k.closeKey();
    }
    void text(const QString& name, const QString& wert) const
    {
        settings::FileKeyStore k(key);
        if (!k.openKey())
            k.createKey();
        k.writeText(name, wert);
        k.closeKey();
    }

    // A new collection with `kassetten` cassettes of 180 minutes and these films.
    void anlegen(int kassetten, const std::vector<Film>& filme)
    {
        testing_support::neueSammlungAnlegen(*w, ui, dir);
        store::Dataset& kass = w->collection().kassetten();
        for (int i = 0; i < kassetten; ++i) {
            kass.append();
            kass.setInteger(QStringLiteral("Spielzeit"), 180);
            kass.post();
        }
        for (const Film& f : filme) {
            zuKassette(f.kassette);
            store::Dataset& ds = w->collection().filme();
            ds.append();
            ds.setString(QStringLiteral("Filmname"), QString::fromUtf8(f.titel));
            ds.setInteger(QStringLiteral("Filmlaenge"), 30);
            ds.setString(QStringLiteral("Genre"), QStringLiteral("Krimi"));
            ds.post();
        }
        zuKassette(1);
        ui.clear();
    }

    void zuKassette(int nummer)
    {
        kind<QLineEdit>(w, "Edit_Direkt")->clear();
        kind<QLineEdit>(w, "Edit_Direkt")->setText(QString::number(nummer));
    }

    settings::Einstellungsseite& verwaltung() const { return *kind<settings::Einstellungsseite>(w); }
    const settings::Einstellungen& einstellungen() const { return verwaltung().einstellungen(); }

    // Clicks `button` and returns the first page the preview showed and, when
    // `pdf` is given, saves the pages there through the preview's button.
    report::ReportPage drucken(const char* button, int* seitenzahl = nullptr, const QString& pdf = QString())
    {
        report::ReportPage seite;
        bool gezeigt = false;
        ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& vorschau = dynamic_cast<ReportPreview&>(d);
            gezeigt = true;
            if (seitenzahl)
                *seitenzahl = vorschau.seiten().anzahl;
            if (vorschau.seiten().anzahl > 0)
                seite = vorschau.seiten().seite(0);
            if (!pdf.isEmpty()) {
                ui.fileAnswers.push_back(pdf);
                kind<QToolButton>(vorschau, "Button_Als_Pdf_Speichern")->click();
            }
            return int(QDialog::Rejected);
        });
        kind<QPushButton>(w, button)->click();
        if (!gezeigt)
            qWarning("no preview for %s", button);
        return seite;
    }

    // Picks `face` in the font dialog that `button` opens, and presses OK.
    void schriftWaehlen(const char* button, const QString& face)
    {
        ui.dialogAnswers.push_back([face](QDialog& d) {
            auto& f = dynamic_cast<settings::TSchriftartenformular&>(d);
            const auto treffer = f.ListBox_Schriftarten->findItems(face, Qt::MatchExactly);
            if (treffer.isEmpty())
                return int(QDialog::Rejected);
            f.ListBox_Schriftarten->setCurrentItem(treffer.first());
            f.ListBox_SchriftartenClick();
            f.BitBtn_Ok->click();
            return f.result();
        });
        kind<QPushButton>(w, button)->click();
    }
};

QStringList texte(const report::ReportPage& seite, const QString& name)
{
    QStringList t;
    for (const report::PlacedText* p : seite.alle(name))
        t << p->text;
    return t;
}

QStringList etikettZeilen(const report::ReportPage& seite)
{
    QStringList t;
    for (int i = 1; i <= 4; ++i)
        t << (seite.text(QStringLiteral("QRLabel%1").arg(i))
                  ? seite.text(QStringLiteral("QRLabel%1").arg(i))->text
                  : QStringLiteral("<fehlt>"));
    return t;
}

int oben(const report::ReportPage& seite, int zeile)
{
    const report::PlacedText* t = seite.text(QStringLiteral("QRLabel%1").arg(zeile));
    return t ? t->rahmen.top() : -1000;
}

} // namespace

class TestDruckfenster : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { report::schriftersatzEinrichten(); }
    void etikettDerAktuellenKassette();
    void filmlisteInDerOrdnungDerUebersicht();
    void schriftenUndTitelWirkenSofort();
    void etikettendruckSeite();
    void etikettWerteUeberdauernDasSpeichern();
    void leereFilmlisteGibtKeinBlatt();
};

void TestDruckfenster::etikettDerAktuellenKassette()
{
    Fenster f(QStringLiteral("etikett"));
    f.starten();
    f.anlegen(2, {{1, "Nur einer"}, {2, "Erster"}, {2, "Zweiter"}, {2, "Dritter"}, {2, "Vierter"}});
    auto* grid = kind<QTableView>(f.w, "DBGrid_Filme");
    store::Dataset& filme = f.w->collection().filme();

    // One film: the one title in the middle of the frame; the other lines empty.
    report::ReportPage seite = f.drucken("BitBtn_Labeldrucken");
    QCOMPARE(etikettZeilen(seite),
             QStringList({QStringLiteral("Nur einer"), QString(), QString(), QString()}));
    QCOMPARE(seite.text(QStringLiteral("QRLabel1"))->schrift.punkte, 16);

    // Four films with the third current: all four print in order, the grid never shows
    // another row while the label is made, and the third film is current afterwards.
    f.zuKassette(2);
    filme.first();
    filme.next();
    filme.next();
    QCOMPARE(filme.asString(QStringLiteral("Filmname")), QStringLiteral("Dritter"));
    QApplication::processEvents();
    QCOMPARE(grid->currentIndex().row(), 2);
    // Rows the grid made current meanwhile (the grid may settle on its row again once
    // the display is back on, but never on another).
    QList<int> gridZeilen;
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [&gridZeilen](const QModelIndex& jetzt) { gridZeilen << jetzt.row(); });
    const QString pdf = freshDir(QStringLiteral("etikett-pdf")) + QStringLiteral("/etikett.pdf");
    int seiten = 0;
    seite = f.drucken("BitBtn_Labeldrucken", &seiten, pdf);
    QCOMPARE(seiten, 1);
    QCOMPARE(etikettZeilen(seite), QStringList({QStringLiteral("Erster"), QStringLiteral("Zweiter"),
                                                QStringLiteral("Dritter"), QStringLiteral("Vierter")}));
    QCOMPARE(seite.text(QStringLiteral("QRLabel4"))->schrift.punkte, 8);
    QCOMPARE(filme.asString(QStringLiteral("Filmname")), QStringLiteral("Dritter"));
    QApplication::processEvents();
    QCOMPARE(grid->currentIndex().row(), 2);
    QVERIFY2(gridZeilen.count(2) == gridZeilen.size(), qPrintable(QString::number(gridZeilen.size())));
    QFile datei(pdf);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QVERIFY(datei.read(5) == "%PDF-");
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestDruckfenster::filmlisteInDerOrdnungDerUebersicht()
{
    Fenster f(QStringLiteral("filmliste"));
    f.starten();
    f.anlegen(2, {{1, "Zorro"}, {1, "Alien"}, {2, "Mondbasis"}, {2, "Bambi"}});
    kind<QTabWidget>(f.w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(f.w, "Tab_Uebersicht"));
    QVERIFY(kind<QPushButton>(f.w, "BitBtn_Drucken")->isEnabled());
    store::Dataset& uebersicht = f.w->collection().filmuebersicht();

    // Ordered by cassette: the numbers print bold, the rows in the overview's order.
    uebersicht.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    QStringList gezeigt;
    for (int i = 0; i < uebersicht.recordCount(); ++i)
        gezeigt << uebersicht.valueAt(i, QStringLiteral("Filmname")).toString();
    report::ReportPage seite = f.drucken("BitBtn_Drucken");
    QCOMPARE(texte(seite, QStringLiteral("QRExpr_Filmname")), gezeigt);
    QCOMPARE(
        texte(seite, QStringLiteral("QRExpr_Kassette")),
        QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2")}));
    QVERIFY(seite.text(QStringLiteral("QRExpr_Kassette"))->schrift.fett);
    QCOMPARE(seite.text(QStringLiteral("QRLabel_Anzahl"))->text, QStringLiteral("4"));
    QCOMPARE(seite.text(QStringLiteral("QRLabel_Datum"))->text, QStringLiteral("Stand : 08.12.2026"));
    QCOMPARE(seite.text(QStringLiteral("QRLabel_Titel"))->text, QStringLiteral("Videoliste"));

    // Ordered by title: the rows follow, the numbers print regular.
    uebersicht.setIndexFieldNames(QStringLiteral("Filmname"));
    const QString pdf = freshDir(QStringLiteral("filmliste-pdf")) + QStringLiteral("/liste.pdf");
    seite = f.drucken("BitBtn_Drucken", nullptr, pdf);
    QCOMPARE(texte(seite, QStringLiteral("QRExpr_Filmname")),
             QStringList({QStringLiteral("Alien"), QStringLiteral("Bambi"), QStringLiteral("Mondbasis"),
                          QStringLiteral("Zorro")}));
    QCOMPARE(
        texte(seite, QStringLiteral("QRExpr_Kassette")),
        QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("1")}));
    QVERIFY(!seite.text(QStringLiteral("QRExpr_Kassette"))->schrift.fett);
    QVERIFY(QFile::exists(pdf));
    // Without the filter the line of the filter date stays off the paper.
    QVERIFY(!seite.text(QStringLiteral("QRLabel_Neu")));
    QCOMPARE(f.ui.errors(), QStringList());
}

void TestDruckfenster::schriftenUndTitelWirkenSofort()
{
    Fenster f(QStringLiteral("schriften"));
    // A stored "Arial" where only its stand-in is installed stays "Arial".
    f.text(QStringLiteral("Listenelemente_Font"), QStringLiteral("Arial"));
    f.text(QStringLiteral("Schriftart_der_Etiketten"), QStringLiteral("arial"));
    f.starten();
    QCOMPARE(f.einstellungen().Listenelemente_Font, QStringLiteral("Arial"));
    QCOMPARE(f.einstellungen().Schriftart_der_Etiketten, QStringLiteral("arial"));
    QCOMPARE(kind<QComboBox>(f.w, "ComboBox_Schriftarten")->currentText(), QStringLiteral("Arial"));
    f.anlegen(1, {{1, "Heimat"}});
    kind<QTabWidget>(f.w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(f.w, "Tab_Uebersicht"));

    report::ReportPage seite = f.drucken("BitBtn_Drucken");
    QCOMPARE(seite.text(QStringLiteral("QRExpr_Filmname"))->schrift.familie, QStringLiteral("Arial"));

    // The three film list fonts, the title and the number font, changed on the settings
    // page, reach the next printout and the number display without a restart.
    f.schriftWaehlen("Button_Schriftart_ListenElemente", QStringLiteral("DejaVu Serif"));
    f.schriftWaehlen("Button_Schriftart_Ueberschriften", QStringLiteral("DejaVu Sans Mono"));
    f.schriftWaehlen("Button_Druckfont", QStringLiteral("DejaVu Sans"));
    f.schriftWaehlen("Button_SchriftArtKassettennummer", QStringLiteral("DejaVu Sans Mono"));
    kind<QLineEdit>(f.w, "Edit_Drucktitel")->setText(QStringLiteral("Meine Filme"));
    f.verwaltung().Edit_DrucktitelExit();
    QVERIFY(f.w->settingsChanged());
    seite = f.drucken("BitBtn_Drucken");
    for (const char* feld : {"QRExpr_Kassette", "QRExpr_Filmname", "QRExpr_Filmlaenge", "QRExpr_Genre"})
        QCOMPARE(seite.text(QLatin1String(feld))->schrift.familie, QStringLiteral("DejaVu Serif"));
    for (const char* kopf :
         {"QRLabel_SKassette", "QRLabel_SFilmname", "QRLabel_SFilmlaenge", "QRLabel_SGenre"})
        QCOMPARE(seite.text(QLatin1String(kopf))->schrift.familie, QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(seite.text(QStringLiteral("QRLabel_Titel"))->schrift.familie, QStringLiteral("DejaVu Sans"));
    QCOMPARE(seite.text(QStringLiteral("QRLabel_Titel"))->text, QStringLiteral("Meine Filme"));
    QCOMPARE(kind<QLabel>(f.w, "DBText_Kassette")->font().family(), QStringLiteral("DejaVu Sans Mono"));
}

void TestDruckfenster::etikettendruckSeite()
{
    Fenster f(QStringLiteral("etikettseite"));
    f.zahl(QStringLiteral("Schriftgroesse_Bei_Drei_Filmen"), 12);
    f.zahl(QStringLiteral("Ausrichtung_Bei_Drei_Filmen"), -3);
    // Only a hand in the key stores a spread beyond the slider's range.
    f.zahl(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), 20);
    f.starten();
    auto* anzahl = kind<QSpinBox>(f.w, "SpinEdit_Filmanzahl");
    auto* regler = kind<QSlider>(f.w, "TrackBar_Ausrichtung");
    auto* anzeige = kind<QLabel>(f.w, "Label_Ausrichtung");
    auto* groesse = kind<QComboBox>(f.w, "ComboBox_Schriftgroesse");
    auto* schriften = kind<QComboBox>(f.w, "ComboBox_Schriftarten");
    auto* speichern = kind<QPushButton>(f.w, "BitBtn_EinstellungenSpeichern");

    // Loaded for one film: size 16, the slider off at 0; nothing counts as changed.
    QCOMPARE(anzahl->value(), 1);
    QCOMPARE(groesse->currentText(), QStringLiteral("16"));
    QCOMPARE(groesse->count(), 24);
    QVERIFY(!regler->isEnabled());
    QCOMPARE(regler->value(), 0);
    QCOMPARE(anzeige->text(), QStringLiteral("0"));
    QVERIFY(!f.w->settingsChanged());

    // Switching the count shows that entry; the program's slider moves change nothing,
    // and a spread beyond the range shows as the nearest end and stays as stored.
    anzahl->setValue(3);
    QCOMPARE(groesse->currentText(), QStringLiteral("12"));
    QVERIFY(regler->isEnabled());
    QCOMPARE(regler->value(), -3);
    QCOMPARE(anzeige->text(), QStringLiteral("-3"));
    anzahl->setValue(2);
    QCOMPARE(regler->value(), 13);
    QCOMPARE(anzeige->text(), QStringLiteral("13"));
    anzahl->setValue(1);
    QVERIFY(!regler->isEnabled());
    QCOMPARE(anzeige->text(), QStringLiteral("0"));
    QCOMPARE(f.einstellungen().etikett(2).Ausrichtung, 20);
    QCOMPARE(f.einstellungen().etikett(3).Ausrichtung, -3);
    QVERIFY(!f.w->settingsChanged());
    QVERIFY(!speichern->isEnabled());

    // The stored 20 is what prints: with two films the lines stand 25 + 2 * 20 apart.
    f.anlegen(1, {{1, "Oben"}, {1, "Unten"}});
    const report::ReportPage seite = f.drucken("BitBtn_Labeldrucken");
    QCOMPARE(oben(seite, 2) - oben(seite, 1), 76 / 3 + 2 * 20);

    // The person's slider move stores the spread and marks the change.
    anzahl->setValue(3);
    regler->setFocus();
    QTest::keyClick(regler, Qt::Key_Right);
    QCOMPARE(regler->value(), -2);
    QCOMPARE(anzeige->text(), QStringLiteral("-2"));
    QCOMPARE(f.einstellungen().etikett(3).Ausrichtung, -2);
    QVERIFY(f.w->settingsChanged());
    QVERIFY(speichern->isEnabled());
    speichern->click();
    QVERIFY(!f.w->settingsChanged());

    // A typed size that is no whole number is refused and keeps the old size; any whole
    // number is taken as typed, also 0.
    f.ui.clear();
    groesse->setEditText(QStringLiteral("1x"));
    QCOMPARE(f.ui.messages(), QStringList({QStringLiteral("'1x' ist kein gültiger Integerwert")}));
    QCOMPARE(f.ui.shown.last().icon, MsgIcon::Error);
    QCOMPARE(f.einstellungen().etikett(3).Schriftgroesse, 12);
    QVERIFY(!f.w->settingsChanged());
    groesse->setEditText(QString());
    QCOMPARE(f.ui.messages().last(), QStringLiteral("'' ist kein gültiger Integerwert"));
    groesse->setEditText(QStringLiteral("0"));
    QCOMPARE(f.einstellungen().etikett(3).Schriftgroesse, 0);
    QVERIFY(f.w->settingsChanged());
    groesse->setCurrentIndex(groesse->findText(QStringLiteral("20")));
    QCOMPARE(f.einstellungen().etikett(3).Schriftgroesse, 20);
    QCOMPARE(f.einstellungen().etikett(1).Schriftgroesse, 16);

    // The face picked becomes the label's face and the sample's.
    schriften->setCurrentIndex(schriften->findText(QStringLiteral("DejaVu Serif")));
    QCOMPARE(f.einstellungen().Schriftart_der_Etiketten, QStringLiteral("DejaVu Serif"));
    QCOMPARE(kind<QLabel>(f.w, "Panel_Schriftmuster")->font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(kind<QLabel>(f.w, "Panel_Schriftmuster")->text(), QStringLiteral("AaBbXxYy0123"));
}

void TestDruckfenster::etikettWerteUeberdauernDasSpeichern()
{
    Fenster f(QStringLiteral("rundreise"));
    f.starten();
    // A first start writes the defaults.
    const std::array<settings::EtikettEintrag, 4> standard = {{{16, 0}, {16, 0}, {16, 0}, {8, 0}}};
    QCOMPARE(f.einstellungen().Etiketten, standard);

    auto* anzahl = kind<QSpinBox>(f.w, "SpinEdit_Filmanzahl");
    auto* regler = kind<QSlider>(f.w, "TrackBar_Ausrichtung");
    auto* groesse = kind<QComboBox>(f.w, "ComboBox_Schriftgroesse");
    const int groessen[4] = {22, -4, 10, 6};
    const int spreizungen[4] = {0, 5, -5, 13};
    for (int k = 1; k <= 4; ++k) {
        anzahl->setValue(k);
        groesse->setEditText(QString::number(groessen[k - 1]));
        if (k > 1)
            regler->setValue(spreizungen[k - 1]);
    }
    auto* schriften = kind<QComboBox>(f.w, "ComboBox_Schriftarten");
    schriften->setCurrentIndex(schriften->findText(QStringLiteral("DejaVu Sans")));
    const std::array<settings::EtikettEintrag, 4> erwartet = {{{22, 0}, {-4, 5}, {10, -5}, {6, 13}}};
    QCOMPARE(f.einstellungen().Etiketten, erwartet);
    kind<QPushButton>(f.w, "BitBtn_EinstellungenSpeichern")->click();

    f.starten();
    QCOMPARE(f.einstellungen().Etiketten, erwartet);
    QCOMPARE(f.einstellungen().Schriftart_der_Etiketten, QStringLiteral("DejaVu Sans"));
    QCOMPARE(kind<QComboBox>(f.w, "ComboBox_Schriftarten")->currentText(), QStringLiteral("DejaVu Sans"));
    // The new window shows the entry for one film, whatever the last one showed.
    QCOMPARE(kind<QComboBox>(f.w, "ComboBox_Schriftgroesse")->currentText(), QStringLiteral("22"));
    QCOMPARE(f.ui.errors(), QStringList());
}

// A collection opened while the overview is shown sets the print button by its own
// films; a film list, or any report, without pages is neither printed nor saved.
void TestDruckfenster::leereFilmlisteGibtKeinBlatt()
{
    Fenster f(QStringLiteral("leer"));
    f.starten();
    f.anlegen(1, {{1, "Alien"}});
    kind<QTabWidget>(f.w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(f.w, "Tab_Uebersicht"));
    QVERIFY(kind<QPushButton>(f.w, "BitBtn_Drucken")->isEnabled());
    testing_support::neueSammlungAnlegen(*f.w, f.ui, freshDir(QStringLiteral("leer-zweite")));
    QCOMPARE(f.w->collection().filmuebersicht().recordCount(), 0);
    QVERIFY(!kind<QPushButton>(f.w, "BitBtn_Drucken")->isEnabled());

    f.ui.clear();
    kind<QPushButton>(f.w, "BitBtn_Drucken")->click(); // disabled: nothing
    f.w->filmlisteDrucken();
    QCOMPARE(f.ui.messages(), QStringList{QStringLiteral("Die Filmliste enthält keine Filme.")});

    const QString pdf = freshDir(QStringLiteral("leer-pdf")) + QStringLiteral("/leer.pdf");
    struct Fall
    {
        const char* knopf;
        std::function<void(ReportPreview&)> handlung;
    };
    const Fall faelle[] = {{"Button_Drucken", [](ReportPreview& v) { v.Drucken(); }},
                           {"Button_Als_Pdf_Speichern", [](ReportPreview& v) { v.Als_Pdf_Speichern(); }}};
    for (const Fall& fall : faelle) {
        f.ui.clear();
        f.ui.fileAnswers = {pdf};
        ReportPreview vorschau(f.ui, {0, [](int) { return report::ReportPage(); }}, QStringLiteral("Leer"));
        QVERIFY2(!kind<QToolButton>(vorschau, fall.knopf)->isEnabled(), fall.knopf);
        fall.handlung(vorschau);
        QCOMPARE(f.ui.messages(), QStringList{QStringLiteral("Der Bericht hat keine Seiten.")});
        QCOMPARE(f.ui.shown.size(), 1); // no print dialog, no file chooser
    }
    {
        QPdfWriter geraet(pdf);
        QVERIFY(!report::seitenDrucken(geraet, {0, [](int) { return report::ReportPage(); }}));
    }
    QVERIFY(!QFile::exists(pdf));
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestDruckfenster t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_druckfenster.moc"
