#include "aufnahmetimerformular.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <settings/vocabulary.h>
#include <store/dates.h>
#include <ui/clock.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {

QLabel* fieldLabel(const QString& text, QWidget* field, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

QLineEdit* timeEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // An optional and a required hour digit, ":", two minute digits; blanks show as "_".
    edit->setInputMask(QStringLiteral("09:99;_"));
    edit->setMaxLength(5);
    edit->setFixedWidth(60);
    return edit;
}

} // namespace

TForm_Aufnahmetimer::TForm_Aufnahmetimer(Interaction& ui, const Clock& clock, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_clock(clock)
{
    setObjectName(QStringLiteral("Form_Aufnahmetimer"));
    setWindowTitle(QStringLiteral("Film aufnehmen"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(320, 302);

    Edit_Filmname = new QLineEdit(this);
    Edit_Filmname->setObjectName(QStringLiteral("Edit_Filmname"));
    Edit_Filmname->setMaxLength(50);

    ComboBox_Programme = new QComboBox(this);
    ComboBox_Programme->setObjectName(QStringLiteral("ComboBox_Programme"));
    ComboBox_Programme->setEditable(true);
    ComboBox_Programme->setInsertPolicy(QComboBox::NoInsert);
    // The design-time stations; the station list of the settings replaces them.
    ComboBox_Programme->addItems(settings::vocabulary::builtInStations());
    ComboBox_Programme->setCurrentIndex(-1);

    DateTimePicker = new QDateEdit(this);
    DateTimePicker->setObjectName(QStringLiteral("DateTimePicker"));
    DateTimePicker->setCalendarPopup(true);
    // Always with the four-digit year.
    DateTimePicker->setDisplayFormat(store::shortDateFormat());
    DateTimePicker->setDate(m_clock.today());

    MaskEdit_Beginn = timeEdit(QStringLiteral("MaskEdit_Beginn"), this);
    MaskEdit_Ende = timeEdit(QStringLiteral("MaskEdit_Ende"), this);

    BitBtn_Uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    BitBtn_Uebernehmen->setObjectName(QStringLiteral("BitBtn_Uebernehmen"));
    BitBtn_Uebernehmen->setAccessibleName(QStringLiteral("Übernehmen"));
    BitBtn_Uebernehmen->setDefault(true);
    connect(BitBtn_Uebernehmen, &QPushButton::clicked, this, &TForm_Aufnahmetimer::BitBtn_UebernehmenClick);
    BitBtn_Abbruch = new QPushButton(QStringLiteral("Eingabe abbrechen"), this);
    BitBtn_Abbruch->setObjectName(QStringLiteral("BitBtn_Abbruch"));
    BitBtn_Abbruch->setAccessibleName(QStringLiteral("Eingabe abbrechen"));
    connect(BitBtn_Abbruch, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setVerticalSpacing(14);
    grid->addWidget(fieldLabel(QStringLiteral("Filmtitel"), Edit_Filmname, this), 0, 0);
    grid->addWidget(Edit_Filmname, 0, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("Programm"), ComboBox_Programme, this), 1, 0);
    grid->addWidget(ComboBox_Programme, 1, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("Datum"), DateTimePicker, this), 2, 0);
    grid->addWidget(DateTimePicker, 2, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("Beginn"), MaskEdit_Beginn, this), 3, 0);
    grid->addWidget(MaskEdit_Beginn, 3, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Ende"), MaskEdit_Ende, this), 3, 2, Qt::AlignRight);
    grid->addWidget(MaskEdit_Ende, 3, 3);
    grid->setRowStretch(4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn_Uebernehmen);
    buttons->addWidget(BitBtn_Abbruch);
    grid->addLayout(buttons, 5, 0, 1, 4);
}

void TForm_Aufnahmetimer::setProgramme(const QStringList& stations)
{
    const QString text = ComboBox_Programme->currentText();
    ComboBox_Programme->clear();
    ComboBox_Programme->addItems(stations);
    ComboBox_Programme->setCurrentIndex(-1);
    ComboBox_Programme->setEditText(text);
}

void TForm_Aufnahmetimer::Leeren(const QDate& heute)
{
    Edit_Filmname->clear();
    ComboBox_Programme->setCurrentIndex(-1);
    ComboBox_Programme->clearEditText();
    DateTimePicker->setDate(heute);
    MaskEdit_Beginn->clear();
    MaskEdit_Ende->clear();
}

std::optional<QTime> TForm_Aufnahmetimer::Zeit_Lesen(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString stunde = text.left(colon).trimmed();
    const QString minute = text.mid(colon + 1);
    const auto nurZiffern = [](const QString& s) {
        return std::all_of(s.begin(), s.end(),
                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if (stunde.isEmpty() || stunde.size() > 2 || minute.size() != 2 || !nurZiffern(stunde) ||
        !nurZiffern(minute))
        return std::nullopt;
    const int h = stunde.toInt();
    const int m = minute.toInt();
    if (h > 23 || m > 59)
        return std::nullopt;
    return QTime(h, m);
}

Aufnahme TForm_Aufnahmetimer::aufnahme() const
{
    return {Edit_Filmname->text(), ComboBox_Programme->currentText(), DateTimePicker->date(),
            Zeit_Lesen(MaskEdit_Beginn->text()).value_or(QTime()),
            Zeit_Lesen(MaskEdit_Ende->text()).value_or(QTime())};
}

void TForm_Aufnahmetimer::BitBtn_UebernehmenClick()
{
    const Aufnahme a = aufnahme();
    QString fehler;
    if (a.Filmname.isEmpty())
        fehler = QStringLiteral("Kein Filmtitel eingegeben !");
    else if (a.Programm.isEmpty())
        fehler = QStringLiteral("Kein Programm ausgewählt !");
    else if (!a.Beginn.isValid())
        fehler = QStringLiteral("Falsche Anfangszeit !");
    else if (!a.Ende.isValid())
        fehler = QStringLiteral("Falsche Endzeit !");
    else {
        const QDateTime jetzt = m_clock.now();
        if (a.Datum < jetzt.date() || (a.Datum == jetzt.date() && a.Beginn < jetzt.time()))
            fehler = QStringLiteral("Die Aufnahme muss in der Zukunft stattfinden !");
    }
    if (!fehler.isEmpty()) {
        m_ui.error(fehler);
        return;
    }
    accept();
}

} // namespace quorbel
