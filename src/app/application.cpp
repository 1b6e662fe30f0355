#include "application.h"

#include "protokolldatei.h"

#include <QIcon>
#include <exception>
#include <quorbelversion.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorbel 98"));
    setApplicationVersion(QStringLiteral(QUORBEL_VERSION));
    // The installed desktop entry and icon carry this name; the desktop finds the window's
    // entry by it, and an installed program shows the icon on its windows.
    setDesktopFileName(QStringLiteral("de.quorbel.Quorbel98"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("de.quorbel.Quorbel98")));
    // No display name of its own: the platform would append it to every caption
    // ("Quorbel 98 - BDE Power Edition — Quorbel 98"). Message boxes still find the
    // application's name through applicationDisplayName().
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_ui) {
            // Logs the detail and shows the German text.
            reportUncaught(*m_ui, std::current_exception());
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                qCCritical(lcApp).noquote()
                    << "Unbehandelte Ausnahme ohne Fenster:" << QString::fromLocal8Bit(e.what());
            } catch (...) {
                qCCritical(lcApp) << "Unbehandelte Ausnahme unbekannter Art ohne Fenster";
            }
        }
        return false;
    }
}

} // namespace quorbel
