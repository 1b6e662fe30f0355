// Every file the program writes, on a full disk and at the file size limit: the old file
// stays as it was, nothing half-written is left beside it, and the user is told why.
// The size limit is set in a child process (the test itself keeps writing); the full
// disk is a small tmpfs where the machine lets the test mount one.

#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <app/hauptformular.h>
#include <csignal>
#include <extras/export.h>
#include <fakeinteraction.h>
#include <printing/reportlayout.h>
#include <printing/reportpainter.h>
#include <settings/keystore.h>
#include <settings/vocabulary.h>
#include <store/collection.h>
#include <store/error.h>
#include <store/listfile.h>
#include <store/sicheresschreiben.h>
#include <store/umwandlung.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::freshDir;

namespace {

const QString kZuGross = QStringLiteral("größer als erlaubt");

void schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size())
        qFatal("cannot prepare %s", qPrintable(pfad));
}

// Every file below `ort` (hidden ones too) with its content.
QMap<QString, QByteArray> stand(const QString& ort)
{
    QMap<QString, QByteArray> dateien;
    QDirIterator it(ort, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        dateien[QDir(ort).relativeFilePath(f.fileName())] = f.open(QIODevice::ReadOnly) ? f.readAll() : "?";
    }
    return dateien;
}

// From here on no file of this process may grow past `bytes` (writes fail with EFBIG).
void grenzeSetzen(rlim_t bytes)
{
    rlimit r{};
    getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &r);
}

