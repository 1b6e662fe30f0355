#include "meldungsformular.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace quorbel {

TMeldungsformular::TMeldungsformular(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Meldungsformular"));
    setWindowTitle(QStringLiteral("Zur Erinnerung"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(418, 244);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAccessibleName(QStringLiteral("Erinnerung"));
    Label3->setGeometry(12, 10, 394, 110);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 126, 402, 4);

    Label1 = new QLabel(QStringLiteral("In wieviel Tagen soll der Hinweis wieder angezeigt werden ?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 142, 330, 20);

    SpinEdit_Tage = new QSpinBox(this);
    SpinEdit_Tage->setObjectName(QStringLiteral("SpinEdit_Tage"));
    SpinEdit_Tage->setAccessibleName(Label1->text());
    SpinEdit_Tage->setRange(-99, 999); // three characters, no bounds of its own
    SpinEdit_Tage->setValue(0);
    SpinEdit_Tage->setGeometry(346, 140, 60, 24);
    Label1->setBuddy(SpinEdit_Tage);

    Label2 = new QLabel(QStringLiteral("Datum"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 174, 60, 20);

    Edit_Datum = new QLineEdit(this);
    Edit_Datum->setObjectName(QStringLiteral("Edit_Datum"));
    Edit_Datum->setAccessibleName(QStringLiteral("Datum"));
    Edit_Datum->setReadOnly(true);
    Edit_Datum->setEnabled(false);
    Edit_Datum->setFocusPolicy(Qt::NoFocus);
    Edit_Datum->setGeometry(80, 172, 100, 24);

    BitBtn_Uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    BitBtn_Uebernehmen->setObjectName(QStringLiteral("BitBtn_Uebernehmen"));
    BitBtn_Uebernehmen->setAccessibleName(QStringLiteral("Übernehmen"));
    BitBtn_Uebernehmen->setDefault(true);
    BitBtn_Uebernehmen->setGeometry(110, 208, 100, 28);
    connect(BitBtn_Uebernehmen, &QPushButton::clicked, this, &QDialog::accept);

    BitBtn_NichtMehr = new QPushButton(QStringLiteral("Nicht mehr anzeigen"), this);
    BitBtn_NichtMehr->setObjectName(QStringLiteral("BitBtn_NichtMehr"));
    BitBtn_NichtMehr->setAccessibleName(QStringLiteral("Nicht mehr anzeigen"));
    BitBtn_NichtMehr->setGeometry(220, 208, 140, 28);
    connect(BitBtn_NichtMehr, &QPushButton::clicked, this, [this] { done(ResultNichtMehr); });
}

} // namespace quorbel
