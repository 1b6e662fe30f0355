#include "application.h"

#include "guard.h"
#include "interaction.h"

#include <cstdio>

namespace quorbel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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
