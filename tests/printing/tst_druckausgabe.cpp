// What reaches the paper: the film list and the label written as PDF and read back
// with pdftotext, the preview with its printing and saving, and the font stand-ins.

#include "printingtesthelpers.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <fakeinteraction.h>
#include <printing/etikett.h>
#include <printing/filmliste.h>
#include <printing/reportfont.h>
#include <printing/reportpainter.h>
#include <printing/reportpreview.h>
#include <settings/einstellungen.h>
#include <store/error.h>

using namespace quorbel;

namespace {

struct Wort
{
    int seite;
    QString text;
    QRectF mm; // on the paper, in millimetres from its top left corner
};

// The words of a PDF file with their boxes, as pdftotext sees them.
QList<Wort> woerter(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression wortMuster(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Wort> liste;
    int seite = -1;
    const double mm = 25.4 / 72.0;
    for (auto it = wortMuster.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++seite;
            continue;
        }
        const QPointF a(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm);
        const QPointF b(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm);
        liste.append({seite, m.captured(5), QRectF(a, b)});
    }
    return liste;
}

const Wort* finde(const QList<Wort>& liste, const QString& text, int seite = 0)
{
    for (const Wort& w : liste)
        if (w.text == text && w.seite == seite)
            return &w;
    return nullptr;
}

bool nah(double ist, double soll)
{
    return qAbs(ist - soll) <= 0.5;
}

#define VERIFY_NAH(ist, soll)                                                                                \
    QVERIFY2(nah((ist), (soll)), qPrintable(QStringLiteral("%1 mm statt %2 mm").arg(ist).arg(soll)))

report::Seitenfolge folgeAus(const report::BandedReport& b)
{
    return {b.seitenzahl(), [&b](int s) { return b.seite(s); }};
}

QString pdftotextFehlt()
{
    return QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
               ? QStringLiteral("pdftotext (poppler-utils) ist nicht installiert")
               : QString();
}

} // namespace

class TestDruckausgabe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { report::schriftersatzEinrichten(); }
    void schriftersatz();
    void filmlisteAlsPdf();
    void etikettAlsPdf();
    void vorschauDruckenUndSpeichern();
    void pdfNichtSchreibbar();
    void langerTextBleibtInSeinemRahmen();
    void lesefehlerErreichtDenFehlerdialog();
    void knoepfeUeberDatenmengen();
};

