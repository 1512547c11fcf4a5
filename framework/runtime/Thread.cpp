#include "framework/runtime/Thread.h"

#include "framework/runtime/Layout.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <boost/context/fiber.hpp>
#include <boost/context/fixedsize_stack.hpp>
#include <cstdio>
#include <deque>
#include <exception>
#include <vector>

#if defined(QUILLFEN_ASAN)
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace fw {
namespace ctx = boost::context;

namespace {
// Thrown at a suspended body's yield when its thread is destroyed: the body's frames unwind on its own
// stack and it returns through the same annotated switch as a body that ends by itself.
struct UnwindBody {};

// Tells AddressSanitizer about every stack switch, so that it tracks the right stack.
struct StackSwitch {
    void* fakeStack = nullptr;
    void Start([[maybe_unused]] const void* bottom, [[maybe_unused]] size_t size, [[maybe_unused]] bool leaving) {
#if defined(QUILLFEN_ASAN)
        __sanitizer_start_switch_fiber(leaving ? nullptr : &fakeStack, bottom, size);
#endif
    }
    void Finish([[maybe_unused]] const void** oldBottom, [[maybe_unused]] size_t* oldSize) {
#if defined(QUILLFEN_ASAN)
        __sanitizer_finish_switch_fiber(fakeStack, oldBottom, oldSize);
#endif
    }
};
constexpr size_t kStackSize = 512 * 1024;

// Stacks of finished threads are kept for the next ones: a scan starts a thread per row, and mapping a
// fresh stack each time costs more than the thread's work. A few are kept, never more.
class StackPool {
public:
    ctx::stack_context allocate() {
        auto& idle = Idle();
        if (idle.empty())
            return ctx::fixedsize_stack(kStackSize).allocate();
        ctx::stack_context stack = idle.back();
        idle.pop_back();
#if defined(QUILLFEN_ASAN)
        // Frames that were left by a switch, not a return, may still be marked on the reused stack.
        __asan_unpoison_memory_region(static_cast<char*>(stack.sp) - stack.size, stack.size);
#endif
        return stack;
    }
    void deallocate(ctx::stack_context& stack) noexcept {
        auto& idle = Idle();
        if (idle.size() < kKept)
            idle.push_back(stack);
        else
            ctx::fixedsize_stack(kStackSize).deallocate(stack);
    }

private:
    static constexpr size_t kKept = 64;
    struct Stacks : std::vector<ctx::stack_context> {
        ~Stacks() {
            for (ctx::stack_context& stack : *this)
                ctx::fixedsize_stack(kStackSize).deallocate(stack);
        }
    };
    static Stacks& Idle() {
        static Stacks idle;
        return idle;
    }
};
} // namespace

struct Thread::Fiber {
    StackPool allocator;
    ctx::stack_context stack;
    ctx::fiber self;   // the suspended body, resumed by the scheduler
    ctx::fiber caller; // the event loop, resumed by a yield
    const void* callerBottom = nullptr;
    size_t callerSize = 0;
    bool finished = false;
    bool unwinding = false; // set when the thread is destroyed while its body is suspended

    const void* Bottom() const { return static_cast<const char*>(stack.sp) - stack.size; }
};

class Scheduler {
public:
    static Scheduler& Get() {
        static Scheduler scheduler;
        return scheduler;
    }

    void Add(Thread* t) {
        ready_.push_back(t);
        SchedulePump();
    }
    void Remove(Thread* t) { std::erase(ready_, t); }
    bool IsReady(const Thread* t) const { return std::find(ready_.begin(), ready_.end(), t) != ready_.end(); }
    Thread* Current() const { return current_; }
    int ReadyCount() const { return static_cast<int>(ready_.size()); }

    // Resumes every thread that was ready when called, one slice each.
    void RunSlices() {
        size_t n = ready_.size();
        while (n-- > 0 && !ready_.empty()) {
            Thread* t = ready_.front();
            ready_.pop_front();
            Resume(t);
            if (t->fiber_ && !t->fiber_->finished)
                ready_.push_back(t);
        }
    }

    // Gives way from inside a thread back to the event loop.
    void YieldCurrent() {
        Thread::Fiber& f = *current_->fiber_;
        StackSwitch sw;
        sw.Start(f.callerBottom, f.callerSize, false);
        f.caller = std::move(f.caller).resume();
        sw.Finish(&f.callerBottom, &f.callerSize);
        if (f.unwinding)
            throw UnwindBody{};
    }

    // Ends a suspended body by unwinding it, so that its objects are destroyed and the stack switches
    // stay known to the address sanitizer (a fiber freed while suspended would switch behind its back).
    void Unwind(Thread* t) {
        Remove(t);
        if (!t->IsRunning() || current_ == t)
            return;
        t->fiber_->unwinding = true;
        Resume(t);
    }

private:
    // A zero timer lets the event loop deliver other events between two rounds of slices. Unlike a posted
    // call it needs no wake-up of the loop, which is already running: a scan starts a thread per row.
    void SchedulePump() {
        if (!QCoreApplication::instance())
            return;
        if (!pump_) {
            pump_ = new QTimer(QCoreApplication::instance()); // it ends with the application
            pump_->setSingleShot(true);
            pump_->setInterval(0);
            QObject::connect(pump_, &QTimer::timeout, [this] {
                RunSlices();
                if (!ready_.empty())
                    SchedulePump();
            });
        }
        if (!pump_->isActive())
            pump_->start();
    }

    void Resume(Thread* t) {
        Thread* previous = current_;
        current_ = t;
        Thread::Fiber& f = *t->fiber_;
        StackSwitch sw;
        sw.Start(f.Bottom(), f.stack.size, false);
        f.self = std::move(f.self).resume();
        sw.Finish(nullptr, nullptr);
        current_ = previous;
    }

    std::deque<Thread*> ready_;
    Thread* current_ = nullptr;
    QPointer<QTimer> pump_;
};

Thread::Thread() { DeclareEvent("Run", RunEvent); }

Thread::Thread(const ControlLayout& layout) : Thread() { SetName(layout.name); }

Thread::~Thread() {
    Scheduler::Get().Unwind(this); // while the thread's members are alive
    fiber_.reset();
}

void Thread::Run() {
    if (IsRunning())
        return;
    fiber_ = std::make_unique<Fiber>();
    Fiber& f = *fiber_;
    f.stack = f.allocator.allocate();
    f.self = ctx::fiber(std::allocator_arg, ctx::preallocated(f.stack.sp, f.stack.size, f.stack), f.allocator,
                        [this, &f](ctx::fiber&& caller) {
                            f.caller = std::move(caller);
                            StackSwitch entered;
                            entered.Finish(&f.callerBottom, &f.callerSize);
                            try {
                                if (!f.unwinding)
                                    Event_Run();
                            } catch (const UnwindBody&) {
                            } catch (const ctx::detail::forced_unwind&) {
                                throw;
                            } catch (const std::exception& e) {
                                // Exceptions never cross the event loop: the thread ends here.
                                std::fprintf(stderr, "thread %s ended by an error: %s\n", Name().c_str(), e.what());
                            }
                            f.finished = true;
                            StackSwitch leaving;
                            leaving.Start(f.callerBottom, f.callerSize, true);
                            return std::move(f.caller);
                        });
    Scheduler::Get().Add(this);
}

bool Thread::IsRunning() const { return fiber_ && !fiber_->finished; }

void Thread::Event_Run() { Raise(RunEvent); }

void BackgroundYield() {
    Scheduler& s = Scheduler::Get();
    if (s.Current())
        s.YieldCurrent();
    else
        s.RunSlices();
}

int ReadyThreadCount() { return Scheduler::Get().ReadyCount(); }

namespace {
const char g_eventLoop = 0;

const void* CurrentContext() {
    Thread* t = Scheduler::Get().Current();
    return t ? static_cast<const void*>(t) : &g_eventLoop;
}
} // namespace

bool CriticalSection::TryEnter() {
    const void* me = CurrentContext();
    if (depth_ > 0 && owner_ != me)
        return false;
    owner_ = me;
    ++depth_;
    return true;
}

void CriticalSection::Enter() {
    while (!TryEnter()) {
        // A thread holder that is no longer scheduled can never leave: the section is abandoned, take it over.
        if (owner_ != &g_eventLoop && !Scheduler::Get().IsReady(static_cast<const Thread*>(owner_))) {
            owner_ = CurrentContext();
            depth_ = 1;
            return;
        }
        BackgroundYield();
    }
}

void CriticalSection::Leave() {
    if (depth_ > 0 && owner_ == CurrentContext() && --depth_ == 0)
        owner_ = nullptr;
}

} // namespace fw
