#include "meldungsformular.h"

#include "ui/clock.h"
#include "ui/design.h"
#include "ui/interaction.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <settings/einstellungen.h>
#include <store/dates.h>

namespace quorbel {

TMeldungsformular::TMeldungsformular(QWidget* parent, const Clock* clock) : QDialog(parent), m_clock(clock)
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
    // Two lines where the screen font is wider than the text's room.
    Label1->setGeometry(12, 134, 330, 36);
    Label1->setWordWrap(true);

    SpinEdit_Tage = new QSpinBox(this);
    SpinEdit_Tage->setObjectName(QStringLiteral("SpinEdit_Tage"));
    SpinEdit_Tage->setAccessibleName(Label1->text());
    // Any number of days the setting can hold; below 0 only so that a typed minus
    // sign is seen and turned into 0.
    SpinEdit_Tage->setRange(-99, settings::kHoechsteTage);
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

    // Follow the value, and the field's text as typed: a cleared field gives the spin
    // box no new value, yet counts as 0 days.
    connect(SpinEdit_Tage, &QSpinBox::valueChanged, this, [this] { SpinEdit_TageChange(); });
    connect(SpinEdit_Tage->findChild<QLineEdit*>(), &QLineEdit::textEdited, this,
            [this] { SpinEdit_TageChange(); });
}

TMeldungsformular::~TMeldungsformular() = default;

QDate TMeldungsformular::heute() const
{
    if (m_clock)
        return m_clock->today();
    return SystemClock().today();
}

int TMeldungsformular::Tage() const
{
    bool ok = false;
    const int tage = SpinEdit_Tage->cleanText().trimmed().toInt(&ok);
    return ok ? tage : 0;
}

QDate TMeldungsformular::Naechste_Meldung() const
{
    const QDate shown = store::parseDate(Edit_Datum->text());
    return shown.isValid() ? shown : tageWeiter(heute(), std::max(Tage(), 0));
}

void TMeldungsformular::FormActivate()
{
    Edit_Datum->setText(store::formatDate(tageWeiter(heute(), Tage())));
}

void TMeldungsformular::SpinEdit_TageChange()
{
    if (Tage() < 0) {
        SpinEdit_Tage->setValue(0); // comes back here with the new text
        return;
    }
    Edit_Datum->setText(store::formatDate(tageWeiter(heute(), Tage())));
}

void TMeldungsformular::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TMeldungsformular::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

Meldungsfenster::Meldungsfenster(TMeldungsformular& formular, Interaction& ui)
    : m_formular(formular), m_ui(ui)
{
}

Erinnerungsanzeige::Antwort Meldungsfenster::Erinnerung_Zeigen(const QString& text, int tage)
{
    design::anzeigen(m_formular.Label3, QtInteraction::displayText(text));
    m_formular.SpinEdit_Tage->setValue(tage);
    m_formular.SpinEdit_TageChange(); // also when the value was already there
    const int ergebnis = m_ui.exec(m_formular);
    if (ergebnis == TMeldungsformular::ResultNichtMehr)
        return {true, {}};
    return {false, m_formular.Naechste_Meldung()};
}

} // namespace quorbel
