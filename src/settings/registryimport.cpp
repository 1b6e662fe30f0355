#include "registryimport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <array>
#include <store/codepage.h>
#include <ui/interaction.h>

namespace settings {

namespace {

const QString kKopfRegedit4 = QStringLiteral("REGEDIT4");
const QString kKopfVersion5 = QStringLiteral("Windows Registry Editor Version 5.00");

// One value of the settings key and where it goes in the record: a text, a number, a
// yes/no or a number of one label entry.
struct Feld
{
    QStringView name;
    QString Einstellungen::*text = nullptr;
    qint32 Einstellungen::*zahl = nullptr;
    bool Einstellungen::*jaNein = nullptr;
    int filme = 0;
    qint32 EtikettEintrag::*etikett = nullptr;

    bool istText() const { return text != nullptr; }
};

const std::array<Feld, 22> kFelder = {{
    {.name = u"Titel", .text = &Einstellungen::Titel},
    {.name = u"Titel_Font", .text = &Einstellungen::Titel_Font},
    {.name = u"Spaltenueberschriften_Font", .text = &Einstellungen::Spaltenueberschriften_Font},
    {.name = u"Listenelemente_Font", .text = &Einstellungen::Listenelemente_Font},
    {.name = u"Kassettennummer_Font", .text = &Einstellungen::Kassettennummer_Font},
    {.name = u"Schriftart_der_Etiketten", .text = &Einstellungen::Schriftart_der_Etiketten},
    {.name = u"Autostart", .text = &Einstellungen::Autostart},
    {.name = u"Schriftgroesse_Bei_Einem_Film", .filme = 1, .etikett = &EtikettEintrag::Schriftgroesse},
    {.name = u"Schriftgroesse_Bei_Zwei_Filmen", .filme = 2, .etikett = &EtikettEintrag::Schriftgroesse},
    {.name = u"Ausrichtung_Bei_Zwei_Filmen", .filme = 2, .etikett = &EtikettEintrag::Ausrichtung},
    {.name = u"Schriftgroesse_Bei_Drei_Filmen", .filme = 3, .etikett = &EtikettEintrag::Schriftgroesse},
    {.name = u"Ausrichtung_Bei_Drei_Filmen", .filme = 3, .etikett = &EtikettEintrag::Ausrichtung},
    {.name = u"Schriftgroesse_Bei_Vier_Filmen", .filme = 4, .etikett = &EtikettEintrag::Schriftgroesse},
    {.name = u"Ausrichtung_Bei_Vier_Filmen", .filme = 4, .etikett = &EtikettEintrag::Ausrichtung},
    {.name = u"Warnen_Nach_x_Tagen", .zahl = &Einstellungen::Warnen_Nach_x_Tagen},
    {.name = u"Aufnahme_TageWarnen", .zahl = &Einstellungen::Aufnahme_TageWarnen},
    {.name = u"Nummer_Drucken", .jaNein = &Einstellungen::Nummer_Drucken},
    {.name = u"Kassette_Fett_Drucken", .jaNein = &Einstellungen::Kassette_Fett_Drucken},
    {.name = u"Anzahl_Der_Filme_Drucken", .jaNein = &Einstellungen::Anzahl_Der_Filme_Drucken},
    {.name = u"Tip_Anzeigen", .jaNein = &Einstellungen::Tip_Anzeigen},
    {.name = u"Nulllaengentip", .jaNein = &Einstellungen::Nulllaengentip},
}};

// Value names compare as the registry compares them, without regard to case.
const Feld* findeFeld(const QString& name)
{
    for (const Feld& feld : kFelder)
        if (name.compare(feld.name, Qt::CaseInsensitive) == 0)
            return &feld;
    return nullptr;
}

// Where a key section of the export stands among the places the settings may have been
// written; 0 for any other key. When the file holds more than one of them, the highest
// wins: the VirtualStore copy is where the program actually wrote when it ran without
// administrator rights (Windows redirected its writes there and read them back from
// there), and below that the 32-bit view of WOW6432Node is what the program saw on a
// 64-bit Windows; the plain key comes last.
int rangDesSchluessels(QString schluessel)
{
    schluessel = schluessel.trimmed().toLower();
    while (schluessel.endsWith(QLatin1Char('\\')))
        schluessel.chop(1);
    if (schluessel.startsWith(QLatin1String("hklm\\")))
        schluessel = QStringLiteral("hkey_local_machine") + schluessel.mid(4);
    else if (schluessel.startsWith(QLatin1String("hkcu\\")))
        schluessel = QStringLiteral("hkey_current_user") + schluessel.mid(4);
    static const std::array<QString, 4> orte = {
        QStringLiteral("hkey_local_machine\\software\\quorbel 98"),
        QStringLiteral("hkey_local_machine\\software\\wow6432node\\quorbel 98"),
        QStringLiteral("hkey_current_user\\software\\classes\\virtualstore\\machine\\software\\quorbel 98"),
        QStringLiteral("hkey_current_user\\software\\classes\\virtualstore\\machine\\software\\wow6432node\\"
                       "quorbel 98"),
    };
    for (std::size_t i = 0; i < orte.size(); ++i)
        if (schluessel == orte.at(i))
            return int(i) + 1;
    return 0;
}

bool beginntMit(const QByteArray& bytes, std::initializer_list<unsigned char> anfang)
{
    if (bytes.size() < qsizetype(anfang.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : anfang)
        if (static_cast<unsigned char>(bytes.at(i++)) != c)
            return false;
    return true;
}

// The text of the file. A version 5 export is UTF-16LE with a byte order mark as the
// registry editor writes it; one without the mark, or in UTF-8, is read as well. A
// "REGEDIT4" export is in code page 1252, and so is anything that is no valid UTF-8.
bool dekodiere(const QByteArray& bytes, QString& text, QString& fehler)
{
    auto utf16 = [&](QStringConverter::Encoding kodierung, qsizetype ab) {
        if ((bytes.size() - ab) % 2 != 0) {
            fehler = QStringLiteral("Die Datei endet mitten in einem Zeichen (UTF-16).");
            return false;
        }
        QStringDecoder decoder(kodierung);
        text = decoder(QByteArrayView(bytes).sliced(ab));
        return true;
    };
    if (beginntMit(bytes, {0xFF, 0xFE}))
        return utf16(QStringConverter::Utf16LE, 2);
    if (beginntMit(bytes, {0xFE, 0xFF}))
        return utf16(QStringConverter::Utf16BE, 2);
    if (bytes.size() >= 2 && bytes.at(0) != 0 && bytes.at(1) == 0)
        return utf16(QStringConverter::Utf16LE, 0);
    const qsizetype ab = beginntMit(bytes, {0xEF, 0xBB, 0xBF}) ? 3 : 0;
    if (ab == 0 && bytes.startsWith("REGEDIT4")) {
        text = store::ausCodepage(bytes.constData(), bytes.size(), 1252);
        return true;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    text = utf8(QByteArrayView(bytes).sliced(ab));
    if (utf8.hasError())
        text = store::ausCodepage(bytes.constData() + ab, bytes.size() - ab, 1252);
    return true;
}

QStringList zeilenVon(const QString& text)
{
    QStringList zeilen;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        zeilen << text.mid(anfang, i - anfang);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        anfang = i + 1;
    }
    if (anfang < text.size())
        zeilen << text.mid(anfang);
    return zeilen;
}

// A quoted text from just after its opening quote; `pos` ends after the closing one.
// Within it \\ stands for \ and \" for "; any other backslash is kept as it is, as the
// paths of hand-written files show it. False when the closing quote is missing.
bool leseQuotiert(const QString& zeile, qsizetype& pos, QString& text)
{
    text.clear();
    while (pos < zeile.size()) {
        const QChar c = zeile.at(pos);
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c == u'\\' && pos + 1 < zeile.size()) {
            const QChar folgt = zeile.at(pos + 1);
            if (folgt == u'\\' || folgt == u'"') {
                text += folgt;
                pos += 2;
                continue;
            }
        }
        text += c;
        ++pos;
    }
    return false;
}

bool istHexziffer(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The values of one accepted key section (all its parts, when the file repeats it).
struct Abschnitt
{
    bool gefunden = false;
    QString schluessel; // as the file first writes it
    QList<ImportWert> werte;
    QList<UebergangenerEintrag> uebergangen;
};

enum class Daten { Text, Dword, Loeschen, Hex };

void nimmAuf(Abschnitt& abschnitt, const QString& name, Daten art, const QString& text, qint32 zahl)
{
    // The key's own version stamp belongs to the program that wrote it, not to the settings.
    if (name.compare(QLatin1String("Version"), Qt::CaseInsensitive) == 0)
        return;
    auto uebergehe = [&](const QString& grund) { abschnitt.uebergangen.append({name, grund}); };
    if (art == Daten::Loeschen)
        return uebergehe(QStringLiteral("Löschanweisung, wird nicht ausgeführt"));
    if (art == Daten::Hex)
        return uebergehe(QStringLiteral("Binärwert (hex), wird nicht übernommen"));
    const Feld* feld = findeFeld(name);
    if (!feld)
        return uebergehe(QStringLiteral("unbekannter Wert"));
    const bool istText = art == Daten::Text;
    if (istText != feld->istText())
        return uebergehe(istText ? QStringLiteral("Text statt Zahl (dword)")
                                 : QStringLiteral("Zahl (dword) statt Text"));
    ImportWert wert{feld->name.toString(), istText, istText ? text : QString(), istText ? 0 : zahl};
    // A value written twice counts as the registry editor would leave it: the last one.
    for (ImportWert& frueher : abschnitt.werte) {
        if (frueher.name == wert.name) {
            frueher = wert;
            return;
        }
    }
    abschnitt.werte.append(wert);
}

RegistryImport abgelehnt(int zeile, const QString& fehler)
{
    RegistryImport ergebnis;
    ergebnis.fehler = fehler;
    ergebnis.fehlerZeile = zeile;
    return ergebnis;
}

} // namespace

RegistryImport leseRegistryExport(const QByteArray& bytes)
{
    QString text;
    QString fehler;
    if (!dekodiere(bytes, text, fehler))
        return abgelehnt(0, fehler);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList zeilen = zeilenVon(text);

    const QString kopf = zeilen.isEmpty() ? QString() : zeilen.first().trimmed();
    if (kopf.compare(kKopfRegedit4, Qt::CaseInsensitive) != 0 &&
        kopf.compare(kKopfVersion5, Qt::CaseInsensitive) != 0)
        return abgelehnt(1, QStringLiteral("Die erste Zeile lautet weder \"%1\" noch \"%2\".")
                                .arg(kKopfRegedit4, kKopfVersion5));

    std::array<Abschnitt, 5> abschnitte; // by rank; 0 collects nothing
    int rang = 0;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const int nummer = int(i) + 1;
        const QString zeile = zeilen.at(i).trimmed();
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char(';')))
            continue;

