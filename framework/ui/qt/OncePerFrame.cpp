#include "framework/ui/qt/OncePerFrame.h"

#include "framework/ui/qt/FramePacing.h"

namespace fw::detail {

OncePerFrame::OncePerFrame(std::function<void()> work) : work_(std::move(work)) {
    next_.setSingleShot(true);
    next_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&next_, &QTimer::timeout, [this] { Run(); });
}

void OncePerFrame::Request() {
    if (next_.isActive())
        return;
    const qint64 since = sinceRun_.isValid() ? sinceRun_.elapsed() : kFrameMilliseconds;
    if (since >= kFrameMilliseconds)
        Run();
    else
        next_.start(static_cast<int>(kFrameMilliseconds - since));
}

void OncePerFrame::Run() {
    sinceRun_.restart();
    work_();
}

} // namespace fw::detail
