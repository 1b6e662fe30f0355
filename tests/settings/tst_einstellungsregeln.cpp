// The rules of the settings page without a window: the vocabulary lists, the day and
// title fields, the switches and fonts, the autostart, loading, saving and importing the
// settings key, with a real key file and list files in a scratch directory.

#include "fakeinteraction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <settings/einstellungsregeln.h>
#include <settings/vocabulary.h>
#include <store/error.h>
#include <ui/interaction.h>

using namespace settings;
using testing_support::FakeInteraction;
using testing_support::freshDir;
using Liste = Einstellungsregeln::Liste;
using Feld = Einstellungsregeln::Feld;

Q_DECLARE_METATYPE(Einstellungsregeln::Liste)
Q_DECLARE_METATYPE(Einstellungsregeln::Feld)

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
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
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// The messages without the reason after their first line.
QStringList ersteZeilen(const QStringList& texte)
{
    QStringList zeilen;
    for (const QString& t : texte)
        zeilen << t.section(quorbel::kMessageBreak, 0, 0);
    return zeilen;
}

const QStringList kFonts{QStringLiteral("Arial"), QStringLiteral("Courier New"),
                         QStringLiteral("Times New Roman")};

// The rules of one run, with their program directory and key file; the flag reported to
// the page is kept.
struct Aufbau
{
    explicit Aufbau(const QString& name, const std::function<void(Aufbau&)>& vorher = {})
        : dir(freshDir(name) + QLatin1Char('/')), keyPath(dir + QStringLiteral("key/quorbel98.key"))
    {
        if (vorher)
            vorher(*this);
        regeln = std::make_unique<Einstellungsregeln>(
            ui, dir, [] { return kFonts; }, std::make_unique<FileKeyStore>(keyPath));
        regeln->Aenderung_Zeigen = [this](bool geaendert) { gemeldet = geaendert; };
        r().Lade_Genreliste();
        r().Lade_Senderliste();
        r().Lade_Spielzeitenliste();
        r().Registry_Auslesen();
        r().Setze_Listenmarken_Zurueck();
        ui.clear();
    }

    Einstellungsregeln& r() { return *regeln; }
    QString list(QLatin1StringView name) const { return dir + QStringLiteral("Lists/") + name; }
    void key(const std::function<void(KeyStore&)>& values) const
    {
        FileKeyStore k(keyPath);
        k.createKey();
        values(k);
        k.closeKey();
    }

    QString dir;
    QString keyPath;
    FakeInteraction ui;
    std::unique_ptr<Einstellungsregeln> regeln;
    bool gemeldet = false;
};

} // namespace

