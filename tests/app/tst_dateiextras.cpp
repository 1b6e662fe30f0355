// The file menu's export and backup, and the figures on the info page, worked from
// the real window through the fake seams.

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <app/dateiextras.h>
#include <app/genrediagramm.h>
#include <app/hauptformular.h>
#include <app/infoseite.h>
#include <app/neueverwaltung.h>
#include <catalogue/filminfoformular.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/listfile.h>
#include <store/paradox.h>
#include <store/umwandlung.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

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
    }
    void neu()
    {
        testing_support::neueSammlungAnlegen(*w, ui, dir);
        ui.clear();
    }
    store::Collection& c() const { return w->collection(); }
    void kassette(int spielzeit)
    {
        store::Dataset& k = c().kassetten();
        k.append();
        k.setInteger(QStringLiteral("Posi"), k.recordCount() + 1);
        k.setInteger(QStringLiteral("Spielzeit"), spielzeit);
        k.setInteger(QStringLiteral("Belegt"), 0);
        k.setInteger(QStringLiteral("Frei"), spielzeit);
        k.post();
    }
    // A film on the current cassette; stored unless `offen`.
    void film(const QString& titel, int laenge, const QString& genre, bool offen = false)
    {
        store::Dataset& f = c().filme();
        f.append();
        f.setString(QStringLiteral("Filmname"), titel);
        f.setInteger(QStringLiteral("Filmlaenge"), laenge);
        f.setString(QStringLiteral("Genre"), genre);
        if (!offen)
            f.post();
    }
    // The export dialog answered with one of its two choices.
    void exportWahl(bool tabellen)
    {
        ui.dialogAnswers.push_back([tabellen](QDialog& d) {
            kind<QRadioButton>(d, tabellen ? "RadioButton_Tabellen" : "RadioButton_Filmuebersicht")
                ->setChecked(true);
            kind<QPushButton>(d, "BitBtn_ExportOK")->click();
            return d.result();
        });
    }
};

