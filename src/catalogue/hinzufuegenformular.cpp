#include "hinzufuegenformular.h"

#include <QComboBox>
#include <QPushButton>

namespace quorbel {

THinzufuegenformular::THinzufuegenformular(QWidget* parent)
    : Spielzeitauswahl(parent, QStringLiteral("Hinzufuegenformular"), QStringLiteral("Kassette hinzufügen"),
                       QStringLiteral("Bitte Spieldauer der Kassette auswählen"),
                       QStringLiteral("ComboBox_Spielzeit"), QStringLiteral("Spieldauer der Kassette")),
      Label_Spielzeit(m_prompt), ComboBox_Spielzeit(m_liste)
{
}

void THinzufuegenformular::FormActivate()
{
    ComboBox_Spielzeit->setCurrentIndex(-1);
    BitBtn_Ok->setEnabled(false);
    ComboBox_Spielzeit->setFocus();
}

void THinzufuegenformular::ComboBox_SpielzeitChange()
{
    BitBtn_Ok->setEnabled(!gewaehlteSpielzeit().isEmpty());
}

} // namespace quorbel
