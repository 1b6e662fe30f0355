// The film list and the cassette label as laid out, before anything is painted.

#include "printingtesthelpers.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <printing/etikett.h>
#include <printing/filmliste.h>
#include <printing/reportfont.h>

using namespace quorbel;
using quorbel::druck::EtikettEinstellungen;
using quorbel::druck::FilmlisteEinstellungen;
using quorbel::druck::FilmlisteLauf;
using quorbel::report::PlacedText;
using quorbel::report::ReportPage;

namespace {

const QDate kHeute(2026, 12, 8);

FilmlisteLauf lauf(const QString& sortierung = QStringLiteral("Zu_Kassette"), std::optional<QDate> neu = {})
{
    return FilmlisteLauf{kHeute, neu, sortierung};
}

const PlacedText& text(const ReportPage& s, const char* name)
{
    const PlacedText* t = s.text(QLatin1String(name));
    if (!t)
        qFatal("no element %s on the page", name);
    return *t;
}

int mitte(const QRect& r)
{
    return r.left() + r.width() / 2;
}

} // namespace

class TestDrucklayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { report::schriftersatzEinrichten(); }

    void filmlisteSpalten_data();
    void filmlisteSpalten();
    void filmlisteTitelband();
    void kassettennummerFett_data();
    void kassettennummerFett();
    void neuSeitUndAnzahlFolgenDemFilter();
    void seitenumbruchMitKopfAufJederSeite();
    void summeOhnePlatzAufNeuerSeite();
    void zuLangeTexteBleibenAufDemPapier();

    void etikettEinFilm();
    void etikettZweiFilme_data();
    void etikettZweiFilme();
    void etikettVierFilme_data();
    void etikettVierFilme();
    void etikettUngewoehnlicheWerte();
    void etikettMehrAlsVierFilme_data();
    void etikettMehrAlsVierFilme();
    void etikettBehaeltAktuellenFilm();
};

void TestDrucklayout::filmlisteSpalten_data()
{
    QTest::addColumn<bool>("nummer");
    // Left edges and widths of cassette, title, length and genre; -1: column absent.
    QTest::addColumn<QList<int>>("lage");
    QTest::addColumn<QList<double>>("mm"); // left edges of the title, length and genre columns
    QTest::newRow("mit Kassette") << true << QList<int>{17, 71, 98, 351, 459, 71, 560, 143}
                                  << QList<double>{25.9, 121.4, 148.2};
    QTest::newRow("ohne Kassette") << false << QList<int>{-1, -1, 66, 247, 371, 71, 496, 153}
                                   << QList<double>{17.5, 98.2, 131.2};
}

