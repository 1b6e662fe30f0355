#pragma once

#include "aufnahmeregeln.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorbel {

class Clock;
class Interaction;

// The dialog "Film aufnehmen" for a new planned recording. "Übernehmen" closes it
// only when the entries pass the checks; a refused entry is named in an error
// message and everything typed stays as it is.
class TForm_Aufnahmetimer : public QDialog
{
    Q_OBJECT
public:
    TForm_Aufnahmetimer(Interaction& ui, const Clock& clock, QWidget* parent = nullptr);

    // The stations offered; replaces the built-in ones. The typed text stays.
    void setProgramme(const QStringList& stations);
    // Empties title, station and both times and sets the date to `heute`.
    void Leeren(const QDate& heute);
    // The entries as they stand (times as read by Zeit_Lesen; invalid when unfilled).
    Aufnahme aufnahme() const;

    // Checks the entries in order and accepts the dialog when all pass.
    void BitBtn_UebernehmenClick();

    // A time field's text, "hh:mm" or "h:mm" with blanks around the hour allowed, as a
    // time of day 00:00 to 23:59; nothing for any other text, an unfilled field too.
    static std::optional<QTime> Zeit_Lesen(const QString& text);

    QLineEdit* Edit_Filmname;
    QComboBox* ComboBox_Programme;
    QDateEdit* DateTimePicker;
    QLineEdit* MaskEdit_Beginn;
    QLineEdit* MaskEdit_Ende;
    QPushButton* BitBtn_Uebernehmen;
    QPushButton* BitBtn_Abbruch;

private:
    Interaction& m_ui;
    const Clock& m_clock;
};

} // namespace quorbel
