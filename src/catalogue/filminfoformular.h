#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace store {
class Dataset;
}

namespace quorbel {

class Interaction;

// The film details dialog: a film's picture and free-text description. It works on
// the current row of the film dataset; every change it makes is stored at once.
// Created once and shown modally for the film the user double-clicked.
class TFilminfoformular : public QDialog
{
    Q_OBJECT
public:
    TFilminfoformular(store::Dataset& filme, Interaction& ui, QWidget* parent = nullptr);

    // The filter of the picture chooser.
    static QString bildFilter();

    // Caption "Zusatzinformation über <title>".
    void setFilmname(const QString& filmname);
    // The same, with the title of the dataset's current film.
    void filmnameUebernehmen();

    // The folder the picture chooser opens in; follows the last picture chosen.
    void setBildVerzeichnis(const QString& dir) { m_bildVerzeichnis = dir; }
    QString bildVerzeichnis() const { return m_bildVerzeichnis; }

    // The picture the frame shows (null when none).
    const QImage& angezeigtesBild() const { return m_bild; }

    // Handlers. FormActivate runs at every showing; all of them may be called directly.
    void FormActivate();
    void BitBtn_BildladenClick();
    void MI_LoeschenClick();
    void DBMemo_BemerkungenExit();
    void BitBtn_ZurueckClick();

    QLabel* DBImage_Motiv;
    QPushButton* BitBtn_Bildladen;
    QMenu* PopupMenu_Bild;
    QAction* MI_Loeschen;
    QLabel* Label_Bemerkungen;
    QPlainTextEdit* DBMemo_Bemerkungen;
    QPushButton* BitBtn_Zurueck;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filmDa() const;
    template <typename F> void filmSpeichern(F aendern);
    void zeigeBild(const QImage& bild);

    store::Dataset& m_filme;
    Interaction& m_ui;
    QString m_bildVerzeichnis;
    QImage m_bild;
    bool m_schliessenTrotzFehler = false;
};

} // namespace quorbel
