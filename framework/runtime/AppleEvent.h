// Apple events, which this platform does not have: sending one fails unless a test installs a sender.
#pragma once

#include <functional>
#include <string>

namespace fw {

struct AppleEvent {
    std::string eventClass;      // "aevt"
    std::string eventID;         // "quit"
    std::string targetSignature; // the receiving application's signature, "sfri"
};

// Creates and sends the event; false when it could not be created or sent (always, on this platform).
bool SendAppleEvent(const AppleEvent& event);
// Tests take the path where the send succeeds; an empty function restores the platform's behaviour.
void SetAppleEventSender(std::function<bool(const AppleEvent&)> sender);

} // namespace fw
