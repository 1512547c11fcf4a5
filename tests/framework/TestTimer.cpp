// Timers: modes, periods at the edges, and a timer freed from inside its own action.
#include "EventLoop.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <limits>

using testsupport::SpinFor;
using testsupport::SpinUntil;

namespace {

class TimerTest : public ::testing::Test {
protected:
    // Starts `timer` with `period` and `mode`, counting its firings in `fired`.
    static void Start(fw::Timer& timer, int64_t period, int mode, int& fired) {
        timer.Action = [&fired] { ++fired; };
        timer.SetPeriod(period);
        timer.SetMode(mode);
    }
};

// A single shot fires once and turns itself off; a period of 0 or less fires at the next turn of the
// loop; a huge period is clamped, not wrapped.
TEST_F(TimerTest, SingleShotsAtAnyPeriod) {
    for (int64_t period : {int64_t{5}, int64_t{0}, int64_t{-5}}) {
        fw::Timer timer;
        int fired = 0;
        Start(timer, period, fw::Timer::ModeSingle, fired);
        ASSERT_TRUE(SpinUntil([&] { return fired == 1; }, 1000)) << period;
        SpinFor(50);
        EXPECT_EQ(fired, 1) << period;
        EXPECT_EQ(timer.Mode(), fw::Timer::ModeOff) << period;
    }
    fw::Timer huge;
    int fired = 0;
    Start(huge, std::numeric_limits<int64_t>::max() - 1, fw::Timer::ModeSingle, fired);
    SpinFor(50);
    EXPECT_EQ(fired, 0) << "a wrapped period fired at once";
}

// Disabling stops a repeating timer; the action may free the timer that raised it.
TEST_F(TimerTest, DisableAndFreeFromOwnAction) {
    auto timer = std::make_unique<fw::Timer>();
    int fired = 0;
    timer->Action = [&] {
        ++fired;
        timer.reset();
    };
    timer->SetPeriod(1);
    timer->SetMode(fw::Timer::ModeMultiple);
    ASSERT_TRUE(SpinUntil([&] { return fired == 1; }));
    SpinFor(30);
    EXPECT_EQ(fired, 1);

    fw::Timer repeating;
    int ticks = 0;
    Start(repeating, 1, fw::Timer::ModeMultiple, ticks);
    ASSERT_TRUE(SpinUntil([&] { return ticks >= 3; }));
    repeating.SetEnabled(false);
    const int stopped = ticks;
    SpinFor(30);
    EXPECT_EQ(ticks, stopped);
}

} // namespace
