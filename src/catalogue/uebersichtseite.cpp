#include "uebersichtseite.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <printing/druckenformular.h>
#include <store/collection.h>
#include <store/datasetmodel.h>
#include <ui/clock.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/radiogroup.h>

namespace quorbel {

using namespace design;

Uebersichtseite::Uebersichtseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                                 QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung)
{
    QWidget* page = this;
    named(page, QStringLiteral("Tab_Uebersicht"), QStringLiteral("Filmübersicht"));

    DBGrid_Filmuebersicht =
        grid(ui, page, QStringLiteral("DBGrid_Filmuebersicht"), QStringLiteral("Filmübersicht"),
             QStringLiteral("Übersicht über alle Filme"), QRect(8, 8, 521, 300), true);

    GroupBox_Suchen =
        group(page, QStringLiteral("GroupBox_Suchen"), QStringLiteral("S&uche nach Filmname"),
              QRect(8, 316, 252, 52), QStringLiteral("Sucht bestimmten Film nach seinem Namen"));
    Edit_Suchen = editIn(GroupBox_Suchen, QStringLiteral("Edit_Suchen"),
                         QStringLiteral("Sucht bestimmten Film nach seinem Namen"));

    RadioGroup_Sortieren =
        new RadioGroup(QStringLiteral("RadioGroup_Sortieren"), QStringLiteral("Sortieren nach..."),
                       {QStringLiteral("...&Kassette"), QStringLiteral("...Film&name"),
                        QStringLiteral("...Film&länge"), QStringLiteral("...&Genre")},
                       2, page);
    RadioGroup_Sortieren->setToolTip(QStringLiteral("Sortiert die Filmübersicht nach bestimmten Kriterien"));
    RadioGroup_Sortieren->setGeometry(270, 316, 259, 72);
    RadioGroup_Sortieren->setItemIndex(0);

    GroupBox1 = group(page, QStringLiteral("GroupBox1"), QStringLiteral("Anzeigen"), QRect(8, 376, 252, 96));
    RadioButton_AlleFilme = named(new QRadioButton(QStringLiteral("Alle Filme"), GroupBox1),
                                  QStringLiteral("RadioButton_AlleFilme"), QStringLiteral("Alle Filme"));
    RadioButton_AlleFilme->setGeometry(12, 22, 200, 20);
    RadioButton_AlleFilme->setChecked(true);
    RadioButton_NeueFilme = named(new QRadioButton(QStringLiteral("Neue Filme seit"), GroupBox1),
                                  QStringLiteral("RadioButton_NeueFilme"), QStringLiteral("Neue Filme seit"));
    RadioButton_NeueFilme->setGeometry(12, 46, 130, 20);
    DateTimePicker_Filter = named(new QDateEdit(GroupBox1), QStringLiteral("DateTimePicker_Filter"),
                                  QStringLiteral("Neue Filme seit Datum"));
    DateTimePicker_Filter->setCalendarPopup(true);
    DateTimePicker_Filter->setGeometry(142, 44, 100, 24);
    DateTimePicker_Filter->setVisible(false);
    DateTimePicker_Filter->setDate(clock.today().addDays(-14));

    BitBtn_Drucken =
        button(page, QStringLiteral("BitBtn_Drucken"), QStringLiteral("Filmliste aus&drucken"),
               QStringLiteral("Druckt die Filmübersicht - gleich sortiert - aus."), QRect(270, 440, 259, 30));
    BitBtn_Drucken->setEnabled(false);

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DataSource_Filmuebersicht = new store::DatasetModel(
        &sammlung.filmuebersicht(),
        {Column{QStringLiteral("Zu_Kassette"), QStringLiteral("Kassette"), centre, 55, true},
         Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 187, true},
         Column{QStringLiteral("Filmlaenge"), QString(), centre, 65, true},
         Column{QStringLiteral("Genre"), QString(), Qt::AlignLeft, 123, true}},
        this);
    DBGrid_Filmuebersicht->bind(DataSource_Filmuebersicht);

    Drucken_Formular = new TDrucken_Formular(this);

    connectGuarded(BitBtn_Drucken, &QPushButton::clicked, this, ui,
                   [this](bool) { emit druckenAngefordert(); });
}

std::optional<QDate> Uebersichtseite::Filterdatum() const
{
    if (!DateTimePicker_Filter->isVisibleTo(this))
        return std::nullopt;
    return DateTimePicker_Filter->date();
}

void Uebersichtseite::Seite_Gezeigt()
{
    store::Dataset& filme = m_sammlung.filmuebersicht();
    if (!filme.isActive())
        return;
    filme.refresh();
    BitBtn_Drucken->setEnabled(filme.recordCount() > 0);
}

} // namespace quorbel
