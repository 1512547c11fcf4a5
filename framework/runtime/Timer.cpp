#include "framework/runtime/Timer.h"

#include "framework/runtime/Layout.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTimerEvent>
#include <algorithm>
#include <functional>
#include <limits>
#include <unordered_map>

namespace fw {
namespace {

// Every framework timer is an entry of this one object's timer table, not an object of its own: a
// scan starts a timer for every row, and a QObject each would cost more than the timing.
class TimerHost : public QObject {
public:
    static TimerHost* Get() {
        static QPointer<TimerHost> host;
        if (!host && QCoreApplication::instance())
            host = new TimerHost(QCoreApplication::instance()); // goes with the application
        return host;
    }
    int Start(int milliseconds, std::function<void()> fire) {
        const int id = startTimer(milliseconds);
        if (id != 0)
            fires_[id] = std::move(fire);
        return id;
    }
    void Stop(int id) {
        if (fires_.erase(id) != 0)
            killTimer(id);
    }

protected:
    void timerEvent(QTimerEvent* event) override {
        const auto found = fires_.find(event->timerId());
        if (found == fires_.end())
            return;
        // The action may stop or free its timer, which takes the entry: call a copy.
        const std::function<void()> fire = found->second;
        fire();
    }

private:
    using QObject::QObject;
    std::unordered_map<int, std::function<void()>> fires_;
};

} // namespace

struct Timer::Impl {
    int id = 0; // the running timer's entry, 0 when stopped

    void Stop() {
        if (id == 0)
            return;
        if (TimerHost* host = TimerHost::Get())
            host->Stop(id);
        id = 0;
    }
};

Timer::Timer() : impl_(std::make_unique<Impl>()) { DeclareEvent("Action", Action); }

Timer::Timer(const ControlLayout& layout) : Timer() {
    SetName(layout.name);
    period_ = layout.props.Int("period", 1000);
    SetMode(layout.props.Int("mode", ModeOff));
}

Timer::~Timer() { impl_->Stop(); }

void Timer::SetMode(int mode) {
    mode_ = mode;
    Restart();
}

void Timer::SetPeriod(int64_t milliseconds) {
    period_ = milliseconds;
    Restart();
}

void Timer::SetEnabled(bool on) {
    enabled_ = on;
    Restart();
}

void Timer::Reset() { Restart(); }

void Timer::Restart() {
    impl_->Stop();
    TimerHost* host = TimerHost::Get();
    if (!host || !enabled_ || mode_ == ModeOff)
        return;
    // A period of 0 or less fires at the next turn of the event loop; a huge one is clamped, never wrapped.
    const int64_t clamped = std::clamp<int64_t>(period_, 0, std::numeric_limits<int>::max());
    impl_->id = host->Start(static_cast<int>(clamped), [this] { Fire(); });
}

void Timer::Fire() {
    if (mode_ == ModeSingle) {
        mode_ = ModeOff;
        impl_->Stop();
    }
    Event_Action();
}

void Timer::Event_Action() { Raise(Action); }

} // namespace fw
