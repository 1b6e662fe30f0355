#pragma once

#include "verleihregeln.h"

#include <QDate>
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorbel {

class Clock;
class Interaction;

// The reminder window "Zur Erinnerung" for an overdue loan. "Übernehmen" closes it
// with Accepted, "Nicht mehr anzeigen" with ResultNichtMehr, the system menu with
// Rejected; Edit_Datum always shows today plus the days in SpinEdit_Tage.
class TMeldungsformular : public QDialog
{
    Q_OBJECT
public:
    // Result of "Nicht mehr anzeigen".
    static constexpr int ResultNichtMehr = 2;

    // Without a clock the window reads the system's.
    explicit TMeldungsformular(QWidget* parent = nullptr, const Clock* clock = nullptr);
    ~TMeldungsformular() override;

    void FormActivate();
    void SpinEdit_TageChange();

    // The days in SpinEdit_Tage; a cleared or unreadable field counts as 0.
    int Tage() const;
    // The date shown in Edit_Datum.
    QDate Naechste_Meldung() const;

    QLabel* Label3;
    QFrame* Bevel1;
    QLabel* Label1;
    QSpinBox* SpinEdit_Tage;
    QLabel* Label2;
    QLineEdit* Edit_Datum;
    QPushButton* BitBtn_Uebernehmen;
    QPushButton* BitBtn_NichtMehr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QDate heute() const;
    const Clock* m_clock;
};

// The reminder window as the lending rules see it: fills in the text and the days,
// shows the window through the Interaction seam and turns its result into an answer.
class Meldungsfenster final : public Erinnerungsanzeige
{
public:
    Meldungsfenster(TMeldungsformular& formular, Interaction& ui);
    Antwort Erinnerung_Zeigen(const QString& text, int tage) override;

private:
    TMeldungsformular& m_formular;
    Interaction& m_ui;
};

} // namespace quorbel