void TestDrucklayout::filmlisteSpalten()
{
    QFETCH(bool, nummer);
    QFETCH(QList<int>, lage);
    QFETCH(QList<double>, mm);
    FilmlisteEinstellungen e;
    e.Nummer_Drucken = nummer;
    drucktest::Zeilen zeilen(3);
    const auto bericht = druck::filmliste(e, lauf(), zeilen);
    QCOMPARE(bericht->seitenzahl(), 1);
    const ReportPage s = bericht->seite(0);

    const char* koepfe[] = {"QRLabel_SKassette", "QRLabel_SFilmname", "QRLabel_SFilmlaenge",
                            "QRLabel_SGenre"};
    const char* felder[] = {"QRExpr_Kassette", "QRExpr_Filmname", "QRExpr_Filmlaenge", "QRExpr_Genre"};
    const int kopfOben = report::kRand + 85;
    for (int i = 0; i < 4; ++i) {
        const auto kopf = s.alle(QLatin1String(koepfe[i]));
        const auto feld = s.alle(QLatin1String(felder[i]));
        if (lage[2 * i] < 0) {
            QVERIFY2(kopf.empty() && feld.empty(), koepfe[i]);
            continue;
        }
        QCOMPARE(kopf.size(), std::size_t(1));
        QCOMPARE(feld.size(), std::size_t(3));
        const QRect soll(report::kRand + lage[2 * i], kopfOben, lage[2 * i + 1], 15);
        QCOMPARE(kopf[0]->rahmen, soll);
        // Every row below the header, 22 units apart, at the header's left edge and width.
        for (int z = 0; z < 3; ++z)
            QCOMPARE(feld[std::size_t(z)]->rahmen, soll.translated(0, 22 * (z + 1)));
    }
    for (int i = 0; i < 3; ++i) {
        const double links = report::einheitenZuMm(lage[2 + 2 * i]);
        QVERIFY2(qAbs(links - mm[i]) < 0.05, qPrintable(QString::number(links)));
    }
    QCOMPARE(text(s, "QRLabel_SFilmlaenge").ausrichtung, Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(text(s, "QRExpr_Genre").ausrichtung, Qt::Alignment(Qt::AlignLeft));
    QCOMPARE(s.alle(QStringLiteral("QRExpr_Filmname"))[1]->text, QStringLiteral("Film 1"));
    QCOMPARE(text(s, "QRLabel_SFilmname").schrift,
             (report::Schrift{QStringLiteral("Arial"), 8, true, false}));
}

void TestDrucklayout::filmlisteTitelband()
{
    FilmlisteEinstellungen e;
    e.Titel = QStringLiteral("Meine Filme");
    e.Titel_Font = QStringLiteral("Liberation Serif");
    drucktest::Zeilen zeilen(1);
    const ReportPage s = druck::filmliste(e, lauf(), zeilen)->seite(0);
    const PlacedText& titel = text(s, "QRLabel_Titel");
    QCOMPARE(titel.text, QStringLiteral("Meine Filme"));
    QCOMPARE(titel.schrift, (report::Schrift{QStringLiteral("Liberation Serif"), 24, false, false}));
    // 138.9 mm wide, 9.7 mm high, centred across the 190 mm between the margins.
    QCOMPARE(titel.rahmen, QRect(report::kRand + (718 - 525) / 2, report::kRand, 525, 37));
    const PlacedText& datum = text(s, "QRLabel_Datum");
    QCOMPARE(datum.text, QStringLiteral("Stand : 08.12.2026"));
    QCOMPARE(datum.rahmen.top(), report::kRand + 40);
    QVERIFY(qAbs(mitte(datum.rahmen) - report::kSeitenbreite / 2) <= 1);
    QCOMPARE(s.text(QStringLiteral("QRLabel_Neu")), nullptr);
}

void TestDrucklayout::kassettennummerFett_data()
{
    QTest::addColumn<QString>("sortierung");
    QTest::addColumn<bool>("fettDrucken");
    QTest::addColumn<bool>("fett");
    QTest::newRow("nach Kassette") << QStringLiteral("Zu_Kassette") << true << true;
    QTest::newRow("nach Kassette, abgeschaltet") << QStringLiteral("Zu_Kassette") << false << false;
    QTest::newRow("nach Titel") << QStringLiteral("Filmname") << true << false;
    QTest::newRow("nach Genre und Titel") << QStringLiteral("Genre;Filmname") << true << false;
    QTest::newRow("Kassette und mehr") << QStringLiteral("Zu_Kassette;Filmname") << true << false;
}

void TestDrucklayout::kassettennummerFett()
{
    QFETCH(QString, sortierung);
    QFETCH(bool, fettDrucken);
    QFETCH(bool, fett);
    FilmlisteEinstellungen e;
    e.Kassette_Fett_Drucken = fettDrucken;
    drucktest::Zeilen zeilen(2);
    const ReportPage s = druck::filmliste(e, lauf(sortierung), zeilen)->seite(0);
    for (const PlacedText* t : s.alle(QStringLiteral("QRExpr_Kassette")))
        QCOMPARE(t->schrift.fett, fett);
    QVERIFY(!text(s, "QRExpr_Filmname").schrift.fett);
    QVERIFY(text(s, "QRLabel_SKassette").schrift.fett);
}

void TestDrucklayout::neuSeitUndAnzahlFolgenDemFilter()
{
    store::Dataset ds;
    drucktest::filmeAnlegen(ds, QStringLiteral("filter"),
                            {{1, QStringLiteral("Alt"), 90, QStringLiteral("Krimi"), QDate(2026, 11, 1)},
                             {1, QStringLiteral("Neu 1"), 80, QStringLiteral("Drama"), QDate(2026, 12, 2)},
                             {2, QStringLiteral("Neu 2"), 70, QStringLiteral("Drama"), QDate(2026, 12, 5)}});
    druck::DatasetRows zeilen(ds);
    FilmlisteEinstellungen e;

    // All films: no "new since" line, all three counted.
    ReportPage s = druck::filmliste(e, lauf(), zeilen)->seite(0);
    QCOMPARE(s.text(QStringLiteral("QRLabel_Neu")), nullptr);
    QCOMPARE(text(s, "QRLabel_Anzahl").text, QStringLiteral("3"));

    // Filtered to the films since 1 December: the line names the date, the count follows.
    ds.setFilter(QStringLiteral("Datum >= 01.12.2026"));
    ds.setFiltered(true);
    ds.first();
    ds.next();
    s = druck::filmliste(e, lauf(QStringLiteral("Zu_Kassette"), QDate(2026, 12, 1)), zeilen)->seite(0);
    const PlacedText& neu = text(s, "QRLabel_Neu");
    QCOMPARE(neu.text, QStringLiteral("Liste aller neuen Filme seit 01.12.2026"));
    QVERIFY(neu.schrift.fett && neu.schrift.kursiv);
    QCOMPARE(neu.rahmen.top(), report::kRand + 53);
    QCOMPARE(text(s, "QRLabel_Anzahl").text, QStringLiteral("2"));
    QVERIFY(text(s, "QRLabel_Anzahl").schrift.fett);
    QCOMPARE(text(s, "QRLabel_AnzahlText").text, QStringLiteral("Anzahl der Aufnahmen :"));
    QStringList titel;
    for (const PlacedText* t : s.alle(QStringLiteral("QRExpr_Filmname")))
        titel << t->text;
    QCOMPARE(titel, (QStringList{QStringLiteral("Neu 1"), QStringLiteral("Neu 2")}));
    QCOMPARE(text(s, "QRExpr_Filmlaenge").text, QStringLiteral("80"));
    // The printout does not move the dataset's current row.
    QCOMPARE(ds.recNo(), 2);

    // Count switched off: the summary prints nothing.
    e.Anzahl_Der_Filme_Drucken = false;
    s = druck::filmliste(e, lauf(), zeilen)->seite(0);
    QCOMPARE(s.text(QStringLiteral("QRLabel_Anzahl")), nullptr);
    QCOMPARE(s.text(QStringLiteral("QRLabel_AnzahlText")), nullptr);
}

void TestDrucklayout::seitenumbruchMitKopfAufJederSeite()
{
    // First page: 1085 - (38 + 85 + 22) = 940 units for rows of 22: 42 rows; later pages
    // 1085 - 60 = 1025: 46 rows. 150 rows: 42 + 46 + 46 + 16, then the summary (87).
    drucktest::Zeilen zeilen(150);
    const auto bericht = druck::filmliste(FilmlisteEinstellungen{}, lauf(), zeilen);
    QCOMPARE(bericht->seitenzahl(), 4);
    int naechste = 0;
    const int unten = report::kSeitenhoehe - report::kRand;
    const QList<int> proSeite{42, 46, 46, 16};
    for (int p = 0; p < bericht->seitenzahl(); ++p) {
        const ReportPage s = bericht->seite(p);
        QCOMPARE(s.text(QStringLiteral("QRLabel_Titel")) != nullptr, p == 0);
        const auto kopf = s.alle(QStringLiteral("QRLabel_SFilmname"));
        QCOMPARE(kopf.size(), std::size_t(1));
        QCOMPARE(kopf[0]->rahmen.top(), report::kRand + (p == 0 ? 85 : 0));
        const auto felder = s.alle(QStringLiteral("QRExpr_Filmname"));
        QCOMPARE(int(felder.size()), proSeite[p]);
        for (const PlacedText* f : felder) {
            QCOMPARE(f->text, QStringLiteral("Film %1").arg(naechste++));
            QVERIFY(f->rahmen.top() + 22 <= unten);
        }
        QCOMPARE(s.text(QStringLiteral("QRLabel_Anzahl")) != nullptr, p == 3);
    }
    QCOMPARE(naechste, 150);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, bericht->seite(4));

    drucktest::Zeilen keine(0);
    QCOMPARE(druck::filmliste(FilmlisteEinstellungen{}, lauf(), keine)->seitenzahl(), 0);
}

