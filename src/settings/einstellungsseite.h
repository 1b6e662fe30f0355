#pragma once

// The settings page "Ei&nstellungen": its controls are built and run by the settings
// controller, which also keeps the settings record and the vocabulary lists. The rest
// of the program hears of changes through the controller's signals.

#include <QWidget>
#include <memory>

namespace quorbel {
class Interaction;
}

namespace settings {

class KeyStore;
class SettingsController;

class Einstellungsseite : public QWidget
{
    Q_OBJECT
public:
    // `programDir` ends with a separator; `key` is the settings key (the platform's
    // place when null).
    Einstellungsseite(quorbel::Interaction& ui, const QString& programDir, std::unique_ptr<KeyStore> key,
                      QWidget* parent = nullptr);

    SettingsController& verwaltung() const { return *m_verwaltung; }

private:
    SettingsController* m_verwaltung;
};

} // namespace settings
