// Inside the framework only: a window paints at most once per frame. Changes between two frames
// (cell texts, scrolls, status texts) are collected by Qt and drawn together at the next one.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

class QEvent;
class QWidget;

namespace fw::detail {

class FramePacer {
public:
    explicit FramePacer(QWidget& window);
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    // Whether the window may handle this event now. An update request that comes less than a frame
    // after the last paint waits for the next frame instead.
    bool Admit(const QEvent& event);

    // Brings a waiting paint forward or back to the present frame length.
    void Reschedule();

private:
    QWidget& window_;
    QElapsedTimer sincePaint_;
    QTimer nextFrame_;
};

// The frame length in milliseconds (16 by default); tests lengthen it to count paints. Paints already
// waiting follow the new length.
void SetFrameInterval(int milliseconds);

} // namespace fw::detail
