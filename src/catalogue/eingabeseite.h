#pragma once

// The input page: moving between cassettes and adding them, the film grid with the
// rules around every film change (new rows, storing, deleting, the recount of a
// cassette's used and free minutes), the play-length change and the film details.
// The main window owns the controls, datasets, the film grid's model and the dialogs;
// this class holds the page's handlers and makes the film grid an editable table.

#include <QChar>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>

class QStyledItemDelegate;
class QWidget;

namespace store {
class Dataset;
class DatasetModel;
} // namespace store

namespace quorbel {

class Clock;
class Interaction;
class THauptformular;
class FilmgridDelegate;

class Eingabeseite : public QObject
{
    Q_OBJECT
public:
    Eingabeseite(THauptformular& fenster, Interaction& ui, const Clock& clock);
    ~Eingabeseite() override;

    // --- Cassettes ----------------------------------------------------------------------
    void Refresh_Navigator();
    void BitBtn_ErsteClick();
    void BitBtn_LetzteClick();
    void BitBtn_VorherigeClick();
    void BitBtn_NaechsteClick();
    // True when the typed character may go into the field.
    bool Edit_DirektKeyPress(QChar key);
    void Edit_DirektChange(const QString& text);
    void BitBtn_NeueKassetteClick();
    void BitBtn_SpielzeitAendernClick();

    // --- Films ----------------------------------------------------------------------------
    void Berechne_Filmlaengen();
    void Table_FilmeBeforeInsert(store::Dataset& filme);
    void Table_FilmeAfterInsert(store::Dataset& filme);
    void Table_FilmeBeforePost(store::Dataset& filme);
    void Table_FilmeAfterPost(store::Dataset& filme);
    void Table_FilmeAfterDelete(store::Dataset& filme);
    void DBGrid_FilmeKeyPress(QChar key);
    void DBGrid_FilmeExit();
    void BitBtn_FilmloeschenClick();
    void DBGrid_FilmeDblClick();

    // --- For the window and the tests -------------------------------------------------------
    store::DatasetModel* filmModell() const { return m_modell; }
    // The film grid may be edited (a collection with at least one cassette is open).
    bool filmgridBearbeitbar() const { return m_bearbeitbar; }
    // Writes the cell being edited in the film grid into its field (what the grid does
    // before the film dataset stores or moves); false when the field refused the text.
    bool Zelle_Uebernehmen();

    // The film grid's current cell is the last cell of its last row.
    bool Letzte_Zelle() const;
    // Grid key handling, called by the grid's delegate for keys typed into a cell.
    bool Zelleneditor_Taste(QWidget* editor, int key, bool zelleGeaendert);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Filmgrid_Einrichten();
    void Handler_Verbinden();
    void Grid_Folgt_Datenmenge();
    void Datenmenge_Folgt_Grid(int zeile);
    bool Grid_Taste(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    void Neue_Filmzeile(bool amEnde);
    void Fokus_Gewechselt(QWidget* alt, QWidget* neu);
    void Fehler_Anzeigen(const QString& text, const QModelIndex& zelle, const QString& zellText);
    bool Gehoert_Zum_Grid(const QWidget* w) const;
    int Filmsumme();
    void Filmknoepfe_Setzen();

    THauptformular& w;
    Interaction& m_ui;
    const Clock& m_clock;
    store::Dataset& m_kassetten;
    store::Dataset& m_filme;
    QPointer<store::Dataset> m_filmeWache;
    store::DatasetModel* m_modell = nullptr;
    FilmgridDelegate* m_delegate = nullptr;

    bool m_vorherigerTitel = true; // previous-title flag, set before every new film row
    bool m_korrektur = false;      // the film-fits correction is storing its film
    bool m_bearbeitbar = true;
    bool m_gleichlauf = false;     // the grid is being put onto the dataset's row
    int m_umbau = 0;               // the grid's rows are being inserted, removed or reset
    bool m_zelleAbgelehnt = false; // the last cell written was refused
    int m_spalte = 0;              // the grid's current column, kept across resets
    QString m_offeneMeldung;       // an engine message waiting to be shown
    QPersistentModelIndex m_abgelehnteZelle;
    QString m_abgelehnterText;
};

} // namespace quorbel
