#include "eingabeseite.h"

#include "filminfoformular.h"
#include "hinzufuegenformular.h"
#include "spielzeiteintrag.h"
#include "spielzeitformular.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <app/clock.h>
#include <app/guard.h>
#include <app/hauptformular.h>
#include <app/interaction.h>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <utility>

namespace quorbel {

namespace {

const QString kNummer = QStringLiteral("Nummer");
const QString kPosi = QStringLiteral("Posi");
const QString kVerliehen = QStringLiteral("Verliehen");
const QString kSpielzeit = QStringLiteral("Spielzeit");
const QString kBelegt = QStringLiteral("Belegt");
const QString kFrei = QStringLiteral("Frei");
const QString kOriginal = QStringLiteral("Original");
const QString kNullfilme = QStringLiteral("Nullfilme");

const QString kZaehler = QStringLiteral("Zaehler");
const QString kFilmname = QStringLiteral("Filmname");
const QString kFilmlaenge = QStringLiteral("Filmlaenge");
const QString kGenre = QStringLiteral("Genre");
const QString kDatum = QStringLiteral("Datum");
const QString kBildVorhanden = QStringLiteral("Bild_Vorhanden");

const QString kOhneTitel = QStringLiteral("???");

// Typing over a cell or F2 edits it; a click only selects, so that keys typed right
// after a click are never lost to a pending click-to-edit.
constexpr QAbstractItemView::EditTriggers kBearbeiten =
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
const char* const kUrsprung = "quorbel_ursprung"; // the cell's text when its editor opened

bool schwebend(const store::Dataset& ds)
{
    return ds.state() == store::Dataset::State::Edit || ds.state() == store::Dataset::State::Insert;
}

QString editorText(const QWidget* editor)
{
    if (const auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    return {};
}

} // namespace

// The cell editors of the film grid: a line for title and length, an editable
// drop-down of the genre vocabulary for the genre. A cell is written into its field
// only when its text was changed; Enter and Escape go to the page's rules.
class FilmgridDelegate final : public QStyledItemDelegate
{
public:
    FilmgridDelegate(Eingabeseite& seite, THauptformular& fenster, QObject* parent)
        : QStyledItemDelegate(parent), m_seite(seite), m_fenster(fenster)
    {
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
            if (editor == m_editor)
                m_editor = nullptr;
        });
    }

