// Spreadsheet export: read back with a reader of our own, in the overview's order
// and filter, all four tables, cancelling and failing.

#include "extrastesthelpers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <extras/csv.h>
#include <extras/export.h>
#include <store/error.h>

using namespace extrastest;
using testing_support::freshDir;

namespace {

using Tabelle = QList<QStringList>;

// Reads a file as a spreadsheet program would: BOM, ";" between fields, CR LF between
// records, double quotes around fields that need them. Fails the test on anything else.
Tabelle lesen(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (!bytes.startsWith(extras::kUtf8Bom)) {
        qWarning("no byte order mark");
        return {};
    }
    const QString t = QString::fromUtf8(bytes.mid(3));
    Tabelle rows;
    QStringList row;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < t.size() && t[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else
                    quoted = false;
            } else
                field += c;
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u';') {
            row << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\r') {
            if (i + 1 >= t.size() || t[i + 1] != u'\n') {
                qWarning("bare CR outside quotes");
                return {};
            }
            ++i;
            row << field;
            rows << row;
            row.clear();
            field.clear();
            wasQuoted = false;
        } else if (c == u'\n') {
            qWarning("bare LF outside quotes");
            return {};
        } else
            field += c;
    }
    if (!field.isEmpty() || !row.isEmpty())
        qWarning("last record without CR LF");
    return rows;
}

QStringList spalte(const Tabelle& t, int c)
{
    QStringList s;
    for (qsizetype r = 1; r < t.size(); ++r)
        s << t[r].value(c);
    return s;
}

const QString kSchwierig = QStringLiteral("Äpfel; \"Birnen\"\r\nund Öl");

} // namespace

class TstExport : public QObject
{
    Q_OBJECT
    store::Collection c;
    QString dir;

private slots:
    void initTestCase()
    {
        testing_support::initTestEnvironment();
        dir = freshDir(QStringLiteral("export-liste"));
        c.create(dir, QStringLiteral("liste.qbx"), 0);
        kassette(c, 240, 0, false);
        kassette(c, 95, 95, true);
        film(c, 1, kSchwierig, 90, QStringLiteral("Komödie"), QDate(2026, 12, 1));
        film(c, 1, QStringLiteral("=HYPERLINK(\"http://x\")"), 10, QStringLiteral("+Drama"),
             QDate(2026, 12, 5));
        film(c, 1, QStringLiteral("-Lola rennt"), -1, QStringLiteral("@Genre"), QDate(2026, 12, 7));
        film(c, 2, QStringLiteral("\tTab"), 95, QString(), QDate(2026, 11, 2));
        c.verliehen().append();
        c.verliehen().setInteger(QStringLiteral("Kassette"), 1);
        c.verliehen().setString(QStringLiteral("An"), QStringLiteral("Grüße; an \"Jo\""));
        c.verliehen().setDate(QStringLiteral("Datum"), QDate(2026, 1, 2));
        c.verliehen().setBoolean(QStringLiteral("Anzeigen"), true);
        c.verliehen().post();
        QVERIFY(c.kassetten().locate(1));
        c.filme().first();
        c.filme().edit();
        c.filme().setMemo(QStringLiteral("Beschreibung"), QStringLiteral("zwei\r\nZeilen"));
        c.filme().post();
    }

    void feldRegeln()
    {
        QCOMPARE(extras::csvFeld(QStringLiteral("=1+2")), QStringLiteral("'=1+2"));
        QCOMPARE(extras::csvFeld(QStringLiteral("@SUM(A1)")), QStringLiteral("'@SUM(A1)"));
        QCOMPARE(extras::csvFeld(QStringLiteral("-2+3;x")), QStringLiteral("\"'-2+3;x\""));
        QCOMPARE(extras::csvFeld(QStringLiteral("a=b")), QStringLiteral("a=b"));
        QCOMPARE(extras::csvFeld(-5), QStringLiteral("-5")); // a number is no formula
        QCOMPARE(extras::csvFeld(QDate(2026, 3, 4)), QStringLiteral("04.03.2026"));
        QCOMPARE(extras::csvFeld(QDate(1999, 12, 31)), QStringLiteral("31.12.1999"));
        QCOMPARE(extras::csvFeld(true), QStringLiteral("Ja"));
        QCOMPARE(extras::csvFeld(QVariant()), QString());
        QCOMPARE(extras::csvZeile({QStringLiteral("a\"b"), 1, QString()}), QByteArray("\"a\"\"b\";1;\r\n"));
    }

