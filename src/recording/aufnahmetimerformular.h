#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorbel {

// The dialog "Film aufnehmen" for a new planned recording.
class TForm_Aufnahmetimer : public QDialog
{
    Q_OBJECT
public:
    explicit TForm_Aufnahmetimer(QWidget* parent = nullptr);

    // The stations offered before the station list is read.

    QLineEdit* Edit_Filmname;
    QComboBox* ComboBox_Programme;
    QDateEdit* DateTimePicker;
    QLineEdit* MaskEdit_Beginn;
    QLineEdit* MaskEdit_Ende;
    QPushButton* BitBtn_Uebernehmen;
    QPushButton* BitBtn_Abbruch;
};

} // namespace quorbel