void TestDrucklayout::summeOhnePlatzAufNeuerSeite()
{
    // 42 rows fill the first page; the summary goes to a second page below its header.
    drucktest::Zeilen zeilen(42);
    const auto bericht = druck::filmliste(FilmlisteEinstellungen{}, lauf(), zeilen);
    QCOMPARE(bericht->seitenzahl(), 2);
    QCOMPARE(bericht->seite(0).text(QStringLiteral("QRLabel_Anzahl")), nullptr);
    const ReportPage zwei = bericht->seite(1);
    QVERIFY(zwei.alle(QStringLiteral("QRExpr_Filmname")).empty());
    QCOMPARE(zwei.alle(QStringLiteral("QRLabel_SGenre")).size(), std::size_t(1));
    const PlacedText& anzahl = text(zwei, "QRLabel_Anzahl");
    QCOMPARE(anzahl.text, QStringLiteral("42"));
    QCOMPARE(anzahl.rahmen.topLeft(), QPoint(report::kRand + 418, report::kRand + 22 + 32));
    QCOMPARE(text(zwei, "QRLabel_AnzahlText").rahmen.left(), report::kRand + 294);
}

void TestDrucklayout::zuLangeTexteBleibenAufDemPapier()
{
    FilmlisteEinstellungen e;
    e.Titel = QString(300, QLatin1Char('W'));
    drucktest::Zeilen zeilen(1);
    const ReportPage s = druck::filmliste(e, lauf(), zeilen)->seite(0);
    for (const PlacedText& t : s.texte) {
        QVERIFY2(t.rahmen.left() >= report::kRand, qPrintable(t.name));
        QVERIFY2(t.rahmen.right() < report::kSeitenbreite - report::kRand, qPrintable(t.name));
    }
}

