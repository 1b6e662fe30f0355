#pragma once

// The settings page "Ei&nstellungen": its controls are built and run by the settings
// controller, which also keeps the settings record and the vocabulary lists, and by the
// label settings sub-page. The rest of the program hears of changes through the
// controller's signals.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

namespace quorbel {
class Interaction;
}

namespace settings {

class Etikettendruckseite;
class KeyStore;
class SettingsController;

class Einstellungsseite : public QWidget
{
    Q_OBJECT
public:
    // `programDir` ends with a separator; `key` is the settings key (the platform's
    // place when null); `fonts` gives the font faces that count as installed (the
    // platform's faces when empty).
    Einstellungsseite(quorbel::Interaction& ui, const QString& programDir, std::unique_ptr<KeyStore> key,
                      std::function<QStringList()> fonts = {}, QWidget* parent = nullptr);

    SettingsController& verwaltung() const { return *m_verwaltung; }
    Etikettendruckseite& etikettendruck() const { return *m_etikettendruck; }

private:
    SettingsController* m_verwaltung;
    Etikettendruckseite* m_etikettendruck;
};

} // namespace settings