        if (zeile.startsWith(QLatin1Char('['))) {
            if (!zeile.endsWith(QLatin1Char(']')))
                return abgelehnt(nummer,
                                 QStringLiteral("Der Schlüsselname ist nicht mit \"]\" abgeschlossen."));
            const QString schluessel = zeile.mid(1, zeile.size() - 2).trimmed();
            rang = rangDesSchluessels(schluessel);
            Abschnitt& abschnitt = abschnitte.at(std::size_t(rang));
            if (rang > 0 && !abschnitt.gefunden) {
                abschnitt.gefunden = true;
                abschnitt.schluessel = schluessel;
            }
            continue;
        }

        QString name;
        qsizetype pos = 1;
        if (zeile.startsWith(QLatin1Char('"'))) {
            if (!leseQuotiert(zeile, pos, name))
                return abgelehnt(nummer,
                                 QStringLiteral("Der Name des Wertes ist nicht mit \" abgeschlossen."));
        } else if (!zeile.startsWith(QLatin1Char('@'))) {
            return abgelehnt(nummer, QStringLiteral("Die Zeile ist weder ein Schlüssel noch ein Wert."));
        }
        const bool standardwert = zeile.startsWith(QLatin1Char('@'));
        while (pos < zeile.size() && zeile.at(pos).isSpace())
            ++pos;
        if (pos >= zeile.size() || zeile.at(pos) != u'=')
            return abgelehnt(nummer, QStringLiteral("Nach dem Namen des Wertes fehlt \"=\"."));
        QString daten = zeile.mid(pos + 1).trimmed();

