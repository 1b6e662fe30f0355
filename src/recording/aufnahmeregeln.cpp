#include "aufnahmeregeln.h"

#include "aufnahmetimerformular.h"

#include <QDialog>
#include <algorithm>
#include <settings/einstellungen.h>
#include <store/dataset.h>
#include <store/dates.h>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <ui/protokoll.h>

namespace quorbel {

namespace {

const QString kFilmname = QStringLiteral("Filmname");
const QString kProgramm = QStringLiteral("Programm");
const QString kDatum = QStringLiteral("Datum");
const QString kBeginn = QStringLiteral("Beginn");
const QString kEnde = QStringLiteral("Ende");
const QString kLaenge = QStringLiteral("Laenge");
const QString kAnzeigen = QStringLiteral("Anzeigen");

// The station field holds at most this many characters.
constexpr int kProgrammBreite = 20;

QString hhmm(const QTime& t)
{
    return (t.isValid() ? t : QTime(0, 0)).toString(QStringLiteral("HH:mm"));
}

// Display updates of a dataset stay suspended for the lifetime of the object, also
// when the work fails.
class Unterbrochen
{
public:
    explicit Unterbrochen(store::Dataset& ds) : m_ds(ds) { m_ds.disableControls(); }
    ~Unterbrochen() { m_ds.enableControls(); }
    Unterbrochen(const Unterbrochen&) = delete;
    Unterbrochen& operator=(const Unterbrochen&) = delete;

private:
    store::Dataset& m_ds;
};

} // namespace

int Berechne_Filmdauer(const QTime& beginn, const QTime& ende)
{
    const auto minuten = [](const QTime& t) { return t.isValid() ? t.hour() * 60 + t.minute() : 0; };
    return ((minuten(ende) - minuten(beginn)) % 1440 + 1440) % 1440;
}

Aufnahmeregeln::Aufnahmeregeln(store::Dataset& aufnahmetimer, Interaction& ui, const Clock& clock,
                               const settings::Einstellungen& einstellungen)
    : m_timer(aufnahmetimer), m_ui(ui), m_clock(clock), m_einstellungen(einstellungen)
{
}

QString Aufnahmeregeln::Verpasst_Text(const QDate& datum, const QTime& beginn, const QString& filmname)
{
    return QStringLiteral("Sie haben vergessen, am ") + store::formatDate(datum) + QStringLiteral(" um ") +
           hhmm(beginn) + QStringLiteral(" den") + kMessageBreak + QStringLiteral("Film \"") + filmname +
           QStringLiteral("\" aufzunehmen");
}

QString Aufnahmeregeln::Erinnerung_Text(bool heute, const QDate& datum, const QTime& beginn,
                                        const QString& programm, const QString& filmname)
{
    const QString wann = heute ? QStringLiteral(" heute ")
                               : QStringLiteral(" am ") + store::formatDate(datum) + QLatin1Char(' ');
    return QStringLiteral("Sie wollen ") + wann + QStringLiteral("um ") + hhmm(beginn) +
           QStringLiteral(" Uhr ") + QStringLiteral("auf ") + programm + QStringLiteral(" den Film \"") +
           filmname + QStringLiteral("\" aufnehmen.") + kMessageBreak + kMessageBreak +
           QStringLiteral("Soll diese Meldung für \"") + filmname +
           QStringLiteral("\" weiterhin angezeigt werden ?");
}

void Aufnahmeregeln::Setze_Aufgenommen()
{
    if (setzeAufgenommen)
        setzeAufgenommen(m_timer.isActive() && m_timer.recordCount() > 0);
}

void Aufnahmeregeln::BitBtn_NeuerFilmClick(TForm_Aufnahmetimer& dialog)
{
    if (m_ui.exec(dialog) == QDialog::Accepted)
        Eintragen(dialog.aufnahme());
    // When storing failed the entries stay in the dialog for the next try.
    dialog.Leeren(m_clock.today());
}

void Aufnahmeregeln::Eintragen(const Aufnahme& aufnahme)
{
    m_timer.append();
    try {
        m_timer.setString(kFilmname, aufnahme.Filmname);
        m_timer.setString(kProgramm, aufnahme.Programm.left(kProgrammBreite));
        m_timer.setDate(kDatum, aufnahme.Datum);
        m_timer.setTime(kBeginn, QTime(aufnahme.Beginn.hour(), aufnahme.Beginn.minute()));
        m_timer.setTime(kEnde, QTime(aufnahme.Ende.hour(), aufnahme.Ende.minute()));
        m_timer.setBoolean(kAnzeigen, true);
        m_timer.setInteger(kLaenge, Berechne_Filmdauer(aufnahme.Beginn, aufnahme.Ende));
        m_timer.post();
    } catch (...) {
        // Nothing half-stored: the new row goes away again.
        if (m_timer.state() != store::Dataset::State::Browse)
            m_timer.cancel();
        throw;
    }
    Setze_Aufgenommen();
}

void Aufnahmeregeln::BitBtn_AufgenommenClick()
{
    if (m_timer.isActive() && m_timer.recordCount() > 0)
        m_timer.remove();
    Setze_Aufgenommen();
}

bool Aufnahmeregeln::Etwas_Faellig(const QDate& heute) const
{
    // Everything on or before today may have been missed (the walk compares the times);
    // with reminders on, whatever is close enough and still to be reminded of. A
    // second, read-only dataset over the planner file leaves the list's position and
    // display alone.
    // Both limits stay within the days the filter can read back (a clock at the end of
    // 9999 or a large number of reminder days would go beyond them).
    QString bedingung = QStringLiteral("(Datum <= %1)").arg(store::formatDate(tageWeiter(heute, 0)));
    if (m_einstellungen.Warnen_Nach_x_Tagen > 0 && m_einstellungen.Aufnahme_TageWarnen > 0) {
        const QDate bis = tageWeiter(heute, m_einstellungen.Aufnahme_TageWarnen);
        bedingung += QStringLiteral(" OR ((Anzeigen = TRUE) AND (Datum <= %1))").arg(store::formatDate(bis));
    }
    store::Dataset faellig;
    faellig.setDatabaseName(m_timer.databaseName());
    faellig.setTableName(m_timer.tableName());
    faellig.setReadOnly(true);
    faellig.setFilter(bedingung);
    faellig.setFiltered(true);
    faellig.open();
    return faellig.recordCount() > 0;
}

void Aufnahmeregeln::Pruefe_Aufnahmen()
{
    // A message of this check may let the clock tick; a tick never starts a second one.
    if (m_pruefungLaeuft || !m_timer.isActive())
        return;
    m_pruefungLaeuft = true;
    struct Ende
    {
        bool& flag;
        ~Ende() { flag = false; }
    } ende{m_pruefungLaeuft};

    m_timer.checkBrowseMode();
    // Most checks find nothing to report: ask the engine first instead of walking.
    if (!Etwas_Faellig(m_clock.today())) {
        Setze_Aufgenommen();
        return;
    }
    const int gemerkt = m_timer.recNo();
    {
        Unterbrochen still(m_timer);
        // Rows are read where they stand; the cursor goes only to a row that changes.
        int zeile = 0;
        while (zeile < m_timer.recordCount()) {
            const QVariant d = m_timer.valueAt(zeile, kDatum);
            const QVariant b = m_timer.valueAt(zeile, kBeginn);
            const QDate datum = d.toDate();
            const QTime beginn = b.isValid() ? b.toTime() : QTime(0, 0);
            const QDateTime jetzt = m_clock.now();
            if (!datum.isValid()) {
                // Not a plannable entry: left for the user to remove.
                qCWarning(lcRecording) << "Aufnahme ohne gültiges Datum in Zeile" << zeile + 1;
                ++zeile;
                continue;
            }
            const QString filmname = m_timer.valueAt(zeile, kFilmname).toString();
            const bool verpasst = datum < jetzt.date() || (datum == jetzt.date() && beginn < jetzt.time());
            if (verpasst) {
                if (zeigeSeite)
                    zeigeSeite();
                m_ui.warning(Verpasst_Text(datum, beginn, filmname));
                // The row that followed takes its place and is examined next.
                m_timer.moveTo(zeile);
                m_timer.remove();
                continue;
            }
            if (m_einstellungen.Warnen_Nach_x_Tagen > 0 && m_timer.valueAt(zeile, kAnzeigen).toBool() &&
                store::Vergangene_Tage(jetzt.date(), datum) <= m_einstellungen.Aufnahme_TageWarnen) {
                if (zeigeSeite)
                    zeigeSeite();
                const bool weiter =
                    m_ui.askYesNo(Erinnerung_Text(datum == jetzt.date(), datum, beginn,
                                                  m_timer.valueAt(zeile, kProgramm).toString(), filmname),
                                  MsgIcon::Information);
                if (!weiter) {
                    m_timer.moveTo(zeile);
                    m_timer.edit();
                    try {
                        m_timer.setBoolean(kAnzeigen, false);
                        m_timer.post();
                    } catch (...) {
                        m_timer.cancel();
                        throw;
                    }
                }
            }
            ++zeile;
        }
        const int anzahl = m_timer.recordCount();
        if (anzahl > 0)
            m_timer.moveTo(std::clamp(gemerkt, 1, anzahl) - 1);
    }
    Setze_Aufgenommen();
}

} // namespace quorbel
