#include "aufnahmetimerformular.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorbel {

QStringList TForm_Aufnahmetimer::eingebauteProgramme()
{
    return {QStringLiteral("3 SAT"),
            QStringLiteral("ARD"),
            QStringLiteral("ARTE"),
            QStringLiteral("B 1"),
            QStringLiteral("BAYERN 3"),
            QStringLiteral("DSF"),
            QStringLiteral("EUROSPORT"),
            QStringLiteral("HESSEN 3"),
            QStringLiteral("KABEL 1"),
            QStringLiteral("KINDERKANAL"),
            QStringLiteral("MDR"),
            QStringLiteral("MTV"),
            QStringLiteral("NACHRICHTENSENDER"),
            QStringLiteral("NBC"),
            QStringLiteral("NICKELODEON"),
            QStringLiteral("NIEDERLANDE"),
            QStringLiteral("NORD 3"),
            QStringLiteral("ORB"),
            QStringLiteral("ORF 1"),
            QStringLiteral("ORF 2"),
            QStringLiteral("PREMIERE"),
            QStringLiteral("PRO 7"),
            QStringLiteral("RTL"),
            QStringLiteral("RTL 2"),
            QStringLiteral("SAT 1"),
            QStringLiteral("SF DRS"),
            QStringLiteral("SÜDWEST 3"),
            QStringLiteral("SUPER RTL"),
            QStringLiteral("TM 3"),
            QStringLiteral("TNT"),
            QStringLiteral("VIVA"),
            QStringLiteral("VIVA 2"),
            QStringLiteral("VOX"),
            QStringLiteral("WDR"),
            QStringLiteral("ZDF")};
}

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

TForm_Aufnahmetimer::TForm_Aufnahmetimer(QWidget* parent) : QDialog(parent)
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
    ComboBox_Programme->addItems(eingebauteProgramme());
    ComboBox_Programme->setCurrentIndex(-1);

    DateTimePicker = new QDateEdit(this);
    DateTimePicker->setObjectName(QStringLiteral("DateTimePicker"));
    DateTimePicker->setCalendarPopup(true);

    MaskEdit_Beginn = timeEdit(QStringLiteral("MaskEdit_Beginn"), this);
    MaskEdit_Ende = timeEdit(QStringLiteral("MaskEdit_Ende"), this);

    BitBtn_Uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    BitBtn_Uebernehmen->setObjectName(QStringLiteral("BitBtn_Uebernehmen"));
    BitBtn_Uebernehmen->setAccessibleName(QStringLiteral("Übernehmen"));
    BitBtn_Uebernehmen->setDefault(true);
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

} // namespace quorbel
