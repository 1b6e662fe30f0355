#pragma once

#include "spielzeitauswahl.h"

namespace quorbel {

// The dialog that changes the current cassette's play length. The caller resets it
// after every use so that the next showing starts with no choice.
class TSpielzeit_Formular : public Spielzeitauswahl
{
    Q_OBJECT
public:
    explicit TSpielzeit_Formular(QWidget* parent = nullptr);

    // Clears the choice and disables OK (after every use of the dialog).
    void zuruecksetzen();

    void FormActivate() override;
    void ComboBox_SpielzeitenChange();

    QLabel* const Label_Spielzeiten;
    QComboBox* const ComboBox_Spielzeiten;

protected:
    void auswahlGeaendert() override { ComboBox_SpielzeitenChange(); }
};

} // namespace quorbel
