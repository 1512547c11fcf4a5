#include "framework/ui/qt/FramePacing.h"

#include "framework/ui/qt/OncePerFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <set>

namespace fw::detail {
namespace {
int g_frameInterval = kFrameMilliseconds;
int g_idleFrameInterval = kIdleFrameMilliseconds;

std::set<FramePacer*>& Pacers() {
    static std::set<FramePacer*> pacers;
    return pacers;
}

bool IsUse(const QEvent& event) {
    switch (event.type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        return true;
    default:
        return event.isInputEvent();
    }
}
} // namespace

// One filter for the whole application: input to any window lets every window paint at the next frame,
// since what one window does (a dialog's button) may change another.
class InputWatch : public QObject {
public:
    static void Install() {
        static QPointer<InputWatch> watch; // gone with its application
        if (!watch && qApp) {
            watch = new InputWatch(qApp);
            qApp->installEventFilter(watch);
        }
    }

private:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (IsUse(*event))
            for (FramePacer* pacer : Pacers())
                if (!pacer->inputSincePaint_) {
                    pacer->inputSincePaint_ = true;
                    pacer->Reschedule();
                }
        return false;
    }
};

void SetFrameInterval(int milliseconds, int idleMilliseconds) {
    g_frameInterval = milliseconds;
    g_idleFrameInterval = std::max(milliseconds, idleMilliseconds);
    for (FramePacer* pacer : Pacers())
        pacer->Reschedule();
}

FramePacer::FramePacer(QWidget& window) : window_(window) {
    Pacers().insert(this);
    InputWatch::Install();
    nextFrame_.setSingleShot(true);
    // A precise timer never fires early, so the request it posts is always admitted.
    nextFrame_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&nextFrame_, &QTimer::timeout, &window_, [this] {
        QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
}

FramePacer::~FramePacer() {
    Pacers().erase(this);
    for (OncePerFrame* work : beforePaint_)
        if (work)
            work->waitingOn_ = nullptr;
}

FramePacer* FramePacer::Of(const QWidget& widget) {
    const QWidget* window = widget.window();
    for (FramePacer* pacer : Pacers())
        if (&pacer->window_ == window)
            return pacer;
    return nullptr;
}

// What waits for the paint is done first, so that the paint shows it. Work asked for meanwhile waits for
// the next paint; work that goes meanwhile leaves a gap.
void FramePacer::RunWaitingWork() {
    const std::size_t waiting = beforePaint_.size();
    for (std::size_t i = 0; i < waiting; ++i)
        if (OncePerFrame* work = std::exchange(beforePaint_[i], nullptr)) {
            work->waitingOn_ = nullptr;
            work->Run();
        }
    beforePaint_.erase(beforePaint_.begin(), beforePaint_.begin() + static_cast<std::ptrdiff_t>(waiting));
}

int FramePacer::Interval() const { return inputSincePaint_ ? g_frameInterval : g_idleFrameInterval; }

void FramePacer::Reschedule() {
    if (nextFrame_.isActive())
        nextFrame_.start(static_cast<int>(std::max<qint64>(0, Interval() - sincePaint_.elapsed())));
}

bool FramePacer::Admit(const QEvent& event) {
    if (event.type() != QEvent::UpdateRequest)
        return true;
    if (nextFrame_.isActive())
        return false;
    const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : Interval();
    if (since >= Interval()) {
        sincePaint_.restart();
        inputSincePaint_ = false;
        RunWaitingWork();
        return true;
    }
    // Qt sends no further request until this one is handled: the timer brings it back.
    nextFrame_.start(static_cast<int>(Interval() - since));
    return false;
}

} // namespace fw::detail