void TestDruckausgabe::schriftersatz()
{
    if (QFontDatabase::hasFamily(QStringLiteral("Arial")) &&
        QFontInfo(QFont(QStringLiteral("Arial"))).family() == QLatin1String("Arial"))
        QSKIP("Arial ist auf diesem System installiert");
    for (const auto& [fehlt, ersatz] :
         {std::pair{"Arial", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"}}) {
        const report::Schrift gewuenscht{QLatin1String(fehlt), 12, false, false};
        const report::Schrift vorhanden{QLatin1String(ersatz), 12, false, false};
        QCOMPARE(QFontInfo(report::qtSchrift(gewuenscht, 1.0)).family(), QLatin1String(ersatz));
        const QString probe = QStringLiteral("Die Schatzinsel (1950), Teil 2");
        QCOMPARE(report::textMass(probe, gewuenscht).breite, report::textMass(probe, vorhanden).breite);
        QCOMPARE(QFont::substitutes(QLatin1String(fehlt)).join(u',').toLower(),
                 QString::fromLatin1(ersatz).toLower());
        QVERIFY(report::schriftenMitErsatz().contains(QLatin1String(fehlt)));
    }
    // Set up twice, the stand-ins stay single.
    report::schriftersatzEinrichten();
    QCOMPARE(QFont::substitutes(QStringLiteral("Arial")).size(), 1);
}

void TestDruckausgabe::filmlisteAlsPdf()
{
    if (const QString fehlt = pdftotextFehlt(); !fehlt.isEmpty())
        QSKIP(qPrintable(fehlt));
    drucktest::Zeilen zeilen(100);
    druck::FilmlisteEinstellungen e;
    e.Titel_Font = QStringLiteral("Times New Roman");
    const auto bericht =
        druck::filmliste(e, {QDate(2026, 12, 8), QDate(2026, 12, 1), QStringLiteral("Zu_Kassette")}, zeilen);
    const QString datei =
        testing_support::freshDir(QStringLiteral("filmliste")) + QStringLiteral("/liste.pdf");
    QCOMPARE(report::alsPdfSpeichern(folgeAus(*bericht), datei, QStringLiteral("Filmliste")), QString());
    const QList<Wort> w = woerter(datei);
    QVERIFY(!w.isEmpty());

    // Title centred across the page at the top margin.
    const Wort* titel = finde(w, QStringLiteral("Videoliste"));
    QVERIFY(titel);
    VERIFY_NAH(titel->mm.center().x(), 105.0);
    VERIFY_NAH(titel->mm.top(), 10.0);
    // "Stand : <date>" centred, 10.6 mm below the title's top.
    const Wort* stand = finde(w, QStringLiteral("Stand"));
    const Wort* datum = finde(w, QStringLiteral("08.12.2026"));
    QVERIFY(stand && datum);
    VERIFY_NAH((stand->mm.left() + datum->mm.right()) / 2, 105.0);
    VERIFY_NAH(stand->mm.top(), 20.6);
    QVERIFY(finde(w, QStringLiteral("01.12.2026")));
    // The first row below the title and header bands: cassette centred in its column,
    // the title at the title column's left edge.
    const Wort* film = finde(w, QStringLiteral("Film"));
    QVERIFY(film);
    VERIFY_NAH(film->mm.left(), 10.0 + 25.9);
    VERIFY_NAH(film->mm.top(), 10.0 + 22.4 + 5.9);
    const Wort* kopf = finde(w, QStringLiteral("Filmname"));
    QVERIFY(kopf);
    VERIFY_NAH(kopf->mm.left(), 10.0 + 25.9);
    VERIFY_NAH(kopf->mm.top(), 10.0 + 22.4);
    // The header repeats at the top of the second page, and the rows continue there.
    const Wort* kopf2 = finde(w, QStringLiteral("Filmname"), 1);
    QVERIFY(kopf2);
    VERIFY_NAH(kopf2->mm.top(), 10.0);
    QVERIFY(finde(w, QStringLiteral("42"), 1));
    // The count at the end.
    QVERIFY(finde(w, QStringLiteral("Aufnahmen"), bericht->seitenzahl() - 1));
    QVERIFY(finde(w, QStringLiteral("100"), bericht->seitenzahl() - 1));
}

void TestDruckausgabe::etikettAlsPdf()
{
    if (const QString fehlt = pdftotextFehlt(); !fehlt.isEmpty())
        QSKIP(qPrintable(fehlt));
    const QString datei =
        testing_support::freshDir(QStringLiteral("etikett")) + QStringLiteral("/etikett.pdf");
    for (const auto& [titel, mitteY] :
         {std::pair{QStringList{QStringLiteral("Schatzinsel")}, QList<double>{20.1}},
          {QStringList{QStringLiteral("Oben"), QStringLiteral("Unten")},
           QList<double>{10.05 + 25 * 25.4 / 96, 10.05 + 50 * 25.4 / 96}}}) {
        report::ReportPage seite = druck::etikett(druck::EtikettEinstellungen{}, titel);
        const report::Seitenfolge folge{1, [&seite](int) { return seite; }};
        QCOMPARE(report::alsPdfSpeichern(folge, datei, QStringLiteral("Etikett")), QString());
        const QList<Wort> w = woerter(datei);
        for (qsizetype i = 0; i < titel.size(); ++i) {
            const Wort* zeile = finde(w, titel[i]);
            QVERIFY(zeile);
            // Centred on the page, its line in the frame's third (or middle).
            VERIFY_NAH(zeile->mm.center().x(), 105.0);
            VERIFY_NAH(zeile->mm.center().y(), mitteY[i]);
        }
    }
}

void TestDruckausgabe::vorschauDruckenUndSpeichern()
{
    drucktest::Zeilen zeilen(60);
    const auto bericht = druck::filmliste({}, {QDate(2026, 12, 8), {}, QStringLiteral("Filmname")}, zeilen);
    QCOMPARE(bericht->seitenzahl(), 2);
    const QString dir = testing_support::freshDir(QStringLiteral("vorschau"));
    const QString pdf = dir + QStringLiteral("/Videoliste.pdf");
    const QString gedruckt = dir + QStringLiteral("/gedruckt.pdf");

    testing_support::FakeInteraction ui;
    ui.fileAnswers.push_back(pdf);
    int seiten = -1;
    QString seitenText, letzteSeite;
    QStringList ohneNamen;
    ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& vorschau = dynamic_cast<ReportPreview&>(d);
        for (QWidget* w : d.findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
                w->accessibleName().isEmpty())
                ohneNamen << w->objectName();
        d.show();
        QCoreApplication::processEvents();
        seiten = d.findChild<QPrintPreviewWidget*>(QStringLiteral("Vorschau"))->pageCount();
        seitenText = d.findChild<QLabel*>(QStringLiteral("Label_Seite"))->text();
        d.findChild<QToolButton*>(QStringLiteral("Button_Letzte_Seite"))->click();
        d.findChild<QToolButton*>(QStringLiteral("Button_Naechste_Seite"))->click();
        letzteSeite = d.findChild<QLabel*>(QStringLiteral("Label_Seite"))->text();
        d.findChild<QToolButton*>(QStringLiteral("Button_Als_Pdf_Speichern"))->click();
        // Printing: the print dialog is accepted as it stands, onto a PDF file.
        vorschau.drucker().setOutputFormat(QPrinter::PdfFormat);
        vorschau.drucker().setOutputFileName(gedruckt);
        d.findChild<QToolButton*>(QStringLiteral("Button_Drucken"))->click();
        d.findChild<QToolButton*>(QStringLiteral("Button_Schliessen"))->click();
        return d.result();
    });
    bool druckdialog = false;
    ui.dialogAnswers.push_back([&](QDialog& d) {
        druckdialog = qobject_cast<QPrintDialog*>(&d) != nullptr;
        return int(QDialog::Accepted);
    });
    vorschauZeigen(ui, folgeAus(*bericht), QStringLiteral("Videoliste"));

    QVERIFY(druckdialog);
    QCOMPARE(ohneNamen, QStringList());
    QCOMPARE(seiten, 2);
    QCOMPARE(seitenText, QStringLiteral("Seite 1 von 2"));
    QCOMPARE(letzteSeite, QStringLiteral("Seite 2 von 2"));
    QCOMPARE(ui.errors(), QStringList());
    QCOMPARE(ui.messages(), QStringList());
    const auto gewaehlt = std::find_if(ui.shown.begin(), ui.shown.end(), [](const auto& s) {
        return s.kind == testing_support::FakeInteraction::Shown::Kind::File;
    });
    QVERIFY(gewaehlt != ui.shown.end());
    QCOMPARE(gewaehlt->text, QStringLiteral("PDF-Dateien (*.pdf)|*.pdf"));
    QVERIFY(gewaehlt->caption.endsWith(QLatin1String("/Videoliste.pdf")));
    for (const QString& datei : {pdf, gedruckt}) {
        QFile f(datei);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(datei));
        QVERIFY(f.read(5) == "%PDF-");
        if (pdftotextFehlt().isEmpty()) {
            const QList<Wort> w = woerter(datei);
            QVERIFY(finde(w, QStringLiteral("Videoliste")));
            QVERIFY(finde(w, QStringLiteral("59"), 1));
        }
    }
}

