#include "verleihregeln.h"

#include "ui/clock.h"
#include "ui/interaction.h"
#include "ui/protokoll.h"

#include <store/dataset.h>
#include <store/dates.h>
#include <utility>

namespace quorbel {

namespace {

const QString kVerliehen = QStringLiteral("Verliehen");
const QString kNummer = QStringLiteral("Nummer");
const QString kKassette = QStringLiteral("Kassette");
const QString kDatum = QStringLiteral("Datum");
const QString kAn = QStringLiteral("An");
const QString kAnzeigen = QStringLiteral("Anzeigen");
const QString kMeldungAm = QStringLiteral("Meldung_Am");

bool darfVerleihen(const store::Dataset& kassetten)
{
    return kassetten.isActive() && !kassetten.isEmpty() && !kassetten.asBoolean(kVerliehen);
}

} // namespace

Erinnerungsanzeige::~Erinnerungsanzeige() = default;

Verleihregeln::Verleihregeln(store::Dataset& kassetten, store::Dataset& filme, store::Dataset& verliehen,
                             Interaction& ui, const Clock& clock, std::function<int()> warnTage,
                             Erinnerungsanzeige& anzeige)
    : m_kassetten(kassetten), m_filme(filme), m_verliehen(verliehen), m_ui(ui), m_clock(clock),
      m_warnTage(std::move(warnTage)), m_anzeige(anzeige)
{
    m_verliehen.beforeDelete = [this](store::Dataset& v) { Table_VerliehenBeforeDelete(v); };
    m_verliehen.afterDelete = [this](store::Dataset& v) { Table_VerliehenAfterDelete(v); };
}

Verleihregeln::~Verleihregeln()
{
    m_verliehen.beforeDelete = nullptr;
    m_verliehen.afterDelete = nullptr;
}

Verleihknoepfe Verleihregeln::Knoepfe() const
{
    return {darfVerleihen(m_kassetten), m_verliehen.isActive() && m_verliehen.recordCount() > 0};
}

// --- Lending -------------------------------------------------------------------------

Verleihknoepfe Verleihregeln::BitBtn_VerleihenClick()
{
    if (!darfVerleihen(m_kassetten))
        return Knoepfe();
    const int position = m_kassetten.recNo();
    const QString an =
        m_ui.inputBox(QStringLiteral("Kassette Ausleihen"),
                      QStringLiteral("An wen soll die Kassette verliehen werden ?"), QString());
    if (an.isEmpty()) {
        m_ui.information(QStringLiteral("Kassette %1 wurde nicht verliehen !").arg(position));
        return Knoepfe();
    }
    Verleihen_Speichern(m_kassetten.asInteger(kNummer), an);
    return {false, true};
}

void Verleihregeln::Verleihen_Speichern(int nummer, const QString& an)
{
    const QDate heute = m_clock.today();
    const int warnTage = m_warnTage ? m_warnTage() : 0;
    try {
        m_verliehen.append();
        m_verliehen.setInteger(kKassette, nummer);
        m_verliehen.setDate(kDatum, heute);
        m_verliehen.setString(kAn, an); // the field keeps the first 40 characters
        m_verliehen.setBoolean(kAnzeigen, true);
        m_verliehen.setDate(kMeldungAm, tageWeiter(heute, warnTage));

        // The cassette is marked inside the loan row's post: the engine stores
        // everything a post and its handlers write as one change across the files,
        // so a failure, or a program killed in between, leaves neither the mark nor
        // the loan.
        store::Dataset::Handler vorher = m_verliehen.beforePost;
        struct Zuruecksetzen
        {
            store::Dataset& ds;
            store::Dataset::Handler handler;
            ~Zuruecksetzen() { ds.beforePost = std::move(handler); }
        } zuruecksetzen{m_verliehen, vorher};
        m_verliehen.beforePost = [this, vorher](store::Dataset& v) {
            m_kassetten.edit();
            m_kassetten.setBoolean(kVerliehen, true);
            m_kassetten.post();
            if (vorher)
                vorher(v);
        };
        m_verliehen.post();
    } catch (...) {
        m_verliehen.cancel();
        m_kassetten.cancel();
        throw;
    }
}

// --- The loan list ---------------------------------------------------------------------

void Verleihregeln::RadioGroup_Sortieren2Click(int item)
{
    static const QString felder[] = {kKassette, kDatum, kAn};
    if (item < 0 || item > 2)
        return;
    m_verliehen.setIndexFieldNames(felder[item]);
}

bool Verleihregeln::DBGrid_VerliehenDblClick()
{
    if (!m_verliehen.isActive() || m_verliehen.isEmpty())
        return false;
    m_kassetten.findNearest(m_verliehen.asInteger(kKassette));
    return true;
}

// --- Taking back -------------------------------------------------------------------------

Verleihknoepfe Verleihregeln::BitBtn_ZurueckbekommenClick()
{
    if (!m_verliehen.isActive() || m_verliehen.isEmpty())
        return Knoepfe();
    m_knoepfe = Knoepfe();
    m_verliehen.remove();
    return m_knoepfe;
}

void Verleihregeln::Table_VerliehenBeforeDelete(store::Dataset& verliehen)
{
    m_gemerkteKassette = m_kassetten.currentKey();
    // Only the loan's own cassette is freed: a loan whose cassette is missing must
    // not clear the mark of whichever cassette comes next.
    if (m_kassetten.locate(verliehen.asInteger(kKassette))) {
        m_kassetten.edit();
        m_kassetten.setBoolean(kVerliehen, false);
        m_kassetten.post();
    }
}

void Verleihregeln::Table_VerliehenAfterDelete(store::Dataset& verliehen)
{
    m_knoepfe.zurueckbekommen = verliehen.recordCount() > 0;
    if (m_gemerkteKassette != 0)
        m_kassetten.locate(m_gemerkteKassette);
    m_gemerkteKassette = 0;
    if (m_filme.isActive())
        m_filme.first();
    m_knoepfe.verleihen = darfVerleihen(m_kassetten);
}

// --- Reminders -----------------------------------------------------------------------------

QString Verleihregeln::Erinnerungstext(const QString& an, int kassette, const QDate& datum, int tage)
{
    return kMessageBreak + an + QStringLiteral(" hat die Kassette Nr. ") + QString::number(kassette) +
           QStringLiteral(" schon seit dem ") + store::formatDate(datum) + QStringLiteral(", das sind ") +
           QString::number(tage) + QStringLiteral(" Tage,") + kMessageBreak + QStringLiteral("ausgeliehen.");
}

bool Verleihregeln::Faellige_Vorhanden(const QDate& heute) const
{
    // A second dataset over the loan file, so that the list's own order, filter and
    // display are left alone.
    store::Dataset faellige;
    faellige.setDatabaseName(m_verliehen.databaseName());
    faellige.setTableName(m_verliehen.tableName());
    faellige.setReadOnly(true);
    faellige.setFilter(QStringLiteral("(Anzeigen = TRUE) AND (Meldung_Am <= %1)")
                           .arg(store::formatDate(tageWeiter(heute, 0))));
    faellige.setFiltered(true);
    faellige.open();
    return faellige.recordCount() > 0;
}

void Verleihregeln::Pruefe_Verliehene_Kassetten()
{
    const int warnTage = m_warnTage ? m_warnTage() : 0;
    if (warnTage <= 0 || m_pruefungLaeuft || !m_verliehen.isActive())
        return;

    // Whatever happens, the flag goes, the display comes back and the list shows the
    // row it showed before.
    struct Ablauf
    {
        Verleihregeln& r;
        int position;
        ~Ablauf()
        {
            try {
                if (position > 0 && r.m_verliehen.isActive() && position <= r.m_verliehen.recordCount())
                    r.m_verliehen.moveTo(position - 1);
            } catch (...) {
                // The failure that ended the walk is the one reported; this one is logged.
                qCWarning(lcLending)
                    << "Die Zeile der Verleihliste wurde nach der Prüfung nicht wieder gewählt";
            }
            r.m_verliehen.enableControls();
            r.m_pruefungLaeuft = false;
        }
    };
    m_verliehen.checkBrowseMode();
    // Most checks find nothing due: ask the engine first instead of walking the list.
    if (!Faellige_Vorhanden(m_clock.today()))
        return;
    const int position = m_verliehen.recNo();
    m_verliehen.disableControls();
    m_pruefungLaeuft = true;
    Ablauf ablauf{*this, position};

    for (m_verliehen.first(); !m_verliehen.eof(); m_verliehen.next()) {
        const QDate heute = m_clock.today();
        if (!m_verliehen.asBoolean(kAnzeigen))
            continue;
        // A loan without a reminder date is never due (the program always writes one).
        const QDate meldungAm = m_verliehen.asDate(kMeldungAm);
        if (!meldungAm.isValid() || heute < meldungAm)
            continue;
        const QDate datum = m_verliehen.asDate(kDatum);
        const QString text = Erinnerungstext(m_verliehen.asString(kAn), m_verliehen.asInteger(kKassette),
                                             datum, store::Vergangene_Tage(datum, heute));
        if (Verleihmanager_Zeigen)
            Verleihmanager_Zeigen();
        const Erinnerungsanzeige::Antwort antwort = m_anzeige.Erinnerung_Zeigen(text, warnTage);
        try {
            m_verliehen.edit();
            if (antwort.nichtMehr)
                m_verliehen.setBoolean(kAnzeigen, false);
            else
                m_verliehen.setDate(kMeldungAm,
                                    antwort.naechsteMeldung.isValid() ? antwort.naechsteMeldung : heute);
            m_verliehen.post();
        } catch (...) {
            m_verliehen.cancel(); // no half-stored answer waits for the next move
            throw;
        }
    }
}

} // namespace quorbel
