#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorbel {

// The new-cassette dialog: the user picks the play length of the cassette to add.
// Created once and shown modally again and again; every showing starts with no
// entry chosen and OK disabled.
class THinzufuegenformular : public QDialog
{
    Q_OBJECT
public:
    explicit THinzufuegenformular(QWidget* parent = nullptr);

    // The play-length entries offered; the list keeps them sorted by their text.
    void setSpielzeiten(const QStringList& entries);
    QStringList spielzeiten() const;
    // The chosen entry's text; empty when nothing is chosen.
    QString gewaehlteSpielzeit() const;

    // Handlers. FormActivate runs at every showing; it may also be called directly.
    void FormActivate();
    void ComboBox_SpielzeitChange();

    QLabel* Label_Spielzeit;
    QComboBox* ComboBox_Spielzeit;
    QPushButton* BitBtn_Ok;
    QPushButton* BitBtn_Abbruch;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace quorbel
