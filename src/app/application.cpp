#include "application.h"

#include <ui/guard.h>
#include <ui/interaction.h>

#include <cstdio>

namespace quorbel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorbel 98"));
    setApplicationVersion(QStringLiteral("0.9.2"));
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
            reportUncaught(*m_ui, std::current_exception());
        } else {
            std::fputs("Quorbel: unbehandelter Fehler\n", stderr);
        }
        return false;
    }
}

} // namespace quorbel
