#include "etikettendruckseite.h"

#include "einstellungen.h"
#include "einstellungsregeln.h"
#include "ganzzahl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <ui/design.h>
#include <ui/guard.h>

namespace settings {

namespace {

constexpr int kAusrichtungMin = -5;
constexpr int kAusrichtungMax = 13;

QLabel* beschriftung(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

Etikettendruckseite::Etikettendruckseite(quorbel::Interaction& ui, Einstellungsregeln& regeln, QWidget* seite,
                                         QObject* parent)
    : QObject(parent), m_ui(ui), m_regeln(regeln)
{
    Aufbauen(seite);
    Handler_Verbinden();
}

void Etikettendruckseite::Aufbauen(QWidget* tab)
{

    SpinEdit_Filmanzahl = new QSpinBox(tab);
    SpinEdit_Filmanzahl->setObjectName(QStringLiteral("SpinEdit_Filmanzahl"));
    SpinEdit_Filmanzahl->setAccessibleName(QStringLiteral("Filmanzahl"));
    SpinEdit_Filmanzahl->setRange(1, 4);
    SpinEdit_Filmanzahl->setValue(1);

    TrackBar_Ausrichtung = new QSlider(Qt::Horizontal, tab);
    TrackBar_Ausrichtung->setObjectName(QStringLiteral("TrackBar_Ausrichtung"));
    TrackBar_Ausrichtung->setAccessibleName(QStringLiteral("Ausrichtung"));
    TrackBar_Ausrichtung->setRange(kAusrichtungMin, kAusrichtungMax);
    TrackBar_Ausrichtung->setSingleStep(1);
    TrackBar_Ausrichtung->setPageStep(1);
    TrackBar_Ausrichtung->setTickInterval(1);
    TrackBar_Ausrichtung->setTickPosition(QSlider::TicksBelow);
    TrackBar_Ausrichtung->setValue(0);
    TrackBar_Ausrichtung->setEnabled(false);

    Label_Ausrichtung = new QLabel(QStringLiteral("0"), tab);
    Label_Ausrichtung->setObjectName(QStringLiteral("Label_Ausrichtung"));
    Label_Ausrichtung->setAccessibleName(QStringLiteral("Wert der Ausrichtung"));
    Label_Ausrichtung->setAccessibleDescription(Label_Ausrichtung->text());
    Label_Ausrichtung->setMinimumWidth(24);

    ComboBox_Schriftgroesse = new QComboBox(tab);
    ComboBox_Schriftgroesse->setObjectName(QStringLiteral("ComboBox_Schriftgroesse"));
    ComboBox_Schriftgroesse->setAccessibleName(QStringLiteral("Schriftgrösse"));
    ComboBox_Schriftgroesse->setEditable(true);
    // A typed size is taken as the entry's size; the list keeps its 24 sizes.
    ComboBox_Schriftgroesse->setInsertPolicy(QComboBox::NoInsert);
    for (int punkte = 2; punkte <= 48; punkte += 2)
        ComboBox_Schriftgroesse->addItem(QString::number(punkte));

    ComboBox_Schriftarten = new QComboBox(tab);
    ComboBox_Schriftarten->setObjectName(QStringLiteral("ComboBox_Schriftarten"));
    ComboBox_Schriftarten->setAccessibleName(QStringLiteral("Schriftart"));
    ComboBox_Schriftarten->setEditable(false);

    Panel_Schriftmuster = new QLabel(QStringLiteral("AaBbXxYy0123"), tab);
    Panel_Schriftmuster->setObjectName(QStringLiteral("Panel_Schriftmuster"));
    Panel_Schriftmuster->setAccessibleName(QStringLiteral("Schriftmuster"));
    Panel_Schriftmuster->setAccessibleDescription(Panel_Schriftmuster->text());
    Panel_Schriftmuster->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_Schriftmuster->setAlignment(Qt::AlignCenter);
    Panel_Schriftmuster->setMinimumHeight(64);
    Schriftmuster_Setzen(QStringLiteral("Arial"));

    auto* grid = new QGridLayout;
    grid->addWidget(beschriftung(QStringLiteral("&Filmanzahl"), SpinEdit_Filmanzahl, tab), 0, 0);
    grid->addWidget(SpinEdit_Filmanzahl, 0, 1);
    grid->addWidget(beschriftung(QStringLiteral("&Ausrichtung"), TrackBar_Ausrichtung, tab), 1, 0);
    grid->addWidget(TrackBar_Ausrichtung, 1, 1, 1, 2);
    grid->addWidget(Label_Ausrichtung, 1, 3);
    grid->addWidget(beschriftung(QStringLiteral("Schriftgr&össe"), ComboBox_Schriftgroesse, tab), 2, 0);
    grid->addWidget(ComboBox_Schriftgroesse, 2, 1);
    grid->addWidget(beschriftung(QStringLiteral("Sch&riftart"), ComboBox_Schriftarten, tab), 3, 0);
    grid->addWidget(ComboBox_Schriftarten, 3, 1, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addWidget(Panel_Schriftmuster);
    layout->addStretch();
}

void Etikettendruckseite::Handler_Verbinden()
{
    using quorbel::connectGuarded;
    connectGuarded(SpinEdit_Filmanzahl, &QSpinBox::valueChanged, this, m_ui,
                   [this](int) { SpinEdit_FilmanzahlChange(); });
    // The program sets the slider with its signals blocked, so only the person's moves
    // arrive here.
    connectGuarded(TrackBar_Ausrichtung, &QSlider::valueChanged, this, m_ui,
                   [this](int) { TrackBar_AusrichtungChange(); });
    connectGuarded(ComboBox_Schriftgroesse, &QComboBox::editTextChanged, this, m_ui,
                   [this](const QString&) { ComboBox_SchriftgroesseChange(); });
    connectGuarded(ComboBox_Schriftarten, &QComboBox::currentIndexChanged, this, m_ui,
                   [this](int) { ComboBox_SchriftartenChange(); });
}

int Etikettendruckseite::filmanzahl() const
{
    return std::clamp(SpinEdit_Filmanzahl->value(), 1, 4);
}

void Etikettendruckseite::Schriftmuster_Setzen(const QString& face)
{
    QFont f = Panel_Schriftmuster->font();
    f.setFamily(face);
    f.setPointSize(20);
    Panel_Schriftmuster->setFont(f);
}

void Etikettendruckseite::Schriftarten_Einlesen(const QStringList& faces)
{
    const QSignalBlocker block(ComboBox_Schriftarten);
    ComboBox_Schriftarten->clear();
    ComboBox_Schriftarten->addItems(faces);
}

void Etikettendruckseite::Einstellungen_Zeigen(const Einstellungen& e)
{
    {
        const QSignalBlocker block(SpinEdit_Filmanzahl);
        SpinEdit_Filmanzahl->setValue(1);
    }
    SpinEdit_FilmanzahlChange();
    {
        const QSignalBlocker block(ComboBox_Schriftarten);
        // The font check compared without regard to case; the list does the same.
        ComboBox_Schriftarten->setCurrentIndex(
            ComboBox_Schriftarten->findText(e.Schriftart_der_Etiketten, Qt::MatchFixedString));
    }
    Schriftmuster_Setzen(e.Schriftart_der_Etiketten);
}

void Etikettendruckseite::SpinEdit_FilmanzahlChange()
{
    const int k = filmanzahl();
    const EtikettEintrag& eintrag = m_regeln.einstellungen().etikett(k);
    {
        const QSignalBlocker block(ComboBox_Schriftgroesse);
        ComboBox_Schriftgroesse->setEditText(QString::number(eintrag.Schriftgroesse));
    }
    const QSignalBlocker block(TrackBar_Ausrichtung);
    if (k == 1) {
        TrackBar_Ausrichtung->setValue(0);
        TrackBar_Ausrichtung->setEnabled(false);
    } else {
        // A stored spread beyond the slider's range shows as its nearest end and is kept
        // as stored until the person moves the slider.
        TrackBar_Ausrichtung->setValue(eintrag.Ausrichtung);
        TrackBar_Ausrichtung->setEnabled(true);
    }
    quorbel::design::anzeigen(Label_Ausrichtung, QString::number(TrackBar_Ausrichtung->value()));
}

void Etikettendruckseite::TrackBar_AusrichtungChange()
{
    const int k = filmanzahl();
    quorbel::design::anzeigen(Label_Ausrichtung, QString::number(TrackBar_Ausrichtung->value()));
    if (k == 1)
        return; // one film has no spread
    m_regeln.setzeEtikettAusrichtung(k, TrackBar_Ausrichtung->value());
}

void Etikettendruckseite::ComboBox_SchriftgroesseChange()
{
    const QString text = ComboBox_Schriftgroesse->currentText();
    qint32 groesse = 0;
    if (!toWholeNumber(text, &groesse)) {
        m_ui.error(notAnInteger(text));
        return;
    }
    m_regeln.setzeEtikettSchriftgroesse(filmanzahl(), groesse);
}

void Etikettendruckseite::ComboBox_SchriftartenChange()
{
    const QString face = ComboBox_Schriftarten->currentText();
    if (face.isEmpty())
        return;
    Schriftmuster_Setzen(face);
    m_regeln.setzeSchriftartDerEtiketten(face);
}

} // namespace settings
