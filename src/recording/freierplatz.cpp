#include "freierplatz.h"

#include <QStringBuilder>
#include <settings/einstellungen.h>
#include <store/dataset.h>
#include <ui/busycursor.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {

const QString kFrei = QStringLiteral("Frei");
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

    // A film still being typed is stored first, so that its cassette's free minutes count.
    if (m_filme.isActive())
        m_filme.checkBrowseMode();
    m_kassetten.checkBrowseMode();

    Ergebnis e;
    {
        BusyCursor busy;
        // The cassettes with room are read through a read-only dataset of their own: the
        // window's cassette, its films and their grids stay where they are, and nothing
        // has to be re-read or found again afterwards.
        store::Dataset passend;
        passend.setDatabaseName(m_kassetten.databaseName());
        passend.setTableName(m_kassetten.tableName());
        passend.setReadOnly(true);
        // Built from the converted number, never from the typed text.
        passend.setFilter(QStringLiteral("(Frei >=") + QString::number(n) +
                          QStringLiteral(") AND (Original<>1)"));
        passend.setFiltered(true);
        passend.open();
        for (passend.first(); !passend.eof(); passend.next()) {
            // One film of length 0 is enough to warn.
            if (!e.nullfilme && passend.asBoolean(kNullfilme))
                e.nullfilme = true;
            // Cassettes are never removed: the key is the position in key order.
            const qint64 nummer = passend.currentKey();
            const int frei = passend.asInteger(kFrei);
            // Built in one piece: thousands of lines per search.
            e.zeilen << (u"Kassette " % QString::number(nummer) % u"  [ " % QString::number(frei) %
                         u" ] Minuten frei.");
            const qint64 rest = qint64(frei) - n;
            if (e.vorschlag == 0 || rest < e.rest) {
                e.vorschlag = static_cast<int>(nummer);
                e.rest = rest;
            }
        }
    }

    const bool gefunden = !e.zeilen.isEmpty();
    if (!gefunden)
        e.zeilen << QStringLiteral("     Keine Kassetten gefunden.");
    // The list shows this search's lines while the messages below are read.
    if (zeigeErgebnis)
        zeigeErgebnis(e.zeilen);

    if (e.nullfilme && m_einstellungen.Nulllaengentip)
        m_ui.warning(QStringLiteral("Bei mindestens einem Film wurde die Spiel-") + kMessageBreak +
                     QStringLiteral("zeit 0 Minuten eingetragen. Das Suchergebnis") + kMessageBreak +
                     QStringLiteral("ist eventuell nicht korrekt !"));
    if (gefunden && n != 0 && m_einstellungen.Tip_Anzeigen)
        m_ui.information(Tip_Text(e.vorschlag, e.rest));
    return e.zeilen;
}

} // namespace quorbel