        Daten art = Daten::Text;
        QString wertText;
        qint32 zahl = 0;
        if (daten.startsWith(QLatin1Char('"'))) {
            qsizetype p = 1;
            if (!leseQuotiert(daten, p, wertText))
                return abgelehnt(nummer, QStringLiteral("Der Text ist nicht mit \" abgeschlossen."));
            if (p < daten.size())
                return abgelehnt(nummer, QStringLiteral("Nach dem Text folgen weitere Zeichen."));
        } else if (daten == QLatin1String("-")) {
            art = Daten::Loeschen;
        } else if (daten.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QString ziffern = daten.mid(6).trimmed();
            if (ziffern.isEmpty() || !std::all_of(ziffern.begin(), ziffern.end(), istHexziffer))
                return abgelehnt(nummer, QStringLiteral("\"%1\" ist kein gültiger dword-Wert.").arg(daten));
            if (ziffern.size() > 8)
                return abgelehnt(
                    nummer,
                    QStringLiteral("Der dword-Wert \"%1\" hat mehr als 8 Hexadezimalziffern.").arg(ziffern));
            art = Daten::Dword;
            zahl = qint32(ziffern.toUInt(nullptr, 16));
        } else if (daten.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            art = Daten::Hex;
            // The bytes run on over the following lines while a line ends in a backslash.
            while (daten.endsWith(QLatin1Char('\\')) && i + 1 < zeilen.size()) {
                daten.chop(1);
                daten += zeilen.at(++i).trimmed();
            }
        } else {
            return abgelehnt(nummer, QStringLiteral("Unbekannte Art des Wertes: \"%1\".").arg(daten));
        }
        // The default value of the key is no setting.
        if (rang > 0 && !standardwert)
            nimmAuf(abschnitte.at(std::size_t(rang)), name, art, wertText, zahl);
    }

    RegistryImport ergebnis;
    const Abschnitt* gilt = nullptr;
    for (std::size_t r = abschnitte.size() - 1; r > 0; --r) {
        const Abschnitt& abschnitt = abschnitte.at(r);
        if (!abschnitt.gefunden)
            continue;
        if (!gilt) {
            gilt = &abschnitt;
            ergebnis.werte = abschnitt.werte;
            ergebnis.uebergangen = abschnitt.uebergangen;
        } else {
            ergebnis.uebergangen.append({QLatin1Char('[') + abschnitt.schluessel + QLatin1Char(']'),
                                         QStringLiteral("übergangen, es gilt [%1]").arg(gilt->schluessel)});
        }
    }
    if (!gilt)
        return abgelehnt(0, QStringLiteral("Die Datei enthält den Schlüssel "
                                           "\"HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorbel 98\" nicht (auch nicht "
                                           "unter WOW6432Node oder im VirtualStore)."));
    return ergebnis;
}