    QWidget* offenerEditor() const { return m_editor; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const auto* modell = qobject_cast<const store::DatasetModel*>(index.model());
        const store::DatasetModel::Column spalte = modell->columns().at(index.column());
        const int breite = modell->dataset()->fieldSize(spalte.field);
        QWidget* editor = nullptr;
        if (spalte.field == kGenre) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setFrame(false);
            combo->setMaxVisibleItems(12);
            combo->addItems(m_fenster.genrePickList);
            // The drop-down list as wide as its longest genre, not just the cell.
            int breiteste = 0;
            for (const QString& genre : std::as_const(m_fenster.genrePickList))
                breiteste = std::max(breiteste, combo->fontMetrics().horizontalAdvance(genre));
            combo->view()->setMinimumWidth(breiteste +
                                           2 * combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
            if (breite > 0)
                combo->lineEdit()->setMaxLength(breite);
            editor = combo;
        } else {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            line->setAlignment(spalte.alignment);
            if (breite > 0)
                line->setMaxLength(breite);
            else if (spalte.field == kFilmlaenge)
                line->setMaxLength(11);
            editor = line;
        }
        editor->setAccessibleName(spalte.title.isEmpty() ? spalte.field : spalte.title);
        m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findText(text);
            combo->setCurrentIndex(i);
            combo->setEditText(text);
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
        editor->setProperty(kUrsprung, text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QString text = editorText(editor);
        if (text == editor->property(kUrsprung).toString())
            return; // an untouched cell leaves the film as it is
        editor->setProperty(kUrsprung, text);
        m_geschrieben = {index, text};
        model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
    }

    // The cell written last and the text written into it.
    struct Geschrieben
    {
        QPersistentModelIndex zelle;
        QString text;
    };
    const Geschrieben& geschrieben() const { return m_geschrieben; }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto* ke = static_cast<QKeyEvent*>(event);
            const int key = ke->key();
            // Tab out of the last cell of the last row starts a new row, as Down does.
            const bool tabAmEnde =
                key == Qt::Key_Tab && ke->modifiers() == Qt::NoModifier && m_seite.Letzte_Zelle();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || tabAmEnde) {
                const bool geaendert = editorText(editor) != editor->property(kUrsprung).toString();
                return m_seite.Zelleneditor_Taste(editor, key, geaendert);
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    Eingabeseite& m_seite;
    THauptformular& m_fenster;
    mutable QPointer<QWidget> m_editor;
    mutable Geschrieben m_geschrieben;
};

Eingabeseite::Eingabeseite(THauptformular& fenster, Interaction& ui, const Clock& clock)
    : QObject(&fenster), w(fenster), m_ui(ui), m_clock(clock), m_kassetten(*fenster.Table_Kassetten),
      m_filme(*fenster.Table_Filme), m_filmeWache(fenster.Table_Filme)
{
    setObjectName(QStringLiteral("Eingabeseite"));
    Filmgrid_Einrichten();
    Handler_Verbinden();
}

Eingabeseite::~Eingabeseite()
{
    // The window takes the page apart first, while its controls still exist.
    QTableView* grid = w.DBGrid_Filme;
    grid->removeEventFilter(this);
    grid->viewport()->removeEventFilter(this);
    w.Edit_Direkt->removeEventFilter(this);
    w.removeEventFilter(this);
    if (m_delegate && m_delegate->offenerEditor())
        emit m_delegate->closeEditor(m_delegate->offenerEditor(), QAbstractItemDelegate::RevertModelCache);
    grid->setItemDelegate(new QStyledItemDelegate(grid));
    if (store::Dataset* filme = m_filmeWache.data()) {
        filme->beforeInsert = nullptr;
        filme->afterInsert = nullptr;
        filme->beforePost = nullptr;
        filme->afterPost = nullptr;
        filme->afterDelete = nullptr;
    }
}

// --- Set-up -------------------------------------------------------------------------------

void Eingabeseite::Filmgrid_Einrichten()
{
    // The window's model of the film dataset, with the grid's three columns.
    m_modell = w.DataSource_Filme;
    QTableView* grid = w.DBGrid_Filme;
    // While rows come and go the view moves its current row by itself; those moves
    // are not the user's and must not move (and so store) the dataset. Connected
    // before the view's own handlers so that the marker is set when they run.
    const auto umbauBeginnt = [this](auto&&...) { ++m_umbau; };
    connect(m_modell, &QAbstractItemModel::rowsAboutToBeInserted, this, umbauBeginnt);
    connect(m_modell, &QAbstractItemModel::rowsAboutToBeRemoved, this, umbauBeginnt);
    connect(m_modell, &QAbstractItemModel::modelAboutToBeReset, this, umbauBeginnt);
    grid->setModel(m_modell);
    const auto umbauEndet = [this](auto&&...) {
        m_umbau = std::max(0, m_umbau - 1);
        Grid_Folgt_Datenmenge();
    };
    connect(m_modell, &QAbstractItemModel::rowsInserted, this, umbauEndet);
    connect(m_modell, &QAbstractItemModel::rowsRemoved, this, umbauEndet);
    connect(m_modell, &QAbstractItemModel::modelReset, this, umbauEndet);
    for (int i = 0; i < m_modell->columns().size(); ++i)
        grid->setColumnWidth(i, m_modell->columns().at(i).width);
    m_delegate = new FilmgridDelegate(*this, w, this);
    grid->setItemDelegate(m_delegate);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(true);
    grid->setEditTriggers(kBearbeiten); // editable as designed; Refresh_Navigator decides later
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
}

void Eingabeseite::Handler_Verbinden()
{
    m_filme.beforeInsert = [this](store::Dataset& ds) { Table_FilmeBeforeInsert(ds); };
    m_filme.afterInsert = [this](store::Dataset& ds) { Table_FilmeAfterInsert(ds); };
    m_filme.beforePost = [this](store::Dataset& ds) { Table_FilmeBeforePost(ds); };
    m_filme.afterPost = [this](store::Dataset& ds) { Table_FilmeAfterPost(ds); };
    m_filme.afterDelete = [this](store::Dataset& ds) { Table_FilmeAfterDelete(ds); };

    connectGuarded(w.BitBtn_Erste, &QToolButton::clicked, this, m_ui, [this](bool) { BitBtn_ErsteClick(); });
    connectGuarded(w.BitBtn_Letzte, &QToolButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_LetzteClick(); });
    connectGuarded(w.BitBtn_Vorherige, &QToolButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_VorherigeClick(); });
    connectGuarded(w.BitBtn_Naechste, &QToolButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_NaechsteClick(); });
    connectGuarded(w.BitBtn_NeueKassette, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_NeueKassetteClick(); });
    connectGuarded(w.BitBtn_SpielzeitAendern, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_SpielzeitAendernClick(); });
    connectGuarded(w.BitBtn_Filmloeschen, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_FilmloeschenClick(); });
    connectGuarded(w.Edit_Direkt, &QLineEdit::textChanged, this, m_ui,
                   [this](const QString& text) { Edit_DirektChange(text); });
    w.Edit_Direkt->setMaxLength(3);
    w.Edit_Direkt->installEventFilter(this);

    // The grid's current row and the film dataset's current row follow each other.
    connect(m_modell, &store::DatasetModel::currentChanged, this, [this](int) { Grid_Folgt_Datenmenge(); });
    connect(w.DBGrid_Filme->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& aktuell) {
                if (aktuell.isValid())
                    m_spalte = aktuell.column();
            });
    connectGuarded(
        w.DBGrid_Filme->selectionModel(), &QItemSelectionModel::currentRowChanged, this, m_ui,
        [this](const QModelIndex& aktuell, const QModelIndex&) { Datenmenge_Folgt_Grid(aktuell.row()); });
    // A refused cell: the engine's message, then the cell opens again with the text.
    connect(m_modell, &store::DatasetModel::errorOccurred, this, [this](const QString& t) {
        m_zelleAbgelehnt = true;
        Fehler_Anzeigen(t, m_delegate->geschrieben().zelle, m_delegate->geschrieben().text);
    });

    connectGuarded(qApp, &QApplication::focusChanged, this, m_ui,
                   [this](QWidget* alt, QWidget* neu) { Fokus_Gewechselt(alt, neu); });

    // The file menu closes, replaces or quits the collection, and closing discards a
    // pending row: a film being typed is stored first, as when the grid is left.
    connectGuarded(w.Datei1, &QMenu::aboutToShow, this, m_ui, [this] { DBGrid_FilmeExit(); });
    w.installEventFilter(this);
}

