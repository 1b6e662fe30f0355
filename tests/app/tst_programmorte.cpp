#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <app/application.h>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <app/programmorte.h>
#include <fakeinteraction.h>
#include <kind.h>
#include <memory>
#include <settings/keystore.h>
#include <store/collection.h>
#include <store/dataset.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

const Beschreibbar kImmer = [](const QString&) { return true; };
const Beschreibbar kNie = [](const QString&) { return false; };

QString mitTrenner(const QString& path)
{
    return QDir(path).absolutePath() + QLatin1Char('/');
}

// A main window over the given places, with its own settings file.
struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    QString settingsFile;
    std::unique_ptr<THauptformular> w;

    Fenster(const Programmorte& orte, const QString& name)
    {
        settingsFile =
            freshDir(name + QStringLiteral("-einstellungen")) + QStringLiteral("/einstellungen.key");
        w = std::make_unique<THauptformular>(orte, ui, clock, settingsFile);
    }

    void storeSetting(const QString& name, const QString& value) const
    {
        settings::FileKeyStore key(settingsFile);
        if (!key.openKey())
            key.createKey();
        key.writeText(name, value);
        key.closeKey();
    }

    void activate()
    {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w.get(), &activate);
    }
};

} // namespace

class TestProgrammorte : public QObject
{
    Q_OBJECT

    QString m_home;
    QString m_daten;

private slots:
    void initTestCase()
    {
        // The user's directories of this test, never the real ones.
        m_home = freshDir(QStringLiteral("home"));
        m_daten = m_home + QStringLiteral("/.local/share");
        qputenv("HOME", QFile::encodeName(m_home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_daten));
    }

    void placesOfAWritableOrUnwritableProgramDirectory()
    {
        const QString programm = freshDir(QStringLiteral("programm"));
        {
            // A copy of its own keeps everything beside the executable, and makes nothing elsewhere.
            const Programmorte orte = Programmorte_Bestimmen(programm, kImmer);
            QCOMPARE(orte.listenBasis, mitTrenner(programm));
            QCOMPARE(orte.startVerzeichnis, mitTrenner(programm));
            QVERIFY(!QFileInfo::exists(m_daten + QStringLiteral("/quorbel98")));
        }
        {
            // Installed: the lists go to the user's data directory, which is made; the start is
            // the home directory while there are no documents ...
            const Programmorte orte = Programmorte_Bestimmen(programm, kNie);
            QCOMPARE(orte.listenBasis, mitTrenner(m_daten + QStringLiteral("/quorbel98")));
            QVERIFY(QFileInfo(orte.listenBasis).isDir());
            QCOMPARE(orte.startVerzeichnis, mitTrenner(m_home));
            // ... and the documents directory once there is one.
            QVERIFY(QDir(m_home).mkdir(QStringLiteral("Documents")));
            QCOMPARE(Programmorte_Bestimmen(programm, kNie).startVerzeichnis,
                     mitTrenner(m_home + QStringLiteral("/Documents")));
        }
        {
            // The system's answer: a directory that is missing or a file is no place to write.
            QVERIFY(Verzeichnis_Beschreibbar(programm));
            QVERIFY(!Verzeichnis_Beschreibbar(programm + QStringLiteral("/fehlt")));
            QFile datei(programm + QStringLiteral("/datei"));
            QVERIFY(datei.open(QIODevice::WriteOnly));
            datei.close();
            QVERIFY(!Verzeichnis_Beschreibbar(datei.fileName()));
        }
    }

