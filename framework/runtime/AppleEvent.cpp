#include "framework/runtime/AppleEvent.h"

namespace fw {
namespace {

std::function<bool(const AppleEvent&)>& Sender() {
    static std::function<bool(const AppleEvent&)> sender;
    return sender;
}

} // namespace

bool SendAppleEvent(const AppleEvent& event) { return Sender() ? Sender()(event) : false; }

void SetAppleEventSender(std::function<bool(const AppleEvent&)> sender) { Sender() = std::move(sender); }

} // namespace fw
