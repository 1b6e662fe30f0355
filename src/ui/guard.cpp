#include "guard.h"

#include <store/error.h>

namespace quorbel {

void reportUncaught(Interaction& ui, const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const store::Error& e) {
        ui.showError(e.message());
    } catch (const std::bad_alloc&) {
        ui.showError(QStringLiteral("Nicht genügend Arbeitsspeicher."));
    } catch (const std::exception& e) {
        ui.showError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ui.showError(QStringLiteral("Unbekannter Fehler."));
    }
}

} // namespace quorbel