class TestEinstellungsregeln : public QObject
{
    Q_OBJECT
private slots:
    // What is typed for a new entry: refused with a message, or put at its place in the
    // sorted list, marking the list for the next save.
    void eintragEinfuegen_data()
    {
        QTest::addColumn<Liste>("liste");
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<int>("stelle");
        QTest::addColumn<QString>("meldung");
        const QString refusedText = s("\"Ωmega\" kann nicht in die Liste aufgenommen werden.");
        QTest::newRow("genre in text order, ignoring case")
            << Liste::Genres << QByteArray("Drama\r\nwestern\r\n") << s("Krimi") << 1 << QString();
        QTest::newRow("same genre again goes behind it")
            << Liste::Genres << QByteArray("Drama\r\nWestern\r\n") << s("drama") << 1 << QString();
        QTest::newRow("genre with an umlaut among the letters")
            << Liste::Genres << QByteArray("Abenteuer\r\nBallett\r\n") << s("Ärzte") << 1 << QString();
        QTest::newRow("genre the list file cannot hold")
            << Liste::Genres << QByteArray("Drama\r\n") << s("Ωmega") << -1 << refusedText;
        QTest::newRow("genre with a line break")
            << Liste::Genres << QByteArray("Drama\r\n") << s("a\nb") << -1
            << s("\"a\nb\" kann nicht in die Liste aufgenommen werden.");
        QTest::newRow("cancelled genre")
            << Liste::Genres << QByteArray("Drama\r\n") << QString() << -1 << QString();
        QTest::newRow("station") << Liste::Sender << QByteArray("ARD\r\nZDF\r\n") << s("Arte") << 1
                                 << QString();
        QTest::newRow("station the list file cannot hold")
            << Liste::Sender << QByteArray("ARD\r\n") << s("Ωmega") << -1 << refusedText;
        QTest::newRow("play length") << Liste::Spielzeiten << QByteArray("E - 12A\r\n") << s("90") << 1
                                     << QString();
        QTest::newRow("negative play length")
            << Liste::Spielzeiten << QByteArray("E - 12A\r\n") << s("-5") << 0 << QString();
        QTest::newRow("built-in play length")
            << Liste::Spielzeiten << QByteArray() << s("180") << -1 << s("Spielzeit schon vorhanden !");
        QTest::newRow("extra play length in other case")
            << Liste::Spielzeiten << QByteArray("E - 12A\r\n") << s("12a") << -1
            << s("Spielzeit schon vorhanden !");
        QTest::newRow("play length with a blank")
            << Liste::Spielzeiten << QByteArray() << s("9 0") << -1 << s("Nur Zahlenwerte erlaubt !");
        QTest::newRow("play length beyond 32 bits")
            << Liste::Spielzeiten << QByteArray() << s("99999999999") << -1 << s("Nur Zahlenwerte erlaubt !");
        QTest::newRow("play length the list file cannot hold")
            << Liste::Spielzeiten << QByteArray() << s("Ω") << -1 << s("Nur Zahlenwerte erlaubt !");
    }
    void eintragEinfuegen()
    {
        QFETCH(Liste, liste);
        QFETCH(QByteArray, datei);
        QFETCH(QString, antwort);
        QFETCH(int, stelle);
        QFETCH(QString, meldung);
        const QLatin1StringView name = liste == Liste::Genres   ? vocabulary::kGenreFile
                                       : liste == Liste::Sender ? vocabulary::kStationFile
                                                                : vocabulary::kPlayLengthFile;
        Aufbau a(QStringLiteral("einfuegen"), [&](Aufbau& b) {
            if (!datei.isEmpty())
                writeAll(b.list(name), datei);
        });
        const QStringList vorher = a.r().liste(liste);
        const QStringList dialogeVorher = a.r().playLengths();
        a.ui.inputAnswers = {antwort};

        QCOMPARE(a.r().Eintrag_Einfuegen(liste), qsizetype(stelle));
        QCOMPARE(ersteZeilen(a.ui.messages()), meldung.isEmpty() ? QStringList() : QStringList{meldung});
        if (!meldung.isEmpty())
            QCOMPARE(a.ui.shown.last().icon, quorbel::MsgIcon::Error);
        const bool hinzu = stelle >= 0;
        QCOMPARE(a.r().listeGeaendert(liste), hinzu);
        QCOMPARE(a.r().settingsChanged(), hinzu);
        QCOMPARE(a.gemeldet, hinzu);
        QStringList erwartet = vorher;
        if (hinzu)
            erwartet.insert(stelle, liste == Liste::Spielzeiten ? QStringLiteral("E - ") + antwort : antwort);
        QCOMPARE(a.r().liste(liste), erwartet);
        // The play-length dialogs offer the new length at once, at its place.
        if (liste == Liste::Spielzeiten) {
            QStringList dialoge = dialogeVorher;
            if (hinzu)
                vocabulary::insertSorted(dialoge, erwartet.at(stelle));
            QCOMPARE(a.r().playLengths(), dialoge);
        }
        // Only a list that was added to is written by the save.
        a.r().Speichere_Registry();
        QCOMPARE(readAll(a.list(name)), hinzu ? *vocabulary::formatLines(erwartet) : datei);
    }