// Runs `arbeit` in a child process and returns the text it reported.
QString imKind(const std::function<QString()>& arbeit)
{
    int rohr[2];
    if (pipe(rohr) != 0)
        return QStringLiteral("<pipe>");
    const pid_t kind = fork();
    if (kind == 0) {
        ::close(rohr[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        QByteArray text;
        try {
            text = arbeit().toUtf8();
        } catch (const store::Error& e) {
            text = e.message().toUtf8();
        } catch (...) {
            text = "<Ausnahme>";
        }
        // A message is far shorter than what a pipe holds: one write takes it.
        _exit(::write(rohr[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1);
    }
    ::close(rohr[1]);
    QByteArray text;
    char b[4096];
    for (ssize_t n; (n = ::read(rohr[0], b, sizeof b)) > 0;)
        text.append(b, n);
    ::close(rohr[0]);
    int status = 0;
    waitpid(kind, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<Kindprozess beendet: %1>").arg(status);
    return QString::fromUtf8(text);
}

// A collection of three cassettes and `filme` films, closed again (a child opens it).
QString sammlungAnlegen(const QString& dir, int filme = 100)
{
    store::Collection c;
    c.create(dir, QStringLiteral("liste.qbx"), 0);
    for (int k = 1; k <= 3; ++k) {
        c.kassetten().append();
        c.kassetten().setInteger(QStringLiteral("Spielzeit"), 240);
        c.kassetten().post();
    }
    for (int i = 0; i < filme; ++i) {
        c.filme().append();
        c.filme().setInteger(QStringLiteral("Zu_Kassette"), 1 + i % 3);
        c.filme().setString(QStringLiteral("Filmname"), QStringLiteral("Film Nummer %1").arg(i));
        c.filme().setDate(QStringLiteral("Datum"), QDate(2026, 1, 1).addDays(i));
        c.filme().post();
    }
    QString liste = c.listFilePath();
    c.close();
    return liste;
}

} // namespace

class TstSchreibfehler : public QObject
{
    Q_OBJECT
    QString sammlung;

private slots:
    void initTestCase()
    {
        testing_support::initTestEnvironment();
        sammlung = sammlungAnlegen(freshDir(QStringLiteral("sammlung")));
    }

    // The helper itself: a write that fits the buffer (so that only the final flush
    // meets the full disk) and one that goes straight to the file.
    void alteDateiBleibt_data()
    {
        QTest::addColumn<bool>("tmpfs");
        QTest::addColumn<int>("groesse");
        QTest::addColumn<QString>("grund");
        QTest::newRow("tmpfs voll, alles im Puffer") << true << 1000 << QStringLiteral("kein Platz mehr");
        QTest::newRow("tmpfs voll, direkt") << true << 100000 << QStringLiteral("kein Platz mehr");
        QTest::newRow("Dateigrenze, alles im Puffer") << false << 1000 << kZuGross;
        QTest::newRow("Dateigrenze, direkt") << false << 100000 << kZuGross;
    }
    void alteDateiBleibt()
    {
        QFETCH(bool, tmpfs);
        QFETCH(int, groesse);
        QFETCH(QString, grund);
        const QString ort = freshDir(QStringLiteral("hilfe"));
        if (tmpfs && ::mount("tmpfs", QFile::encodeName(ort).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto aushaengen = qScopeGuard([&] {
            if (tmpfs)
                ::umount(QFile::encodeName(ort).constData());
        });
        const QString pfad = ort + QStringLiteral("/daten.txt");
        schreiben(pfad, "alt\n");
        if (tmpfs) {
            // The rest of the disk filled up.
            QFile fueller(ort + QStringLiteral("/fueller"));
            QVERIFY(fueller.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (fueller.write(QByteArray(512, 'f')) == 512) {
            }
        }
        const auto vorher = stand(ort);
        auto versuch = [&] {
            if (!tmpfs)
                grenzeSetzen(500);
            store::SicheresSchreiben datei(pfad);
            if (!datei.oeffnen() || !datei.schreiben(QByteArray(groesse, 'x')) || !datei.abschliessen())
                return datei.fehler();
            return QStringLiteral("geschrieben");
        };
        const QString gemeldet = tmpfs ? versuch() : imKind(versuch);
        QVERIFY2(gemeldet.contains(grund), qPrintable(gemeldet));
        QVERIFY2(gemeldet.contains(QDir::toNativeSeparators(pfad)), qPrintable(gemeldet));
        QCOMPARE(stand(ort), vorher);
    }

    // Each kind of file the program writes, over the file size limit.
    void jedeDatei_data()
    {
        QTest::addColumn<QString>("art");
        for (const char* art : {"Filmübersicht", "vier Tabellen", "Einstellungsdatei", "Wortliste",
                                "Listendatei", "Achtung.Txt", "PDF", "Sicherung", "Umwandlungsplan"})
            QTest::newRow(art) << QString::fromUtf8(art);
    }
    void jedeDatei()
    {
        QFETCH(QString, art);
        static int lauf = 0;
        const QString ort = freshDir(QStringLiteral("ort-%1").arg(++lauf));
        QString erwartet; // a word of the message besides the reason
        std::function<QString()> arbeit;
        if (art == QStringLiteral("Filmübersicht")) {
            schreiben(ort + QStringLiteral("/f.csv"), "alt");
            erwartet = QStringLiteral("f.csv");
            arbeit = [&] {
                store::Collection c;
                c.open(sammlung);
                grenzeSetzen(1000);
                return extras::Export(c).filmuebersicht(ort + QStringLiteral("/f.csv"))
                           ? QStringLiteral("exportiert")
                           : QStringLiteral("abgebrochen");
            };
        } else if (art == QStringLiteral("vier Tabellen")) {
            for (const char* n : {"kass.csv", "filme.csv", "ausgelhn.csv", "atimer.csv"})
                schreiben(ort + QLatin1Char('/') + QLatin1String(n), "alt");
            erwartet = QStringLiteral("filme.csv");
            arbeit = [&] {
                store::Collection c;
                c.open(sammlung);
                grenzeSetzen(1500);
                return extras::Export(c).tabellen(ort) ? QStringLiteral("exportiert")
                                                       : QStringLiteral("abgebrochen");
            };
        } else if (art == QStringLiteral("Einstellungsdatei")) {
            settings::FileKeyStore vorher(ort + QStringLiteral("/q.key"));
            vorher.createKey();
            vorher.writeText(QStringLiteral("Titel"), QStringLiteral("alt"));
            vorher.closeKey();
            erwartet = QStringLiteral("Titel");
            arbeit = [&] {
                settings::FileKeyStore k(ort + QStringLiteral("/q.key"));
                k.openKey();
                k.writeText(QStringLiteral("Titel"), QString(3000, QLatin1Char('n')));
                grenzeSetzen(1000);
                k.closeKey();
                return QStringLiteral("gespeichert");
            };
        } else if (art == QStringLiteral("Wortliste")) {
            schreiben(ort + QStringLiteral("/genre.qb"), "Drama\r\n");
            arbeit = [&] {
                QStringList eintraege;
                for (int i = 0; i < 300; ++i)
                    eintraege << QStringLiteral("Eintrag %1").arg(i);
                grenzeSetzen(1000);
                QString grund;
                return settings::vocabulary::writeListFile(ort + QStringLiteral("/genre.qb"), eintraege,
                                                           &grund)
                           ? QStringLiteral("gespeichert")
                           : grund;
            };
        } else if (art == QStringLiteral("Listendatei")) {
            schreiben(ort + QStringLiteral("/v.qbx"), "3\r\n");
            erwartet = QStringLiteral("v.qbx");
            arbeit = [&] {
                grenzeSetzen(3);
                store::writeCollectionNumber(ort + QStringLiteral("/v.qbx"), 12);
                return QStringLiteral("geschrieben");
            };
        } else if (art == QStringLiteral("Achtung.Txt")) {
            // Written with a new Lists directory only: none beforehand, none cut afterwards.
            erwartet = QStringLiteral("Achtung.Txt");
            arbeit = [&] {
                testing_support::FakeInteraction ui;
                testing_support::FixedClock uhr;
                grenzeSetzen(100);
                quorbel::THauptformular w(ort, ui, uhr, ort + QStringLiteral("/einstellungen.key"));
                return ui.messages().join(QLatin1String(" | "));
            };
        } else if (art == QStringLiteral("PDF")) {
            schreiben(ort + QStringLiteral("/liste.pdf"), "alt");
            erwartet = QStringLiteral("liste.pdf");
            arbeit = [&] {
                grenzeSetzen(300);
                const QString fehler = quorbel::report::alsPdfSpeichern(
                    {1, [](int) { return quorbel::report::ReportPage{}; }},
                    ort + QStringLiteral("/liste.pdf"), QStringLiteral("Liste"));
                return fehler.isEmpty() ? QStringLiteral("gespeichert") : fehler;
            };
        } else if (art == QStringLiteral("Sicherung")) {
            // A list file longer than any table file of the collection: only its copy
            // crosses the limit, and only with the last of its bytes.
            const QString quelle = sammlungAnlegen(freshDir(QStringLiteral("sicherung-quelle")), 0);
            QFile liste(quelle);
            QVERIFY(liste.open(QIODevice::Append));
            liste.write(QByteArray(70000 - liste.size(), ' '));
            liste.close();
            erwartet = QStringLiteral("Listendatei");
            arbeit = [&, quelle] {
                store::Collection c;
                c.open(quelle);
                grenzeSetzen(68000);
                c.sicherungErstellen(ort);
                return QStringLiteral("gesichert");
            };
        } else if (art == QStringLiteral("Umwandlungsplan")) {
            // Old tables written back from the collection, brought over again; the limit
            // comes after the tables, just before the plan of the moves.
            {
                store::Collection c;
                c.open(sammlung);
                store::umwandlung::exportieren(c, ort);
            }
            erwartet = QStringLiteral("plan");
            arbeit = [&] {
                store::umwandlung::umwandeln(ort + QStringLiteral("/liste.qbx"), [](qint64 n, qint64 gesamt) {
                    if (n == gesamt)
                        grenzeSetzen(50);
                    return true;
                });
                return QStringLiteral("umgewandelt");
            };
        }
        QVERIFY(arbeit);
        const auto vorher = stand(ort);
        const QString gemeldet = imKind(arbeit);
        QVERIFY2(gemeldet.contains(kZuGross), qPrintable(gemeldet));
        QVERIFY2(gemeldet.contains(erwartet), qPrintable(gemeldet));
        QCOMPARE(stand(ort), vorher);
    }
};

QTEST_MAIN(TstSchreibfehler)
#include "tst_schreibfehler.moc"
