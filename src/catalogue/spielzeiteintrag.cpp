#include "spielzeiteintrag.h"

#include <algorithm>
#include <settings/vocabulary.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {
constexpr qsizetype kPrefixLength = 4; // "E - "
}

SpielzeitEintrag SpielzeitEintrag::lesen(const QString& text)
{
    SpielzeitEintrag e;
    e.m_text = text;
    if (text == kKaufvideo) {
        e.m_art = Art::Kaufvideo;
    } else if (const auto n = spielzeitMinuten(text)) {
        e.m_art = Art::Minuten;
        e.m_minuten = n;
    }
    return e;
}

bool istKaufvideo(const QString& entry)
{
    return entry == kKaufvideo;
}

std::optional<int> spielzeitMinuten(const QString& entry)
{
    if (entry.size() <= kPrefixLength)
        return std::nullopt;
    const QString digits = entry.mid(kPrefixLength);
    // Whole decimal numbers only, with an optional sign; no blanks, no fractions,
    // no thousands separators.
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits.at(i);
        const bool sign = i == 0 && (c == u'-' || c == u'+') && digits.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    bool ok = false;
    const int n = digits.toInt(&ok, 10);
    if (!ok)
        return std::nullopt; // out of range
    return n;
}

QStringList eingebauteSpielzeiten()
{
    return settings::vocabulary::builtInPlayLengths();
}

QStringList sortierteSpielzeiten(QStringList entries)
{
    settings::vocabulary::sortEntries(entries);
    return entries;
}

QString ungueltigeSpielzeitMeldung(const QString& entry)
{
    return QStringLiteral("Die Spielzeit \"%1\" ist keine ganze Zahl von Minuten.").arg(entry) +
           kMessageBreak +
           QStringLiteral("Bitte korrigieren Sie die Liste der zusätzlichen Kassettenlängen.");
}

QString zuVieleFilmeMeldung()
{
    return QStringLiteral("Es darf maximal noch 1 Film auf der Kassette sein,") + kMessageBreak +
           QStringLiteral("wenn diese zum Kaufvideo umgeschrieben werden soll.");
}

QString zuKurzMeldung()
{
    return QStringLiteral("Die Laufzeit aller Filme überschreitet die") + kMessageBreak +
           QStringLiteral("Spielzeit der Kassette. Bitte Löschen Sie") + kMessageBreak +
           QStringLiteral("vorher genug Filme.");
}

SpielzeitAenderung spielzeitAendern(const QString& entry, int filme, qint64 gesamtlaenge)
{
    using Art = SpielzeitAenderung::Art;
    if (istKaufvideo(entry)) {
        if (filme > 1)
            return {Art::ZuVieleFilme, 0, zuVieleFilmeMeldung()};
        return {Art::Kaufvideo, filme == 1 ? static_cast<int>(gesamtlaenge) : 0, {}};
    }
    const auto minuten = spielzeitMinuten(entry);
    if (!minuten)
        return {Art::Unlesbar, 0, ungueltigeSpielzeitMeldung(entry)};
    if (gesamtlaenge > *minuten)
        return {Art::ZuKurz, 0, zuKurzMeldung()};
    return {Art::Spielzeit, *minuten, {}};
}

} // namespace quorbel