// --- The cassette label ---------------------------------------------------------------

namespace {

EtikettEinstellungen etikettMit(int filme, int groesse, int spreizung)
{
    EtikettEinstellungen e;
    e.Schriftart_der_Etiketten = QStringLiteral("Arial");
    e.Etiketten.at(std::size_t(filme - 1)) = {groesse, spreizung};
    return e;
}

QStringList titel(int n)
{
    QStringList t;
    for (int i = 1; i <= n; ++i)
        t << QStringLiteral("Film Nummer %1").arg(i);
    return t;
}

// The top a line has without any spread.
int obenOhneSpreizung(const PlacedText& t, int i, int n)
{
    return 38 + i * (76 / (n + 1)) - t.rahmen.height() / 2;
}

} // namespace

void TestDrucklayout::etikettEinFilm()
{
    EtikettEinstellungen e;
    e.Etiketten[0].Ausrichtung = 9; // never applies to one film
    const ReportPage s = druck::etikett(e, {QStringLiteral("Der Schatz")});
    QCOMPARE(s.rechtecke.size(), std::size_t(1));
    QCOMPARE(s.rechtecke[0].rahmen, QRect(116, 38, 561, 76));
    const PlacedText& l1 = text(s, "QRLabel1");
    QCOMPARE(l1.text, QStringLiteral("Der Schatz"));
    QCOMPARE(l1.schrift, (report::Schrift{QStringLiteral("Arial"), 16, false, false}));
    const report::TextMass m = report::textMass(l1.text, l1.schrift);
    QCOMPARE(l1.rahmen, QRect(397 - m.breite / 2, 38 + 38 - m.hoehe / 2, m.breite, m.hoehe));
    for (const char* leer : {"QRLabel2", "QRLabel3", "QRLabel4"})
        QVERIFY(text(s, leer).text.isEmpty());
}

void TestDrucklayout::etikettZweiFilme_data()
{
    QTest::addColumn<int>("spreizung");
    QTest::newRow("ohne Spreizung") << 0;
    QTest::newRow("Spreizung 4") << 4;
    QTest::newRow("Spreizung -5") << -5;
}

void TestDrucklayout::etikettZweiFilme()
{
    QFETCH(int, spreizung);
    const ReportPage s = druck::etikett(etikettMit(2, 16, spreizung), titel(2));
    const PlacedText& l1 = text(s, "QRLabel1");
    const PlacedText& l2 = text(s, "QRLabel2");
    QCOMPARE(l1.rahmen.top(), 38 + 25 - l1.rahmen.height() / 2 - spreizung);
    QCOMPARE(l2.rahmen.top(), 38 + 50 - l2.rahmen.height() / 2 + spreizung);
    QCOMPARE(l2.text, QStringLiteral("Film Nummer 2"));
    QCOMPARE(l2.rahmen.left(), 397 - l2.rahmen.width() / 2);
    QVERIFY(text(s, "QRLabel3").text.isEmpty());
}

void TestDrucklayout::etikettVierFilme_data()
{
    QTest::addColumn<int>("spreizung");
    QTest::addColumn<QList<int>>("versatz");
    QTest::newRow("5") << 5 << QList<int>{-5, -2, 2, 5};
    QTest::newRow("-5") << -5 << QList<int>{5, 2, -2, -5};
    QTest::newRow("0") << 0 << QList<int>{0, 0, 0, 0};
}

void TestDrucklayout::etikettVierFilme()
{
    QFETCH(int, spreizung);
    QFETCH(QList<int>, versatz);
    const ReportPage s = druck::etikett(etikettMit(4, 8, spreizung), titel(4));
    for (int i = 1; i <= 4; ++i) {
        const PlacedText& t = text(s, qPrintable(QStringLiteral("QRLabel%1").arg(i)));
        QCOMPARE(t.schrift.punkte, 8);
        QCOMPARE(t.rahmen.top(), obenOhneSpreizung(t, i, 4) + versatz[i - 1]);
    }
}

