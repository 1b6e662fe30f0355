#pragma once

// The sub-page "Etikettendruck" of the settings page: font size and line spread of the
// cassette label for one to four films, and the label's font face. Its controls live in
// the settings page's Tab_Etikettendruck; the values live in the page's rules.

#include <QObject>
#include <QStringList>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;
class QWidget;

namespace quorbel {
class Interaction;
}

namespace settings {

struct Einstellungen;
class Einstellungsregeln;

class Etikettendruckseite : public QObject
{
    Q_OBJECT
public:
    // The controls are built into `seite`.
    Etikettendruckseite(quorbel::Interaction& ui, Einstellungsregeln& regeln, QWidget* seite,
                        QObject* parent = nullptr);

    // At window creation: the faces offered for the label.
    void Schriftarten_Einlesen(const QStringList& faces);
    // After the settings were loaded: the page shows the entry for one film.
    void Einstellungen_Zeigen(const Einstellungen& e);

    // --- Handlers ------------------------------------------------------------------------
    // Shows the entry of the chosen number of films; changes nothing.
    void SpinEdit_FilmanzahlChange();
    // The person moved the slider: the spread of the shown entry.
    void TrackBar_AusrichtungChange();
    // A size picked or typed: the size of the shown entry.
    void ComboBox_SchriftgroesseChange();
    // A face picked: the label's face.
    void ComboBox_SchriftartenChange();

private:
    void Aufbauen(QWidget* tab);
    void Handler_Verbinden();
    int filmanzahl() const;
    void Schriftmuster_Setzen(const QString& face);

    quorbel::Interaction& m_ui;
    Einstellungsregeln& m_regeln;

    QSpinBox* SpinEdit_Filmanzahl = nullptr;
    QSlider* TrackBar_Ausrichtung = nullptr;
    QLabel* Label_Ausrichtung = nullptr;
    QComboBox* ComboBox_Schriftgroesse = nullptr;
    QComboBox* ComboBox_Schriftarten = nullptr;
    QLabel* Panel_Schriftmuster = nullptr;
};

} // namespace settings
