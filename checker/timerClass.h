// A dispatched row's time-out: single shot, armed by the row's worker before it sends the request.
#pragma once

#include "framework/runtime/Timer.h"

namespace quillfen {

class threadClass;

class timerClass : public fw::Timer {
public:
    timerClass(threadClass& worker, int row) : scanTransportTimer(row), worker_(worker) {}

    // Takes the row's result as a time-out, unless another path took it first.
    void back();

    const int scanTransportTimer;

protected:
    void Event_Action() override;

private:
    threadClass& worker_;
};

} // namespace quillfen
