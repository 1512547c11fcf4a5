#include "framework/ui/qt/FramePacing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <set>

namespace fw::detail {
namespace {
int g_frameInterval = 16;

std::set<FramePacer*>& Pacers() {
    static std::set<FramePacer*> pacers;
    return pacers;
}
} // namespace

void SetFrameInterval(int milliseconds) {
    g_frameInterval = milliseconds;
    for (FramePacer* pacer : Pacers())
        pacer->Reschedule();
}

FramePacer::FramePacer(QWidget& window) : window_(window) {
    Pacers().insert(this);
    nextFrame_.setSingleShot(true);
    // A precise timer never fires early, so the request it posts is always admitted.
    nextFrame_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&nextFrame_, &QTimer::timeout, &window_, [this] {
        QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
}

FramePacer::~FramePacer() { Pacers().erase(this); }

void FramePacer::Reschedule() {
    if (nextFrame_.isActive())
        nextFrame_.start(static_cast<int>(std::max<qint64>(0, g_frameInterval - sincePaint_.elapsed())));
}

bool FramePacer::Admit(const QEvent& event) {
    if (event.type() != QEvent::UpdateRequest)
        return true;
    if (nextFrame_.isActive())
        return false;
    const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : g_frameInterval;
    if (since >= g_frameInterval) {
        sincePaint_.restart();
        return true;
    }
    // Qt sends no further request until this one is handled: the timer brings it back.
    nextFrame_.start(static_cast<int>(g_frameInterval - since));
    return false;
}

} // namespace fw::detail
