#include "guard.h"

#include "protokoll.h"

#include <store/error.h>

namespace quorbel {

QString unerwarteterFehlerText()
{
    QString text = QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Die zuletzt begonnene Aktion "
                                  "wurde abgebrochen.");
    const QString datei = protokolldatei();
    if (!datei.isEmpty())
        text += kMessageBreak + QStringLiteral("Einzelheiten stehen in der Protokolldatei:") + kMessageBreak +
                datei;
    return text;
}

void reportUncaught(Interaction& ui, const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const store::Error& e) {
        // The engine's and the files' own German messages, meant for the user.
        qCWarning(lcUi).noquote() << "Fehler gemeldet:" << e.message();
        ui.showError(e.message());
    } catch (const std::bad_alloc&) {
        qCCritical(lcUi) << "Nicht genügend Arbeitsspeicher (std::bad_alloc)";
        ui.showError(QStringLiteral("Nicht genügend Arbeitsspeicher."));
    } catch (const std::exception& e) {
        // Its text is a developer's, in no particular language: it goes to the log.
        qCCritical(lcUi).noquote() << "Unbehandelte Ausnahme:" << QString::fromLocal8Bit(e.what());
        ui.showError(unerwarteterFehlerText());
    } catch (...) {
        qCCritical(lcUi) << "Unbehandelte Ausnahme unbekannter Art";
        ui.showError(unerwarteterFehlerText());
    }
}

} // namespace quorbel
