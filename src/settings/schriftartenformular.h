#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace settings {

// The font choice dialog: a list of the installed font faces with a sample; OK can only
// be pressed after the user has picked an entry.
class TSchriftartenformular : public QDialog
{
    Q_OBJECT
public:
    explicit TSchriftartenformular(QWidget* parent = nullptr);

    void setzeSchriftarten(const QStringList& faces);
    // Selects the entry equal to `face` (none when it is not listed) and shows the sample in it.
    void waehleSchriftart(const QString& face);
    // The selected entry; empty when none is selected.
    QString gewaehlteSchriftart() const;

    // Each time the dialog is shown: OK waits for a pick.
    void FormActivate();
    // An entry was clicked or selected with the keyboard.
    void ListBox_SchriftartenClick();

    QListWidget* ListBox_Schriftarten = nullptr;
    QLabel* Panel_Beispieltext = nullptr;
    QPushButton* BitBtn_Ok = nullptr;
    QPushButton* BitBtn_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void zeigeBeispiel(const QString& face);
};

} // namespace settings
