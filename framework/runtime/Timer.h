// A timer on the event loop: off, single shot or repeating, with its period in milliseconds.
#pragma once

#include "framework/runtime/Control.h"

#include <cstdint>
#include <memory>

namespace fw {

struct ControlLayout;

class Timer : public Control {
public:
    enum Modes { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };

    Timer();
    explicit Timer(const ControlLayout& layout);
    ~Timer() override;

    int Mode() const { return mode_; }
    // Setting a mode other than off (re)starts the timer.
    void SetMode(int mode);
    int64_t Period() const { return period_; }
    void SetPeriod(int64_t milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // Starts the current period afresh.
    void Reset();

    std::function<void()> Action;

protected:
    virtual void Event_Action();

private:
    void Restart();
    void Fire();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int mode_ = ModeOff;
    int64_t period_ = 1000;
    bool enabled_ = true;
};

} // namespace fw
