#include "fakeinteraction.h"
#include "kind.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>
#include <settings/einstellungsseite.h>
#include <settings/keystore.h>
#include <settings/registryimport.h>
#include <store/codepage.h>

using namespace settings;
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

// A key with its lines (split at '|') as the registry editor writes them. Raw strings
// only with balanced quotes and no backslash before a quote: moc misreads the others.
QString section(const char* lines, const QString& key = kPlain)
{
    return QLatin1Char('[') + key + QStringLiteral("]\r\n") +
           s(lines).replace(QLatin1Char('|'), QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray regedit4(const QString& body)
{
    return store::inCodepage(QStringLiteral("REGEDIT4\r\n\r\n") + body, 1252);
}

// UTF-16LE after a byte order mark, as the registry editor writes version 5.
QByteArray version5(const QString& body)
{
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return utf16(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n") + body);
}

// "refused in line n" for a refused file, "Name=text" or "Name=#n" for each value taken,
// "name: reason" for each passed over; joined by '|'.
QString result(const RegistryImport& r)
{
    QStringList out;
    if (!r.gelesen())
        out << QStringLiteral("refused in line %1").arg(r.fehlerZeile);
    for (const ImportWert& w : r.werte)
        out << w.name + QLatin1Char('=') + (w.istText ? w.text : QLatin1Char('#') + QString::number(w.zahl));
    for (const UebergangenerEintrag& e : r.uebergangen)
        out << e.name + QStringLiteral(": ") + e.grund;
    return out.join(QLatin1Char('|'));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRegistryImport : public QObject
{
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("result");
        const QString umlauts =
            section(R"("Titel"="Filme für Ärger – 5 €"|"Warnen_Nach_x_Tagen"=dword:0000000a)");
        const QString umlautValues = QStringLiteral("Titel=Filme für Ärger – 5 €|Warnen_Nach_x_Tagen=#10");
        QTest::newRow("REGEDIT4 in code page 1252") << regedit4(umlauts) << umlautValues;
        QTest::newRow("version 5 in UTF-16LE") << version5(umlauts) << umlautValues;
        QTest::newRow("version 5 in UTF-8, lone LF")
            << QByteArray("Windows Registry Editor Version 5.00\n\n") + umlauts.toUtf8().replace("\r\n", "\n")
            << umlautValues;
        QTest::newRow("escapes in text and name")
            << regedit4(section("\"Autostart\"=\"C:\\\\Filme\\\\\\\"Neu\\\".qbx\"|\"Ti\\\"tel\"=\"x\"|"
                                "\"Titel\"=\"C:\\Pfad\""))
            << QStringLiteral("Autostart=C:\\Filme\\\"Neu\".qbx|Titel=C:\\Pfad|Ti\"tel: unbekannter Wert");
        QTest::newRow("dwords: negative, any case, spaced")
            << version5(section(R"("Aufnahme_TageWarnen"=dword:ffffffff|"NUMMER_DRUCKEN"=DWORD:0|)"
                                R"("Ausrichtung_Bei_Zwei_Filmen" = dword: 80000000)"))
            << s("Aufnahme_TageWarnen=#-1|Nummer_Drucken=#0|Ausrichtung_Bei_Zwei_Filmen=#-2147483648");
        QTest::newRow("comments, default value, version, continued hex, last of two wins")
            << regedit4(section(R"(; von Hand|@="Standard"|"Version"="0.9.2 [RELEASE]"|"Titel"="erst"|)"
                                R"("Fenster"=hex:00,01,\|  03,\|  05||"Titel"="zuletzt")"))
            << QStringLiteral("Titel=zuletzt|Fenster: Binärwert (hex), wird nicht übernommen");
        QTest::newRow("unknown names, wrong kinds, deletions")
            << version5(section(R"("Farbe"="rot"|"Titel"=dword:1|"Tip_Anzeigen"="1"|"Nulllaengentip"=-)"))
            << s("Farbe: unbekannter Wert|Titel: Zahl (dword) statt Text|Tip_Anzeigen: Text statt Zahl "
                 "(dword)|Nulllaengentip: Löschanweisung, wird nicht ausgeführt");

        // Where the settings may lie (never in a sub-key); of several, one wins and nothing
        // of the others leaks.
        for (const QString& key :
             {kPlain, kWow, kVirtual, kVirtualWow, QStringLiteral("hklm\\software\\QUORBEL 98")})
            QTest::newRow(qPrintable(key))
                << version5(section(R"("Titel"="x")", key) +
                            section(R"("Titel"="y")", key + QStringLiteral("\\Sub")))
                << QStringLiteral("Titel=x");
        QTest::newRow("precedence, in any order")
            << version5(section(R"("Titel"="plain"|"Autostart"="alt")") +
                        section(R"("Titel"="vw")", kVirtualWow) + section(R"("Titel"="w")", kWow) +
                        section(R"("Titel"="v")", kVirtual))
            << QStringLiteral("Titel=vw|[%2]: übergangen, es gilt [%1]|[%3]: übergangen, es gilt [%1]|"
                              "[%4]: übergangen, es gilt [%1]")
                   .arg(kVirtualWow, kVirtual, kWow, kPlain);

        // Refused as a whole, with the line at fault (0: the whole file).
        const auto refused = [](int line) { return QStringLiteral("refused in line %1").arg(line); };
        QTest::newRow("UTF-16 cut in a character") << QByteArray("\xFF\xFE!") << refused(0);
        QTest::newRow("no export header") << QByteArray() << refused(1);
        QTest::newRow("unterminated key") << regedit4(QStringLiteral("[HKLM\\SOFTWARE\r\n")) << refused(3);
        QTest::newRow("unterminated name") << regedit4(section("\"Ti=dword:1")) << refused(4);
        QTest::newRow("stray line") << regedit4(section(R"("Titel"="a"|Titel=b)")) << refused(5);
        QTest::newRow("no equals sign") << regedit4(section(R"("Titel" "x")")) << refused(4);
        QTest::newRow("unterminated text") << regedit4(section("\"Titel\"=\"Filme")) << refused(4);
        QTest::newRow("more after the text") << regedit4(section(R"("Titel"="a"b)")) << refused(4);
        QTest::newRow("dword of nine digits") << regedit4(section(R"("x"=dword:000000001)")) << refused(4);
        QTest::newRow("unknown kind of data") << regedit4(section(R"("x"=1)")) << refused(4);
        QTest::newRow("bad dword digits, under another key")
            << version5(section(R"("x"=dword:0000001g)", QStringLiteral("HKCU\\Software")) +
                        section(R"("Titel"="a")"))
            << refused(4);
        QTest::newRow("none of the settings keys")
            << regedit4(section(R"("Titel"="a")", QStringLiteral("HKLM\\SOFTWARE\\Quorbel 99")))
            << refused(0);
        const QByteArray valid = regedit4(section(R"("Titel"="a")"));
        QTest::newRow("a valid export padded to one byte over the size limit")
            << valid + ';' + QByteArray(kRegistryExportHoechstgroesse - valid.size(), 'x') << refused(0);
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        const QString path = freshDir(QStringLiteral("read")) + QStringLiteral("/export.reg");
        writeFile(path, bytes);
        QTEST(result(leseRegistryExportDatei(path)), "result");
    }

    void everyValueReachesItsField()
    {
        const RegistryImport r = leseRegistryExport(version5(section(
            R"("Titel"="T"|"Titel_Font"="F1"|"Spaltenueberschriften_Font"="F2"|"Listenelemente_Font"="F3"|)"
            R"("Kassettennummer_Font"="F4"|"Schriftart_der_Etiketten"="F5"|"Autostart"="A"|)"
            R"("Schriftgroesse_Bei_Einem_Film"=dword:1|"Schriftgroesse_Bei_Zwei_Filmen"=dword:2|)"
            R"("Ausrichtung_Bei_Zwei_Filmen"=dword:3|"Schriftgroesse_Bei_Drei_Filmen"=dword:4|)"
            R"("Ausrichtung_Bei_Drei_Filmen"=dword:5|"Schriftgroesse_Bei_Vier_Filmen"=dword:6|)"
            R"("Ausrichtung_Bei_Vier_Filmen"=dword:7|"Warnen_Nach_x_Tagen"=dword:8|"Aufnahme_TageWarnen"=dword:9|)"
            R"("Nummer_Drucken"=dword:0|"Kassette_Fett_Drucken"=dword:0|"Anzahl_Der_Filme_Drucken"=dword:0|)"
            R"("Tip_Anzeigen"=dword:0|"Nulllaengentip"=dword:0)")));
        // Every field of the record, in its order.
        const Einstellungen expected{
            s("T"),  s("F1"), s("F2"), s("F3"), s("F4"), {{{1, 0}, {2, 3}, {4, 5}, {6, 7}}},
            s("F5"), s("A"),  8,       9,       false,   false,
            false,   false,   false};
        Einstellungen e;
        uebernehmeWerte(r, e);
        QVERIFY(e == expected);
    }

    // Through the settings page: a refused file changes nothing; a good one reaches the
    // page and waits for the save; a file without some values keeps what the page shows.
    void importOnThePage()
    {
        const QString dir = freshDir(QStringLiteral("page"));
        const QString keyPath = dir + QStringLiteral("/key/quorbel98.key");
        const QString regPath = dir + QStringLiteral("/import.reg");
        testing_support::FakeInteraction ui;
        const auto fonts = [] { return QStringList{s("Arial"), s("Times New Roman")}; };
        Einstellungsseite page(ui, dir + QLatin1Char('/'), std::make_unique<FileKeyStore>(keyPath), fonts);
        Einstellungsseite& c = page;
        c.Registry_Auslesen();
        const QByteArray keyBefore = readFile(keyPath);
        auto* save = kind<QPushButton>(page, "BitBtn_EinstellungenSpeichern");
        auto* title = kind<QLineEdit>(page, "Edit_Drucktitel");
        auto* autostart = kind<QLineEdit>(page, "Edit_Autostart");
        const auto import = [&](const QByteArray& bytes) {
            writeFile(regPath, bytes);
            ui.fileAnswers.push_back(regPath);
            kind<QPushButton>(page, "BitBtn_EinstellungenImportieren")->click();
        };

        import(regedit4(section(R"("Titel"="Neu"|"Tip_Anzeigen"=dword:1x)")));
        QVERIFY(ui.messages().first().contains(QStringLiteral("Zeile 5")));
        QVERIFY(c.einstellungen() == Einstellungen{});
        QVERIFY(!save->isEnabled());

        import(version5(section(R"("Titel"="Bänder"|"Autostart"="D:\\a.qbx")", kVirtual)));
        QCOMPARE(title->text(), QStringLiteral("Bänder"));
        QCOMPARE(autostart->text(), QStringLiteral("D:\\a.qbx"));
        QVERIFY(save->isEnabled());
        QCOMPARE(readFile(keyPath), keyBefore);

        kind<QPushButton>(page, "BitBtn_KeinAuto")->click();
        auto* days = kind<QLineEdit>(page, "Edit_AufnahmeTageWarnen");
        days->setText(QStringLiteral("21")); // typed, the field not left yet
        import(regedit4(section(R"("Titel"="Zweiter Import")")));
        QCOMPARE(title->text(), QStringLiteral("Zweiter Import"));
        QCOMPARE(autostart->text(), kKeinAutostartAnzeige);
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
