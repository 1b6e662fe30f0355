#include "fakeinteraction.h"
#include "kind.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <settings/keystore.h>
#include <settings/registryimport.h>
#include <settings/settingscontroller.h>
#include <store/codepage.h>

using namespace settings;
using testing_support::FakeInteraction;
using testing_support::freshDir;
using testing_support::kind;

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kPlain = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorbel 98");
const QString kWow = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Quorbel 98");
const QString kVirtual =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Quorbel 98");
const QString kVirtualWow = QStringLiteral(
    "HKEY_CURRENT_USER\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Quorbel 98");

// Lines as the registry editor joins them.
QString lines(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << s(item);
    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray regedit4(const QString& body)
{
    return store::inCodepage(QStringLiteral("REGEDIT4\r\n\r\n") + body, 1252);
}

// A version 5 export as the registry editor writes it: UTF-16LE after a byte order mark.
QByteArray version5(const QString& body)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n") + body;
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString section(const QString& key)
{
    return QLatin1Char('[') + key + QStringLiteral("]\r\n");
}

// "Name=text" for a text, "Name=#n" for a number, "name: reason" for what was passed over.
QStringList found(const RegistryImport& r)
{
    QStringList out;
    for (const ImportWert& w : r.werte)
        out << w.name + QLatin1Char('=') + (w.istText ? w.text : QLatin1Char('#') + QString::number(w.zahl));
    return out;
}

QStringList passedOver(const RegistryImport& r)
{
    QStringList out;
    for (const UebergangenerEintrag& e : r.uebergangen)
        out << e.name + QStringLiteral(": ") + e.grund;
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kUnknown = QStringLiteral("unbekannter Wert");
const QString kTextForNumber = QStringLiteral("Text statt Zahl (dword)");
const QString kNumberForText = QStringLiteral("Zahl (dword) statt Text");

} // namespace

class TestRegistryImport : public QObject
{
    Q_OBJECT
private slots:
    void values_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("ignored");

        const QString umlauts = section(kPlain) + lines({R"("Titel"="Filme für Ärger – 5 €")",
                                                         R"("Warnen_Nach_x_Tagen"=dword:0000000a)"});
        const QStringList umlautValues = {s("Titel=Filme für Ärger – 5 €"),
                                          QStringLiteral("Warnen_Nach_x_Tagen=#10")};
        QTest::newRow("REGEDIT4 in code page 1252") << regedit4(umlauts) << umlautValues << QStringList();
        QTest::newRow("version 5 in UTF-16LE") << version5(umlauts) << umlautValues << QStringList();
        QTest::newRow("version 5 in UTF-8, lone LF")
            << (QStringLiteral("Windows Registry Editor Version 5.00\n\n") + umlauts)
                   .toUtf8()
                   .replace("\r\n", "\n")
            << umlautValues << QStringList();

        QTest::newRow("escapes in text and name")
            << regedit4(section(kPlain) + lines({R"("Autostart"="C:\\Filme\\\"Neu\".qbx")",
                                                 R"("Ti\"tel"="x")", R"("Titel"="C:\Pfad")"}))
            << QStringList{QStringLiteral("Autostart=C:\\Filme\\\"Neu\".qbx"),
                           QStringLiteral("Titel=C:\\Pfad")}
            << QStringList{QStringLiteral("Ti\"tel: ") + kUnknown};

        QTest::newRow("dwords: negative, short, yes/no, any case of name")
            << version5(section(kPlain) + lines({R"("Aufnahme_TageWarnen"=dword:ffffffff)",
                                                 R"("NUMMER_DRUCKEN"=DWORD:0)", R"("tip_anzeigen"=dword:2)",
                                                 R"("Ausrichtung_Bei_Zwei_Filmen" = dword: 80000000)"}))
            << QStringList{QStringLiteral("Aufnahme_TageWarnen=#-1"), QStringLiteral("Nummer_Drucken=#0"),
                           QStringLiteral("Tip_Anzeigen=#2"),
                           QStringLiteral("Ausrichtung_Bei_Zwei_Filmen=#-2147483648")}
            << QStringList();

        QTest::newRow("comments, default value, version, continued hex, last of two wins")
            << regedit4(section(kPlain) +
                        lines({"; geschrieben von Hand", R"(@="Standard")", R"("Version"="0.9.2 [RELEASE]")",
                               R"("Titel"="erst")", R"("Fenster"=hex:00,01,02,\)", "  03,04,\\", "  05", "",
                               R"("Titel"="zuletzt")", R"("Groesse"=hex(b):01,00,00,00,00,00,00,00)"}))
            << QStringList{QStringLiteral("Titel=zuletzt")}
            << QStringList{s("Fenster: Binärwert (hex), wird nicht übernommen"),
                           s("Groesse: Binärwert (hex), wird nicht übernommen")};

        QTest::newRow("unknown names, wrong kinds, deletions")
            << version5(section(kPlain) +
                        lines({R"("Farbe"="rot")", R"("Titel"=dword:00000001)", R"("Tip_Anzeigen"="1")",
                               R"("Nulllaengentip"=-)", R"("Listenelemente_Font"="Arial")"}))
            << QStringList{QStringLiteral("Listenelemente_Font=Arial")}
            << QStringList{QStringLiteral("Farbe: ") + kUnknown, QStringLiteral("Titel: ") + kNumberForText,
                           QStringLiteral("Tip_Anzeigen: ") + kTextForNumber,
                           s("Nulllaengentip: Löschanweisung, wird nicht ausgeführt")};

        QTest::newRow("other keys and sub-keys are passed over")
            << regedit4(section(QStringLiteral("HKEY_CURRENT_USER\\Software\\Quorbel 98")) +
                        lines({R"("Titel"="Benutzer")", R"("Farbe"=dword:1)"}) +
                        section(kPlain + QStringLiteral("\\Fenster")) +
                        lines({R"("Titel"="Unterschlüssel")"}) + section(kPlain) +
                        lines({R"("Titel"="richtig")"}) +
                        section(QStringLiteral("-") + kPlain + QStringLiteral("\\Alt")) +
                        lines({R"("Titel"="gelöscht")"}))
            << QStringList{QStringLiteral("Titel=richtig")} << QStringList();
    }

    void values()
    {
        QFETCH(QByteArray, bytes);
        const RegistryImport r = leseRegistryExport(bytes);
        QVERIFY2(r.gelesen(), qPrintable(r.fehler));
        QTEST(found(r), "values");
        QTEST(passedOver(r), "ignored");
    }

    void keyLocations_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QStringList>("passedOver");

        QTest::newRow("plain") << QStringList{kPlain} << kPlain << QStringList();
        QTest::newRow("WOW6432Node") << QStringList{kWow} << kWow << QStringList();
        QTest::newRow("VirtualStore") << QStringList{kVirtual} << kVirtual << QStringList();
        QTest::newRow("VirtualStore WOW6432Node") << QStringList{kVirtualWow} << kVirtualWow << QStringList();
        QTest::newRow("short form, any case")
            << QStringList{QStringLiteral("hklm\\software\\QUORBEL 98")}
            << QStringLiteral("hklm\\software\\QUORBEL 98") << QStringList();
        QTest::newRow("WOW6432Node over plain")
            << QStringList{kPlain, kWow} << kWow << QStringList{QLatin1Char('[') + kPlain + QLatin1Char(']')};
        QTest::newRow("VirtualStore over WOW6432Node, in any order")
            << QStringList{kVirtual, kWow} << kVirtual
            << QStringList{QLatin1Char('[') + kWow + QLatin1Char(']')};
        QTest::newRow("all four") << QStringList{kPlain, kVirtualWow, kWow, kVirtual} << kVirtualWow
                                  << QStringList{QLatin1Char('[') + kVirtual + QLatin1Char(']'),
                                                 QLatin1Char('[') + kWow + QLatin1Char(']'),
                                                 QLatin1Char('[') + kPlain + QLatin1Char(']')};
    }

    void keyLocations()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, titel);
        QFETCH(QStringList, passedOver);
        // Each section names itself in the title; only the plain key has a second value,
        // which must not leak into a section that wins over it.
        QString body;
        for (const QString& key : keys) {
            body += section(key) + QStringLiteral("\"Titel\"=\"%1\"\r\n")
                                       .arg(QString(key).replace(QLatin1Char('\\'), QStringLiteral("\\\\")));
            if (key == kPlain)
                body += QStringLiteral("\"Autostart\"=\"C:\\\\alt.qbx\"\r\n");
        }
        const RegistryImport r = leseRegistryExport(version5(body));
        QVERIFY2(r.gelesen(), qPrintable(r.fehler));
        QCOMPARE(found(r).first(), QStringLiteral("Titel=") + titel);
        QCOMPARE(r.werte.size(), titel == kPlain ? 2 : 1);
        QStringList sections;
        for (const UebergangenerEintrag& e : r.uebergangen)
            sections << e.name;
        QCOMPARE(sections, passedOver);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");

        const QString head = section(kPlain);
        QTest::newRow("empty file") << QByteArray() << 1;
        QTest::newRow("no export header") << QByteArray("Titel=Filme\r\n") << 1;
        QTest::newRow("unterminated text") << regedit4(head + lines({R"("Titel"="Filme)"})) << 4;
        QTest::newRow("unterminated name") << version5(head + lines({R"("Ti=dword:1)"})) << 4;
        QTest::newRow("no equals sign") << regedit4(head + lines({R"("Titel" "x")"})) << 4;
        QTest::newRow("dword with bad digits")
            << version5(head + lines({R"("Tip_Anzeigen"=dword:0000001g)"})) << 4;
        QTest::newRow("dword of nine digits")
            << regedit4(head + lines({R"("Tip_Anzeigen"=dword:000000001)"})) << 4;
        QTest::newRow("unknown kind of data") << regedit4(head + lines({R"("Tip_Anzeigen"=1)"})) << 4;
        QTest::newRow("stray line") << regedit4(head + lines({R"("Titel"="a")", "Titel=b"})) << 5;
        QTest::newRow("unterminated key") << regedit4(lines({"[HKEY_LOCAL_MACHINE\\SOFTWARE"})) << 3;
        QTest::newRow("malformed line under another key")
            << regedit4(section(QStringLiteral("HKEY_CURRENT_USER\\Software")) + lines({R"("x"=dword:xyz)"}) +
                        head + lines({R"("Titel"="a")"}))
            << 4;
        QTest::newRow("none of the settings keys")
            << regedit4(section(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorbel 99")) +
                        lines({R"("Titel"="a")"}))
            << 0;
        QTest::newRow("UTF-16 cut in a character")
            << version5(head + lines({R"("Titel"="a")"})).chopped(1) << 0;
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        const RegistryImport r = leseRegistryExport(bytes);
        QVERIFY(!r.gelesen());
        QTEST(r.fehlerZeile, "line");
        QVERIFY(r.werte.isEmpty());
        Einstellungen e;
        uebernehmeWerte(r, e);
        QVERIFY(e == Einstellungen{});
    }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("missing") << QStringLiteral("fehlt.reg") << qsizetype(-1) << false;
        QTest::newRow("a directory") << QStringLiteral("verzeichnis.reg") << qsizetype(-2) << false;
        QTest::newRow("1 MiB") << QStringLiteral("gross.reg") << qsizetype(1024 * 1024) << true;
        QTest::newRow("over 1 MiB") << QStringLiteral("gross.reg") << qsizetype(1024 * 1024 + 1) << false;
    }

    void files()
    {
        QFETCH(QString, name);
        QFETCH(qsizetype, size);
        QFETCH(bool, read);
        const QString path =
            freshDir(
                QStringLiteral("files_") +
                QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'))) +
            QLatin1Char('/') + name;
        if (size == -2)
            QVERIFY(QDir().mkpath(path));
        if (size >= 0) {
            // A valid export padded with comment lines: only its size is wrong.
            QByteArray bytes = regedit4(section(kPlain) + lines({R"("Titel"="a")"}));
            while (bytes.size() < size)
                bytes += "; " + QByteArray(78, 'x') + "\r\n";
            bytes.truncate(size);
            writeFile(path, bytes);
        }
        const RegistryImport r = leseRegistryExportDatei(path);
        QCOMPARE(r.gelesen(), read);
        QCOMPARE(r.werte.size(), read ? 1 : 0);
    }

    void everyValueReachesItsField()
    {
        const QByteArray bytes =
            version5(section(kPlain) + lines({R"("Titel"="T")",
                                              R"("Titel_Font"="F1")",
                                              R"("Spaltenueberschriften_Font"="F2")",
                                              R"("Listenelemente_Font"="F3")",
                                              R"("Kassettennummer_Font"="F4")",
                                              R"("Schriftart_der_Etiketten"="F5")",
                                              R"("Autostart"="C:\\a.qbx")",
                                              R"("Schriftgroesse_Bei_Einem_Film"=dword:00000001)",
                                              R"("Schriftgroesse_Bei_Zwei_Filmen"=dword:00000002)",
                                              R"("Ausrichtung_Bei_Zwei_Filmen"=dword:00000003)",
                                              R"("Schriftgroesse_Bei_Drei_Filmen"=dword:00000004)",
                                              R"("Ausrichtung_Bei_Drei_Filmen"=dword:00000005)",
                                              R"("Schriftgroesse_Bei_Vier_Filmen"=dword:00000006)",
                                              R"("Ausrichtung_Bei_Vier_Filmen"=dword:00000007)",
                                              R"("Warnen_Nach_x_Tagen"=dword:00000008)",
                                              R"("Aufnahme_TageWarnen"=dword:00000009)",
                                              R"("Nummer_Drucken"=dword:00000000)",
                                              R"("Kassette_Fett_Drucken"=dword:00000000)",
                                              R"("Anzahl_Der_Filme_Drucken"=dword:00000000)",
                                              R"("Tip_Anzeigen"=dword:00000000)",
                                              R"("Nulllaengentip"=dword:00000000)"}));
        const RegistryImport r = leseRegistryExport(bytes);
        QVERIFY2(r.gelesen(), qPrintable(r.fehler));
        QCOMPARE(r.werte.size(), 21);
        QVERIFY(r.uebergangen.isEmpty());

        Einstellungen expected;
        expected.Titel = QStringLiteral("T");
        expected.Titel_Font = QStringLiteral("F1");
        expected.Spaltenueberschriften_Font = QStringLiteral("F2");
        expected.Listenelemente_Font = QStringLiteral("F3");
        expected.Kassettennummer_Font = QStringLiteral("F4");
        expected.Schriftart_der_Etiketten = QStringLiteral("F5");
        expected.Autostart = QStringLiteral("C:\\a.qbx");
        expected.Etiketten = {{{1, 0}, {2, 3}, {4, 5}, {6, 7}}};
        expected.Warnen_Nach_x_Tagen = 8;
        expected.Aufnahme_TageWarnen = 9;
        expected.Nummer_Drucken = false;
        expected.Kassette_Fett_Drucken = false;
        expected.Anzahl_Der_Filme_Drucken = false;
        expected.Tip_Anzeigen = false;
        expected.Nulllaengentip = false;
        Einstellungen e;
        uebernehmeWerte(r, e);
        QVERIFY(e == expected);
    }

    // Through the settings page: a refused file changes nothing; a good one reaches the
    // page and waits for the save, which then writes it.
    void importOnThePage()
    {
        const QString dir = freshDir(QStringLiteral("page"));
        const QString keyPath = dir + QStringLiteral("/key/quorbel98.key");
        FakeInteraction ui;
        QWidget page;
        SettingsController c(
            ui, dir + QLatin1Char('/'), &page,
            [] {
                return QStringList{QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                   QStringLiteral("Verdana")};
            },
            std::make_unique<FileKeyStore>(keyPath));
        c.Lade_Genreliste();
        c.Lade_Senderliste();
        c.Lade_Spielzeitenliste();
        c.Registry_Auslesen();
        c.Setze_Listenmarken_Zurueck();
        const QByteArray keyBefore = readFile(keyPath);
        QVERIFY(!keyBefore.isEmpty());
        auto* button = kind<QPushButton>(page, "BitBtn_EinstellungenImportieren");
        auto* save = kind<QPushButton>(page, "BitBtn_EinstellungenSpeichern");

        const QString bad = dir + QStringLiteral("/kaputt.reg");
        writeFile(bad, regedit4(section(kPlain) + lines({R"("Titel"="Neu")", R"("Tip_Anzeigen"=dword:1x)"})));
        ui.fileAnswers.push_back(bad);
        button->click();
        QCOMPARE(ui.shown.first().text, QStringLiteral("Registrierungsdateien (*.reg)|*.reg"));
        QCOMPARE(ui.messages().size(), 1);
        QCOMPARE(ui.shown.last().icon, quorbel::MsgIcon::Error);
        QVERIFY(ui.messages().first().contains(QDir::toNativeSeparators(bad)));
        QVERIFY(ui.messages().first().contains(QStringLiteral("Zeile 5")));
        QVERIFY(c.einstellungen() == Einstellungen{});
        QCOMPARE(kind<QLineEdit>(page, "Edit_Drucktitel")->text(), QStringLiteral("Videoliste"));
        QVERIFY(!save->isEnabled());
        QVERIFY(!c.settingsChanged());

        ui.clear();
        const QString good = dir + QStringLiteral("/alt.reg");
        writeFile(good, version5(section(kVirtual) +
                                 lines({R"("Titel"="Meine Bänder")", R"("Titel_Font"="Gibtsnicht")",
                                        R"("Listenelemente_Font"="verdana")",
                                        R"("Warnen_Nach_x_Tagen"=dword:0000000e)",
                                        R"("Nummer_Drucken"=dword:00000000)",
                                        R"("Autostart"="D:\\Filme\\alle.qbx")", R"("Farbe"="rot")"})));
        ui.fileAnswers.push_back(good);
        button->click();
        QCOMPARE(ui.messages(),
                 QStringList{QStringLiteral("Aus der Datei \"%1\" wurden 6 Werte übernommen.")
                                 .arg(QDir::toNativeSeparators(good)) +
                             quorbel::kMessageBreak + s("Nicht übernommen:") + quorbel::kMessageBreak +
                             QStringLiteral("Farbe: ") + kUnknown + quorbel::kMessageBreak +
                             s("Gesichert werden die Einstellungen erst mit \"Einstellungen "
                               "speichern\".")});
        QCOMPARE(ui.shown.last().icon, quorbel::MsgIcon::Information);

        QCOMPARE(kind<QLineEdit>(page, "Edit_Drucktitel")->text(), s("Meine Bänder"));
        QCOMPARE(kind<QLineEdit>(page, "Edit_TageWarnen")->text(), QStringLiteral("14"));
        QCOMPARE(kind<QLineEdit>(page, "Edit_Autostart")->text(), QStringLiteral("D:\\Filme\\alle.qbx"));
        QVERIFY(kind<QPushButton>(page, "BitBtn_KeinAuto")->isEnabled());
        QVERIFY(!kind<QCheckBox>(page, "CheckBox_Nummer")->isChecked());
        QVERIFY(!kind<QCheckBox>(page, "CheckBox_NummerFett")->isChecked());       // follows the number
        QCOMPARE(c.einstellungen().Titel_Font, QStringLiteral("Times New Roman")); // not installed
        QCOMPARE(c.einstellungen().Listenelemente_Font, QStringLiteral("verdana"));
        QVERIFY(save->isEnabled());
        QVERIFY(c.settingsChanged());
        QCOMPARE(readFile(keyPath), keyBefore);

        save->click();
        QVERIFY(!c.settingsChanged());
        FileKeyStore key(keyPath);
        QVERIFY(key.openKey());
        QCOMPARE(key.readText(QStringLiteral("Titel")), s("Meine Bänder"));
        QCOMPARE(key.readText(QStringLiteral("Autostart")), QStringLiteral("D:\\Filme\\alle.qbx"));
        QCOMPARE(key.readInteger(QStringLiteral("Kassette_Fett_Drucken")), 0);

        // An export without some values leaves what the page shows of them, even where
        // it is not saved yet.
        kind<QPushButton>(page, "BitBtn_KeinAuto")->click();
        auto* days = kind<QLineEdit>(page, "Edit_AufnahmeTageWarnen");
        days->setText(QStringLiteral("21"));
        const QString titleOnly = dir + QStringLiteral("/titel.reg");
        writeFile(titleOnly, regedit4(section(kPlain) + lines({R"("Titel"="Zweiter Import")"})));
        ui.fileAnswers.push_back(titleOnly);
        button->click();
        QCOMPARE(kind<QLineEdit>(page, "Edit_Drucktitel")->text(), QStringLiteral("Zweiter Import"));
        QCOMPARE(kind<QLineEdit>(page, "Edit_Autostart")->text(), kKeinAutostartAnzeige);
        QCOMPARE(days->text(), QStringLiteral("21"));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestRegistryImport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registryimport.moc"
