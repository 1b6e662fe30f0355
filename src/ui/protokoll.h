#pragma once

// The program's logging categories, one per layer above the engine ("quorbel.store"
// lives in store/log.h), and where the log file lies. Warnings and errors logged under
// them go to that file once app/ has installed its message handler.

#include <QLoggingCategory>
#include <QString>

namespace quorbel {

Q_DECLARE_LOGGING_CATEGORY(lcUi)        // "quorbel.ui"
Q_DECLARE_LOGGING_CATEGORY(lcCatalogue) // "quorbel.catalogue"
Q_DECLARE_LOGGING_CATEGORY(lcLending)   // "quorbel.lending"
Q_DECLARE_LOGGING_CATEGORY(lcRecording) // "quorbel.recording"
Q_DECLARE_LOGGING_CATEGORY(lcPrinting)  // "quorbel.printing"
Q_DECLARE_LOGGING_CATEGORY(lcSettings)  // "quorbel.settings"

// The log file's path as the user is told it; empty while none is written.
QString protokolldatei();
void setProtokolldatei(const QString& pfad);

} // namespace quorbel
