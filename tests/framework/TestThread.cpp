// Cooperative threads: scheduling, interleaving with the event loop, yields and critical sections.
#include "EventLoop.h"
#include "framework/Thread.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

class ThreadTest : public ::testing::Test {
protected:
    std::string trace;

    // A thread, already started, that writes `tag` and its step, yielding after each of `steps` steps.
    std::unique_ptr<fw::Thread> Stepper(char tag, int steps) {
        auto t = std::make_unique<fw::Thread>();
        t->RunEvent = [this, tag, steps] {
            for (int i = 0; i < steps; ++i) {
                trace += tag + std::to_string(i);
                fw::BackgroundYield();
            }
        };
        t->Run();
        return t;
    }
};

// Run only schedules: nothing runs inside Run; the yield called on the event loop runs each ready thread
// exactly one slice; left to the event loop, threads take turns at their yields and timers fire between.
TEST_F(ThreadTest, ThreadsTakeTurnsWithEachOtherAndWithTimers) {
    auto a = Stepper('a', 5);
    auto b = Stepper('b', 5);
    EXPECT_EQ(trace, "");
    EXPECT_TRUE(a->IsRunning());
    fw::BackgroundYield();
    EXPECT_EQ(trace, "a0b0");
    fw::BackgroundYield();
    EXPECT_EQ(trace, "a0b0a1b1");

    fw::Timer timer;
    timer.Action = [&] { trace += 'T'; };
    timer.SetPeriod(0);
    timer.SetMode(fw::Timer::ModeMultiple);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return !a->IsRunning() && !b->IsRunning(); }));
    std::string steps = trace;
    std::erase(steps, 'T');
    EXPECT_EQ(steps, "a0b0a1b1a2b2a3b3a4b4");
    EXPECT_LT(trace.find('T'), trace.rfind("b4")) << "a timer fired only after the threads had ended: " << trace;
}

// A thread that ends, by an error or by returning, leaves the scheduler: the error ends that thread only
// and the event loop goes on; with nothing ready the scheduler leaves the loop idle, costing no CPU.
TEST_F(ThreadTest, EndedThreadsLeaveTheLoopRunningAndIdle) {
    fw::Thread t;
    t.RunEvent = [] { throw std::runtime_error("boom"); };
    t.Run();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return !t.IsRunning(); }));
    auto after = Stepper('z', 1);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return trace == "z0" && !after->IsRunning(); }));
    const std::clock_t before = std::clock(); // processor time of the whole process
    testsupport::IdleFor(400);
    EXPECT_LT(static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 0.15);
}

// A critical section is re-entrant for its holder and shuts out other threads until fully left.
TEST_F(ThreadTest, CriticalSectionIsReentrantAndExclusive) {
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
    testsupport::SpinFor(50); // the thread now waits at the door
    section.Leave();
    testsupport::SpinFor(50);
    EXPECT_FALSE(threadGotIn) << "one Leave of two let another thread in";
    section.Leave();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return threadGotIn; }));
    EXPECT_TRUE(section.TryEnter());
    section.Leave();
}

} // namespace
