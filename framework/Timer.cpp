#include "framework/Timer.h"

#include "framework/Layout.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace fw {

struct Timer::Impl {
    QPointer<QTimer> timer;
};

Timer::Timer() : impl_(std::make_unique<Impl>()) {
    impl_->timer = new QTimer();
    QObject::connect(impl_->timer, &QTimer::timeout, impl_->timer, [this] { Fire(); });
    DeclareEvent("Action", Action);
}

Timer::Timer(const ControlLayout& layout) : Timer() {
    SetName(layout.name);
    period_ = layout.props.Int("period", 1000);
    SetMode(layout.props.Int("mode", ModeOff));
}

Timer::~Timer() {
    if (QTimer* t = impl_->timer) {
        t->stop();
        t->disconnect();
        // The timer may be destroyed from inside its own action: let Qt free it once the signal has returned.
        t->deleteLater();
    }
}

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
    QTimer* t = impl_->timer;
    if (!t)
        return;
    t->stop();
    if (!enabled_ || mode_ == ModeOff)
        return;
    // A period of 0 or less fires at the next turn of the event loop; a huge one is clamped, never wrapped.
    const int64_t clamped = std::clamp<int64_t>(period_, 0, std::numeric_limits<int>::max());
    t->setSingleShot(mode_ == ModeSingle);
    t->start(static_cast<int>(clamped));
}

void Timer::Fire() {
    if (mode_ == ModeSingle) {
        mode_ = ModeOff;
        impl_->timer->stop();
    }
    Event_Action();
}

void Timer::Event_Action() { Raise(Action); }

} // namespace fw