    void eintragEntfernen_data()
    {
        QTest::addColumn<Liste>("liste");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<bool>("entfernt");
        QTest::addColumn<QStringList>("danach");
        const QStringList drei{QStringLiteral("E - 12A"), QStringLiteral("E - 480"),
                               QStringLiteral("E - 90")};
        QStringList sender = vocabulary::builtInStations();
        vocabulary::sortEntries(sender);
        QTest::newRow("middle play length")
            << Liste::Spielzeiten << 1 << true << QStringList{drei.at(0), drei.at(2)};
        QTest::newRow("last play length") << Liste::Spielzeiten << 2 << true << drei.mid(0, 2);
        QTest::newRow("no row") << Liste::Spielzeiten << -1 << false << drei;
        QTest::newRow("row past the end") << Liste::Spielzeiten << 3 << false << drei;
        QTest::newRow("first genre") << Liste::Genres << 0 << true << QStringList{QStringLiteral("Western")};
        QTest::newRow("row past the end of the stations")
            << Liste::Sender << int(sender.size()) << false << sender;
    }
    void eintragEntfernen()
    {
        QFETCH(Liste, liste);
        QFETCH(int, zeile);
        QFETCH(bool, entfernt);
        QFETCH(QStringList, danach);
        Aufbau a(QStringLiteral("entfernen"), [](Aufbau& b) {
            writeAll(b.list(vocabulary::kPlayLengthFile), "E - 90\r\nE - 12A\r\nE - 480\r\n");
            writeAll(b.list(vocabulary::kGenreFile), "Western\r\nDrama\r\n");
        });
        QCOMPARE(a.r().Eintrag_Entfernen(liste, zeile), entfernt);
        QCOMPARE(a.r().liste(liste), danach);
        QCOMPARE(a.r().listeGeaendert(liste), entfernt);
        QCOMPARE(a.r().settingsChanged(), entfernt);
        QCOMPARE(a.gemeldet, entfernt);
        // The play-length dialogs lose a removed length at once.
        if (liste == Liste::Spielzeiten)
            QCOMPARE(a.r().playLengths().size(), vocabulary::builtInPlayLengths().size() + danach.size());
    }

