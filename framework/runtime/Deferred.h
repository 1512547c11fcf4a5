// Work for the next turn of the event loop: a handler that opens a modal dialog or frees its own window
// hands that part on, so that nothing is freed under it.
#pragma once

#include <functional>

namespace fw {

void CallLater(std::function<void()> work);

} // namespace fw
