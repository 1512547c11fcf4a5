// Bounded waits on the event loop for tests.
#pragma once

#include <functional>

namespace testsupport {

// Delivers events until `done` holds or `timeoutMs` has passed; returns whether `done` held.
bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Lets the events that are already due be handled.
void ProcessPendingEvents();
// Delivers events for about `ms` milliseconds.
void SpinFor(int ms);
// Waits `ms` milliseconds in a real, blocking event loop (idle unless something is scheduled).
void IdleFor(int ms);

} // namespace testsupport
