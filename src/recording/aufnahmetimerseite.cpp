#include "aufnahmetimerseite.h"

#include "aufnahmetimerformular.h"

#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QPushButton>
#include <store/collection.h>
#include <store/datasetmodel.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>

namespace quorbel {

using namespace design;

namespace {
// Width of a grid column that has no width of its own.
constexpr int kStandardBreite = 64;
} // namespace

Aufnahmetimerseite::Aufnahmetimerseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                                       QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung)
{
    QWidget* page = this;
    named(page, QStringLiteral("Tab_Aufnahmetimer"), QStringLiteral("Aufnahmetimer"));

    DBGrid_ATimer = grid(ui, page, QStringLiteral("DBGrid_ATimer"), QStringLiteral("Ausstehende Aufnahmen"),
                         QStringLiteral("Übersicht über ausstehende Aufnahmen"), QRect(8, 8, 521, 260), true);
    BitBtn_NeuerFilm =
        button(page, QStringLiteral("BitBtn_NeuerFilm"), QStringLiteral("&Neuen Film eingeben"),
               QStringLiteral("Fügt neuen Film in die Tabelle ein"), QRect(8, 278, 200, 30));
    BitBtn_Aufgenommen =
        button(page, QStringLiteral("BitBtn_Aufgenommen"), QStringLiteral("Film &aufgenommen"),
               QStringLiteral("Löscht Film aus der Liste"), QRect(8, 314, 200, 30));
    // The window's default button: Enter on the page presses it.
    BitBtn_Aufgenommen->setDefault(true);
    BitBtn_FreienPlatzSuchen =
        button(page, QStringLiteral("BitBtn_FreienPlatzSuchen"), QStringLiteral("Freien Platz &suchen"),
               QStringLiteral("Sucht freien Platz in der Datenbank"), QRect(222, 278, 307, 30));
    ListBox_FreieKassetten = named(new QListWidget(page), QStringLiteral("ListBox_FreieKassetten"),
                                   QStringLiteral("Kassetten mit freiem Platz"));
    ListBox_FreieKassetten->setGeometry(222, 314, 307, 158);

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DataSource_Aufnahmetimer = new store::DatasetModel(
        &sammlung.aufnahmetimer(),
        {Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 161, true},
         Column{QStringLiteral("Programm"), QString(), centre, 70, true},
         Column{QStringLiteral("Datum"), QString(), centre, kStandardBreite, true},
         Column{QStringLiteral("Beginn"), QString(), centre, 63, true},
         Column{QStringLiteral("Ende"), QString(), centre, 61, true},
         Column{QStringLiteral("Laenge"), QStringLiteral("Laenge (Min.)"), centre, 72, true}},
        this);
    DBGrid_ATimer->bind(DataSource_Aufnahmetimer);

    Form_Aufnahmetimer = new TForm_Aufnahmetimer(ui, clock, this);
}

void Aufnahmetimerseite::Nach_Oeffnen()
{
    BitBtn_Aufgenommen->setEnabled(m_sammlung.aufnahmetimer().recordCount() > 0);
}

void Aufnahmetimerseite::Pruefe_Aufnahmen() {}

void Aufnahmetimerseite::setHeute(const QDate& heute)
{
    Form_Aufnahmetimer->DateTimePicker->setDate(heute);
}

void Aufnahmetimerseite::setSender(const QStringList& sender)
{
    Form_Aufnahmetimer->ComboBox_Programme->clear();
    Form_Aufnahmetimer->ComboBox_Programme->addItems(sender);
}

void Aufnahmetimerseite::setFreienPlatzSuchenMoeglich(bool moeglich)
{
    BitBtn_FreienPlatzSuchen->setEnabled(moeglich);
}

} // namespace quorbel
