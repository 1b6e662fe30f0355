#pragma once

// The film list printout: the overview's films as a banded list with a title, the
// date of the printout, column headers on every page and a closing count.

#include "reportlayout.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

namespace settings {
struct Einstellungen;
}
namespace store {
class Dataset;
}
class QWidget;

namespace quorbel {
class Interaction;
}

namespace quorbel::druck {

// The settings the film list prints with.
struct FilmlisteEinstellungen
{
    QString Titel = QStringLiteral("Videoliste");
    QString Titel_Font = QStringLiteral("Times New Roman");
    QString Spaltenueberschriften_Font = QStringLiteral("Arial");
    QString Listenelemente_Font = QStringLiteral("Arial");
    bool Nummer_Drucken = true;
    bool Kassette_Fett_Drucken = true;
    bool Anzahl_Der_Filme_Drucken = true;

    static FilmlisteEinstellungen aus(const settings::Einstellungen& e);
};

// What one printout depends on besides the settings.
struct FilmlisteLauf
{
    QDate heute;
    // The overview's filter date while its date picker is shown, else nothing.
    std::optional<QDate> neuSeit;
    // The overview's index field names ("Zu_Kassette", "Filmname", ...).
    QString sortierung;
};

// The rows of a dataset in its current order and filter, read without moving its
// current row, so a grid bound to it does not follow the printout.
class DatasetRows final : public report::RowSource
{
public:
    explicit DatasetRows(const store::Dataset& ds) : m_ds(ds) {}
    int anzahl() const override;
    QString wert(int zeile, const QString& feld) const override;

private:
    const store::Dataset& m_ds;
};

// The bands of QR_Filmliste, filled for one printout.
struct FilmlisteBaender
{
    report::Band titel, kopf, detail, summe;
};
FilmlisteBaender filmlisteBaender(const FilmlisteEinstellungen& e, const FilmlisteLauf& lauf,
                                  int anzahlFilme);

// The whole report over `zeilen`, which must outlive it.
std::unique_ptr<report::BandedReport> filmliste(const FilmlisteEinstellungen& e, const FilmlisteLauf& lauf,
                                                const report::RowSource& zeilen);

// The work of the film list button: the overview's films, in its order and filter,
// shown in the preview until it is closed. `neuSeit` is the filter date while the
// overview's date picker is shown.
void filmlisteZeigen(Interaction& ui, const settings::Einstellungen& e, const store::Dataset& uebersicht,
                     const QDate& heute, std::optional<QDate> neuSeit, QWidget* parent = nullptr);

} // namespace quorbel::druck
