#include "verleihseite.h"

#include "meldungsformular.h"

#include <QFontMetrics>
#include <QPushButton>
#include <algorithm>
#include <store/collection.h>
#include <store/datasetmodel.h>
#include <store/dates.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/radiogroup.h>
#include <utility>

namespace quorbel {

using namespace design;

namespace {
// Width of a grid column that has no width of its own.
constexpr int kStandardBreite = 64;
} // namespace

Verleihseite::Verleihseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                           std::function<int()> warnTage, QWidget* parent)
    : QWidget(parent)
{
    QWidget* page = this;
    named(page, QStringLiteral("Tab_Verleihmanager"), QStringLiteral("Verleihmanager"));

    DBGrid_Verliehen =
        grid(ui, page, QStringLiteral("DBGrid_Verliehen"), QStringLiteral("Verliehene Kassetten"),
             QStringLiteral("Übersicht über alle verliehene Kassetten"), QRect(8, 8, 521, 340), true);
    RadioGroup_Sortieren2 =
        new RadioGroup(QStringLiteral("RadioGroup_Sortieren2"), QStringLiteral("Sortieren nach..."),
                       {QStringLiteral("... &Kassette"), QStringLiteral("... &Datum"),
                        QStringLiteral("... &Ausleihende Person")},
                       1, page);
    RadioGroup_Sortieren2->setToolTip(
        QStringLiteral("Sortiert alle verliehenen Kassetten nach bestimmten Kriterium"));
    RadioGroup_Sortieren2->setGeometry(8, 356, 250, 104);
    RadioGroup_Sortieren2->setItemIndex(0);
    BitBtn_Zurueckbekommen =
        button(page, QStringLiteral("BitBtn_Zurueckbekommen"), QStringLiteral("&Zurückbekommen"),
               QStringLiteral("Löscht den markierten Film aus der Verleihübersicht und gibt ihn wieder frei"),
               QRect(330, 430, 199, 30));
    BitBtn_Zurueckbekommen->setEnabled(false);

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    // 73 pixels were meant for a two-digit year; the date keeps its four digits, so the
    // column widens to the date in the grid's font and the borrower's column gives way.
    const int datumBreite = std::max(
        73, QFontMetrics(DBGrid_Verliehen->font()).horizontalAdvance(store::formatDate(QDate(2000, 12, 28))) +
                12);
    DataSource_Ausgeliehen = new store::DatasetModel(
        &sammlung.verliehen(),
        {Column{QStringLiteral("Kassette"), QString(), centre, kStandardBreite, true},
         Column{QStringLiteral("Datum"), QString(), centre, datumBreite, true},
         Column{QStringLiteral("An"), QString(), Qt::AlignLeft, 245 - (datumBreite - 73), true}},
        this);
    DBGrid_Verliehen->bind(DataSource_Ausgeliehen);

    Meldungsformular = new TMeldungsformular(this, &clock);
    m_erinnerung = std::make_unique<Meldungsfenster>(*Meldungsformular, ui);
    m_regeln = std::make_unique<Verleihregeln>(sammlung.kassetten(), sammlung.filme(), sammlung.verliehen(),
                                               ui, clock, std::move(warnTage), *m_erinnerung);
    m_regeln->Verleihmanager_Zeigen = [this] { emit verleihmanagerZeigen(); };

    connectGuarded(RadioGroup_Sortieren2, &RadioGroup::clicked, this, ui,
                   [this](int item) { RadioGroup_Sortieren2Click(item); });
    connectGuarded(BitBtn_Zurueckbekommen, &QPushButton::clicked, this, ui,
                   [this](bool) { BitBtn_ZurueckbekommenClick(); });
    DBGrid_Verliehen->doubleClickAction = [this] { DBGrid_VerliehenDblClick(); };
}

Verleihseite::~Verleihseite() = default;

void Verleihseite::Nach_Oeffnen()
{
    BitBtn_Zurueckbekommen->setEnabled(m_regeln->Knoepfe().zurueckbekommen);
}

void Verleihseite::Pruefe_Verliehene_Kassetten()
{
    m_regeln->Pruefe_Verliehene_Kassetten();
}

bool Verleihseite::pruefungLaeuft() const
{
    return m_regeln->pruefungLaeuft();
}

void Verleihseite::Knoepfe_Setzen(const Verleihknoepfe& knoepfe)
{
    BitBtn_Zurueckbekommen->setEnabled(knoepfe.zurueckbekommen);
    emit verleihenMoeglich(knoepfe.verleihen);
}

void Verleihseite::Mit_Knoepfen(const std::function<Verleihknoepfe()>& aktion)
{
    try {
        Knoepfe_Setzen(aktion());
    } catch (...) {
        // The buttons show the datasets as the failure left them.
        Knoepfe_Setzen(m_regeln->Knoepfe());
        throw;
    }
}

void Verleihseite::aktuelleKassetteVerleihen()
{
    Mit_Knoepfen([this] { return m_regeln->BitBtn_VerleihenClick(); });
}

void Verleihseite::RadioGroup_Sortieren2Click(int item)
{
    m_regeln->RadioGroup_Sortieren2Click(item);
}

void Verleihseite::DBGrid_VerliehenDblClick()
{
    if (m_regeln->DBGrid_VerliehenDblClick())
        emit kassetteZeigen();
}

void Verleihseite::BitBtn_ZurueckbekommenClick()
{
    Mit_Knoepfen([this] { return m_regeln->BitBtn_ZurueckbekommenClick(); });
}

} // namespace quorbel