void TestDruckausgabe::pdfNichtSchreibbar()
{
    drucktest::Zeilen zeilen(3);
    const auto bericht = druck::filmliste({}, {QDate(2026, 12, 8), {}, QStringLiteral("Filmname")}, zeilen);
    const QString dir = testing_support::freshDir(QStringLiteral("nichtschreibbar"));

    // A file that exists stays as it was when the new one cannot be written.
    const QString alt = dir + QStringLiteral("/alt.pdf");
    {
        QFile f(alt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("alt");
    }
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    const bool schreibgeschuetzt = !QFile(dir + QStringLiteral("/probe")).open(QIODevice::WriteOnly);

    testing_support::FakeInteraction ui;
    ui.fileAnswers.push_back(dir + QStringLiteral("/fehlt/liste.pdf"));
    ui.fileAnswers.push_back(alt);
    ui.dialogAnswers.push_back([](QDialog& d) {
        auto* pdf = d.findChild<QToolButton*>(QStringLiteral("Button_Als_Pdf_Speichern"));
        pdf->click();
        pdf->click();
        return int(QDialog::Rejected);
    });
    vorschauZeigen(ui, folgeAus(*bericht), QStringLiteral("Videoliste"));
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QStringList fehler = ui.messages();
    QVERIFY(!fehler.isEmpty());
    QVERIFY2(
        fehler[0].startsWith(QLatin1String("Die Datei \"liste.pdf\" kann nicht geschrieben werden:\n\r")),
        qPrintable(fehler[0]));
    QVERIFY(!QFile::exists(dir + QStringLiteral("/fehlt/liste.pdf")));
    if (schreibgeschuetzt) {
        QCOMPARE(fehler.size(), 2);
        QFile f(alt);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("alt"));
    }
}

namespace {

// Rows of which the 50th cannot be read.
class Gesperrt final : public report::RowSource
{
public:
    int anzahl() const override { return 100; }
    QString wert(int zeile, const QString&) const override
    {
        if (zeile >= 50)
            throw store::EngineError(QStringLiteral("Die Tabelle ist gesperrt."));
        return QStringLiteral("x");
    }
};

// Queues the answers by which the preview saves itself as this PDF file and closes.
void pdfSpeichernIn(testing_support::FakeInteraction& ui, const QString& datei)
{
    ui.fileAnswers.push_back(datei);
    ui.dialogAnswers.push_back([](QDialog& d) {
        d.findChild<QToolButton*>(QStringLiteral("Button_Als_Pdf_Speichern"))->click();
        return int(QDialog::Rejected);
    });
}

} // namespace

