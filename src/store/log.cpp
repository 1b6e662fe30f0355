#include "log.h"

namespace store {

Q_LOGGING_CATEGORY(lcStore, "quorbel.store")

} // namespace store
