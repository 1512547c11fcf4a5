// Cooperative threads: each Run is a fiber that the event loop resumes; it gives way only at yields.
#pragma once

#include "framework/runtime/Control.h"

#include <memory>

namespace fw {

struct ControlLayout;

class Thread : public Control {
public:
    Thread();
    explicit Thread(const ControlLayout& layout);
    ~Thread() override;

    // Schedules the thread; its body starts when the event loop next resumes ready threads.
    void Run();
    // True from Run until the body has returned.
    bool IsRunning() const;

    // The thread's body, bound by name as the "Run" event (e.g. DeleteLoopThread11_Run).
    std::function<void()> RunEvent;

protected:
    virtual void Event_Run();

private:
    friend class Scheduler;
    struct Fiber;
    std::unique_ptr<Fiber> fiber_;
};

// The background-task yield: inside a thread, gives way to the event loop and the other threads;
// on the event loop itself, lets every ready thread run one slice.
void BackgroundYield();

// Number of threads waiting to be resumed (for tests and idle checks).
int ReadyThreadCount();

// Re-entrant for the context (event loop or thread) that holds it; never blocks the event loop.
class CriticalSection {
public:
    void Enter();
    bool TryEnter();
    void Leave();

private:
    const void* owner_ = nullptr;
    int depth_ = 0;
};

} // namespace fw
