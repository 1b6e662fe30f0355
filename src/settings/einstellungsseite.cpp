#include "einstellungsseite.h"

#include "etikettendruckseite.h"
#include "keystore.h"
#include "settingscontroller.h"

#include <QFontDatabase>

namespace settings {

Einstellungsseite::Einstellungsseite(quorbel::Interaction& ui, const QString& programDir,
                                     std::unique_ptr<KeyStore> key, std::function<QStringList()> fonts,
                                     QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Tab_Einstellungen"));
    setAccessibleName(QStringLiteral("Einstellungen"));
    if (!fonts)
        fonts = [] { return QFontDatabase::families(); };
    m_verwaltung = new SettingsController(ui, programDir, this, std::move(fonts), std::move(key), this);
    m_etikettendruck = new Etikettendruckseite(ui, *m_verwaltung, this);
}

} // namespace settings