QStringList dateien(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class TstDateiextras : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { testing_support::initTestEnvironment(); }

    void menueEintraegeNurBeiOffenerListe()
    {
        Fenster f(QStringLiteral("menue"));
        QStringList namen;
        for (QAction* a : kind<QMenu>(f.w, "Datei1")->actions())
            namen << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(namen,
                 (QStringList{QStringLiteral("Neu1"), QStringLiteral("ffnen1"),
                              QStringLiteral("Schliessen_Menu"), QStringLiteral("Exportieren1"),
                              QStringLiteral("Sicherungerstellen1"), QStringLiteral("ParadoxExportieren1"),
                              QStringLiteral("-"), QStringLiteral("Programmbeenden1")}));
        auto* exp = kind<QAction>(f.w, "Exportieren1");
        auto* sich = kind<QAction>(f.w, "Sicherungerstellen1");
        QCOMPARE(exp->text(), QStringLiteral("&Exportieren…"));
        QVERIFY(!exp->isEnabled() && !sich->isEnabled());
        f.neu();
        QVERIFY(exp->isEnabled() && sich->isEnabled());
        // "Neu" hides the open collection while its dialog is shown: nothing to export.
        kind<QAction>(f.w, "Neu1")->trigger();
        QVERIFY(!exp->isEnabled() && !sich->isEnabled());
        f.neu();
        kind<QAction>(f.w, "Schliessen_Menu")->trigger();
        QVERIFY(!exp->isEnabled() && !sich->isEnabled());
    }

    // A collection of Paradox tables opens after the question, with its picture and
    // description, and goes back into that format from the file menu.
    void paradoxSammlungImFenster()
    {
        Fenster f(QStringLiteral("paradox"));
        QImage bild(60, 40, QImage::Format_RGB32);
        bild.fill(QColor(20, 160, 40));
        QByteArray bmp;
        QBuffer puffer(&bmp);
        puffer.open(QIODevice::WriteOnly);
        QVERIFY(bild.save(&puffer, "BMP"));
        QByteArray kopf("\x01\x00\x00\x01\x00\x00\x00\x00", 8);
        kopf[4] = char(bmp.size() & 0xff);
        kopf[5] = char((bmp.size() >> 8) & 0xff);
        kopf[6] = char((bmp.size() >> 16) & 0xff);
        const QString text = QStringLiteral("Mit Untertiteln; Größe und Maß.").repeated(20);
        const std::vector<std::vector<QVariant>> kass = {{1, 1, 240, 90, 150, false, false, false},
                                                         {2, 2, 180, 0, 180, false, false, false}};
        const std::vector<std::vector<QVariant>> filme = {{1, 1, QStringLiteral("Der Stadtneurotiker"), 90,
                                                           QStringLiteral("Komödie"), QDate(1998, 5, 19),
                                                           kopf + bmp, true, text}};
        for (const char* stem : {"kass", "filme", "ausgelhn", "atimer"}) {
            store::paradox::Schreiber s(QDir(f.dir).filePath(QLatin1String(stem) + QStringLiteral(".db")),
                                        store::umwandlung::paradoxFelder(QLatin1String(stem)), true);
            for (const auto& z : qstrcmp(stem, "kass") == 0    ? kass
                                 : qstrcmp(stem, "filme") == 0 ? filme
                                                               : decltype(kass){})
                s.zeile(z);
            s.abschliessen();
        }
        const QString liste = QDir(f.dir).filePath(QStringLiteral("alt.qbx"));
        store::writeCollectionNumber(liste, 0);
        QFile paradox(QDir(f.dir).filePath(QStringLiteral("filme.mb")));
        QVERIFY(paradox.open(QIODevice::ReadOnly));
        const QByteArray mbVorher = paradox.readAll();
        paradox.close();

        // "No" leaves everything as it was and opens nothing.
        f.ui.fileAnswers.push_back(liste);
        f.ui.messageAnswers.push_back(No);
        kind<QAction>(f.w, "ffnen1")->trigger();
        QVERIFY(!f.c().kassetten().isActive());
        QVERIFY(f.ui.messages().first().contains(QStringLiteral("Paradox-Original")));
        QVERIFY(!QFileInfo::exists(QDir(f.dir).filePath(QStringLiteral("Paradox-Original"))));

        f.ui.clear();
        f.ui.fileAnswers.push_back(liste);
        kind<QAction>(f.w, "ffnen1")->trigger();
        QVERIFY2(f.ui.errors().isEmpty(), qPrintable(f.ui.errors().join(u'|')));
        QCOMPARE(f.ui.messages().size(), 2);
        QVERIFY(f.ui.messages().last().startsWith(
            QStringLiteral("Die Videoliste wurde umgewandelt: 2 Kassetten, 1 Filme, 0 Ausleihen")));
        QCOMPARE(f.c().kassetten().recordCount(), 2);
        QCOMPARE(f.c().filme().recordCount(), 1);
        QFile original(QDir(f.dir).filePath(QStringLiteral("Paradox-Original/filme.mb")));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), mbVorher);

        auto* info = kind<TFilminfoformular>(f.w, "Filminfoformular");
        info->FormActivate();
        QCOMPARE(info->angezeigtesBild().size(), QSize(60, 40));
        QCOMPARE(info->angezeigtesBild().pixelColor(30, 20), QColor(20, 160, 40));
        QCOMPARE(info->DBMemo_Bemerkungen->toPlainText(), text);

        // Back into the old format.
        const QString ziel = freshDir(QStringLiteral("paradox-zurueck"));
        f.ui.clear();
        f.ui.fileAnswers.push_back(ziel);
        kind<QAction>(f.w, "ParadoxExportieren1")->trigger();
        QVERIFY2(f.ui.errors().isEmpty(), qPrintable(f.ui.errors().join(u'|')));
        QVERIFY(f.ui.messages().last().contains(QStringLiteral("2 Kassetten, 1 Filme")));
        QVERIFY(store::paradox::istParadoxTabelle(QDir(ziel).filePath(QStringLiteral("filme.db"))));
        QVERIFY(QFileInfo::exists(QDir(ziel).filePath(QStringLiteral("alt.qbx"))));
    }

    void exportAusDemFenster()
    {
        Fenster f(QStringLiteral("export"));
        f.neu();
        f.kassette(240);
        f.film(QStringLiteral("=Formel"), 90, QStringLiteral("Drama"));
        f.film(QStringLiteral("Offen"), 30, QStringLiteral("Krimi"), true); // stored first
        const QString ziel = freshDir(QStringLiteral("export-ziel"));
        auto* exp = kind<QAction>(f.w, "Exportieren1");

        // The overview as one file.
        f.exportWahl(false);
        const QString datei = QDir(ziel).filePath(QStringLiteral("liste.csv"));
        f.ui.fileAnswers.push_back(datei);
        exp->trigger();
        QCOMPARE(f.c().filme().state(), store::Dataset::State::Browse);
        QVERIFY(f.ui.errors().isEmpty());
        QCOMPARE(f.ui.messages().last(), QStringLiteral("Die Filmübersicht wurde exportiert nach:\n\r") +
                                             QDir::toNativeSeparators(datei));
        QFile file(datei);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray inhalt = file.readAll();
        QVERIFY(inhalt.startsWith("\xEF\xBB\xBF"
                                  "Kassette;Filmname;"));
        QVERIFY(inhalt.contains(";'=Formel;90;Drama;"));
        file.close();

        // The tables: files of those names are only replaced when the user agrees.
        f.ui.clear();
        f.exportWahl(true);
        f.ui.fileAnswers.push_back(ziel);
        exp->trigger();
        QCOMPARE(dateien(ziel), (QStringList{QStringLiteral("atimer.csv"), QStringLiteral("ausgelhn.csv"),
                                             QStringLiteral("filme.csv"), QStringLiteral("kass.csv"),
                                             QStringLiteral("liste.csv")}));
        QVERIFY(!f.ui.progressReports.isEmpty());
        QCOMPARE(f.ui.progressReports.last(), (std::pair<qint64, qint64>(3, 3)));
        f.ui.clear();
        QFile::remove(QDir(ziel).filePath(QStringLiteral("kass.csv")));
        f.exportWahl(true);
        f.ui.fileAnswers.push_back(ziel);
        f.ui.messageAnswers.push_back(No);
        exp->trigger();
        QCOMPARE(f.ui.messages().size(), 1);
        QVERIFY(f.ui.messages().first().contains(QStringLiteral("filme.csv\n\r")));
        QVERIFY(!QFile::exists(QDir(ziel).filePath(QStringLiteral("kass.csv"))));

        // Cancelled in the progress window: no file, and the user is told.
        f.ui.clear();
        f.ui.cancelProgressAt = 1;
        f.exportWahl(false);
        const QString neu = QDir(ziel).filePath(QStringLiteral("neu.csv"));
        f.ui.fileAnswers.push_back(neu);
        exp->trigger();
        QVERIFY(!QFile::exists(neu));
        QCOMPARE(f.ui.messages(), QStringList{QStringLiteral(
                                      "Der Export wurde abgebrochen; es wurde keine Datei geschrieben.")});

        // Dialog or chooser cancelled: nothing happens.
        f.ui.clear();
        exp->trigger(); // dialog rejected
        f.exportWahl(false);
        exp->trigger(); // no file chosen
        QVERIFY(f.ui.messages().isEmpty() && f.ui.errors().isEmpty());
    }

    void sicherungMitOffenerZeile()
    {
        Fenster f(QStringLiteral("sicherung"));
        f.neu();
        f.kassette(180);
        f.film(QStringLiteral("Gespeichert"), 60, QStringLiteral("Drama"));
        f.film(QStringLiteral("Noch offen"), 100, QStringLiteral("Drama"), true);
        const QString ziel = freshDir(QStringLiteral("sicherung-ziel"));
        f.ui.fileAnswers.push_back(ziel);
        kind<QAction>(f.w, "Sicherungerstellen1")->trigger();
        QVERIFY2(f.ui.errors().isEmpty(), qPrintable(f.ui.errors().join(QLatin1Char('|'))));
        const QString meldung = f.ui.messages().last();
        QVERIFY(meldung.startsWith(QStringLiteral("Die Sicherung wurde erstellt:\n\r")));
        QVERIFY(meldung.contains(QStringLiteral("1 Kassetten, 2 Filme, 0 Ausleihen, 0 geplante Aufnahmen.")));
        QVERIFY(meldung.contains(QStringLiteral("Integritätsprüfung bestanden")));

        // The copy holds the row that was pending, with the cassette's minutes counted.
        store::Collection kopie;
        kopie.open(QDir(ziel).filePath(QStringLiteral("videos.qbx")));
        QCOMPARE(kopie.filmuebersicht().recordCount(), 2);
        kopie.kassetten().first();
        QCOMPARE(kopie.kassetten().asInteger(QStringLiteral("Belegt")), 160);
        QCOMPARE(kopie.kassetten().asInteger(QStringLiteral("Frei")), 20);
        kopie.close();

        // Into the same, now full directory: refused with the reason, nothing added.
        f.ui.clear();
        const QStringList vorher = dateien(ziel);
        f.ui.fileAnswers.push_back(ziel);
        kind<QAction>(f.w, "Sicherungerstellen1")->trigger();
        QCOMPARE(f.ui.messages().size(), 1);
        QVERIFY(f.ui.messages().first().startsWith(QStringLiteral(
            "Die Sicherung konnte nicht erstellt werden; im Verzeichnis blieb nichts von ihr zurück.\n\r")));
        QVERIFY(f.ui.messages().first().contains(QStringLiteral("nicht leer")));
        QCOMPARE(f.ui.shown.last().icon, MsgIcon::Error);
        QCOMPARE(dateien(ziel), vorher);
    }

    void statistikAufDerInfoseite()
    {
        Fenster f(QStringLiteral("statistik"));
        f.neu();
        f.kassette(180);
        f.film(QStringLiteral("A"), 100, QStringLiteral("Drama"));
        f.film(QStringLiteral("B"), 50, QStringLiteral("Krimi"));
        f.kassette(240);
        f.film(QStringLiteral("C"), 40, QStringLiteral("Drama"));
        auto* seiten = kind<QTabWidget>(f.w, "Pagecontrol");
        auto* info = kind<Infoseite>(f.w, "TabSheet2");
        seiten->setCurrentWidget(info);
        const extras::Statistik& s = info->statistik();
        QCOMPARE(s.filme, 3);
        QCOMPARE(s.minutenAufgenommen, 190);
        QCOMPARE(s.minutenFrei, 30 + 200);
        QCOMPARE(s.vollste->nummer, 1);
        const QString text = kind<QLabel>(f.w, "Label_Statistik")->text();
        QVERIFY(text.contains(QStringLiteral("Minuten frei</td><td align=\"right\"><b>230</b>")));
        QVERIFY(text.contains(QStringLiteral("Nr. 2 (200 von 240 Min. frei)")));
        auto* diagramm = kind<GenreDiagramm>(f.w, "Diagramm_Genres");
        QCOMPARE(diagramm->accessibleDescription(), QStringLiteral("Drama: 2, Krimi: 1"));

        // Shown again, the page reads the figures again.
        seiten->setCurrentIndex(0);
        f.film(QStringLiteral("D"), 10, QStringLiteral("Krimi"));
        seiten->setCurrentWidget(info);
        QCOMPARE(info->statistik().filme, 4);
        QCOMPARE(diagramm->accessibleDescription(), QStringLiteral("Drama: 2, Krimi: 2"));

        // A length out of range, written by another tool: the page names what it could not
        // work out and still shows the rest.
        kind<QAction>(f.w, "Schliessen_Menu")->trigger();
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QDir(f.dir).filePath(QStringLiteral("filme.db")).toUtf8().constData(), &db),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "UPDATE tabelle SET Filmlaenge = 9223372036854775807", nullptr, nullptr,
                              nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        f.ui.fileAnswers.push_back(QDir(f.dir).filePath(QStringLiteral("videos.qbx")));
        kind<QAction>(f.w, "ffnen1")->trigger();
        seiten->setCurrentIndex(0);
        seiten->setCurrentWidget(info);
        const QString mitFehler = kind<QLabel>(f.w, "Label_Statistik")->text();
        QVERIFY2(mitFehler.contains(QStringLiteral("Nicht auswertbar:")) &&
                     mitFehler.contains(QStringLiteral("Filmlaenge")),
                 qPrintable(mitFehler));
        QCOMPARE(info->statistik().filme, 4);
    }

    void diagrammFasstZusammen()
    {
        GenreDiagramm d;
        d.resize(200, 60); // room for three bars
        d.setDaten({{QStringLiteral("a"), 9},
                    {QStringLiteral("b"), 5},
                    {QStringLiteral("c"), 2},
                    {QStringLiteral("d"), 1}});
        const auto b = d.balken();
        QCOMPARE(b.size(), size_t(3));
        QCOMPARE(b[2], (std::pair<QString, qint64>(QStringLiteral("übrige"), 3)));
        d.grab(); // paints without a display
    }
};

QTEST_MAIN(TstDateiextras)
#include "tst_dateiextras.moc"
