#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorbel {

// The dialog that changes the current cassette's play length. Created once; the
// caller resets it after every use so that the next showing starts with no choice.
class TSpielzeit_Formular : public QDialog
{
    Q_OBJECT
public:
    explicit TSpielzeit_Formular(QWidget* parent = nullptr);

    // The play-length entries offered; the list keeps them sorted by their text.
    void setSpielzeiten(const QStringList& entries);
    QStringList spielzeiten() const;
    // The chosen entry's text; empty when nothing is chosen.
    QString gewaehlteSpielzeit() const;
    // Clears the choice and disables OK (after every use of the dialog).
    void zuruecksetzen();

    // Handlers. FormActivate runs at every showing; it may also be called directly.
    void FormActivate();
    void ComboBox_SpielzeitenChange();

    QLabel* Label_Spielzeiten;
    QComboBox* ComboBox_Spielzeiten;
    QPushButton* BitBtn_Ok;
    QPushButton* BitBtn_Abbruch;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace quorbel