void TestDruckausgabe::langerTextBleibtInSeinemRahmen()
{
    // A title too long for its column: its first line shows, nothing of it lies outside
    // the field, and no slice of its second line shows at the field's foot.
    const report::Schrift schrift{QStringLiteral("Arial"), 8, false, false};
    report::PlacedText t;
    t.text = QStringLiteral("Ein sehr langer Filmtitel, der in keine Spalte passt, und noch viel mehr");
    t.schrift = schrift;
    t.rahmen = QRect(20, 20, 120, 15);
    t.breite = report::textBreite(t.text, schrift);
    report::ReportPage seite;
    seite.texte.push_back(t);
    const double f = 4.0;
    QImage bild(int(200 * f), int(60 * f), QImage::Format_RGB32);
    bild.fill(Qt::white);
    {
        QPainter p(&bild);
        report::seiteZeichnen(p, seite, f);
    }
    const int zeile = QFontMetrics(report::qtSchrift(schrift, f)).lineSpacing();
    int schwarzDrin = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            if (bild.pixel(x, y) == qRgb(255, 255, 255))
                continue;
            const bool imFeld = x >= 20 * f && x < 140 * f && y >= 20 * f && y < 20 * f + zeile;
            QVERIFY2(imFeld, qPrintable(QStringLiteral("Punkt bei %1, %2").arg(x).arg(y)));
            ++schwarzDrin;
        }
    QVERIFY(schwarzDrin > 100);
}

void TestDruckausgabe::lesefehlerErreichtDenFehlerdialog()
{
    Gesperrt zeilen;
    const auto bericht = druck::filmliste({}, {QDate(2026, 12, 8), {}, QStringLiteral("Filmname")}, zeilen);
    const QString datei =
        testing_support::freshDir(QStringLiteral("lesefehler")) + QStringLiteral("/liste.pdf");
    testing_support::FakeInteraction ui;
    pdfSpeichernIn(ui, datei);
    vorschauZeigen(ui, folgeAus(*bericht), QStringLiteral("Videoliste"));
    QCOMPARE(ui.errors(), QStringList{QStringLiteral("Die Tabelle ist gesperrt.")});
    QVERIFY(!QFile::exists(datei));
    QVERIFY(!QApplication::overrideCursor());
}

void TestDruckausgabe::knoepfeUeberDatenmengen()
{
    const QString dir = testing_support::freshDir(QStringLiteral("knoepfe"));
    settings::Einstellungen e;

    // The film list of a filtered overview: only its films, and their count.
    store::Dataset uebersicht;
    drucktest::filmeAnlegen(uebersicht, QStringLiteral("uebersicht"),
                            {{1, QStringLiteral("Alt"), 90, QStringLiteral("Krimi"), QDate(2026, 11, 1)},
                             {2, QStringLiteral("Neuer"), 80, QStringLiteral("Drama"), QDate(2026, 12, 2)}});
    uebersicht.setFilter(QStringLiteral("Datum >= 01.12.2026"));
    uebersicht.setFiltered(true);
    testing_support::FakeInteraction ui;
    const QString liste = dir + QStringLiteral("/liste.pdf");
    pdfSpeichernIn(ui, liste);
    druck::filmlisteZeigen(ui, e, uebersicht, QDate(2026, 12, 8), QDate(2026, 12, 1));
    QCOMPARE(ui.errors(), QStringList());
    QVERIFY(QFile::exists(liste));

    // The label of a cassette with five films while the second is current.
    store::Dataset filme;
    std::vector<drucktest::Film> fuenf;
    for (int i = 1; i <= 5; ++i)
        fuenf.push_back(
            {1, QStringLiteral("Titel%1").arg(i), 30, QStringLiteral("Drama"), QDate(2026, 12, 1)});
    drucktest::filmeAnlegen(filme, QStringLiteral("etikettfilme"), fuenf);
    filme.first();
    filme.next();
    const QString etikett = dir + QStringLiteral("/etikett.pdf");
    pdfSpeichernIn(ui, etikett);
    druck::etikettZeigen(ui, e, filme);
    QCOMPARE(filme.recNo(), 2);
    QCOMPARE(ui.errors(), QStringList());

    if (!pdftotextFehlt().isEmpty())
        return;
    QList<Wort> w = woerter(liste);
    QVERIFY(finde(w, QStringLiteral("Neuer")));
    QVERIFY(!finde(w, QStringLiteral("Alt")));
    QVERIFY(finde(w, QStringLiteral("01.12.2026")));
    QVERIFY(finde(w, QStringLiteral("1")));
    w = woerter(etikett);
    QVERIFY(finde(w, QStringLiteral("Titel3")));
    QVERIFY(!finde(w, QStringLiteral("Titel4")));
    QVERIFY(finde(w, QStringLiteral("weitere")));
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestDruckausgabe t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_druckausgabe.moc"
