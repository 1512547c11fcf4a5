#include "framework/ui/qt/OncePerFrame.h"

#include "framework/ui/qt/FramePacing.h"

#include <algorithm>

namespace fw::detail {

OncePerFrame::OncePerFrame(QWidget& widget, std::function<void()> work) : widget_(&widget), work_(std::move(work)) {}

OncePerFrame::~OncePerFrame() {
    if (waitingOn_)
        std::ranges::replace(waitingOn_->beforePaint_, this, nullptr);
}

void OncePerFrame::Request() {
    if (waitingOn_)
        return;
    // A hidden widget has no paint to wait for: what it holds must be right when it is shown or read.
    FramePacer* pacer = widget_ && widget_->isVisible() ? FramePacer::Of(*widget_) : nullptr;
    if (!pacer || !sinceRun_.isValid() || sinceRun_.elapsed() >= pacer->Interval()) {
        Run();
        return;
    }
    // Whatever comes before that paint is handed over once, the last of it.
    waitingOn_ = pacer;
    pacer->beforePaint_.push_back(this);
    widget_->update();
}

void OncePerFrame::Run() {
    sinceRun_.restart();
    work_();
}

} // namespace fw::detail
