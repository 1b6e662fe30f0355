#include "uebersichtseite.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <store/dates.h>
#include <ui/busycursor.h>
#include <ui/clock.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/radiogroup.h>

namespace quorbel {

using namespace design;

Uebersichtseite::Uebersichtseite(store::Collection& sammlung, Interaction& ui, const Clock& clock,
                                 QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung), m_ui(ui), m_zustand(sammlung.filmuebersicht(), clock.today())
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
    // The short date format, with a four-digit year as the filter reads it back.
    DateTimePicker_Filter->setDisplayFormat(store::shortDateFormat());
    DateTimePicker_Filter->setGeometry(142, 44, 100, 24);
    DateTimePicker_Filter->setVisible(false);
    DateTimePicker_Filter->setDate(m_zustand.filterDatum());

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

    Handler_Verbinden();
}

void Uebersichtseite::Handler_Verbinden()
{
    connectGuarded(RadioGroup_Sortieren, &RadioGroup::clicked, this, m_ui,
                   [this](int) { RadioGroup_SortierenClick(); });
    connectGuarded(Edit_Suchen, &QLineEdit::textChanged, this, m_ui,
                   [this](const QString& text) { Edit_SuchenChange(text); });
    // On the change of state, however it came (a screen reader's toggle sends no click).
    connectGuarded(RadioButton_AlleFilme, &QRadioButton::toggled, this, m_ui, [this](bool an) {
        if (an)
            RadioButton_AlleFilmeClick();
    });
    connectGuarded(RadioButton_NeueFilme, &QRadioButton::toggled, this, m_ui, [this](bool an) {
        if (an)
            RadioButton_NeueFilmeClick();
    });
    connectGuarded(DateTimePicker_Filter, &QDateEdit::dateChanged, this, m_ui,
                   [this](const QDate&) { DateTimePicker_FilterChange(); });
    connect(BitBtn_Drucken, &QPushButton::clicked, this, &Uebersichtseite::druckenAngefordert);
    // Enter on a row does what a double click does.
    DBGrid_Filmuebersicht->doubleClickAction = [this] { DBGrid_FilmuebersichtDblClick(); };
    DBGrid_Filmuebersicht->enterAction = [this] { DBGrid_FilmuebersichtDblClick(); };
}

void Uebersichtseite::Druckknopf_Setzen()
{
    BitBtn_Drucken->setEnabled(m_zustand.filmeGelistet() > 0);
}

void Uebersichtseite::Film_Sichtbar()
{
    const int row = m_zustand.datenmenge().currentRow();
    if (row >= 0)
        DBGrid_Filmuebersicht->scrollTo(DataSource_Filmuebersicht->index(row, 0));
}

std::optional<QDate> Uebersichtseite::Filterdatum() const
{
    if (!DateTimePicker_Filter->isVisibleTo(this))
        return std::nullopt;
    return DateTimePicker_Filter->date();
}

void Uebersichtseite::Seite_Gezeigt()
{
    if (!m_zustand.datenmenge().isActive()) {
        BitBtn_Drucken->setEnabled(false);
        return;
    }
    {
        const BusyCursor busy;
        m_zustand.neuEinlesen();
    }
    Druckknopf_Setzen();
    Film_Sichtbar();
}

void Uebersichtseite::Nach_Oeffnen()
{
    Druckknopf_Setzen();
}

void Uebersichtseite::RadioGroup_SortierenClick()
{
    const BusyCursor busy;
    m_zustand.sortieren(RadioGroup_Sortieren->itemIndex());
    Film_Sichtbar();
}

void Uebersichtseite::Edit_SuchenChange(const QString& text)
{
    {
        const BusyCursor busy;
        m_zustand.suchen(text);
    }
    // The sort choice shows the title order now in force; choosing it by program
    // sets nothing again and leaves the found film current.
    RadioGroup_Sortieren->setItemIndex(Uebersichtzustand::NachFilmname);
    Film_Sichtbar();
}

void Uebersichtseite::RadioButton_NeueFilmeClick()
{
    {
        const BusyCursor busy;
        m_zustand.neueFilmeSeit(DateTimePicker_Filter->date());
    }
    DateTimePicker_Filter->setVisible(true);
    Druckknopf_Setzen();
    Film_Sichtbar();
}

void Uebersichtseite::DateTimePicker_FilterChange()
{
    // The picker is shown only while new films are listed.
    if (!m_zustand.nurNeueFilme())
        return;
    {
        const BusyCursor busy;
        m_zustand.neueFilmeSeit(DateTimePicker_Filter->date());
    }
    Druckknopf_Setzen();
    Film_Sichtbar();
}

void Uebersichtseite::RadioButton_AlleFilmeClick()
{
    {
        const BusyCursor busy;
        m_zustand.alleFilme();
    }
    DateTimePicker_Filter->setVisible(false);
    Druckknopf_Setzen();
    Film_Sichtbar();
}

void Uebersichtseite::DBGrid_FilmuebersichtDblClick()
{
    store::Dataset& filme = m_zustand.datenmenge();
    if (!filme.isActive() || filme.isEmpty() || filme.currentRow() < 0)
        return;
    emit kassetteZeigen(filme.asInteger(QStringLiteral("Zu_Kassette")));
}

} // namespace quorbel
