#pragma once

// Whether a change of the tables (a post or delete with everything its
// notifications write) is under way, and work that has to wait until it is over.
// Nothing that waits for a person may run inside a change: its event loop would
// let timers write into the change, and a kill meanwhile would lose what the
// person was just told about.

#include <functional>

namespace store {

// True from the start of the outermost post or delete until it is committed or
// rolled back.
bool changeOpen();

// What becomes of a task queued in a change that is rolled back.
enum class OnRollback { Drop, Run };

// Runs `task` at once when no change is open, else right after the outermost
// change has ended (committed, or rolled back and the datasets re-read), in the
// order queued.
void afterChange(std::function<void()> task, OnRollback onRollback = OnRollback::Drop);

} // namespace store
