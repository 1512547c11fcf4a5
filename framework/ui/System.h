// Platform tests: Gestalt selectors ("sysv", "menu") and the user's cancel key.
#pragma once

#include <cstdint>
#include <string>

namespace fw::System {

// Answers a selector; false when the platform does not know it.
bool Gestalt(const std::string& selector, int64_t& value);

} // namespace fw::System

namespace fw {
// True when the user has pressed Ctrl+. since the last test.
bool UserCancelled();
// Installs the key watch behind UserCancelled (done by the runtime).
void WatchUserCancel();
} // namespace fw
