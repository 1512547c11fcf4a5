// Timers: modes, periods at the edges, and a timer freed from inside its own action.
#include "EventLoop.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using testsupport::SpinFor;
using testsupport::SpinUntil;

namespace {

class TimerTest : public ::testing::Test {
protected:
    // A timer started with `period` and `mode`, counting its firings in `fired`.
    static std::unique_ptr<fw::Timer> Started(int64_t period, int mode, int& fired) {
        auto timer = std::make_unique<fw::Timer>();
        timer->Action = [&fired] { ++fired; };
        timer->SetPeriod(period);
        timer->SetMode(mode);
        return timer;
    }
};

// A single shot fires once and turns itself off; a period of 0 or less fires at the next turn of the
// loop; a huge period is clamped, not wrapped.
TEST_F(TimerTest, SingleShotsAtAnyPeriod) {
    for (int64_t period : {int64_t{5}, int64_t{0}, int64_t{-5}}) {
        int fired = 0;
        const auto timer = Started(period, fw::Timer::ModeSingle, fired);
        ASSERT_TRUE(SpinUntil([&] { return fired == 1; }, 1000)) << period;
        SpinFor(50);
        EXPECT_EQ(fired, 1) << period;
        EXPECT_EQ(timer->Mode(), fw::Timer::ModeOff) << period;
    }
    int fired = 0;
    const auto huge = Started(std::numeric_limits<int64_t>::max() - 1, fw::Timer::ModeSingle, fired);
    SpinFor(50);
    EXPECT_EQ(fired, 0) << "a wrapped period fired at once";
}

// Disabling stops a repeating timer; the action may free the timer that raised it.
TEST_F(TimerTest, DisableAndFreeFromOwnAction) {
    int fired = 0;
    auto timer = Started(1, fw::Timer::ModeMultiple, fired);
    timer->Action = [&] { // this one frees its own timer
        ++fired;
        timer.reset();
    };
    ASSERT_TRUE(SpinUntil([&] { return fired == 1; }));
    SpinFor(30);
    EXPECT_EQ(fired, 1);

    int ticks = 0;
    const auto repeating = Started(1, fw::Timer::ModeMultiple, ticks);
    ASSERT_TRUE(SpinUntil([&] { return ticks >= 3; }));
    repeating->SetEnabled(false);
    const int stopped = ticks;
    SpinFor(30);
    EXPECT_EQ(ticks, stopped);
}

} // namespace
