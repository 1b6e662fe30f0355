#include "fakeinteraction.h"
#include "kind.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <settings/einstellungsseite.h>
#include <settings/keystore.h>
#include <settings/schriftartenformular.h>
#include <settings/vocabulary.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace settings;
using testing_support::FakeInteraction;
using testing_support::freshDir;
using testing_support::kind;

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The messages without the reason the system gave after their first line.
QStringList ersteZeilen(const QStringList& texte)
{
    QStringList zeilen;
    for (const QString& t : texte)
        zeilen << t.section(quorbel::kMessageBreak, 0, 0);
    return zeilen;
}

QStringList sl(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << QString::fromUtf8(item);
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

const QStringList kFonts = sl({"Arial", "Courier New", "Times New Roman", "Verdana"});

// One run of the program: its directory, its settings key and the settings page.
struct Run
{
    explicit Run(const QString& dir, FileKeyStore::MoveFile moveFile = {})
        : programDir(dir + QLatin1Char('/')), keyPath(dir + QStringLiteral("/key/quorbel98.key")),
          controller(ui, programDir, std::make_unique<FileKeyStore>(keyPath, std::move(moveFile)),
                     [] { return kFonts; })
    {
    }

    // Window creation and first activation.
    void start()
    {
        controller.Lade_Genreliste();
        controller.Lade_Senderliste();
        controller.Lade_Spielzeitenliste();
        controller.Registry_Auslesen();
        controller.Setze_Listenmarken_Zurueck();
    }

    QString list(const char* name) const { return programDir + QStringLiteral("Lists/") + s(name); }

    // Opens the key file as it is on disk.
    std::unique_ptr<FileKeyStore> key() const
    {
        auto k = std::make_unique<FileKeyStore>(keyPath);
        if (!k->openKey())
            return nullptr;
        return k;
    }

    FakeInteraction ui;
    QString programDir;
    QString keyPath;
    Einstellungsseite controller;
};

void writeKey(const QString& path, const std::function<void(KeyStore&)>& values)
{
    FileKeyStore key(path);
    key.createKey();
    values(key);
    key.closeKey();
}

} // namespace

class TestEinstellungsseite : public QObject
{
    Q_OBJECT
private slots:
    void firstStart()
    {
        Run run(freshDir(QStringLiteral("firstStart")));
        QSignalSpy genres(&run.controller, &Einstellungsseite::genresChanged);
        QSignalSpy lengths(&run.controller, &Einstellungsseite::playLengthsChanged);
        run.start();
        auto& c = run.controller;

        auto key = run.key();
        QVERIFY(key);
        QCOMPARE(key->valueNames().size(), 22);
        int texts = 0;
        for (const QString& name : key->valueNames())
            texts += key->holdsText(name) ? 1 : 0;
        QCOMPARE(texts, 8);
        QCOMPARE(key->readText(QStringLiteral("Autostart")), QStringLiteral("Deaktiviert"));
        QCOMPARE(key->readText(QStringLiteral("Version")), QStringLiteral("0.9.2 [RELEASE]"));
        QCOMPARE(key->readInteger(QStringLiteral("Schriftgroesse_Bei_Vier_Filmen")), 8);
        QCOMPARE(key->readInteger(QStringLiteral("Kassette_Fett_Drucken")), 1);
        QVERIFY(c.einstellungen() == Einstellungen{});

        QCOMPARE(kind<QLineEdit>(c, "Edit_Autostart")->text(), QStringLiteral("<Kein Autostart aktiviert>"));
        QVERIFY(!kind<QPushButton>(c, "BitBtn_KeinAuto")->isEnabled());
        QVERIFY(!kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->isEnabled());
        QVERIFY(!c.settingsChanged());
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QStringLiteral("7"));
        QCOMPARE(kind<QLineEdit>(c, "Edit_Drucktitel")->text(), QStringLiteral("Videoliste"));
        QVERIFY(kind<QCheckBox>(c, "CheckBox_NummerFett")->isChecked());

        // Built-in lists: sorted in the editors, the grid keeps the built-in order.
        QCOMPARE(c.regeln().genres().size(), 32);
        QStringList sorted = vocabulary::builtInGenres();
        vocabulary::sortEntries(sorted);
        QCOMPARE(c.regeln().genres(), sorted);
        QCOMPARE(genres.last().at(0).toStringList(), vocabulary::builtInGenres());
        QCOMPARE(c.regeln().stations().size(), 35);
        QVERIFY(kind<QPushButton>(c, "BitBtn_Weg1")->isEnabled() &&
                kind<QPushButton>(c, "BitBtn_Weg2")->isEnabled());
        QVERIFY(c.regeln().extraPlayLengths().isEmpty());
        QVERIFY(!kind<QPushButton>(c, "BitBtn_ZeitWeg")->isEnabled());
        QCOMPARE(lengths.last().at(0).toStringList(),
                 sl({"E - 180", "E - 200", "E - 240", "E - 260", "E - 300", "Kaufvideo"}));
        QVERIFY(!QFile::exists(run.list("genre.qb")));
        QVERIFY(run.ui.shown.isEmpty());