// --- Cassettes ----------------------------------------------------------------------------

void Eingabeseite::Refresh_Navigator()
{
    const int anzahl = m_kassetten.isActive() ? m_kassetten.recordCount() : 0;
    const int pos = anzahl > 0 ? w.AktDS(m_kassetten) : 0;
    const int filme = m_filme.isActive() ? m_filme.recordCount() : 0;

    const auto bewegen = [this](bool zurueck, bool vor) {
        w.BitBtn_Vorherige->setEnabled(zurueck);
        w.BitBtn_Erste->setEnabled(zurueck);
        w.BitBtn_Naechste->setEnabled(vor);
        w.BitBtn_Letzte->setEnabled(vor);
    };
    bool bearbeitbar = false;
    if (anzahl <= 1) {
        bewegen(false, false);
        const bool eine = anzahl == 1;
        w.BitBtn_FreienPlatzSuchen->setEnabled(eine);
        w.BitBtn_SpielzeitAendern->setEnabled(eine);
        w.BitBtn_Labeldrucken->setEnabled(eine);
        bearbeitbar = eine;
    } else {
        w.BitBtn_FreienPlatzSuchen->setEnabled(true);
        w.BitBtn_SpielzeitAendern->setEnabled(true);
        bearbeitbar = true;
        if (pos == 1)
            bewegen(false, true);
        else if (pos == anzahl)
            bewegen(true, false);
        else if (pos > 1 && pos < anzahl)
            bewegen(true, true);
    }
    m_bearbeitbar = bearbeitbar;
    if (!bearbeitbar)
        Zelle_Uebernehmen();
    w.DBGrid_Filme->setEditTriggers(bearbeitbar ? kBearbeiten : QAbstractItemView::NoEditTriggers);

    w.BitBtn_Labeldrucken->setEnabled(filme > 0);
    w.BitBtn_Filmloeschen->setEnabled(filme > 0);
    w.BitBtn_Verleihen->setEnabled(anzahl > 0 && !m_kassetten.asBoolean(kVerliehen));
}

