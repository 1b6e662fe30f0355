#include "einstellungsseite.h"

#include "keystore.h"
#include "settingscontroller.h"

#include <QFontDatabase>

namespace settings {

Einstellungsseite::Einstellungsseite(quorbel::Interaction& ui, const QString& programDir,
                                     std::unique_ptr<KeyStore> key, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Tab_Einstellungen"));
    setAccessibleName(QStringLiteral("Einstellungen"));
    m_verwaltung = new SettingsController(
        ui, programDir, this, [] { return QFontDatabase::families(); }, std::move(key), this);
}

} // namespace settings
