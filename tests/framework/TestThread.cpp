// Cooperative threads and timers: scheduling, interleaving with the event loop, timer modes and periods.
#include "EventLoop.h"
#include "framework/runtime/Thread.h"
#include "framework/runtime/Timer.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <limits>
#include <string>

using testsupport::SpinFor, testsupport::SpinUntil;

namespace {

// A timer started with `period` and `mode`, running `action` when it fires.
std::unique_ptr<fw::Timer> Started(int64_t period, int mode, std::function<void()> action) {
    auto timer = std::make_unique<fw::Timer>();
    timer->Action = std::move(action);
    timer->SetPeriod(period);
    timer->SetMode(mode);
    return timer;
}

// Run only schedules: nothing runs inside Run; the yield called on the event loop runs each ready thread
// exactly one slice; left to the event loop, threads take turns at their yields and timers fire between.
// A thread's error ends that thread only; with nothing ready the scheduler leaves the loop idle.
TEST(ThreadTest, ThreadsTakeTurnsWithEachOtherAndWithTimers) {
    std::string trace;
    fw::Thread failing, a, b;
    failing.RunEvent = [] { throw std::runtime_error("boom"); };
    failing.Run();
    for (auto [thread, tag] : {std::pair(&a, 'a'), std::pair(&b, 'b')}) {
        thread->RunEvent = [&trace, tag] { // its tag and step, yielding after each of 5 steps
            for (int i = 0; i < 5; ++i) {
                trace += tag + std::to_string(i);
                fw::BackgroundYield();
            }
        };
        thread->Run();
    }
    EXPECT_EQ(trace, "");
    fw::BackgroundYield();
    EXPECT_EQ(trace, "a0b0");

    const auto timer = Started(0, fw::Timer::ModeMultiple, [&] { trace += 'T'; });
    ASSERT_TRUE(SpinUntil([&] { return !a.IsRunning() && !b.IsRunning() && !failing.IsRunning(); }));
    std::string steps = trace;
    std::erase(steps, 'T');
    EXPECT_EQ(steps, "a0b0a1b1a2b2a3b3a4b4");
    EXPECT_LT(trace.find('T'), trace.rfind("b4"))
        << "a timer fired only after the threads had ended: " << trace;

    timer->SetEnabled(false);
    const std::clock_t before = std::clock(); // processor time of the whole process
    QEventLoop idle;                          // a real, blocking loop, idle unless something is scheduled
    QTimer::singleShot(400, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_LT(static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 0.15);
}

// A critical section is re-entrant for its holder and shuts out other threads until fully left.
TEST(ThreadTest, CriticalSectionIsReentrantAndExclusive) {
    fw::CriticalSection section;
    section.Enter();
    section.Enter();
    bool threadGotIn = false;
    fw::Thread t;
    t.RunEvent = [&] {
        section.Enter();
        threadGotIn = true;
        section.Leave();
    };
    t.Run();
    SpinFor(50); // the thread now waits at the door
    section.Leave();
    SpinFor(50);
    EXPECT_FALSE(threadGotIn) << "one Leave of two let another thread in";
    section.Leave();
    EXPECT_TRUE(SpinUntil([&] { return threadGotIn; }));
}

// A single shot fires once and turns itself off, a period of 0 or less at the next turn of the loop; a
// huge period is clamped, not wrapped. Disabling stops a repeating timer; an action may free its timer.
TEST(ThreadTest, TimersAtAnyPeriodStopAndMayBeFreedByTheirAction) {
    for (int64_t period : {int64_t{5}, int64_t{0}, int64_t{-5}, std::numeric_limits<int64_t>::max() - 1}) {
        int fired = 0;
        const auto timer = Started(period, fw::Timer::ModeSingle, [&] { ++fired; });
        const bool soon = period < 1000;
        EXPECT_EQ(SpinUntil([&] { return fired == 1; }, soon ? 1000 : 50), soon) << period;
        SpinFor(50);
        EXPECT_EQ(fired, soon ? 1 : 0) << period;
        EXPECT_EQ(timer->Mode() == fw::Timer::ModeOff, soon) << period;
    }

    int fired = 0, ticks = 0;
    std::unique_ptr<fw::Timer> freed = Started(1, fw::Timer::ModeMultiple, [&] {
        ++fired;
        freed.reset();
    });
    const auto repeating = Started(1, fw::Timer::ModeMultiple, [&] { ++ticks; });
    ASSERT_TRUE(SpinUntil([&] { return ticks >= 3; }));
    repeating->SetEnabled(false);
    const int stopped = ticks;
    SpinFor(30);
    EXPECT_EQ(std::pair(fired, ticks), std::pair(1, stopped));
}

} // namespace