void Eingabeseite::BitBtn_ErsteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.first();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_LetzteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.last();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_VorherigeClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.prior();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_NaechsteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.next();
    Refresh_Navigator();
}

bool Eingabeseite::Edit_DirektKeyPress(QChar key)
{
    return (key >= u'0' && key <= u'9') || key == QChar(8);
}

void Eingabeseite::Edit_DirektChange(const QString& text)
{
    if (!m_kassetten.isActive())
        return;
    // Only typed digits reach the field; pasted text may hold anything. It jumps by
    // its leading digits, and text without them moves nothing.
    qsizetype ziffern = 0;
    while (ziffern < text.size() && text.at(ziffern) >= u'0' && text.at(ziffern) <= u'9')
        ++ziffern;
    if (!text.isEmpty() && ziffern == 0)
        return;
    if (!Zelle_Uebernehmen())
        return;
    if (text.isEmpty())
        m_kassetten.first();
    else
        m_kassetten.findNearest(text.left(ziffern).toInt());
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_NeueKassetteClick()
{
    if (!m_kassetten.isActive())
        return;
    if (!Zelle_Uebernehmen())
        return;
    if (m_ui.exec(*w.Hinzufuegenformular) != QDialog::Accepted)
        return;
    const SpielzeitEintrag eintrag = SpielzeitEintrag::lesen(w.Hinzufuegenformular->gewaehlteSpielzeit());
    if (eintrag.text().isEmpty())
        return;
    // Checked before the row is started: nothing half-made is ever stored.
    if (!eintrag.istGueltig() || eintrag.minuten().value_or(0) < 0) {
        m_ui.error(ungueltigeSpielzeitMeldung(eintrag.text()));
        return;
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
        Refresh_Navigator();
        throw;
    }
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_SpielzeitAendernClick()
{
    if (!m_kassetten.isActive() || m_kassetten.isEmpty())
        return;
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    TSpielzeit_Formular& dialog = *w.Spielzeit_Formular;
    // Whatever happens below, the next use starts with no choice.
    const auto zuruecksetzen = qScopeGuard([&dialog] { dialog.zuruecksetzen(); });
    if (m_ui.exec(dialog) != QDialog::Accepted)
        return;
    const QString eintrag = dialog.gewaehlteSpielzeit();
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

namespace {
struct Zaehlung
{
    int summe = 0;
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

int Eingabeseite::Filmsumme()
{
    return filmeZaehlen(m_filme, [](const Zaehlung&) {}).summe;
}

void Eingabeseite::Berechne_Filmlaengen()
{
    filmeZaehlen(m_filme, [this](const Zaehlung& z) {
        m_kassetten.edit();
        try {
            m_kassetten.setInteger(kBelegt, z.summe);
            m_kassetten.setBoolean(kNullfilme, z.nullfilm);
            m_kassetten.setInteger(kFrei, m_kassetten.asInteger(kSpielzeit) - z.summe);
            m_kassetten.post();
        } catch (...) {
            if (schwebend(m_kassetten))
                m_kassetten.cancel();
            throw;
        }
    });
}

void Eingabeseite::Table_FilmeBeforeInsert(store::Dataset& filme)
{
    m_vorherigerTitel = filme.asString(kFilmname) != kOhneTitel;
}

void Eingabeseite::Table_FilmeAfterInsert(store::Dataset& filme)
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

void Eingabeseite::Table_FilmeBeforePost(store::Dataset& filme)
{
    if (!filme.isNull(kFilmlaenge) && filme.asInteger(kFilmlaenge) < 0)
        filme.setInteger(kFilmlaenge, 0);
    if (filme.asString(kFilmname).trimmed().isEmpty())
        filme.setString(kFilmname, kOhneTitel);
}

void Eingabeseite::Table_FilmeAfterPost(store::Dataset& filme)
{
    if (m_kassetten.asBoolean(kOriginal)) {
        m_kassetten.edit();
        m_kassetten.setInteger(kSpielzeit, filme.asInteger(kFilmlaenge));
        m_kassetten.post();
    } else {
        Berechne_Filmlaengen();
        // The stored film does not fit: it keeps title and genre with length 0. The
        // correction stores the same film once more; that inner store does not
        // correct again, even when other films alone overrun the cassette.
        if (m_kassetten.asInteger(kFrei) < 0 && !m_korrektur && filme.asInteger(kFilmlaenge) != 0) {
            m_korrektur = true;
            const auto ende = qScopeGuard([this] { m_korrektur = false; });
            filme.edit();
            filme.setInteger(kFilmlaenge, 0);
            filme.post();
            m_ui.error(QStringLiteral("Film passt nicht mehr auf die Kassette"));
        }
    }
    Filmknoepfe_Setzen();
}

void Eingabeseite::Table_FilmeAfterDelete(store::Dataset& filme)
{
    if (m_kassetten.asBoolean(kOriginal)) {
        m_kassetten.edit();
        m_kassetten.setInteger(kSpielzeit, 0);
        m_kassetten.post();
    } else {
        Berechne_Filmlaengen();
    }
    w.BitBtn_Labeldrucken->setEnabled(filme.recordCount() > 0);
}

void Eingabeseite::Filmknoepfe_Setzen()
{
    const bool filme = m_filme.recordCount() > 0;
    w.BitBtn_Labeldrucken->setEnabled(filme);
    w.BitBtn_Filmloeschen->setEnabled(filme);
}

void Eingabeseite::DBGrid_FilmeKeyPress(QChar key)
{
    if (key != QChar(13) || !m_filme.isActive())
        return;
    if (!Zelle_Uebernehmen())
        return;
    if (schwebend(m_filme) && !m_filme.asString(kFilmname).isEmpty())
        m_filme.post();
}

void Eingabeseite::DBGrid_FilmeExit()
{
    if (!m_filme.isActive())
        return;
    if (!Zelle_Uebernehmen())
        return;
    if (schwebend(m_filme))
        m_filme.post();
}

void Eingabeseite::BitBtn_FilmloeschenClick()
{
    if (!m_filme.isActive())
        return;
    Zelle_Uebernehmen();
    if (m_filme.state() == store::Dataset::State::Insert)
        m_filme.cancel();
    else if (m_filme.recordCount() > 0)
        m_filme.remove();
    if (m_filme.recordCount() == 0)
        w.BitBtn_Filmloeschen->setEnabled(false);
}

void Eingabeseite::DBGrid_FilmeDblClick()
{
    if (!m_filme.isActive())
        return;
    // The details work on a stored film: a pending row is stored first, as when
    // the grid is left.
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    if (m_filme.recordCount() == 0)
        return;
    w.Filminfoformular->filmnameUebernehmen();
    m_ui.exec(*w.Filminfoformular);
}

// --- The grid as a table a person edits ----------------------------------------------------

bool Eingabeseite::Zelle_Uebernehmen()
{
    if (!m_delegate)
        return true;
    QWidget* editor = m_delegate->offenerEditor();
    if (!editor)
        return true;
    m_zelleAbgelehnt = false;
    emit m_delegate->commitData(editor);
    if (m_delegate->offenerEditor() == editor)
        emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !m_zelleAbgelehnt;
}

void Eingabeseite::Grid_Folgt_Datenmenge()
{
    QTableView* grid = w.DBGrid_Filme;
    if (m_gleichlauf || m_umbau > 0 || !grid->selectionModel())
        return;
    const int zeile = m_filme.isActive() ? m_filme.currentRow() : -1;
    if (zeile < 0 || zeile >= m_modell->rowCount())
        return;
    const QModelIndex jetzt = grid->currentIndex();
    if (jetzt.isValid() && jetzt.row() == zeile)
        return;
    const int spalte =
        jetzt.isValid() ? jetzt.column() : std::clamp(m_spalte, 0, m_modell->columnCount() - 1);
    m_gleichlauf = true;
    const auto ende = qScopeGuard([this] { m_gleichlauf = false; });
    grid->selectionModel()->setCurrentIndex(m_modell->index(zeile, spalte),
                                            QItemSelectionModel::ClearAndSelect);
}

void Eingabeseite::Datenmenge_Folgt_Grid(int zeile)
{
    if (m_gleichlauf || m_umbau > 0 || !m_filme.isActive() || zeile < 0 || zeile == m_filme.currentRow())
        return;
    // Moving to another row stores a changed pending row first; the target is found
    // again by its key, since storing may move the rows.
    const qint64 ziel = m_filme.valueAt(zeile, kZaehler).toLongLong();
    try {
        m_filme.checkBrowseMode();
        if (ziel)
            m_filme.locate(ziel);
    } catch (...) {
        Grid_Folgt_Datenmenge(); // the grid goes back to the row the dataset kept
        throw;
    }
    Grid_Folgt_Datenmenge();
}

void Eingabeseite::Neue_Filmzeile(bool amEnde)
{
    if (!Zelle_Uebernehmen())
        return;
    if (amEnde)
        m_filme.append();
    else
        m_filme.insert();
    if (m_filme.state() != store::Dataset::State::Insert)
        return;
    const QModelIndex titel = m_modell->index(m_filme.currentRow(), 0);
    m_gleichlauf = true;
    const auto ende = qScopeGuard([this] { m_gleichlauf = false; });
    w.DBGrid_Filme->selectionModel()->setCurrentIndex(titel, QItemSelectionModel::ClearAndSelect);
}

bool Eingabeseite::Grid_Taste(int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    if (!m_bearbeitbar || !m_filme.isActive())
        return false;
    QTableView* grid = w.DBGrid_Filme;
    const bool befehl = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (key) {
    case Qt::Key_Insert:
        if (befehl)
            return false;
        Neue_Filmzeile(false);
        return true;
    case Qt::Key_Down:
        if (befehl || (m_modell->rowCount() > 0 && grid->currentIndex().row() < m_modell->rowCount() - 1))
            return false;
        Neue_Filmzeile(true);
        return true;
    case Qt::Key_Tab:
        // Tab past the last cell of the last row moves on to a new row.
        if (modifiers != Qt::NoModifier || !Letzte_Zelle())
            return false;
        Neue_Filmzeile(true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        DBGrid_FilmeKeyPress(QChar(13));
        return false;
    case Qt::Key_Escape:
        if (!schwebend(m_filme))
            return false;
        m_filme.cancel();
        return true;
    default:
        break;
    }
    // Typing into the empty grid of a cassette without films starts a film.
    if (m_modell->rowCount() > 0 || befehl || text.isEmpty() || !text.at(0).isPrint())
        return false;
    Neue_Filmzeile(true);
    if (m_filme.state() != store::Dataset::State::Insert)
        return true;
    grid->edit(grid->currentIndex());
    if (QWidget* editor = m_delegate->offenerEditor()) {
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setEditText(text);
        else if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(text);
    }
    return true;
}

bool Eingabeseite::Letzte_Zelle() const
{
    const QModelIndex i = w.DBGrid_Filme->currentIndex();
    return i.isValid() && i.row() == m_modell->rowCount() - 1 && i.column() == m_modell->columnCount() - 1;
}

bool Eingabeseite::Zelleneditor_Taste(QWidget* editor, int key, bool zelleGeaendert)
{
    guarded(m_ui, [&] {
        if (key == Qt::Key_Escape) {
            // First the cell goes back to its stored text; a second Escape, or one
            // in an untouched cell, discards the pending row.
            emit m_delegate->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            if (!zelleGeaendert && schwebend(m_filme))
                m_filme.cancel();
            return;
        }
        if (key == Qt::Key_Tab) {
            Neue_Filmzeile(true);
            return;
        }
        DBGrid_FilmeKeyPress(QChar(13));
    });
    return true;
}

void Eingabeseite::Fokus_Gewechselt(QWidget* alt, QWidget* neu)
{
    if (!alt || !neu || !Gehoert_Zum_Grid(alt) || Gehoert_Zum_Grid(neu))
        return;
    if (neu->window() != w.DBGrid_Filme->window())
        return; // a message box or a drop-down list: the grid is not left
    DBGrid_FilmeExit();
}

bool Eingabeseite::Gehoert_Zum_Grid(const QWidget* x) const
{
    return x == w.DBGrid_Filme || w.DBGrid_Filme->isAncestorOf(x);
}

void Eingabeseite::Fehler_Anzeigen(const QString& text, const QModelIndex& zelle, const QString& zellText)
{
    // Shown once the grid has finished with the cell: a message box opened in the
    // middle of writing a cell would take the focus from the cell's editor.
    if (m_offeneMeldung == text)
        return;
    m_offeneMeldung = text;
    m_abgelehnteZelle = zelle;
    m_abgelehnterText = zellText;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QString t = std::exchange(m_offeneMeldung, QString());
            if (t.isEmpty())
                return;
            m_ui.error(t);
            // The refused text comes back into its cell, to be corrected or undone
            // with Escape, unless the user has moved on meanwhile.
            const QPersistentModelIndex ziel = std::exchange(m_abgelehnteZelle, QPersistentModelIndex());
            QTableView* grid = w.DBGrid_Filme;
            if (!ziel.isValid() || ziel != grid->currentIndex() || !m_bearbeitbar ||
                m_delegate->offenerEditor())
                return;
            grid->edit(ziel);
            if (auto* combo = qobject_cast<QComboBox*>(m_delegate->offenerEditor()))
                combo->setEditText(m_abgelehnterText);
            else if (auto* line = qobject_cast<QLineEdit*>(m_delegate->offenerEditor()))
                line->setText(m_abgelehnterText);
        },
        Qt::QueuedConnection);
}

bool Eingabeseite::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &w && event->type() == QEvent::Close) {
        guarded(m_ui, [this] { DBGrid_FilmeExit(); });
        return false;
    }
    if (watched == w.Edit_Direkt && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const QChar c : text) {
            const bool steuerzeichen = c.unicode() < 0x20 || c.unicode() == 0x7f;
            if (!steuerzeichen && !Edit_DirektKeyPress(c))
                return true; // dropped
        }
        return false;
    }
    if (watched == w.DBGrid_Filme && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        bool verbraucht = false;
        guarded(m_ui, [&] { verbraucht = Grid_Taste(ke->key(), ke->text(), ke->modifiers()); });
        return verbraucht;
    }
    if (watched == w.DBGrid_Filme->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        guarded(m_ui, [this] { DBGrid_FilmeDblClick(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorbel
