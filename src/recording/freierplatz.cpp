#include "freierplatz.h"

#include <ui/busycursor.h>
#include <ui/interaction.h>
#include <settings/einstellungen.h>
#include <store/dataset.h>

namespace quorbel {

namespace {

const QString kFrei = QStringLiteral("Frei");
const QString kNummer = QStringLiteral("Nummer");
const QString kNullfilme = QStringLiteral("Nullfilme");

struct Ergebnis
{
    QStringList zeilen;
    bool nullfilme = false;
    int vorschlag = 0; // cassette number; 0 while none
    qint64 rest = 0;
};

} // namespace

FreierPlatz::FreierPlatz(store::Dataset& kassetten, store::Dataset& filme, store::Dataset& aufnahmetimer,
                         Interaction& ui, const settings::Einstellungen& einstellungen)
    : m_kassetten(kassetten), m_filme(filme), m_timer(aufnahmetimer), m_ui(ui), m_einstellungen(einstellungen)
{
}

std::optional<int> FreierPlatz::Minuten_Lesen(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return n;
}

QString FreierPlatz::Tip_Text(int nummer, qint64 rest)
{
    const QString erste = QStringLiteral("Tip : Nehmen Sie den Film auf") + kMessageBreak +
                          QStringLiteral("Kassette Nr. ") + QString::number(nummer);
    if (rest == 0)
        return erste + QStringLiteral(" auf. Die Kassette") + kMessageBreak +
               QStringLiteral("ist dann randvoll.");
    return erste + QStringLiteral(" auf. Die Restzeit") + kMessageBreak +
           QStringLiteral("umfasst dann noch ") + QString::number(rest) +
           (rest == 1 ? QStringLiteral(" Minute.") : QStringLiteral(" Minuten."));
}

QString FreierPlatz::vorschlag() const
{
    if (!m_timer.isActive() || m_timer.recordCount() == 0 || m_timer.isNull(QStringLiteral("Laenge")))
        return QString();
    return QString::number(m_timer.asInteger(QStringLiteral("Laenge")));
}

std::optional<QStringList> FreierPlatz::BitBtn_FreienPlatzSuchenClick()
{
    if (!m_kassetten.isActive())
        return std::nullopt;
    const QString antwort =
        m_ui.inputBox(QStringLiteral("Freien Platz suchen"),
                      QStringLiteral("Nach wieviel Minuten soll gesucht werden ?"), vorschlag());
    if (antwort.isEmpty())
        return std::nullopt;
    const std::optional<int> minuten = Minuten_Lesen(antwort);
    if (!minuten) {
        m_ui.error(QStringLiteral("Es sind nur Zahlenwerte erlaubt !"));
        return std::nullopt;
    }
    const int n = *minuten;

    // A film still being typed is stored before its cassette is left.
    if (m_filme.isActive())
        m_filme.checkBrowseMode();
    m_kassetten.checkBrowseMode();
    const QString filterVorher = m_kassetten.filter();
    const bool gefiltertVorher = m_kassetten.filtered();
    const qint64 kassette = m_kassetten.currentKey();
    const qint64 film = m_filme.isActive() ? m_filme.currentKey() : 0;

    Ergebnis e;
    {
        BusyCursor busy;
        m_kassetten.disableControls();
        m_filme.disableControls();
        // Everything comes back as it was, also when the engine fails midway.
        const auto zurueck = [&] {
            // The filter as it was: the main window's empty one shows every cassette.
            m_kassetten.setFilter(filterVorher);
            m_kassetten.setFiltered(gefiltertVorher);
            if (kassette != 0)
                m_kassetten.findNearest(kassette);
            if (film != 0 && m_filme.isActive())
                m_filme.locate(film);
        };
        const auto fortsetzen = [&] {
            m_filme.enableControls();
            m_kassetten.enableControls();
        };
        try {
            // Built from the converted number, never from the typed text.
            m_kassetten.setFilter(QStringLiteral("(Frei >=") + QString::number(n) +
                                  QStringLiteral(") AND (Original<>1)"));
            m_kassetten.setFiltered(true);
            // Read where the rows stand: the cassette does not move, so the films do not follow.
            const int anzahl = m_kassetten.recordCount();
            for (int zeile = 0; zeile < anzahl; ++zeile) {
                if (m_kassetten.valueAt(zeile, kNullfilme).toBool())
                    e.nullfilme = true;
                // Cassettes are never removed: the number is the position in key order.
                const int nummer = m_kassetten.valueAt(zeile, kNummer).toInt();
                const int frei = m_kassetten.valueAt(zeile, kFrei).toInt();
                e.zeilen << QStringLiteral("Kassette ") + QString::number(nummer) + QStringLiteral("  [ ") +
                                QString::number(frei) + QStringLiteral(" ] Minuten frei.");
                const qint64 rest = qint64(frei) - n;
                if (e.vorschlag == 0 || rest < e.rest) {
                    e.vorschlag = nummer;
                    e.rest = rest;
                }
            }
            zurueck();
        } catch (...) {
            try {
                zurueck();
            } catch (...) {
            }
            fortsetzen();
            throw;
        }
        fortsetzen();
    }

    if (e.nullfilme && m_einstellungen.Nulllaengentip)
        m_ui.warning(QStringLiteral("Bei mindestens einem Film wurde die Spiel-") + kMessageBreak +
                     QStringLiteral("zeit 0 Minuten eingetragen. Das Suchergebnis") + kMessageBreak +
                     QStringLiteral("ist eventuell nicht korrekt !"));
    if (!e.zeilen.isEmpty() && n != 0 && m_einstellungen.Tip_Anzeigen)
        m_ui.information(Tip_Text(e.vorschlag, e.rest));
    if (e.zeilen.isEmpty())
        e.zeilen << QStringLiteral("     Keine Kassetten gefunden.");
    return e.zeilen;
}

} // namespace quorbel
