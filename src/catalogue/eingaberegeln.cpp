#include "eingaberegeln.h"

#include "spielzeiteintrag.h"

#include <QScopeGuard>
#include <algorithm>
#include <limits>
#include <store/collection.h>
#include <store/dataset.h>
#include <ui/clock.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {

const QString kPosi = QStringLiteral("Posi");
const QString kVerliehen = QStringLiteral("Verliehen");
const QString kSpielzeit = QStringLiteral("Spielzeit");
const QString kBelegt = QStringLiteral("Belegt");
const QString kFrei = QStringLiteral("Frei");
const QString kOriginal = QStringLiteral("Original");
const QString kNullfilme = QStringLiteral("Nullfilme");

const QString kFilmname = QStringLiteral("Filmname");
const QString kFilmlaenge = QStringLiteral("Filmlaenge");
const QString kDatum = QStringLiteral("Datum");
const QString kBildVorhanden = QStringLiteral("Bild_Vorhanden");

const QString kOhneTitel = QStringLiteral("???");

bool schwebend(const store::Dataset& ds)
{
    return ds.state() == store::Dataset::State::Edit || ds.state() == store::Dataset::State::Insert;
}

// The engine's whole-number fields hold 32 bits; a sum or difference beyond that is
// stored at the nearest value they can hold.
int feldwert(qint64 v)
{
    return static_cast<int>(
        std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct Zaehlung
{
    qint64 summe = 0;
    bool nullfilm = false;
};

// Walks all films of the current cassette with the grid's display suspended and puts
// the grid back on the film it showed.
template <typename F> Zaehlung filmeZaehlen(store::Dataset& filme, F&& waehrenddessen)
{
    Zaehlung z;
    const qint64 gemerkt = filme.currentKey();
    filme.disableControls();
    try {
        filme.first();
        while (!filme.eof() && filme.recordCount() > 0) {
            if (filme.isNull(kFilmlaenge) || filme.asInteger(kFilmlaenge) == 0)
                z.nullfilm = true;
            z.summe += filme.asInteger(kFilmlaenge);
            filme.next();
        }
        waehrenddessen(z);
    } catch (...) {
        filme.enableControls();
        throw;
    }
    filme.enableControls();
    if (gemerkt)
        filme.locate(gemerkt);
    return z;
}

} // namespace

Eingaberegeln::Eingaberegeln(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                             QObject* parent)
    : QObject(parent), m_sammlung(sammlung), m_kassetten(sammlung.kassetten()), m_filme(sammlung.filme()),
      m_filmeWache(&sammlung.filme()), m_ui(ui), m_clock(clock)
{
    m_filme.beforeInsert = [this](store::Dataset& ds) { Table_FilmeBeforeInsert(ds); };
    m_filme.afterInsert = [this](store::Dataset& ds) { Table_FilmeAfterInsert(ds); };
    m_filme.beforePost = [this](store::Dataset& ds) { Table_FilmeBeforePost(ds); };
    m_filme.afterPost = [this](store::Dataset& ds) { Table_FilmeAfterPost(ds); };
    m_filme.afterDelete = [this](store::Dataset& ds) { Table_FilmeAfterDelete(ds); };
}

Eingaberegeln::~Eingaberegeln()
{
    if (store::Dataset* filme = m_filmeWache.data()) {
        filme->beforeInsert = nullptr;
        filme->afterInsert = nullptr;
        filme->beforePost = nullptr;
        filme->afterPost = nullptr;
        filme->afterDelete = nullptr;
    }
}

// --- Cassettes ----------------------------------------------------------------------------

NavigatorZustand Eingaberegeln::Navigator() const
{
    const int anzahl = m_kassetten.isActive() ? m_kassetten.recordCount() : 0;
    const int pos = anzahl > 0 ? m_sammlung.AktDS(m_kassetten) : 0;
    const int filme = m_filme.isActive() ? m_filme.recordCount() : 0;

    NavigatorZustand z;
    if (anzahl <= 1) {
        const bool eine = anzahl == 1;
        z.freienPlatzSuchen = eine;
        z.spielzeitAendern = eine;
        z.bearbeitbar = eine;
    } else {
        z.freienPlatzSuchen = true;
        z.spielzeitAendern = true;
        z.bearbeitbar = true;
        z.zurueck = pos > 1 && pos <= anzahl;
        z.vor = pos >= 1 && pos < anzahl;
    }
    z.labeldrucken = filme > 0;
    z.filmloeschen = filme > 0;
    z.verleihen = anzahl > 0 && !m_kassetten.asBoolean(kVerliehen);
    return z;
}

bool Eingaberegeln::Direkt_Zeichen(QChar key)
{
    return (key >= u'0' && key <= u'9') || key == QChar(8);
}

bool Eingaberegeln::Direkt_Bewegt(const QString& text)
{
    // Only typed digits reach the field; pasted text may hold anything. It jumps by
    // its leading digits, and text without them moves nothing.
    return text.isEmpty() || (text.at(0) >= u'0' && text.at(0) <= u'9');
}

void Eingaberegeln::Direkt_Springen(const QString& text)
{
    if (!m_kassetten.isActive() || !Direkt_Bewegt(text))
        return;
    qsizetype ziffern = 0;
    while (ziffern < text.size() && text.at(ziffern) >= u'0' && text.at(ziffern) <= u'9')
        ++ziffern;
    if (text.isEmpty())
        m_kassetten.first();
    else
        m_kassetten.findNearest(text.left(ziffern).toInt());
}

bool Eingaberegeln::Neue_Kassette(const QString& gewaehlt)
{
    const SpielzeitEintrag eintrag = SpielzeitEintrag::lesen(gewaehlt);
    if (eintrag.text().isEmpty())
        return false;
    // Checked before the row is started: nothing half-made is ever stored.
    if (!eintrag.istGueltig() || eintrag.minuten().value_or(0) < 0) {
        m_ui.error(ungueltigeSpielzeitMeldung(eintrag.text()));
        return false;
    }
    const int vorher = m_kassetten.recordCount();
    m_kassetten.append();
    try {
        m_kassetten.setBoolean(kVerliehen, false);
        m_kassetten.setInteger(kPosi, vorher + 1);
        if (eintrag.istKaufvideo()) {
            m_kassetten.setInteger(kSpielzeit, 0);
            m_kassetten.setInteger(kFrei, 0);
            m_kassetten.setBoolean(kOriginal, true);
        } else {
            const int minuten = *eintrag.minuten();
            m_kassetten.setInteger(kSpielzeit, minuten);
            m_kassetten.setBoolean(kOriginal, false);
            m_kassetten.setInteger(kBelegt, 0);
            m_kassetten.setInteger(kFrei, minuten);
        }
        m_kassetten.post();
    } catch (...) {
        if (m_kassetten.state() == store::Dataset::State::Insert)
            m_kassetten.cancel();
        throw;
    }
    return true;
}

void Eingaberegeln::Spielzeit_Aendern(const QString& eintrag)
{
    if (eintrag.isEmpty())
        return;
    if (spielzeitMinuten(eintrag).value_or(0) < 0) {
        m_ui.error(ungueltigeSpielzeitMeldung(eintrag)); // a negative play length from a hand-edited list
        return;
    }
    const int filme = m_filme.recordCount();
    const SpielzeitAenderung aenderung = spielzeitAendern(eintrag, filme, Filmsumme());
    if (aenderung.abgelehnt()) {
        m_ui.error(aenderung.meldung);
        return;
    }
    m_kassetten.edit();
    try {
        if (aenderung.art == SpielzeitAenderung::Art::Kaufvideo) {
            m_kassetten.setInteger(kFrei, 0);
            m_kassetten.setInteger(kSpielzeit, aenderung.spielzeit);
            m_kassetten.setBoolean(kOriginal, true);
            m_kassetten.post();
            return;
        }
        m_kassetten.setInteger(kSpielzeit, aenderung.spielzeit);
        m_kassetten.setBoolean(kOriginal, false);
        m_kassetten.post();
    } catch (...) {
        if (schwebend(m_kassetten))
            m_kassetten.cancel();
        throw;
    }
    Berechne_Filmlaengen();
}

// --- Films --------------------------------------------------------------------------------

qint64 Eingaberegeln::Filmsumme()
{
    return filmeZaehlen(m_filme, [](const Zaehlung&) {}).summe;
}

void Eingaberegeln::Berechne_Filmlaengen()
{
    Zaehlen_Und_Speichern();
}

qint64 Eingaberegeln::Zaehlen_Und_Speichern()
{
    qint64 frei = 0;
    filmeZaehlen(m_filme, [this, &frei](const Zaehlung& z) {
        frei = m_kassetten.asInteger(kSpielzeit) - z.summe;
        m_kassetten.edit();
        try {
            m_kassetten.setInteger(kBelegt, feldwert(z.summe));
            m_kassetten.setBoolean(kNullfilme, z.nullfilm);
            m_kassetten.setInteger(kFrei, feldwert(frei));
            m_kassetten.post();
        } catch (...) {
            if (schwebend(m_kassetten))
                m_kassetten.cancel();
            throw;
        }
    });
    return frei;
}

void Eingaberegeln::Table_FilmeBeforeInsert(store::Dataset& filme)
{
    m_vorherigerTitel = filme.asString(kFilmname) != kOhneTitel;
}

void Eingaberegeln::Table_FilmeAfterInsert(store::Dataset& filme)
{
    if (!m_vorherigerTitel) {
        filme.cancel();
        m_ui.error(QStringLiteral("Letzter Film hat keinen Titel !"));
        return;
    }
    // A bought tape holds one film at most.
    if (m_kassetten.asBoolean(kOriginal) && filme.recordCount() >= 1) {
        filme.cancel();
        m_ui.error(QStringLiteral("Ein Kaufvideo kann nur einen Film beinhalten."));
        return;
    }
    filme.setDate(kDatum, m_clock.today());
    filme.setBoolean(kBildVorhanden, false);
}

void Eingaberegeln::Table_FilmeBeforePost(store::Dataset& filme)
{
    if (!filme.isNull(kFilmlaenge) && filme.asInteger(kFilmlaenge) < 0)
        filme.setInteger(kFilmlaenge, 0);
    if (filme.asString(kFilmname).trimmed().isEmpty())
        filme.setString(kFilmname, kOhneTitel);
}

void Eingaberegeln::Table_FilmeAfterPost(store::Dataset& filme)
{
    if (m_kassetten.asBoolean(kOriginal)) {
        m_kassetten.edit();
        m_kassetten.setInteger(kSpielzeit, filme.asInteger(kFilmlaenge));
        m_kassetten.post();
    } else {
        const qint64 frei = Zaehlen_Und_Speichern();
        // The stored film does not fit: it keeps title and genre with length 0. The
        // correction stores the same film once more; that inner store does not
        // correct again, even when other films alone overrun the cassette.
        if (frei < 0 && !m_korrektur && filme.asInteger(kFilmlaenge) != 0) {
            m_korrektur = true;
            const auto ende = qScopeGuard([this] { m_korrektur = false; });
            filme.edit();
            filme.setInteger(kFilmlaenge, 0);
            filme.post();
            m_ui.error(QStringLiteral("Film passt nicht mehr auf die Kassette"));
        }
    }
    emit filmGespeichert(m_filme.recordCount());
}

void Eingaberegeln::Table_FilmeAfterDelete(store::Dataset& filme)
{
    if (m_kassetten.asBoolean(kOriginal)) {
        m_kassetten.edit();
        m_kassetten.setInteger(kSpielzeit, 0);
        m_kassetten.post();
    } else {
        Berechne_Filmlaengen();
    }
    emit filmGeloescht(filme.recordCount());
}

void Eingaberegeln::Film_Enter()
{
    if (schwebend(m_filme) && !m_filme.asString(kFilmname).isEmpty())
        m_filme.post();
}

void Eingaberegeln::Film_Loeschen()
{
    if (m_filme.state() == store::Dataset::State::Insert)
        m_filme.cancel();
    else if (m_filme.recordCount() > 0)
        m_filme.remove();
}

} // namespace quorbel