RegistryImport leseRegistryExportDatei(const QString& pfad)
{
    const QString zuGross = QStringLiteral("Die Datei ist größer als 1 MiB; ein Export der Einstellungen "
                                           "ist nur wenige KB groß.");
    const QString unlesbar = QStringLiteral("Die Datei kann nicht gelesen werden.");
    if (QFileInfo(pfad).isDir())
        return abgelehnt(0, unlesbar);
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return abgelehnt(0, unlesbar);
    if (datei.size() > kRegistryExportHoechstgroesse)
        return abgelehnt(0, zuGross);
    // Read one byte beyond the limit: a file that grew meanwhile is refused all the same.
    const QByteArray bytes = datei.read(kRegistryExportHoechstgroesse + 1);
    if (datei.error() != QFileDevice::NoError)
        return abgelehnt(0, unlesbar);
    if (bytes.size() > kRegistryExportHoechstgroesse)
        return abgelehnt(0, zuGross);
    return leseRegistryExport(bytes);
}

void uebernehmeWerte(const RegistryImport& import, Einstellungen& einstellungen)
{
    if (!import.gelesen())
        return;
    for (const ImportWert& wert : import.werte) {
        const Feld* feld = findeFeld(wert.name);
        if (!feld || feld->istText() != wert.istText)
            continue;
        if (feld->text)
            einstellungen.*(feld->text) = wert.text;
        else if (feld->zahl)
            einstellungen.*(feld->zahl) = tageBegrenzt(wert.zahl);
        else if (feld->jaNein)
            einstellungen.*(feld->jaNein) = wert.zahl != 0;
        else
            einstellungen.etikett(feld->filme).*(feld->etikett) = wert.zahl;
    }
}

QString importFehlermeldung(const QString& pfad, const RegistryImport& import)
{
    const QString grund =
        import.fehlerZeile > 0
            ? QStringLiteral("Zeile %1: %2").arg(QString::number(import.fehlerZeile), import.fehler)
            : import.fehler;
    return QStringLiteral("Die Datei \"%1\" kann nicht importiert werden.")
               .arg(QDir::toNativeSeparators(pfad)) +
           quorbel::kMessageBreak + grund + quorbel::kMessageBreak +
           QStringLiteral("Es wurde keine Einstellung übernommen.");
}

QString importBericht(const QString& pfad, const RegistryImport& import)
{
    const auto anzahl = import.werte.size();
    const QString datei = QDir::toNativeSeparators(pfad);
    QStringList zeilen;
    zeilen << (anzahl == 1 ? QStringLiteral("Aus der Datei \"%1\" wurde 1 Wert übernommen.").arg(datei)
                           : QStringLiteral("Aus der Datei \"%1\" wurden %2 Werte übernommen.")
                                 .arg(datei, QString::number(anzahl)));
    if (!import.uebergangen.isEmpty()) {
        zeilen << QStringLiteral("Nicht übernommen:");
        for (const UebergangenerEintrag& eintrag : import.uebergangen)
            zeilen << QStringLiteral("%1: %2").arg(eintrag.name, eintrag.grund);
    }
    if (anzahl > 0)
        zeilen << QStringLiteral("Gesichert werden die Einstellungen erst mit \"Einstellungen speichern\".");
    return zeilen.join(quorbel::kMessageBreak);
}

} // namespace settings