    // One rule per row, for a text given as such and for the same text as the table
    // file holds it (the overview export's way).
    void formelnUndZeichen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("feld");
        QTest::newRow("Leerzeichen vor =") << QStringLiteral("  =1+2") << QStringLiteral("'  =1+2");
        QTest::newRow("geschütztes Leerzeichen vor +")
            << QStringLiteral("\u00A0+1") << QStringLiteral("'\u00A0+1");
        QTest::newRow("Leerzeichen ohne Breite vor -")
            << QStringLiteral("\u200B-1") << QStringLiteral("'\u200B-1");
        QTest::newRow("Bytereihenfolge und Wortverbinder vor @")
            << QStringLiteral("\uFEFF\u2060@A1") << QStringLiteral("'\uFEFF\u2060@A1");
        QTest::newRow("volle Breite ＝") << QStringLiteral("＝SUMME(A1)") << QStringLiteral("'＝SUMME(A1)");
        QTest::newRow("ideografisches Leerzeichen vor volle Breite ＋")
            << QStringLiteral("\u3000＋1") << QStringLiteral("'\u3000＋1");
        QTest::newRow("kleines Gleichheitszeichen")
            << QStringLiteral("\uFE66 1") << QStringLiteral("'\uFE66 1");
        QTest::newRow("Buchstabe zuerst") << QStringLiteral("Ä=1") << QStringLiteral("Ä=1");
        QTest::newRow("Leerzeichen vor Buchstabe") << QStringLiteral(" a-b") << QStringLiteral(" a-b");
        QTest::newRow("nur Leerzeichen") << QStringLiteral("\u00A0 ") << QStringLiteral("\u00A0 ");
        QTest::newRow("NUL fällt weg") << QStringLiteral("a%1b").arg(QChar(0)) << QStringLiteral("ab");
        QTest::newRow("NUL vor =") << QStringLiteral("%1=1").arg(QChar(0)) << QStringLiteral("'=1");
    }
    void formelnUndZeichen()
    {
        QFETCH(QString, text);
        QFETCH(QString, feld);
        QCOMPARE(extras::csvFeld(text), feld);
        QByteArray gespeichert;
        const QByteArray utf8 = text.toUtf8();
        extras::csvGespeichertAnhaengen(gespeichert, store::FieldType::Char,
                                        {store::Dataset::GespeicherterWert::Art::Text, 0, utf8});
        QCOMPARE(QString::fromUtf8(gespeichert), feld);
    }

    void datumUndZeitOhneGebietsschema()
    {
        // The file says dd.MM.yyyy and HH:mm whatever the user's locale writes.
        const QLocale vorher;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const auto zurueck = qScopeGuard([&vorher] { QLocale::setDefault(vorher); });
        QCOMPARE(extras::csvFeld(QDate(2024, 1, 5)), QStringLiteral("05.01.2024"));
        QCOMPARE(extras::csvFeld(QTime(20, 15)), QStringLiteral("20:15"));
        QCOMPARE(extras::csvFeld(QTime(8, 5, 30)), QStringLiteral("08:05:30"));
        QCOMPARE(extras::csvFeld(QDate(12, 3, 4)), QStringLiteral("04.03.0012"));
        QCOMPARE(extras::csvZeile({QDate(2024, 12, 31), QTime(0, 0)}), QByteArray("31.12.2024;00:00\r\n"));
    }

    void filmuebersichtWieAngezeigt()
    {
        store::Dataset& u = c.filmuebersicht();
        u.refresh();
        u.setIndexFieldNames(QStringLiteral("Filmname"));
        u.setFilter(QStringLiteral("DATUM >= 05.12.2026"));
        u.setFiltered(true);
        u.last();
        const int zeile = u.currentRow();
        const QString datei =
            QDir(freshDir(QStringLiteral("export-uebersicht"))).filePath(QStringLiteral("f.csv"));
        QList<qint64> gemeldet;
        QVERIFY(extras::Export(c).filmuebersicht(datei, [&](qint64 n, qint64 g) {
            gemeldet << n << g;
            return true;
        }));
        QCOMPARE(u.currentRow(), zeile); // the overview did not move
        QCOMPARE(gemeldet.last(), 2);
        const Tabelle t = lesen(datei);
        QCOMPARE(t.size(), 3);
        QCOMPARE(t[0], (QStringList{QStringLiteral("Kassette"), QStringLiteral("Filmname"),
                                    QStringLiteral("Filmlaenge"), QStringLiteral("Genre"),
                                    QStringLiteral("Datum")}));
        // Title order, the film of 1 December filtered out, formulas defused, the
        // missing length empty.
        QCOMPARE(t[1], (QStringList{QStringLiteral("1"), QStringLiteral("'-Lola rennt"), QString(),
                                    QStringLiteral("'@Genre"), QStringLiteral("07.12.2026")}));
        QCOMPARE(t[2], (QStringList{QStringLiteral("1"), QStringLiteral("'=HYPERLINK(\"http://x\")"),
                                    QStringLiteral("10"), QStringLiteral("'+Drama"),
                                    QStringLiteral("05.12.2026")}));

        u.setFiltered(false);
        QVERIFY(extras::Export(c).filmuebersicht(datei));
        const Tabelle alle = lesen(datei);
        QCOMPARE(alle.size(), 5);
        QCOMPARE(spalte(alle, 1), (QStringList{QStringLiteral("'\tTab"), QStringLiteral("'-Lola rennt"),
                                               QStringLiteral("'=HYPERLINK(\"http://x\")"), kSchwierig}));
        u.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    }

    void pythonLiestDieDatei()
    {
        // A second, independent reader: Python's csv module as a spreadsheet would use it.
        const QString datei =
            QDir(freshDir(QStringLiteral("export-python"))).filePath(QStringLiteral("f.csv"));
        QVERIFY(extras::Export(c).filmuebersicht(datei));
        QProcess p;
        p.start(QStringLiteral("python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import csv,sys\n"
                                "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-sig',newline=''),"
                                "delimiter=';'))\n"
                                "print(len(rows), repr(rows[1][1]))"),
                 datei});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            QSKIP("python3 not available");
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
                 QStringLiteral("5 'Äpfel; \"Birnen\"\\r\\nund Öl'"));
    }

    void alleTabellen()
    {
        const QString ziel = freshDir(QStringLiteral("export-tabellen"));
        extras::Export e(c);
        QVERIFY(e.tabellen(ziel));
        QCOMPARE(QDir(ziel).entryList(QDir::Files),
                 (QStringList{QStringLiteral("atimer.csv"), QStringLiteral("ausgelhn.csv"),
                              QStringLiteral("filme.csv"), QStringLiteral("kass.csv")}));
        const Tabelle filme = lesen(QDir(ziel).filePath(QStringLiteral("filme.csv")));
        QCOMPARE(filme.size(), 5);
        QVERIFY(!filme[0].contains(QStringLiteral("Bild")));
        QVERIFY(filme[0].contains(QStringLiteral("Bild_Vorhanden")));
        const int titel = int(filme[0].indexOf(QStringLiteral("Filmname")));
        const int memo = int(filme[0].indexOf(QStringLiteral("Beschreibung")));
        QCOMPARE(filme[1][titel], kSchwierig);
        QCOMPARE(filme[1][memo], QStringLiteral("zwei\r\nZeilen"));
        QCOMPARE(filme[1][filme[0].indexOf(QStringLiteral("Bild_Vorhanden"))], QStringLiteral("Nein"));
        const Tabelle kass = lesen(QDir(ziel).filePath(QStringLiteral("kass.csv")));
        QCOMPARE(spalte(kass, int(kass[0].indexOf(QStringLiteral("Original")))),
                 (QStringList{QStringLiteral("Nein"), QStringLiteral("Ja")}));
        const Tabelle aus = lesen(QDir(ziel).filePath(QStringLiteral("ausgelhn.csv")));
        QCOMPARE(aus[1][aus[0].indexOf(QStringLiteral("An"))], QStringLiteral("Grüße; an \"Jo\""));
        QCOMPARE(aus[1][aus[0].indexOf(QStringLiteral("Datum"))], QStringLiteral("02.01.2026"));
        QCOMPARE(lesen(QDir(ziel).filePath(QStringLiteral("atimer.csv"))).size(), 1); // the header alone
    }

    void vierDateienAlleOderKeine()
    {
        // The old "filme.csv" cannot be moved aside (a directory holds the name it would
        // get) after "kass.csv" already was: every old file is back, no new one stays.
        const QString ziel = freshDir(QStringLiteral("export-alle-oder-keine"));
        const QStringList namen{QStringLiteral("atimer.csv"), QStringLiteral("ausgelhn.csv"),
                                QStringLiteral("filme.csv"), QStringLiteral("kass.csv")};
        for (const QString& n : namen) {
            QFile f(QDir(ziel).filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("alt");
        }
        QVERIFY(QDir(ziel).mkpath(QStringLiteral(".filme.csv.alt/besetzt")));
        QVERIFY_THROWS_EXCEPTION(store::FileError, extras::Export(c).tabellen(ziel));
        QCOMPARE(QDir(ziel).entryList(QDir::Files | QDir::Hidden), namen);
        for (const QString& n : namen) {
            QFile f(QDir(ziel).filePath(n));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("alt"));
        }
    }

    void abbrechenUndFehlerLassenNichtsZurueck()
    {
        // Cancelled: no new file, and a file of that name from before is untouched.
        const QString ziel = freshDir(QStringLiteral("export-abbruch"));
        const QString alt = QDir(ziel).filePath(QStringLiteral("filme.csv"));
        QFile f(alt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("alt");
        f.close();
        int aufrufe = 0;
        auto abbruchNach = [&aufrufe](int n) {
            return [&aufrufe, n](qint64, qint64) { return ++aufrufe < n; };
        };
        QVERIFY(!extras::Export(c).tabellen(ziel, abbruchNach(1)));
        QCOMPARE(QDir(ziel).entryList(QDir::Files), QStringList{QStringLiteral("filme.csv")});
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("alt"));
        f.close();
        aufrufe = 0;
        QVERIFY(!extras::Export(c).filmuebersicht(alt, abbruchNach(1)));
        aufrufe = 0;
        // Cancelled at the very end, after the last row: still nothing written.
        QVERIFY(!extras::Export(c).tabellen(ziel, [](qint64 n, qint64 g) { return n < g; }));
        QCOMPARE(QDir(ziel).entryList(QDir::Files), QStringList{QStringLiteral("filme.csv")});

        // A directory that is not there: a FileError with the file's name.
        QVERIFY_THROWS_EXCEPTION(store::FileError,
                                 extras::Export(c).tabellen(ziel + QStringLiteral("/fehlt")));
        QVERIFY_THROWS_EXCEPTION(store::FileError,
                                 extras::Export(c).filmuebersicht(ziel + QStringLiteral("/fehlt/x.csv")));
        QCOMPARE(QDir(ziel).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("filme.csv")});
    }
};

QTEST_GUILESS_MAIN(TstExport)
#include "tst_export.moc"
