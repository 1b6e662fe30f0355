#include "aufnahmetimerseite.h"

#include "aufnahmeregeln.h"
#include "aufnahmetimerformular.h"
#include "freierplatz.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <store/dates.h>
#include <ui/clock.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/guard.h>

namespace quorbel {

using namespace design;

namespace {
// Room left and right of a cell's text.
constexpr int kRand = 12;

// The planner's rows, with the times of day as hours and minutes: on the screen and
// for screen readers alike (those read the model's text, not what a delegate paints).
class Aufnahmetimermodell final : public store::DatasetModel
{
public:
    using store::DatasetModel::DatasetModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if ((role == Qt::DisplayRole || role == Qt::AccessibleTextRole) && index.isValid() &&
            index.column() < columns().size()) {
            const QString& feld = columns().at(index.column()).field;
            if (feld == QLatin1String("Beginn") || feld == QLatin1String("Ende")) {
                const QVariant wert = dataset() ? dataset()->valueAt(index.row(), feld) : QVariant();
                return wert.typeId() == QMetaType::QTime ? wert.toTime().toString(QStringLiteral("HH:mm"))
                                                         : store::DatasetModel::data(index, Qt::DisplayRole);
            }
        }
        return store::DatasetModel::data(index, role);
    }
};

} // namespace

Aufnahmetimerseite::Aufnahmetimerseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                                       QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung), m_ui(ui), m_clock(clock)
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

    // A compact font, as on the page tabs, so that the six columns fit side by side;
    // the date (with its four-digit year) and the length's title always fit.
    QFont kompakt = DBGrid_ATimer->font();
    kompakt.setPointSizeF(kompakt.pointSizeF() > 0 ? kompakt.pointSizeF() * 0.9 : 8.0);
    DBGrid_ATimer->setFont(kompakt);
    DBGrid_ATimer->horizontalHeader()->setFont(kompakt);
    const int datumBreite =
        std::max(72, QFontMetrics(kompakt).horizontalAdvance(store::formatDate(QDate(2000, 12, 28))) + kRand);
    const int laengeBreite =
        std::max(72, QFontMetrics(kompakt).horizontalAdvance(QStringLiteral("Laenge (Min.)")) + 2 * kRand);
    // What the title column gives up when the others need more room than the grid has.
    const int platz =
        DBGrid_ATimer->width() - DBGrid_ATimer->verticalHeader()->width() - 2 * DBGrid_ATimer->frameWidth();
    const int filmnameBreite = std::min(161, platz - (70 + datumBreite + 63 + 61 + laengeBreite));

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DataSource_Aufnahmetimer = new Aufnahmetimermodell(
        &sammlung.aufnahmetimer(),
        {Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, filmnameBreite, true},
         Column{QStringLiteral("Programm"), QString(), centre, 70, true},
         Column{QStringLiteral("Datum"), QString(), centre, datumBreite, true},
         Column{QStringLiteral("Beginn"), QString(), centre, 63, true},
         Column{QStringLiteral("Ende"), QString(), centre, 61, true},
         Column{QStringLiteral("Laenge"), QStringLiteral("Laenge (Min.)"), centre, laengeBreite, true}},
        this);
    DBGrid_ATimer->bind(DataSource_Aufnahmetimer);

    Form_Aufnahmetimer = new TForm_Aufnahmetimer(ui, clock, this);

    BitBtn_Aufgenommen->setEnabled(false);
    BitBtn_FreienPlatzSuchen->setEnabled(false);
    connectGuarded(BitBtn_NeuerFilm, &QPushButton::clicked, this, ui,
                   [this](bool) { BitBtn_NeuerFilmClick(); });
    connectGuarded(BitBtn_Aufgenommen, &QPushButton::clicked, this, ui,
                   [this](bool) { BitBtn_AufgenommenClick(); });
    connectGuarded(BitBtn_FreienPlatzSuchen, &QPushButton::clicked, this, ui,
                   [this](bool) { BitBtn_FreienPlatzSuchenClick(); });
    for (const int taste : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(QKeySequence(taste), this);
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connectGuarded(enter, &QShortcut::activated, this, ui, [this] { Eingabetaste(); });
    }
}

Aufnahmetimerseite::~Aufnahmetimerseite() = default;

void Aufnahmetimerseite::setEinstellungen(const settings::Einstellungen& einstellungen)
{
    m_regeln = std::make_unique<Aufnahmeregeln>(m_sammlung.aufnahmetimer(), m_ui, m_clock, einstellungen);
    m_regeln->zeigeSeite = [this] { emit zeigeMich(); };
    m_regeln->setzeAufgenommen = [this](bool an) { BitBtn_Aufgenommen->setEnabled(an); };
    m_freierPlatz = std::make_unique<FreierPlatz>(m_sammlung.kassetten(), m_sammlung.filme(),
                                                  m_sammlung.aufnahmetimer(), m_ui, einstellungen);
    m_freierPlatz->zeigeErgebnis = [this](const QStringList& zeilen) {
        ListBox_FreieKassetten->clear();
        ListBox_FreieKassetten->addItems(zeilen);
    };
}

void Aufnahmetimerseite::Nach_Oeffnen()
{
    BitBtn_Aufgenommen->setEnabled(m_sammlung.aufnahmetimer().isActive() &&
                                   m_sammlung.aufnahmetimer().recordCount() > 0);
}

void Aufnahmetimerseite::Pruefe_Aufnahmen()
{
    if (m_regeln)
        m_regeln->Pruefe_Aufnahmen();
}

void Aufnahmetimerseite::BitBtn_NeuerFilmClick()
{
    if (m_regeln)
        m_regeln->BitBtn_NeuerFilmClick(*Form_Aufnahmetimer);
}

void Aufnahmetimerseite::BitBtn_AufgenommenClick()
{
    if (m_regeln)
        m_regeln->BitBtn_AufgenommenClick();
}

void Aufnahmetimerseite::BitBtn_FreienPlatzSuchenClick()
{
    if (!m_freierPlatz)
        return;
    // The result list is filled through zeigeErgebnis, before the search's messages.
    m_freierPlatz->BitBtn_FreienPlatzSuchenClick();
}

void Aufnahmetimerseite::Eingabetaste()
{
    auto* knopf = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (knopf && knopf != BitBtn_Aufgenommen && isAncestorOf(knopf)) {
        if (knopf->isEnabled())
            knopf->click();
        return;
    }
    if (BitBtn_Aufgenommen->isEnabled() && BitBtn_Aufgenommen->isVisible())
        BitBtn_Aufgenommen->click();
}

void Aufnahmetimerseite::setHeute(const QDate& heute)
{
    Form_Aufnahmetimer->DateTimePicker->setDate(heute);
}

void Aufnahmetimerseite::setSender(const QStringList& sender)
{
    Form_Aufnahmetimer->setProgramme(sender);
}

void Aufnahmetimerseite::setFreienPlatzSuchenMoeglich(bool moeglich)
{
    BitBtn_FreienPlatzSuchen->setEnabled(moeglich);
}

} // namespace quorbel