    // Leaving a field: an empty one gets its default, a day text is refused unless it is
    // a whole number from 0 to 99999, and a refused text stays for the person to correct.
    void feldVerlassen_data()
    {
        QTest::addColumn<Feld>("feld");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("gezeigt");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("days") << Feld::TageWarnen << s("12") << s("12") << QString();
        QTest::newRow("no days") << Feld::TageWarnen << s("0") << s("0") << QString();
        QTest::newRow("the most days") << Feld::AufnahmeTageWarnen << s("99999") << s("99999") << QString();
        QTest::newRow("empty loan days") << Feld::TageWarnen << QString() << s("7") << QString();
        QTest::newRow("empty recording days") << Feld::AufnahmeTageWarnen << QString() << s("3") << QString();
        QTest::newRow("one day too many") << Feld::TageWarnen << s("100000") << s("100000")
                                          << s("'100000' liegt nicht zwischen 0 und 99999 Tagen");
        QTest::newRow("negative days") << Feld::AufnahmeTageWarnen << s("-3") << s("-3")
                                       << s("'-3' liegt nicht zwischen 0 und 99999 Tagen");
        QTest::newRow("beyond 32 bits") << Feld::TageWarnen << s("99999999999") << s("99999999999")
                                        << s("'99999999999' ist kein gültiger Integerwert");
        QTest::newRow("pasted letters")
            << Feld::TageWarnen << s("12x") << s("12x") << s("'12x' ist kein gültiger Integerwert");
        QTest::newRow("plus sign") << Feld::TageWarnen << s("+5") << s("+5")
                                   << s("'+5' ist kein gültiger Integerwert");
        QTest::newRow("title") << Feld::Drucktitel << s("Meine Bänder") << s("Meine Bänder") << QString();
        QTest::newRow("empty title") << Feld::Drucktitel << QString() << s("Videoliste") << QString();
    }
    void feldVerlassen()
    {
        QFETCH(Feld, feld);
        QFETCH(QString, getippt);
        QFETCH(QString, gezeigt);
        QFETCH(QString, meldung);
        Aufbau a(QStringLiteral("feld"), [](Aufbau& b) {
            b.key([](KeyStore& k) {
                k.writeText(QStringLiteral("Titel"), QStringLiteral("Alt"));
                k.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), 9);
                k.writeInteger(QStringLiteral("Aufnahme_TageWarnen"), 4);
            });
        });
        const Einstellungen vorher = a.r().einstellungen();
        a.r().Feld_Geaendert(feld, getippt);
        QVERIFY(a.r().settingsChanged() && a.gemeldet);
        QCOMPARE(a.r().Feld_Verlassen(feld), meldung.isEmpty());
        QCOMPARE(a.r().feldtext(feld), gezeigt);
        QCOMPARE(a.ui.messages(), meldung.isEmpty() ? QStringList() : QStringList{meldung});

        Einstellungen erwartet = vorher;
        if (meldung.isEmpty()) {
            if (feld == Feld::Drucktitel)
                erwartet.Titel = gezeigt;
            else
                (feld == Feld::TageWarnen ? erwartet.Warnen_Nach_x_Tagen : erwartet.Aufnahme_TageWarnen) =
                    gezeigt.toInt();
        }
        QVERIFY(a.r().einstellungen() == erwartet);
    }

    // A save takes over what is typed and not yet left; a refused day text stops it with
    // the key and the lists untouched and the settings still changed.
    void speichernMitGetipptemFeld_data()
    {
        QTest::addColumn<Feld>("feld");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("fehler");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("days typed") << Feld::TageWarnen << s("21") << QString() << s("21");
        QTest::newRow("days emptied") << Feld::AufnahmeTageWarnen << QString() << QString() << s("3");
        QTest::newRow("title typed") << Feld::Drucktitel << s("Filme") << QString() << s("Filme");
        QTest::newRow("title emptied") << Feld::Drucktitel << QString() << QString() << s("Videoliste");
        QTest::newRow("letters in the days")
            << Feld::TageWarnen << s("12x") << s("'12x' ist kein gültiger Integerwert") << QString();
        QTest::newRow("too many days") << Feld::AufnahmeTageWarnen << s("100000")
                                       << s("'100000' liegt nicht zwischen 0 und 99999 Tagen") << QString();
    }
    void speichernMitGetipptemFeld()
    {
        QFETCH(Feld, feld);
        QFETCH(QString, getippt);
        QFETCH(QString, fehler);
        QFETCH(QString, gespeichert);
        Aufbau a(QStringLiteral("speichern"));
        a.ui.inputAnswers = {QStringLiteral("Western")};
        QVERIFY(a.r().Eintrag_Einfuegen(Liste::Genres) >= 0);
        a.ui.clear();
        const QByteArray keyBefore = readAll(a.keyPath);
        a.r().Feld_Geaendert(feld, getippt);

        QString geworfen;
        try {
            a.r().Speichere_Registry();
        } catch (const store::Error& e) {
            geworfen = e.message();
        }
        QCOMPARE(geworfen, fehler);
        QVERIFY(a.ui.shown.isEmpty());
        QCOMPARE(a.r().settingsChanged(), !fehler.isEmpty());
        QCOMPARE(a.gemeldet, !fehler.isEmpty());
        QCOMPARE(QFile::exists(a.list(vocabulary::kGenreFile)), fehler.isEmpty());
        if (!fehler.isEmpty()) {
            QCOMPARE(readAll(a.keyPath), keyBefore);
            QCOMPARE(a.r().feldtext(feld), getippt);
            return;
        }
        QCOMPARE(a.r().feldtext(feld), gespeichert);
        FileKeyStore key(a.keyPath);
        QVERIFY(key.openKey());
        const QString name = feld == Feld::TageWarnen           ? QStringLiteral("Warnen_Nach_x_Tagen")
                             : feld == Feld::AufnahmeTageWarnen ? QStringLiteral("Aufnahme_TageWarnen")
                                                                : QStringLiteral("Titel");
        QCOMPARE(feld == Feld::Drucktitel ? key.readText(name) : QString::number(key.readInteger(name)),
                 gespeichert);
    }

    // What a stored key gives the page: its own rules applied, faces that are not
    // installed replaced, days brought into range, and the settings unchanged.
    void laden()
    {
        Aufbau a(QStringLiteral("laden"), [](Aufbau& b) {
            b.key([](KeyStore& k) {
                k.writeInteger(QStringLiteral("Nummer_Drucken"), 0);
                k.writeInteger(QStringLiteral("Kassette_Fett_Drucken"), 1);
                k.writeText(QStringLiteral("Titel_Font"), QStringLiteral("Gibtsnicht Sans"));
                k.writeText(QStringLiteral("Spaltenueberschriften_Font"), QStringLiteral("courier new"));
                k.writeText(QStringLiteral("Schriftart_der_Etiketten"), QStringLiteral("Gibtsnicht Sans"));
                k.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), 10'000'000);
                k.writeInteger(QStringLiteral("Aufnahme_TageWarnen"), -5);
                k.writeText(QStringLiteral("Titel"), QStringLiteral("Bänder"));
                k.writeText(QStringLiteral("Autostart"), QStringLiteral("/daten/filme.qbx"));
            });
        });
        Einstellungen erwartet;
        erwartet.Nummer_Drucken = false;
        erwartet.Kassette_Fett_Drucken = false; // no bold number where none is printed
        erwartet.Titel_Font = QStringLiteral("Times New Roman");
        erwartet.Spaltenueberschriften_Font = QStringLiteral("courier new");
        erwartet.Listenelemente_Font = QStringLiteral("Times New Roman"); // missing: empty, not installed
        erwartet.Schriftart_der_Etiketten = QStringLiteral("Arial");
        erwartet.Warnen_Nach_x_Tagen = kHoechsteTage;
        erwartet.Aufnahme_TageWarnen = 0;
        erwartet.Titel = QStringLiteral("Bänder");
        erwartet.Autostart = QStringLiteral("/daten/filme.qbx");
        QVERIFY(a.r().einstellungen() == erwartet);
        QCOMPARE(a.r().feldtext(Feld::TageWarnen), QStringLiteral("99999"));
        QCOMPARE(a.r().feldtext(Feld::AufnahmeTageWarnen), QStringLiteral("0"));
        QCOMPARE(a.r().feldtext(Feld::Drucktitel), QStringLiteral("Bänder"));
        QCOMPARE(a.r().autostartAnzeige(), QStringLiteral("/daten/filme.qbx"));
        QVERIFY(!a.r().settingsChanged() && !a.gemeldet);
        QVERIFY(a.ui.shown.isEmpty());
    }

    // The label entries exist for one to four films; one film has no spread.
    void etikett()
    {
        Aufbau a(QStringLiteral("etikett"));
        a.r().setzeEtikettAusrichtung(1, 3);
        a.r().setzeEtikettAusrichtung(5, 3);
        a.r().setzeEtikettSchriftgroesse(0, 30);
        a.r().setzeEtikettSchriftgroesse(5, 30);
        QVERIFY(a.r().einstellungen() == Einstellungen{});
        QVERIFY(!a.r().settingsChanged());
        a.r().setzeEtikettAusrichtung(4, -5);
        a.r().setzeEtikettSchriftgroesse(1, 30);
        const std::array<EtikettEintrag, 4> erwartet = {{{30, 0}, {16, 0}, {16, 0}, {8, -5}}};
        QCOMPARE(a.r().einstellungen().Etiketten, erwartet);
        QVERIFY(a.r().settingsChanged());
    }

    // The collection opened at start: chosen, offered in its own directory next time,
    // switched off; the record keeps this start's value until the next start.
    void autostart()
    {
        Aufbau a(QStringLiteral("autostart"));
        QVERIFY(!a.r().Autostart_Waehlen());
        QCOMPARE(a.ui.shown.last().caption, a.dir);
        QVERIFY(!a.r().autostartGewaehlt() && !a.r().settingsChanged());

        const QString datei = a.dir + QStringLiteral("sub/../filme.qbx");
        a.ui.fileAnswers = {datei};
        QVERIFY(a.r().Autostart_Waehlen());
        const QString gewaehlt = QDir::toNativeSeparators(a.dir + QStringLiteral("filme.qbx"));
        QCOMPARE(a.r().autostartAnzeige(), gewaehlt);
        QVERIFY(a.r().settingsChanged());
        a.r().Speichere_Registry();
        QCOMPARE(a.r().einstellungen().Autostart, kKeinAutostart);
        QVERIFY(!a.r().Autostart_Waehlen());
        QCOMPARE(QDir::fromNativeSeparators(a.ui.shown.last().caption) + QLatin1Char('/'), a.dir);

        a.r().Kein_Autostart();
        QCOMPARE(a.r().autostartAnzeige(), kKeinAutostartAnzeige);
        a.r().Speichere_Registry();
        FileKeyStore key(a.keyPath);
        QVERIFY(key.openKey());
        QCOMPARE(key.readText(QStringLiteral("Autostart")), kKeinAutostart);
    }

    void tageszeichen_data()
    {
        QTest::addColumn<QChar>("zeichen");
        QTest::addColumn<bool>("erlaubt");
        QTest::newRow("0") << QChar(u'0') << true;
        QTest::newRow("9") << QChar(u'9') << true;
        QTest::newRow("backspace") << QChar(u'\b') << true;
        QTest::newRow("minus") << QChar(u'-') << false;
        QTest::newRow("blank") << QChar(u' ') << false;
        QTest::newRow("letter") << QChar(u'a') << false;
        QTest::newRow("arabic-indic digit") << QChar(u'\u0663') << false;
        QTest::newRow("full-width digit") << QChar(u'\uFF11') << false;
    }
    void tageszeichen()
    {
        QFETCH(QChar, zeichen);
        QTEST(Einstellungsregeln::Tageszeichen(zeichen), "erlaubt");
    }

    // An export file: refused, read without values, or read with values, which then
    // wait for the save and keep what is typed and the autostart chosen since loading.
    void importieren()
    {
        Aufbau a(QStringLiteral("import"));
        const QString reg = a.dir + QStringLiteral("import.reg");
        auto importieren = [&](const QByteArray& bytes) {
            writeAll(reg, bytes);
            a.ui.clear();
            a.ui.fileAnswers = {reg};
            return a.r().Importieren();
        };
        const QByteArray kopf = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorbel 98]\r\n";

        auto ergebnis = importieren("kein Export");
        QVERIFY(!ergebnis.uebernommen && ergebnis.bericht.isEmpty());
        QCOMPARE(a.ui.shown.last().icon, quorbel::MsgIcon::Error);
        QVERIFY(!a.r().settingsChanged());

        ergebnis = importieren(kopf);
        QVERIFY(!ergebnis.uebernommen && !ergebnis.bericht.isEmpty());
        QVERIFY(!a.r().settingsChanged());

        a.ui.fileAnswers = {a.dir + QStringLiteral("filme.qbx")};
        QVERIFY(a.r().Autostart_Waehlen());
        a.r().Feld_Geaendert(Feld::AufnahmeTageWarnen, QStringLiteral("21"));
        const QByteArray keyBefore = readAll(a.keyPath);
        ergebnis = importieren(kopf + "\"Titel\"=\"Neu\"\r\n\"Nummer_Drucken\"=dword:00000000\r\n");
        QVERIFY(ergebnis.uebernommen && !ergebnis.bericht.isEmpty());
        QVERIFY(a.ui.shown.size() == 1 && a.ui.shown.first().kind == FakeInteraction::Shown::Kind::File);
        const Einstellungen& e = a.r().einstellungen();
        QCOMPARE(e.Titel, QStringLiteral("Neu"));
        QCOMPARE(e.Aufnahme_TageWarnen, 21);
        QVERIFY(!e.Nummer_Drucken && !e.Kassette_Fett_Drucken);
        QCOMPARE(a.r().feldtext(Feld::Drucktitel), QStringLiteral("Neu"));
        QCOMPARE(a.r().autostartAnzeige(), QDir::toNativeSeparators(a.dir + QStringLiteral("filme.qbx")));
        QVERIFY(a.r().settingsChanged() && a.gemeldet);
        QCOMPARE(readAll(a.keyPath), keyBefore);

        // A refused day text stops the import before any value is taken.
        a.r().Feld_Geaendert(Feld::TageWarnen, QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(store::Error, importieren(kopf + "\"Titel\"=\"Dritter\"\r\n"));
        QCOMPARE(a.r().einstellungen().Titel, QStringLiteral("Neu"));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestEinstellungsregeln test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_einstellungsregeln.moc"
