// Bounded waits on the event loop for tests.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace testsupport {

// Delivers events until `done` holds or `timeoutMs` has passed; returns whether `done` held.
inline bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    for (; !done(); QThread::msleep(1)) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
// Lets the events that are already due be handled.
inline void ProcessPendingEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
// Delivers events for about `ms` milliseconds.
inline void SpinFor(int ms) {
    SpinUntil([] { return false; }, ms);
}

} // namespace testsupport
