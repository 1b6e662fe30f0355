#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorbel {

// What both play-length dialogs share: a prompt, the pick-only list of play-length
// entries (kept sorted by their text), OK and "Abbruch". Created once and shown
// modally again and again; FormActivate runs at every showing.
class Spielzeitauswahl : public QDialog
{
    Q_OBJECT
public:
    // The play-length entries offered; the list keeps them sorted by their text.
    void setSpielzeiten(const QStringList& entries);
    QStringList spielzeiten() const;
    // The chosen entry's text; empty when nothing is chosen.
    QString gewaehlteSpielzeit() const;

    // Runs at every showing; it may also be called directly.
    virtual void FormActivate() = 0;

    QPushButton* BitBtn_Ok;
    QPushButton* BitBtn_Abbruch;

protected:
    Spielzeitauswahl(QWidget* parent, const QString& formName, const QString& caption, const QString& prompt,
                     const QString& listName, const QString& accessibleName);
    // The list's choice changed.
    virtual void auswahlGeaendert() = 0;
    void showEvent(QShowEvent* event) override;

    QLabel* m_prompt;
    QComboBox* m_liste;
};

} // namespace quorbel