void TestDrucklayout::etikettUngewoehnlicheWerte()
{
    // A size of 0 or below prints at 1 pt.
    for (int groesse : {0, -7}) {
        const ReportPage s = druck::etikett(etikettMit(1, groesse, 0), titel(1));
        QCOMPARE(text(s, "QRLabel1").schrift.punkte, 1);
        QVERIFY(text(s, "QRLabel1").rahmen.width() > 0);
    }
    // A spread outside -5 .. 13 prints as stored.
    ReportPage s = druck::etikett(etikettMit(3, 8, 20), titel(3));
    QCOMPARE(text(s, "QRLabel1").rahmen.top(), obenOhneSpreizung(text(s, "QRLabel1"), 1, 3) - 20);
    QCOMPARE(text(s, "QRLabel2").rahmen.top(), obenOhneSpreizung(text(s, "QRLabel2"), 2, 3));
    QCOMPARE(text(s, "QRLabel3").rahmen.top(), obenOhneSpreizung(text(s, "QRLabel3"), 3, 3) + 20);
    // A title wider than the frame is cut at the frame.
    s = druck::etikett(etikettMit(1, 48, 0), {QString(80, QLatin1Char('M'))});
    QCOMPARE(text(s, "QRLabel1").rahmen.left(), 397 - 561 / 2);
    QCOMPARE(text(s, "QRLabel1").rahmen.width(), 561);
}

void TestDrucklayout::etikettMehrAlsVierFilme_data()
{
    QTest::addColumn<int>("filme");
    QTest::addColumn<int>("groesse");
    QTest::addColumn<int>("spreizung");
    QTest::newRow("5 Filme, Vorgabe") << 5 << 8 << 0;
    QTest::newRow("9 Filme, groß und weit") << 9 << 16 << 13;
    QTest::newRow("12 Filme, eng") << 12 << 10 << -5;
    QTest::newRow("6 Filme, Größe 0") << 6 << 0 << 0;
}

void TestDrucklayout::etikettMehrAlsVierFilme()
{
    QFETCH(int, filme);
    QFETCH(int, groesse);
    QFETCH(int, spreizung);
    const ReportPage s = druck::etikett(etikettMit(4, groesse, spreizung), titel(filme));
    QStringList zeilen;
    int unterkante = 38;
    for (int i = 1; i <= 4; ++i) {
        const PlacedText& t = text(s, qPrintable(QStringLiteral("QRLabel%1").arg(i)));
        zeilen << t.text;
        QVERIFY2(t.rahmen.top() >= unterkante, qPrintable(t.name));
        unterkante = t.rahmen.top() + t.rahmen.height();
        QVERIFY(t.rahmen.left() >= 116 && t.rahmen.right() <= 116 + 561);
        QVERIFY(t.schrift.punkte >= 1 && t.schrift.punkte <= std::max(1, groesse));
    }
    QVERIFY(unterkante <= 38 + 76);
    QCOMPARE(zeilen.mid(0, 3), titel(3));
    QCOMPARE(zeilen[3], QStringLiteral("\u2026 und %1 weitere").arg(filme - 3));
    if (groesse == 8 && spreizung == 0)
        QCOMPARE(text(s, "QRLabel4").schrift.punkte, 8); // what fits keeps the four-film entry
}

void TestDrucklayout::etikettBehaeltAktuellenFilm()
{
    store::Dataset ds;
    std::vector<drucktest::Film> filme;
    for (int i = 1; i <= 4; ++i)
        filme.push_back({1, QStringLiteral("Film %1").arg(i), 60, QStringLiteral("Drama"), kHeute});
    drucktest::filmeAnlegen(ds, QStringLiteral("etikett"), filme);
    for (int aktuell : {3, 1, 4}) {
        ds.first();
        while (ds.recNo() < aktuell)
            ds.next();
        QSignalSpy bewegt(&ds, &store::Dataset::currentChanged);
        const QStringList gelesen = druck::etikettFilmeLesen(ds);
        QCOMPARE(gelesen, (QStringList{QStringLiteral("Film 1"), QStringLiteral("Film 2"),
                                       QStringLiteral("Film 3"), QStringLiteral("Film 4")}));
        QCOMPARE(ds.recNo(), aktuell);
        QCOMPARE(ds.asString(QStringLiteral("Filmname")), QStringLiteral("Film %1").arg(aktuell));
        // The grid does not follow the walk: at most it is told once, of the row it had.
        QVERIFY(bewegt.count() <= 1);
        for (const QList<QVariant>& signal : bewegt)
            QCOMPARE(signal.at(0).toInt(), aktuell - 1);
        QVERIFY(!ds.controlsDisabled());
    }
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestDrucklayout t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_drucklayout.moc"
