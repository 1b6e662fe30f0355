#pragma once

#include "spielzeitauswahl.h"

namespace quorbel {

// The new-cassette dialog: the user picks the play length of the cassette to add.
// Every showing starts with no entry chosen and OK disabled.
class THinzufuegenformular : public Spielzeitauswahl
{
    Q_OBJECT
public:
    explicit THinzufuegenformular(QWidget* parent = nullptr);

    void FormActivate() override;
    void ComboBox_SpielzeitChange();

    QLabel* const Label_Spielzeit;
    QComboBox* const ComboBox_Spielzeit;

protected:
    void auswahlGeaendert() override { ComboBox_SpielzeitChange(); }
};

} // namespace quorbel
