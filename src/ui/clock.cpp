#include "clock.h"

namespace quorbel {

Clock::~Clock() = default;

} // namespace quorbel