        // The page: five sub-pages in order, the film list options shown first.
        QCOMPARE(kind<QTabWidget>(c, "PageControl_Einstellungen")->count(), 5);
        const QStringList captions =
            sl({"Allgemein", "Allgemein 2", "Filmlistenausdruck", "Etikettendruck", "Genres / Programme"});
        for (int i = 0; i < 5; ++i)
            QCOMPARE(kind<QTabWidget>(c, "PageControl_Einstellungen")->tabText(i), captions.at(i));
        QCOMPARE(kind<QTabWidget>(c, "PageControl_Einstellungen")->currentWidget()->objectName(),
                 QStringLiteral("Tab_DruckOptionen"));
        QVERIFY(kind<QListWidget>(run.controller, "Stat_Zeiten")->isHidden());
        QCOMPARE(kind<QPushButton>(c, "BitBtn_ZeitWeg")->toolTip(),
                 s("Löscht Kassette mit spezieller Spielzeit"));

        // A save without edits writes no list file.
        c.Speichere_Registry();
        QVERIFY(!QFile::exists(run.list("genre.qb")));
    }

    void storedValuesAndFallbacks()
    {
        const QString dir = freshDir(QStringLiteral("stored"));
        Run run(dir);
        writeKey(run.keyPath, [](KeyStore& k) {
            k.writeText(QStringLiteral("Titel"), QStringLiteral("Meine Filme"));
            k.writeText(QStringLiteral("Titel_Font"), QStringLiteral("Gibtsnicht Sans"));
            k.writeText(QStringLiteral("Spaltenueberschriften_Font"), QStringLiteral("courier new"));
            k.writeText(QStringLiteral("Schriftart_der_Etiketten"), QStringLiteral("Gibtsnicht Sans"));
            k.writeText(QStringLiteral("Autostart"), QStringLiteral("/daten/filme.qbx"));
            k.writeInteger(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), 5);
            k.writeInteger(QStringLiteral("Nummer_Drucken"), 0);
            k.writeInteger(QStringLiteral("Kassette_Fett_Drucken"), 1);
            k.writeText(QStringLiteral("Warnen_Nach_x_Tagen"), QStringLiteral("12")); // wrong kind
            k.writeInteger(QStringLiteral("Aufnahme_TageWarnen"), 5);
            k.writeInteger(QStringLiteral("Tip_Anzeigen"), 42);
            k.writeInteger(QStringLiteral("Nulllaengentip"), 0);
        });
        QSignalSpy titleFont(&run.controller, &Einstellungsseite::filmListTitleFontChanged);
        run.start();
        const Einstellungen& e = run.controller.einstellungen();
        QCOMPARE(e.Titel, QStringLiteral("Meine Filme"));
        QCOMPARE(e.Titel_Font, QStringLiteral("Times New Roman"));
        QCOMPARE(e.Spaltenueberschriften_Font, QStringLiteral("courier new"));
        QCOMPARE(e.Listenelemente_Font,
                 QStringLiteral("Times New Roman")); // missing text: empty, not installed
        QCOMPARE(e.Schriftart_der_Etiketten, QStringLiteral("Arial"));
        QCOMPARE(titleFont.last().at(0).toString(), QStringLiteral("Times New Roman"));
        QCOMPARE(e.etikett(2).Ausrichtung, 5);
        QCOMPARE(e.etikett(1).Ausrichtung, 0);
        QCOMPARE(e.etikett(4).Schriftgroesse, 8); // missing number: default
        QCOMPARE(e.Warnen_Nach_x_Tagen, 7);       // wrong kind: default
        QCOMPARE(e.Aufnahme_TageWarnen, 5);
        QVERIFY(e.Tip_Anzeigen && !e.Nulllaengentip);
        QVERIFY(!e.Nummer_Drucken && !e.Kassette_Fett_Drucken);
        QVERIFY(!kind<QCheckBox>(run.controller, "CheckBox_Nummer")->isChecked() &&
                !kind<QCheckBox>(run.controller, "CheckBox_NummerFett")->isChecked());
        QCOMPARE(kind<QLineEdit>(run.controller, "Edit_Autostart")->text(),
                 QStringLiteral("/daten/filme.qbx"));
        QVERIFY(kind<QPushButton>(run.controller, "BitBtn_KeinAuto")->isEnabled());
        QVERIFY(!run.controller.settingsChanged());
        QVERIFY(run.ui.shown.isEmpty());

        kind<QCheckBox>(run.controller, "CheckBox_TipAnzeigen")->setChecked(false);
        QVERIFY(kind<QPushButton>(run.controller, "BitBtn_EinstellungenSpeichern")->isEnabled());
        run.controller.Speichere_Registry();
        auto key = run.key();
        QCOMPARE(key->readInteger(QStringLiteral("Kassette_Fett_Drucken")), 0);
        QCOMPARE(key->readInteger(QStringLiteral("Warnen_Nach_x_Tagen")), 7);
        QCOMPARE(key->readText(QStringLiteral("Titel_Font")), QStringLiteral("Times New Roman"));
        QCOMPARE(key->readText(QStringLiteral("Autostart")), QStringLiteral("/daten/filme.qbx"));
        QVERIFY(!kind<QPushButton>(run.controller, "BitBtn_EinstellungenSpeichern")->isEnabled());
    }

    void damagedKeyFile()
    {
        Run run(freshDir(QStringLiteral("damaged")));
        writeAll(run.keyPath, "Titel=Videoliste\n");
        run.start();
        QCOMPARE(run.ui.messages().size(), 1);
        QVERIFY(run.ui.messages().first().contains(s("beschädigt")));
        QCOMPARE(run.ui.shown.first().icon, quorbel::MsgIcon::Warning);
        QCOMPARE(readAll(run.keyPath + QStringLiteral(".beschaedigt")), QByteArray("Titel=Videoliste\n"));
        QVERIFY(run.controller.einstellungen() == Einstellungen{});
        QCOMPARE(run.key()->valueNames().size(), 22);
        QVERIFY(!run.controller.settingsChanged());
    }

    void keyFileNeverDestroyed()
    {
        // Nothing is written over a file that could not be taken in, neither at the start
        // nor at a save; the save fails with a message and the settings stay changed.
        auto expectKeptAndSaveRefused = [](Run& run, const char* warned,
                                           const std::function<void()>& unchanged) {
            QCOMPARE(run.ui.messages().size(), 1);
            QVERIFY2(run.ui.messages().first().contains(s(warned)), qPrintable(run.ui.messages().first()));
            QVERIFY(run.ui.messages().first().contains(QDir::toNativeSeparators(run.keyPath)));
            QCOMPARE(run.ui.shown.first().icon, quorbel::MsgIcon::Warning);
            QVERIFY(run.ui.errors().isEmpty());
            QVERIFY(run.controller.einstellungen() == Einstellungen{});
            QCOMPARE(kind<QLineEdit>(run.controller, "Edit_Autostart")->text(),
                     QStringLiteral("<Kein Autostart aktiviert>"));
            unchanged();

            run.ui.clear();
            run.ui.inputAnswers = {QStringLiteral("Western")};
            run.controller.BitBtn_Dazu1Click();
            kind<QPushButton>(run.controller, "BitBtn_EinstellungenSpeichern")->click();
            QCOMPARE(run.ui.errors().size(), 1);
            QVERIFY(run.ui.errors().first().startsWith(s("Die Einstellungen wurden nicht gespeichert.\n\r")));
            QVERIFY(run.ui.messages().isEmpty());
            QVERIFY(run.controller.settingsChanged() &&
                    kind<QPushButton>(run.controller, "BitBtn_EinstellungenSpeichern")->isEnabled());
            QVERIFY(!QFile::exists(run.list("genre.qb")));
            QVERIFY(!QFileInfo::exists(run.keyPath + QStringLiteral(".beschaedigt")));
            unchanged();
        };

        // Damaged, and it cannot be moved aside.
        {
            Run run(freshDir(QStringLiteral("stuckdamaged")),
                    [](const QString&, const QString&) { return false; });
            writeAll(run.keyPath, "{ kaputt");
            run.start();
            expectKeptAndSaveRefused(run, "nicht beiseitegelegt",
                                     [&] { QCOMPARE(readAll(run.keyPath), QByteArray("{ kaputt")); });
        }
        // Not readable: a directory where the file should be is neither read nor renamed.
        {
            Run run(freshDir(QStringLiteral("keyisdir")));
            QVERIFY(QDir().mkpath(run.keyPath + QStringLiteral("/inhalt")));
            run.start();
            expectKeptAndSaveRefused(run, "kann nicht gelesen werden", [&] {
                QVERIFY(QFileInfo(run.keyPath + QStringLiteral("/inhalt")).isDir());
            });
        }
#ifdef Q_OS_UNIX
        // A pipe would block whoever reads it; it is left alone as well.
        {
            Run run(freshDir(QStringLiteral("keyisfifo")));
            QVERIFY(QDir().mkpath(QFileInfo(run.keyPath).absolutePath()));
            QCOMPARE(::mkfifo(QFile::encodeName(run.keyPath).constData(), 0600), 0);
            run.start();
            expectKeptAndSaveRefused(run, "kann nicht gelesen werden", [&] {
                QFileInfo info(run.keyPath);
                QVERIFY(info.exists() && !info.isFile() && !info.isDir());
            });
        }
#endif
    }

    void malformedValuesLoadTheirDefaults()
    {
        Run run(freshDir(QStringLiteral("malformed")));
        writeKey(run.keyPath,
                 [](KeyStore& k) { k.writeText(QStringLiteral("Titel"), QStringLiteral("Meine Filme")); });
        const QByteArray good = readAll(run.keyPath);
        const int end = good.lastIndexOf(']');
        QByteArray bytes = good.left(end);
        bytes += R"(,
            {"Name": "Warnen_Nach_x_Tagen", "Art": "Zahl", "Wert": "12"},
            {"Name": "Aufnahme_TageWarnen", "Art": "Zahl", "Wert": 2.5},
            {"Name": "Schriftgroesse_Bei_Vier_Filmen", "Art": "Zahl", "Wert": 4294967296},
            {"Name": "Titel_Font", "Art": "Text", "Wert": 5},
            {"Name": "Tip_Anzeigen", "Art": "Datum", "Wert": 0},
            {"Art": "Zahl", "Wert": 1},
            {"Name": "Nulllaengentip", "Art": "Zahl", "Wert": 0},
            {"Name": "Autostart", "Art": "Text", "Wert": "/daten/filme.qbx"}
        )";
        bytes += good.mid(end);
        writeAll(run.keyPath, bytes);

        run.start();
        QVERIFY(run.ui.shown.isEmpty());
        QVERIFY(!QFileInfo::exists(run.keyPath + QStringLiteral(".beschaedigt")));
        const Einstellungen& e = run.controller.einstellungen();
        QCOMPARE(e.Titel, QStringLiteral("Meine Filme"));
        QCOMPARE(e.Autostart, QStringLiteral("/daten/filme.qbx"));
        QVERIFY(!e.Nulllaengentip);
        QCOMPARE(e.Warnen_Nach_x_Tagen, 7);
        QCOMPARE(e.Aufnahme_TageWarnen, 3);
        QCOMPARE(e.etikett(4).Schriftgroesse, 8);
        QCOMPARE(e.Titel_Font, QStringLiteral("Times New Roman"));
        QVERIFY(e.Tip_Anzeigen);

        // The next save writes them in their proper kind; the entry nobody can name stays.
        kind<QCheckBox>(run.controller, "CheckBox_Filmanzahl")->setChecked(false);
        run.controller.Speichere_Registry();
        auto key = run.key();
        QVERIFY(key);
        QCOMPARE(key->readInteger(QStringLiteral("Warnen_Nach_x_Tagen")), 7);
        QCOMPARE(key->readInteger(QStringLiteral("Tip_Anzeigen")), 1);
        QCOMPARE(key->readText(QStringLiteral("Titel_Font")), QStringLiteral("Times New Roman"));
        QCOMPARE(key->readText(QStringLiteral("Titel")), QStringLiteral("Meine Filme"));
        const QJsonArray values =
            QJsonDocument::fromJson(readAll(run.keyPath)).object().value(QStringLiteral("Werte")).toArray();
        const QJsonObject nameless{{QStringLiteral("Art"), QStringLiteral("Zahl")},
                                   {QStringLiteral("Wert"), 1}};
        QVERIFY(values.contains(nameless));
    }

    void refusedDayFieldStopsTheSave()
    {
        Run run(freshDir(QStringLiteral("refusedday")));
        run.start();
        auto& c = run.controller;
        run.ui.inputAnswers = {QStringLiteral("Western")};
        c.BitBtn_Dazu1Click();
        const QByteArray keyBefore = readAll(run.keyPath);

        // Pasted text is not filtered like typed text; it stays in the field.
        kind<QLineEdit>(c, "Edit_TageWarnen")->setText(QStringLiteral("12x"));
        try {
            c.Speichere_Registry();
            QFAIL("saved with a refused day field");
        } catch (const store::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("'12x' ist kein gültiger Integerwert"));
        }
        QVERIFY(c.settingsChanged() && kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->isEnabled());
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QStringLiteral("12x"));
        QCOMPARE(readAll(run.keyPath), keyBefore);
        QVERIFY(!QFile::exists(run.list("genre.qb")));

        // Through the button the user is told, once the field itself is set right the
        // save goes through.
        kind<QLineEdit>(c, "Edit_TageWarnen")->setText(QStringLiteral("12"));
        kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->setText(QStringLiteral("99999999999"));
        kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->click();
        QCOMPARE(run.ui.errors(), QStringList{QStringLiteral("'99999999999' ist kein gültiger Integerwert")});
        QVERIFY(c.settingsChanged());
        kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->setText(QStringLiteral("4"));
        kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->click();
        QVERIFY(!c.settingsChanged());
        QCOMPARE(run.key()->readInteger(QStringLiteral("Warnen_Nach_x_Tagen")), 12);
        QCOMPARE(run.key()->readInteger(QStringLiteral("Aufnahme_TageWarnen")), 4);
        QVERIFY(QFile::exists(run.list("genre.qb")));
    }

    // The day fields hold 0 to 99999 days: what is typed beyond is refused, what a key
    // file holds beyond is brought into that range.
    void dayFieldsKeepTheirRange_data()
    {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<int>("gespeichert");
        QTest::addColumn<int>("tage");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("the largest typed") << QStringLiteral("99999") << 7 << 99999 << QString();
        QTest::newRow("one more typed") << QStringLiteral("100000") << 7 << 7
                                        << QStringLiteral("'100000' liegt nicht zwischen 0 und 99999 Tagen");
        QTest::newRow("negative pasted") << QStringLiteral("-3") << 7 << 7
                                         << QStringLiteral("'-3' liegt nicht zwischen 0 und 99999 Tagen");
        QTest::newRow("too many in the key") << QString() << 10'000'000 << 99999 << QString();
        QTest::newRow("negative in the key") << QString() << -5 << 0 << QString();
    }
    void dayFieldsKeepTheirRange()
    {
        QFETCH(QString, getippt);
        QFETCH(int, gespeichert);
        QFETCH(int, tage);
        QFETCH(QString, meldung);
        Run run(freshDir(QStringLiteral("dayrange")));
        writeKey(run.keyPath,
                 [&](KeyStore& k) { k.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), gespeichert); });
        run.start();
        auto& c = run.controller;
        if (!getippt.isEmpty()) {
            kind<QLineEdit>(c, "Edit_TageWarnen")->setText(getippt);
            c.Edit_TageWarnenExit();
        }
        QCOMPARE(c.einstellungen().Warnen_Nach_x_Tagen, tage);
        QCOMPARE(run.ui.messages(), meldung.isEmpty() ? QStringList() : QStringList{meldung});
    }

    void checkBoxesAndFields()
    {
        Run run(freshDir(QStringLiteral("fields")));
        run.start();
        auto& c = run.controller;

        kind<QCheckBox>(c, "CheckBox_Nummer")->setChecked(false);
        QVERIFY(!kind<QCheckBox>(c, "CheckBox_NummerFett")->isChecked());
        QVERIFY(!c.einstellungen().Nummer_Drucken && !c.einstellungen().Kassette_Fett_Drucken);
        kind<QCheckBox>(c, "CheckBox_Nummer")->setChecked(true);
        QVERIFY(!kind<QCheckBox>(c, "CheckBox_NummerFett")->isChecked());
        QVERIFY(c.settingsChanged());
        c.Speichere_Registry();

        // Day fields: digits only when typed; empty gives the default; too large is refused.
        QTest::keyClicks(kind<QLineEdit>(c, "Edit_TageWarnen"), QStringLiteral("1a-2 x"));
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QStringLiteral("712"));
        QVERIFY(c.settingsChanged());
        QCOMPARE(c.einstellungen().Warnen_Nach_x_Tagen, 7); // taken when the field is left
        c.Edit_TageWarnenExit();
        QCOMPARE(c.einstellungen().Warnen_Nach_x_Tagen, 712);
        kind<QLineEdit>(c, "Edit_TageWarnen")->clear();
        c.Edit_TageWarnenExit();
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QStringLiteral("7"));
        QCOMPARE(c.einstellungen().Warnen_Nach_x_Tagen, 7);
        kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->setText(QStringLiteral("99999999999"));
        c.Edit_AufnahmeTageWarnenExit();
        QCOMPARE(run.ui.messages(), QStringList{s("'99999999999' ist kein gültiger Integerwert")});
        QCOMPARE(kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->text(), QStringLiteral("99999999999"));
        QCOMPARE(c.einstellungen().Aufnahme_TageWarnen, 3);
        kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->clear();
        c.Edit_AufnahmeTageWarnenExit();
        QCOMPARE(c.einstellungen().Aufnahme_TageWarnen, 3);
        QCOMPARE(kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->text(), QStringLiteral("3"));

        // Leaving a field by focus runs its exit; a context menu does not leave it.
        kind<QLineEdit>(c, "Edit_TageWarnen")->clear();
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(kind<QLineEdit>(c, "Edit_TageWarnen"), &popup);
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QString());
        QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(kind<QLineEdit>(c, "Edit_TageWarnen"), &tab);
        QCOMPARE(kind<QLineEdit>(c, "Edit_TageWarnen")->text(), QStringLiteral("7"));

        QSignalSpy title(&c, &Einstellungsseite::filmListTitleChanged);
        kind<QLineEdit>(c, "Edit_Drucktitel")->clear();
        c.Edit_DrucktitelExit();
        QCOMPARE(kind<QLineEdit>(c, "Edit_Drucktitel")->text(), QStringLiteral("Videoliste"));
        QCOMPARE(title.last().at(0).toString(), QStringLiteral("Videoliste"));

        // A value typed and not yet taken over is still saved by the closing question.
        kind<QLineEdit>(c, "Edit_TageWarnen")->setText(QStringLiteral("21"));
        c.Speichere_Registry();
        QCOMPARE(run.key()->readInteger(QStringLiteral("Warnen_Nach_x_Tagen")), 21);
    }

    void fontDialog()
    {
        Run run(freshDir(QStringLiteral("fonts")));
        run.start();
        auto& c = run.controller;
        QSignalSpy headerFont(&c, &Einstellungsseite::columnHeaderFontChanged);

        // Pick another face: OK only after the pick.
        QString preselected, labelText;
        run.ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& dlg = static_cast<TSchriftartenformular&>(d);
            if (dlg.BitBtn_Ok->isEnabled())
                return int(QDialog::Rejected);
            preselected = dlg.gewaehlteSchriftart();
            if (const auto* label = dlg.findChild<QLabel*>(QStringLiteral("Label_Schriftarten")))
                labelText = label->text();
            dlg.ListBox_Schriftarten->setCurrentRow(kFonts.indexOf(QStringLiteral("Verdana")));
            dlg.BitBtn_Ok->click();
            return dlg.result();
        });
        c.Button_Schriftart_UeberschriftenClick();
        QCOMPARE(preselected, QStringLiteral("Arial"));
        QCOMPARE(labelText, s("Verfügbare Schriftarten"));
        QCOMPARE(run.ui.shown.last().text, s("Schriftart auswählen"));
        QCOMPARE(c.einstellungen().Spaltenueberschriften_Font, QStringLiteral("Verdana"));
        QCOMPARE(headerFont.size(), 1);
        QVERIFY(c.settingsChanged());
        c.Speichere_Registry();

        // Clicking the face already set enables OK but changes nothing.
        run.ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& dlg = static_cast<TSchriftartenformular&>(d);
            emit dlg.ListBox_Schriftarten->itemClicked(dlg.ListBox_Schriftarten->currentItem());
            dlg.BitBtn_Ok->click();
            return dlg.result();
        });
        c.Button_Schriftart_UeberschriftenClick();
        QCOMPARE(headerFont.size(), 1);
        QVERIFY(!c.settingsChanged());

        // Cancel changes nothing.
        run.ui.dialogAnswers.push_back([&](QDialog& d) {
            auto& dlg = static_cast<TSchriftartenformular&>(d);
            dlg.ListBox_Schriftarten->setCurrentRow(0);
            return int(QDialog::Rejected);
        });
        c.Button_DruckfontClick();
        QCOMPARE(c.einstellungen().Titel_Font, QStringLiteral("Times New Roman"));
        QVERIFY(!c.settingsChanged());
    }

    void autostart()
    {
        Run run(freshDir(QStringLiteral("autostart")));
        run.start();
        auto& c = run.controller;
        const QString file = run.programDir + QStringLiteral("filme.qbx");

        c.Button_AutostartClick(); // cancelled
        QCOMPARE(run.ui.shown.last().text, QStringLiteral("Videolisten (*.qbx)|*.qbx"));
        QVERIFY(!c.settingsChanged());

        run.ui.fileAnswers.push_back(file);
        c.Button_AutostartClick();
        QCOMPARE(kind<QLineEdit>(c, "Edit_Autostart")->text(), QDir::toNativeSeparators(file));
        QVERIFY(kind<QPushButton>(c, "BitBtn_KeinAuto")->isEnabled() && c.settingsChanged());
        kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->click();
        QCOMPARE(run.key()->readText(QStringLiteral("Autostart")), QDir::toNativeSeparators(file));
        QCOMPARE(c.einstellungen().Autostart, QStringLiteral("Deaktiviert")); // next start

        c.BitBtn_KeinAutoClick();
        QCOMPARE(kind<QLineEdit>(c, "Edit_Autostart")->text(), QStringLiteral("<Kein Autostart aktiviert>"));
        QVERIFY(!kind<QPushButton>(c, "BitBtn_KeinAuto")->isEnabled() && c.settingsChanged());
        c.Speichere_Registry();
        QCOMPARE(run.key()->readText(QStringLiteral("Autostart")), QStringLiteral("Deaktiviert"));
    }

    void listFilesAtStart()
    {
        const QString dir = freshDir(QStringLiteral("lists"));
        Run run(dir);
        writeAll(run.list("genre.qb"), "Zeichentrick\nabenteuer\n\xc4rzteserie");
        writeAll(run.list("prgs.qb"), "");
        writeAll(run.list("splztn.qb"), "E - 90\rE - 12A\rE - 480");
        QSignalSpy genres(&run.controller, &Einstellungsseite::genresChanged);
        QSignalSpy stations(&run.controller, &Einstellungsseite::stationsChanged);
        run.start();
        auto& c = run.controller;
        QCOMPARE(c.regeln().genres(), sl({"abenteuer", "Ärzteserie", "Zeichentrick"}));
        QCOMPARE(genres.last().at(0).toStringList(), c.regeln().genres());
        QVERIFY(c.regeln().stations().isEmpty() && !kind<QPushButton>(c, "BitBtn_Weg2")->isEnabled());
        QCOMPARE(stations.last().at(0).toStringList(), QStringList());
        QCOMPARE(c.regeln().extraPlayLengths(), sl({"E - 12A", "E - 480", "E - 90"}));
        QVERIFY(kind<QPushButton>(c, "BitBtn_ZeitWeg")->isEnabled());
        QCOMPARE(c.regeln().playLengths(), sl({"E - 12A", "E - 180", "E - 200", "E - 240", "E - 260",
                                               "E - 300", "E - 480", "E - 90", "Kaufvideo"}));
    }

    void playLengthEditor()
    {
        Run run(freshDir(QStringLiteral("playlengths")));
        writeAll(run.list("splztn.qb"), "E - 12A\r\n");
        run.start();
        auto& c = run.controller;
        QSignalSpy lengths(&c, &Einstellungsseite::playLengthsChanged);
        auto add = [&](const char* answer) {
            run.ui.clear();
            run.ui.inputAnswers.push_back(s(answer));
            c.BitBtn_ZeitDazuClick();
            return run.ui.messages();
        };
        // The duplicate test comes first and ignores case; then the number test.
        QCOMPARE(add("180"), QStringList{QStringLiteral("Spielzeit schon vorhanden !")});
        QCOMPARE(run.ui.shown.first().caption, QStringLiteral("Neue Spielzeit einfügen"));
        QCOMPARE(add("12a"), QStringList{QStringLiteral("Spielzeit schon vorhanden !")});
        QCOMPARE(add("abc"), QStringList{QStringLiteral("Nur Zahlenwerte erlaubt !")});
        QCOMPARE(add("9 0"), QStringList{QStringLiteral("Nur Zahlenwerte erlaubt !")});
        QCOMPARE(run.ui.shown.last().icon, quorbel::MsgIcon::Error);
        QVERIFY(add("").isEmpty());
        QVERIFY(!c.settingsChanged() && !c.regeln().playLengthsChangedFlag());
        QCOMPARE(lengths.size(), 0);

        QVERIFY(add("90").isEmpty());
        QVERIFY(add("480").isEmpty());
        QVERIFY(add("-5").isEmpty());
        QCOMPARE(c.regeln().extraPlayLengths(), sl({"E - -5", "E - 12A", "E - 480", "E - 90"}));
        QCOMPARE(lengths.last().at(0).toStringList(),
                 sl({"E - -5", "E - 12A", "E - 180", "E - 200", "E - 240", "E - 260", "E - 300", "E - 480",
                     "E - 90", "Kaufvideo"}));
        QVERIFY(c.settingsChanged() && c.regeln().playLengthsChangedFlag());

        kind<QListWidget>(c, "ListBox_Spielzeiten")->clearSelection();
        c.BitBtn_ZeitWegClick(); // nothing selected
        QCOMPARE(c.regeln().extraPlayLengths().size(), 4);
        for (int i = 0; i < 4; ++i) {
            kind<QListWidget>(c, "ListBox_Spielzeiten")->setCurrentRow(0);
            c.BitBtn_ZeitWegClick();
        }
        QVERIFY(!kind<QPushButton>(c, "BitBtn_ZeitWeg")->isEnabled());
        QCOMPARE(lengths.last().at(0).toStringList().size(), 6);
    }

    void genreAndStationEditors()
    {
        Run run(freshDir(QStringLiteral("editors")));
        writeAll(run.list("genre.qb"), "Drama\r\n");
        run.start();
        auto& c = run.controller;
        QSignalSpy genres(&c, &Einstellungsseite::genresChanged);

        run.ui.inputAnswers = {s("Ωmega-Film")};
        c.BitBtn_Dazu1Click();
        QCOMPARE(run.ui.messages().size(), 1); // refused: the list file could not hold it
        QCOMPARE(c.regeln().genres(), QStringList{QStringLiteral("Drama")});
        QVERIFY(!c.settingsChanged());

        run.ui.inputAnswers = {QStringLiteral("drama"), QStringLiteral("Action")};
        c.BitBtn_Dazu1Click();
        c.BitBtn_Dazu1Click();
        QCOMPARE(run.ui.shown.last().caption, s("Genre einfügen"));
        QCOMPARE(run.ui.shown.last().text, QStringLiteral("Bitte geben Sie den Namen des Genre ein"));
        QCOMPARE(c.regeln().genres(), sl({"Action", "Drama", "drama"}));
        QCOMPARE(genres.last().at(0).toStringList(), c.regeln().genres());
        QVERIFY(c.regeln().genresChangedFlag() && c.settingsChanged() && !c.regeln().stationsChangedFlag());

        // After a removal no entry is marked: a second click removes nothing.
        kind<QListWidget>(c, "ListBox_Genre")->setCurrentRow(0);
        c.BitBtn_Weg1Click();
        c.BitBtn_Weg1Click();
        QCOMPARE(c.regeln().genres(), sl({"Drama", "drama"}));
        for (int i = 0; i < 2; ++i) {
            kind<QListWidget>(c, "ListBox_Genre")->setCurrentRow(0);
            c.BitBtn_Weg1Click();
        }
        QVERIFY(!kind<QPushButton>(c, "BitBtn_Weg1")->isEnabled());
        QCOMPARE(genres.last().at(0).toStringList(), QStringList());

        run.ui.inputAnswers = {QStringLiteral("ARD")};
        c.BitBtn_Dazu2Click();
        QCOMPARE(run.ui.shown.last().caption, s("Sender einfügen"));
        QCOMPARE(c.regeln().stations().count(QStringLiteral("ARD")), 2);
        QVERIFY(c.regeln().stationsChangedFlag());
    }

    void savingLists()
    {
        Run run(freshDir(QStringLiteral("savelists")));
        writeAll(run.list("genre.qb"), "Drama\r\n");
        run.start();
        auto& c = run.controller;
        run.ui.inputAnswers = {QStringLiteral("Action"), QStringLiteral("Action"), s("ZDF neo"),
                               QStringLiteral("90")};
        c.BitBtn_Dazu1Click();
        c.BitBtn_Dazu1Click();
        c.BitBtn_Dazu2Click();
        c.BitBtn_ZeitDazuClick();

        // A protected genre file gives its message; the other lists are still saved.
        QFile::setPermissions(run.list("genre.qb"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->click();
        QCOMPARE(run.ui.messages(),
                 QStringList{
                     s("Fehler beim Speichern von \"genre.qb\" !\n\rDatei ist eventuell schreibgeschützt.")});
        QCOMPARE(run.ui.shown.last().icon, quorbel::MsgIcon::Error);
        QCOMPARE(readAll(run.list("genre.qb")), QByteArray("Drama\r\n"));
        QCOMPARE(readAll(run.list("splztn.qb")), QByteArray("E - 90\r\n"));
        QVERIFY(vocabulary::readListFile(run.list("prgs.qb"))->contains(QStringLiteral("ZDF neo")));
        QVERIFY(!c.settingsChanged() && c.regeln().genresChangedFlag());

        // Every later save writes a changed list again.
        QFile::setPermissions(run.list("genre.qb"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(run.list("splztn.qb"));
        run.ui.clear();
        kind<QCheckBox>(c, "CheckBox_Filmanzahl")->setChecked(false);
        c.Speichere_Registry();
        QVERIFY(run.ui.shown.isEmpty());
        QCOMPARE(readAll(run.list("genre.qb")), QByteArray("Action\r\nAction\r\nDrama\r\n"));
        QCOMPARE(readAll(run.list("splztn.qb")), QByteArray("E - 90\r\n"));
    }

    void keyWriteFailure()
    {
        Run run(freshDir(QStringLiteral("keyfail")));
        run.start();
        auto& c = run.controller;
        run.ui.inputAnswers = {QStringLiteral("Action")};
        c.BitBtn_Dazu1Click();
        QFile::setPermissions(run.keyPath, QFileDevice::ReadOwner);
        kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->click();
        QCOMPARE(ersteZeilen(run.ui.errors()), QStringList{s("Konnte Daten für \'Titel\' nicht setzen")});
        QVERIFY(c.settingsChanged() && kind<QPushButton>(c, "BitBtn_EinstellungenSpeichern")->isEnabled());
        QVERIFY(!QFile::exists(run.list("genre.qb"))); // the save stopped there

        // A first start where the key cannot be created: the defaults hold for the run,
        // and the failure names the first value, also when saving later.
        Run blocked(freshDir(QStringLiteral("keyblocked")));
        writeAll(QFileInfo(blocked.keyPath).absolutePath(), "kein Verzeichnis");
        blocked.start();
        QCOMPARE(ersteZeilen(blocked.ui.errors()), QStringList{s("Konnte Daten für \'Titel\' nicht setzen")});
        QVERIFY(blocked.controller.einstellungen() == Einstellungen{});
        QCOMPARE(kind<QLineEdit>(blocked.controller, "Edit_Autostart")->text(),
                 QStringLiteral("<Kein Autostart aktiviert>"));
        QVERIFY(!blocked.controller.settingsChanged());
        blocked.ui.clear();
        kind<QCheckBox>(blocked.controller, "CheckBox_Filmanzahl")->setChecked(false);
        kind<QPushButton>(blocked.controller, "BitBtn_EinstellungenSpeichern")->click();
        QCOMPARE(ersteZeilen(blocked.ui.errors()), QStringList{s("Konnte Daten für \'Titel\' nicht setzen")});
        QVERIFY(blocked.controller.settingsChanged());
    }

    void roundTrip()
    {
        const QString dir = freshDir(QStringLiteral("roundtrip"));
        Einstellungen saved;
        QStringList genres, stations, lengths;
        {
            Run run(dir);
            run.start();
            auto& c = run.controller;
            kind<QCheckBox>(c, "CheckBox_TipAnzeigen")->setChecked(false);
            kind<QCheckBox>(c, "CheckBox_Nulllaenge")->setChecked(false);
            kind<QCheckBox>(c, "CheckBox_Filmanzahl")->setChecked(false);
            kind<QCheckBox>(c, "CheckBox_NummerFett")->setChecked(false);
            kind<QLineEdit>(c, "Edit_TageWarnen")->setText(QStringLiteral("0"));
            c.Edit_TageWarnenExit();
            kind<QLineEdit>(c, "Edit_AufnahmeTageWarnen")->setText(QStringLiteral("14"));
            c.Edit_AufnahmeTageWarnenExit();
            kind<QLineEdit>(c, "Edit_Drucktitel")->setText(s("Filme – „Sammlung“ 2026"));
            c.Edit_DrucktitelExit();
            auto pick = [&](const char* face) {
                run.ui.dialogAnswers.push_back([face](QDialog& d) {
                    auto& dlg = static_cast<TSchriftartenformular&>(d);
                    dlg.ListBox_Schriftarten->setCurrentRow(kFonts.indexOf(s(face)));
                    dlg.BitBtn_Ok->click();
                    return dlg.result();
                });
            };
            pick("Verdana");
            c.Button_DruckfontClick();
            pick("Courier New");
            c.Button_Schriftart_UeberschriftenClick();
            pick("Times New Roman");
            c.Button_Schriftart_ListenElementeClick();
            pick("Arial");
            c.Button_SchriftArtKassettennummerClick();
            for (int filme = 1; filme <= 4; ++filme) {
                c.regeln().setzeEtikettSchriftgroesse(filme, 10 + filme);
                c.regeln().setzeEtikettAusrichtung(filme, -filme);
            }
            c.regeln().setzeSchriftartDerEtiketten(QStringLiteral("Verdana"));
            run.ui.fileAnswers.push_back(dir + QStringLiteral("/ä ö.qbx"));
            c.Button_AutostartClick();
            run.ui.inputAnswers = {s("Größenwahn"), s("€uro-TV"), QStringLiteral("75")};
            c.BitBtn_Dazu1Click();
            c.BitBtn_Dazu2Click();
            c.BitBtn_ZeitDazuClick();
            c.Speichere_Registry();
            QVERIFY(run.ui.messages().isEmpty());
            saved = c.einstellungen();
            saved.Autostart = kind<QLineEdit>(c, "Edit_Autostart")->text();
            genres = c.regeln().genres();
            stations = c.regeln().stations();
            lengths = c.regeln().playLengths();
        }
        QCOMPARE(saved.etikett(1).Ausrichtung, 0);
        QVERIFY(!(saved == Einstellungen{}));

        Run again(dir);
        again.start();
        const Einstellungen& loaded = again.controller.einstellungen();
        QCOMPARE(loaded.Titel, saved.Titel);
        QCOMPARE(loaded.Autostart, saved.Autostart);
        QVERIFY(loaded == saved);
        QCOMPARE(again.controller.regeln().genres(), genres);
        QCOMPARE(again.controller.regeln().stations(), stations);
        QCOMPARE(again.controller.regeln().playLengths(), lengths);
        QCOMPARE(kind<QLineEdit>(again.controller, "Edit_AufnahmeTageWarnen")->text(), QStringLiteral("14"));
        QVERIFY(!kind<QCheckBox>(again.controller, "CheckBox_NummerFett")->isChecked() &&
                kind<QCheckBox>(again.controller, "CheckBox_Nummer")->isChecked());
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestEinstellungsseite test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_einstellungsseite.moc"
