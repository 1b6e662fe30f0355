#pragma once

// The input page "&Eingabe": moving between cassettes and adding them, the film grid,
// the play-length change and the film details. The page owns its controls, the film
// grid's model and its three dialogs; the rules live in Eingaberegeln.

#include "eingaberegeln.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace store {
class Collection;
class Dataset;
class DatasetModel;
} // namespace store

namespace quorbel {

class Clock;
class DatasetGrid;
class Interaction;
class TFilminfoformular;
class THinzufuegenformular;
class TSpielzeit_Formular;

class Eingabeseite : public QWidget
{
    Q_OBJECT
public:
    Eingabeseite(store::Collection& sammlung, Interaction& ui, const Clock& clock, QWidget* parent = nullptr);
    ~Eingabeseite() override;

    // --- For the main window ----------------------------------------------------------------
    // Sets the buttons from the current cassette.
    void Refresh_Navigator();
    // After a collection was opened or created.
    void Nach_Oeffnen();
    // Makes the cassette with this number (or the next one after it) the current one,
    // as a jump from the overview does, and sets the buttons for it.
    void Kassette_Zeigen(int nummer);
    // The cassette's number, play length and free minutes as the dataset holds them.
    void Kassette_Anzeigen();
    // The vocabulary and settings that the page shows.
    void setGenres(const QStringList& genres);
    void setSpielzeiten(const QStringList& entries);
    void setKassettennummerSchrift(const QString& face);
    // After lending or taking back: whether the current cassette may be lent.
    void setVerleihenMoeglich(bool moeglich);

public slots:
    // Stores a film being typed, as when the grid is left (before the file menu or
    // closing take the collection away).
    void eingegebenenFilmSpeichern();

public:
    // --- Handlers ------------------------------------------------------------------------------
    void BitBtn_ErsteClick();
    void BitBtn_LetzteClick();
    void BitBtn_VorherigeClick();
    void BitBtn_NaechsteClick();
    void Edit_DirektChange(const QString& text);
    void BitBtn_NeueKassetteClick();
    void BitBtn_SpielzeitAendernClick();
    void DBGrid_FilmeKeyPress(QChar key);
    void BitBtn_FilmloeschenClick();
    void DBGrid_FilmeDblClick();
    void BitBtn_VerleihenClick();
    // Stores a film being typed and asks the window for the label.
    void BitBtn_LabeldruckenClick();

    Eingaberegeln& regeln() { return m_regeln; }

signals:
    // The free-space search of the planner is possible (at least one cassette).
    void freienPlatzSuchenMoeglich(bool moeglich);
    // "&Verleihen" was clicked: the loan page lends the current cassette.
    void verleihenAngefordert();
    // "Etikett &drucken" was clicked: the window prints the current cassette's label.
    void etikettDruckenAngefordert();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Aufbauen();
    void Handler_Verbinden();
    void Filmknoepfe_Setzen(int filme);
    bool Zelle_Uebernehmen();

    store::Collection& m_sammlung;
    Interaction& m_ui;
    store::Dataset& m_kassetten;
    store::Dataset& m_filme;
    Eingaberegeln m_regeln;

    QFrame* Bevel_Kassettennummer;
    QLabel* Image_Hintergrund;
    QLabel* DBText_Kassette;
    QPushButton* BitBtn_NeueKassette;
    QToolButton* BitBtn_Erste;
    QToolButton* BitBtn_Vorherige;
    QToolButton* BitBtn_Naechste;
    QToolButton* BitBtn_Letzte;
    QGroupBox* GroupBox_Direkt;
    QLineEdit* Edit_Direkt;
    DatasetGrid* DBGrid_Filme;
    QPushButton* BitBtn_Filmloeschen;
    QFrame* Panel1;
    QLineEdit* DBEdit_SpielzeitInfo;
    QLineEdit* DBEdit_FreiInfo;
    QPushButton* BitBtn_SpielzeitAendern;
    QPushButton* BitBtn_Verleihen;
    QPushButton* BitBtn_Labeldrucken;
    QGroupBox* GroupBox_Nonvisible;

    store::DatasetModel* DataSource_Filme;
    THinzufuegenformular* Hinzufuegenformular;
    TSpielzeit_Formular* Spielzeit_Formular;
    TFilminfoformular* Filminfoformular;
};

} // namespace quorbel
