#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorbel {

// The reminder window "Zur Erinnerung" for an overdue loan.
class TMeldungsformular : public QDialog
{
    Q_OBJECT
public:
    // Result of "Nicht mehr anzeigen".
    static constexpr int ResultNichtMehr = 2;

    explicit TMeldungsformular(QWidget* parent = nullptr);

    QLabel* Label3;
    QFrame* Bevel1;
    QLabel* Label1;
    QSpinBox* SpinEdit_Tage;
    QLabel* Label2;
    QLineEdit* Edit_Datum;
    QPushButton* BitBtn_Uebernehmen;
    QPushButton* BitBtn_NichtMehr;
};

} // namespace quorbel
