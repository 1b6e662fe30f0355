#include "spielzeitformular.h"

#include <QComboBox>
#include <QPushButton>

namespace quorbel {

TSpielzeit_Formular::TSpielzeit_Formular(QWidget* parent)
    : Spielzeitauswahl(parent, QStringLiteral("Spielzeit_Formular"),
                       QStringLiteral("Kassettenspielzeit ändern"),
                       QStringLiteral("Bitte wählen Sie die neue Spielzeit aus"),
                       QStringLiteral("ComboBox_Spielzeiten"), QStringLiteral("Neue Spielzeit")),
      Label_Spielzeiten(m_prompt), ComboBox_Spielzeiten(m_liste)
{
}

void TSpielzeit_Formular::zuruecksetzen()
{
    {
        const QSignalBlocker still(ComboBox_Spielzeiten);
        ComboBox_Spielzeiten->setCurrentIndex(-1);
    }
    BitBtn_Ok->setEnabled(false);
}

void TSpielzeit_Formular::FormActivate()
{
    BitBtn_Ok->setEnabled(false);
    ComboBox_Spielzeiten->setFocus();
}

void TSpielzeit_Formular::ComboBox_SpielzeitenChange()
{
    // A choice enables OK; the choice taken away (nothing chosen) does not.
    BitBtn_Ok->setEnabled(ComboBox_Spielzeiten->currentIndex() >= 0);
}

} // namespace quorbel
