#include "framework/runtime/Control.h"

namespace fw {

Control::Control(std::string name) : name_(std::move(name)) { DeclareEvent("Open", Open); }

Control::~Control() = default;

void Control::BindEvent(std::string_view event, std::any handler) {
    auto it = events_.find(std::string(event));
    if (it == events_.end())
        throw std::logic_error("control " + name_ + " has no event " + std::string(event));
    it->second(handler);
}

} // namespace fw
