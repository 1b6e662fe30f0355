#pragma once

// The engine's logging category, "quorbel.store". Warnings and errors logged under it
// reach the program's log file once the application has installed its message handler.

#include <QLoggingCategory>

namespace store {

Q_DECLARE_LOGGING_CATEGORY(lcStore)

} // namespace store
