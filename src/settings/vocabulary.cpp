#include "vocabulary.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <store/sicheresschreiben.h>

namespace settings::vocabulary {

namespace {

// Characters of the bytes 0x80 to 0x9F; 0 marks a byte without a character of its own.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decodeByte(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    const char16_t c = kHighControls[byte - 0x80];
    return c != 0 ? c : char16_t(byte);
}

std::optional<char> encodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char16_t mapped = kHighControls[i];
        if (mapped == c || (mapped == 0 && c == 0x80 + i))
            return char(0x80 + i);
    }
    return std::nullopt;
}

QCollator listCollator()
{
    QCollator collator; // the default locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

const QStringList& builtInGenres()
{
    static const QStringList list = {QStringLiteral("Action"),
                                     QStringLiteral("Komödie"),
                                     QStringLiteral("Actionkomödie"),
                                     QStringLiteral("Beziehungskomödie"),
                                     QStringLiteral("Lovestory"),
                                     QStringLiteral("Romanze"),
                                     QStringLiteral("Psycho-Thriller"),
                                     QStringLiteral("Thriller"),
                                     QStringLiteral("Drama"),
                                     QStringLiteral("Thriller-Drama"),
                                     QStringLiteral("Science-Fiction"),
                                     QStringLiteral("Fantasy"),
                                     QStringLiteral("Katastrophenfilm"),
                                     QStringLiteral("Western"),
                                     QStringLiteral("Eastern"),
                                     QStringLiteral("Abenteuerfilm"),
                                     QStringLiteral("Kriegsfilm"),
                                     QStringLiteral("Antikriegsfilm"),
                                     QStringLiteral("Tragödie"),
                                     QStringLiteral("Tanzfilm"),
                                     QStringLiteral("Krimi"),
                                     QStringLiteral("Horror"),
                                     QStringLiteral("Splatter"),
                                     QStringLiteral("Comedyserie"),
                                     QStringLiteral("Late Night Show"),
                                     QStringLiteral("Satire"),
                                     QStringLiteral("Sport"),
                                     QStringLiteral("Erotik"),
                                     QStringLiteral("Reportage"),
                                     QStringLiteral("Dokumentation"),
                                     QStringLiteral("Bericht"),
                                     QStringLiteral("Biographie")};
    return list;
}

const QStringList& builtInStations()
{
    static const QStringList list = {QStringLiteral("3 SAT"),
                                     QStringLiteral("ARD"),
                                     QStringLiteral("ARTE"),
                                     QStringLiteral("B 1"),
                                     QStringLiteral("BAYERN 3"),
                                     QStringLiteral("DSF"),
                                     QStringLiteral("EUROSPORT"),
                                     QStringLiteral("HESSEN 3"),
                                     QStringLiteral("KABEL 1"),
                                     QStringLiteral("KINDERKANAL"),
                                     QStringLiteral("MDR"),
                                     QStringLiteral("MTV"),
                                     QStringLiteral("NACHRICHTENSENDER"),
                                     QStringLiteral("NBC"),
                                     QStringLiteral("NICKELODEON"),
                                     QStringLiteral("NIEDERLANDE"),
                                     QStringLiteral("NORD 3"),
                                     QStringLiteral("ORB"),
                                     QStringLiteral("ORF 1"),
                                     QStringLiteral("ORF 2"),
                                     QStringLiteral("PREMIERE"),
                                     QStringLiteral("PRO 7"),
                                     QStringLiteral("RTL"),
                                     QStringLiteral("RTL 2"),
                                     QStringLiteral("SAT 1"),
                                     QStringLiteral("SF DRS"),
                                     QStringLiteral("SÜDWEST 3"),
                                     QStringLiteral("SUPER RTL"),
                                     QStringLiteral("TM 3"),
                                     QStringLiteral("TNT"),
                                     QStringLiteral("VIVA"),
                                     QStringLiteral("VIVA 2"),
                                     QStringLiteral("VOX"),
                                     QStringLiteral("WDR"),
                                     QStringLiteral("ZDF")};
    return list;
}

const QStringList& builtInPlayLengths()
{
    static const QStringList list = {QStringLiteral("E - 180"), QStringLiteral("E - 200"),
                                     QStringLiteral("E - 240"), QStringLiteral("E - 260"),
                                     QStringLiteral("E - 300"), QStringLiteral("Kaufvideo")};
    return list;
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (byte == '\0')
            break;
        text.append(QChar(decodeByte(static_cast<unsigned char>(byte))));
    }
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto byte = encodeChar(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes.append(*byte);
    }
    return bytes;
}

bool fitsListFile(QStringView entry)
{
    for (const QChar c : entry) {
        if (c == u'\r' || c == u'\n' || c == u'\0' || !encodeChar(c.unicode()))
            return false;
    }
    return true;
}

QStringList parseLines(QByteArrayView bytes)
{
    const QString text = decodeWindows1252(bytes);
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

std::optional<QByteArray> formatLines(const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& entry : entries) {
        if (!fitsListFile(entry))
            return std::nullopt;
        bytes.append(*encodeWindows1252(entry));
        bytes.append("\r\n");
    }
    return bytes;
}

std::optional<QStringList> readListFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parseLines(bytes);
}

bool mayReplaceFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    // The owner's write permission stands for the read-only mark; it is tested on its
    // own because a privileged user would otherwise be let through.
    if (!info.isFile() || !(info.permissions() & QFileDevice::WriteOwner))
        return false;
    return info.isWritable();
}

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* reason)
{
    QString why;
    if (!mayReplaceFile(path))
        why = QStringLiteral("Datei ist eventuell schreibgeschützt.");
    else
        why = store::dateiSchreiben(path, data);
    if (reason)
        *reason = why;
    return why.isEmpty();
}

bool writeListFile(const QString& path, const QStringList& entries, QString* reason)
{
    const auto bytes = formatLines(entries);
    if (!bytes) {
        if (reason)
            *reason =
                QStringLiteral("Ein Eintrag enthält einen Zeilenumbruch oder ein Zeichen, das die Datei "
                               "nicht aufnehmen kann.");
        return false;
    }
    return saveFileAtomically(path, *bytes, reason);
}

int compareEntries(const QString& a, const QString& b)
{
    return listCollator().compare(a, b);
}

qsizetype insertSorted(QStringList& list, const QString& entry)
{
    const QCollator collator = listCollator();
    const auto at =
        std::upper_bound(list.begin(), list.end(), entry,
                         [&](const QString& x, const QString& y) { return collator.compare(x, y) < 0; });
    const qsizetype index = at - list.begin();
    list.insert(index, entry);
    return index;
}

void sortEntries(QStringList& list)
{
    const QCollator collator = listCollator();
    std::stable_sort(list.begin(), list.end(),
                     [&](const QString& x, const QString& y) { return collator.compare(x, y) < 0; });
}

} // namespace settings::vocabulary
