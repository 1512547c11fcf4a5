// Timers: modes, periods at the edges, and a timer freed from inside its own action.
#include "EventLoop.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class TimerTest : public ::testing::Test {};

// A single shot fires once and turns itself off.
TEST_F(TimerTest, SingleShotFiresOnceAndTurnsOff) {
    fw::Timer timer;
    int fired = 0;
    timer.Action = [&] { ++fired; };
    timer.SetPeriod(5);
    timer.SetMode(fw::Timer::ModeSingle);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return fired == 1; }));
    testsupport::SpinFor(50);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timer.Mode(), fw::Timer::ModeOff);
}

// A period of 0 or less fires at the next turn of the loop; a huge period is clamped, not wrapped.
TEST_F(TimerTest, PeriodsAtTheEdges) {
    for (int64_t period : {int64_t{0}, int64_t{-5}}) {
        fw::Timer timer;
        bool fired = false;
        timer.Action = [&] { fired = true; };
        timer.SetPeriod(period);
        timer.SetMode(fw::Timer::ModeSingle);
        EXPECT_TRUE(testsupport::SpinUntil([&] { return fired; }, 1000)) << period;
    }
    fw::Timer huge;
    bool fired = false;
    huge.Action = [&] { fired = true; };
    huge.SetPeriod(std::numeric_limits<int64_t>::max() - 1);
    huge.SetMode(fw::Timer::ModeSingle);
    testsupport::SpinFor(50);
    EXPECT_FALSE(fired) << "a wrapped period fired at once";
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
    ASSERT_TRUE(testsupport::SpinUntil([&] { return fired == 1; }));
    testsupport::SpinFor(30);
    EXPECT_EQ(fired, 1);

    fw::Timer repeating;
    int ticks = 0;
    repeating.Action = [&] { ++ticks; };
    repeating.SetPeriod(1);
    repeating.SetMode(fw::Timer::ModeMultiple);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return ticks >= 3; }));
    repeating.SetEnabled(false);
    const int stopped = ticks;
    testsupport::SpinFor(30);
    EXPECT_EQ(ticks, stopped);
}

} // namespace
