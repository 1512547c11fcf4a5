// Base of every control: a name, the window it sits on, and events bound by name.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fw {

class Control {
public:
    explicit Control(std::string name = {});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }

    // Binds the event called `event` to `handler`, which must be a std::function of the event's signature.
    void BindEvent(std::string_view event, std::any handler);

    // Raised once, after the window has created its controls and bound their events.
    std::function<void()> Open;

protected:
    void SetName(std::string name) { name_ = std::move(name); }

    // A subclass declares each event it raises by name, with the slot that holds its handler.
    template <class Sig> void DeclareEvent(const std::string& event, std::function<Sig>& slot) {
        events_[event] = [&slot, event, this](std::any& handler) {
            auto* fn = std::any_cast<std::function<Sig>>(&handler);
            if (!fn)
                throw std::logic_error("handler for " + name_ + "_" + event + " has the wrong signature");
            slot = std::move(*fn);
        };
    }

private:
    std::string name_;
    std::map<std::string, std::function<void(std::any&)>> events_;
};

// Raises an event: calls its handler when one is bound, else returns the default result.
template <class R, class... A, class... P> R Raise(const std::function<R(A...)>& slot, P&&... args) {
    if (slot)
        return slot(std::forward<P>(args)...);
    if constexpr (!std::is_void_v<R>)
        return R{};
}

} // namespace fw