    void windowOfAnInstalledProgram()
    {
        const QString programm = freshDir(QStringLiteral("installiert"));
        QDir(m_daten).removeRecursively();
        QDir(m_home).mkpath(QStringLiteral("Documents"));
        const QString dokumente = m_home + QStringLiteral("/Documents");

        Fenster f(Programmorte_Bestimmen(programm, kNie), QStringLiteral("installiert"));
        const QString listen = m_daten + QStringLiteral("/quorbel98/Lists");
        // The lists directory with its warning in the user's data directory, nothing beside
        // the program.
        QVERIFY(QFileInfo::exists(listen + QStringLiteral("/Achtung.Txt")));
        QVERIFY(QDir(programm).isEmpty());
        QCOMPARE(f.w->programDirectory(), mitTrenner(m_daten + QStringLiteral("/quorbel98")));
        // The start is the documents directory, and the new-collection dialog shows it.
        QCOMPARE(QDir::currentPath(), dokumente);
        const auto* box = kind<DirectoryListBox>(f.w, "VerzeichnisBox");
        QCOMPARE(box->directory(), dokumente);
        f.w.reset();

        // A portable copy is as before: lists and start beside the program.
        Fenster g(Programmorte_Bestimmen(programm, kImmer), QStringLiteral("portabel"));
        QVERIFY(QFileInfo::exists(programm + QStringLiteral("/Lists/Achtung.Txt")));
        QCOMPARE(QDir::currentPath(), programm);
        QCOMPARE(kind<DirectoryListBox>(g.w, "VerzeichnisBox")->directory(), programm);
    }

    void listFileOnTheCommandLine()
    {
        const QString start = QStringLiteral("/start/hier");
        QCOMPARE(Startliste_Aus_Argumenten({QStringLiteral("quorbel98")}, start), QString());
        // A relative path is meant from where the program was started, not from where the
        // program later changes to.
        QCOMPARE(Startliste_Aus_Argumenten({QStringLiteral("quorbel98"), QStringLiteral("filme/meine.qbx")},
                                           start),
                 QStringLiteral("/start/hier/filme/meine.qbx"));
        QCOMPARE(
            Startliste_Aus_Argumenten({QStringLiteral("quorbel98"), QStringLiteral("/a/b c.qbx")}, start),
            QStringLiteral("/a/b c.qbx"));
        // Options it does not know are passed over.
        QCOMPARE(
            Startliste_Aus_Argumenten(
                {QStringLiteral("quorbel98"), QStringLiteral("--unbekannt"), QStringLiteral("x.qbx")}, start),
            QStringLiteral("/start/hier/x.qbx"));
    }

    void commandLineListOpensAtTheFirstActivation()
    {
        const QString programm = freshDir(QStringLiteral("kommandozeile"));
        const QString sammlung = freshDir(QStringLiteral("kommandozeile-sammlung"));
        const Programmorte orte = Programmorte_Bestimmen(programm, kImmer);
        {
            Fenster f(orte, QStringLiteral("anlegen"));
            for (const QString& name : {QStringLiteral("eins"), QStringLiteral("zwei")}) {
                f.ui.dialogAnswers.push_back([&sammlung, name](QDialog& d) {
                    auto& dlg = dynamic_cast<TForm_NeueVerwaltung&>(d);
                    dlg.VerzeichnisBox->setDirectory(sammlung);
                    dlg.Edit_Dateiname->setText(name);
                    dlg.BitBtn1->click();
                    return dlg.result();
                });
                kind<QAction>(f.w, "Neu1")->trigger();
                QVERIFY(f.w->collectionOpen());
            }
            QCOMPARE(f.ui.errors(), QStringList());
        }
        {
            // The list of the command line wins over the autostart's.
            Fenster f(orte, QStringLiteral("offen"));
            f.storeSetting(QStringLiteral("Autostart"), sammlung + QStringLiteral("/eins.qbx"));
            f.w->Startliste_Setzen(sammlung + QStringLiteral("/zwei.qbx"));
            f.activate();
            QCOMPARE(f.ui.errors(), QStringList());
            QVERIFY(f.w->collectionOpen());
            QCOMPARE(f.w->collection().kassetten().tableName(), QStringLiteral("kass1.db"));
            QCOMPARE(f.w->checkRuns(), 1);
        }
        {
            // A list that cannot be read is reported once, as the usual error, and the window
            // stays without a collection.
            Fenster f(orte, QStringLiteral("fehler"));
            f.w->Startliste_Setzen(sammlung + QStringLiteral("/gibtsnicht.qbx"));
            f.activate();
            f.activate();
            QCOMPARE(f.ui.errors().size(), 1);
            QVERIFY(f.ui.errors().first().startsWith(QStringLiteral("Datei nicht gefunden")));
            QVERIFY(!f.w->collectionOpen());
            QCOMPARE(f.w->checkRuns(), 0);
        }
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    Application app(argc, argv);
    TestProgrammorte test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programmorte.moc"
