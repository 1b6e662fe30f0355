#include "uebersichtzustand.h"

#include <array>
#include <store/dataset.h>
#include <store/dates.h>

namespace quorbel {

namespace {

const std::array<QString, 4> kIndexFelder = {QStringLiteral("Zu_Kassette"), QStringLiteral("Filmname"),
                                             QStringLiteral("Filmlaenge"), QStringLiteral("Genre;Filmname")};

} // namespace

Uebersichtzustand::Uebersichtzustand(store::Dataset& filmuebersicht, const QDate& heute)
    : m_filme(filmuebersicht), m_datum(heute.addDays(-14))
{
    m_filme.setFilter(filterText(m_datum));
    m_filme.setFiltered(false);
    ordnungAnwenden();
}

QString Uebersichtzustand::indexFelder(int sortierung)
{
    return kIndexFelder.at(static_cast<size_t>(sortierung));
}

QString Uebersichtzustand::filterText(const QDate& datum)
{
    return QStringLiteral("DATUM >= ") + store::formatDate(datum);
}

int Uebersichtzustand::filmeGelistet() const
{
    return m_filme.isActive() ? m_filme.recordCount() : 0;
}

void Uebersichtzustand::ordnungAnwenden()
{
    // The same order again re-reads nothing and leaves the current film where it is.
    if (m_filme.indexFieldNames() != indexFelder())
        m_filme.setIndexFieldNames(indexFelder());
}

void Uebersichtzustand::sortieren(int sortierung)
{
    if (sortierung < NachKassette || sortierung > NachGenre)
        return;
    m_sortierung = static_cast<Sortierung>(sortierung);
    ordnungAnwenden();
}

void Uebersichtzustand::suchen(const QString& text)
{
    m_suchtext = text;
    m_sortierung = NachFilmname;
    ordnungAnwenden();
    if (!m_filme.isActive() || m_filme.isEmpty())
        return;
    if (text.isEmpty())
        m_filme.first();
    else
        m_filme.findNearest(text);
}

void Uebersichtzustand::neueFilmeSeit(const QDate& datum)
{
    if (!datum.isValid())
        return;
    // The filter is set before the state changes: a refused expression leaves both.
    m_filme.setFilter(filterText(datum));
    m_filme.setFiltered(true);
    m_datum = datum;
    m_nurNeue = true;
}

void Uebersichtzustand::alleFilme()
{
    m_filme.setFiltered(false);
    m_nurNeue = false;
}

void Uebersichtzustand::neuEinlesen()
{
    if (!m_filme.isActive())
        return;
    m_filme.refresh();
}

} // namespace quorbel
