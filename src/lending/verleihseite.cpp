#include "verleihseite.h"

#include "meldungsformular.h"

#include <QPushButton>
#include <store/collection.h>
#include <store/datasetmodel.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/radiogroup.h>

namespace quorbel {

using namespace design;

namespace {
// Width of a grid column that has no width of its own.
constexpr int kStandardBreite = 64;
} // namespace

Verleihseite::Verleihseite(store::Collection& sammlung, Interaction& ui, QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung)
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

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DataSource_Ausgeliehen =
        new store::DatasetModel(&sammlung.verliehen(),
                                {Column{QStringLiteral("Kassette"), QString(), centre, kStandardBreite, true},
                                 Column{QStringLiteral("Datum"), QString(), centre, 73, true},
                                 Column{QStringLiteral("An"), QString(), Qt::AlignLeft, 245, true}},
                                this);
    DBGrid_Verliehen->bind(DataSource_Ausgeliehen);

    Meldungsformular = new TMeldungsformular(this);
}

void Verleihseite::Nach_Oeffnen()
{
    BitBtn_Zurueckbekommen->setEnabled(m_sammlung.verliehen().recordCount() > 0);
}

void Verleihseite::Pruefe_Verliehene_Kassetten() {}

} // namespace quorbel
