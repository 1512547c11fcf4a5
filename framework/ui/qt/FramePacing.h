// Inside the framework only: a window paints at most once per frame. Changes between two frames
// (cell texts, scrolls, status texts) are collected by Qt and drawn together at the next one.
// While nobody uses the application, changes the program makes on its own (a scan writing rows) are
// drawn at most ten times a second: more is wasted on a page nobody can read, and costs the scan its
// speed. Any input (a key, a click, the pointer, a change of focus) brings the next frame back.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <vector>

class QEvent;
class QWidget;

namespace fw::detail {

class OncePerFrame;

class FramePacer {
public:
    explicit FramePacer(QWidget& window);
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    // Whether the window may handle this event now. An update request that comes sooner than the
    // present frame length after the last paint waits for the next frame instead.
    bool Admit(const QEvent& event);

    // Brings a waiting paint forward or back to the present frame length.
    void Reschedule();

    // The present frame length in milliseconds: short after input, idle otherwise.
    int Interval() const;
    // The pacer of the window that holds `widget`; null when it has none.
    static FramePacer* Of(const QWidget& widget);

private:
    friend class OncePerFrame;
    void RunWaitingWork();

    QWidget& window_;
    QElapsedTimer sincePaint_;
    QTimer nextFrame_;
    bool inputSincePaint_ = false;
    std::vector<OncePerFrame*> beforePaint_; // work waiting for the window's next paint
    friend class InputWatch;
};

// The screen's frame, and the frame while nobody uses the application, in milliseconds.
constexpr int kFrameMilliseconds = 16;
constexpr int kIdleFrameMilliseconds = 100;

// The frame lengths in milliseconds, after input and without it (never shorter than the first). Tests
// lengthen them to count paints. Paints already waiting follow them.
void SetFrameInterval(int milliseconds, int idleMilliseconds = kIdleFrameMilliseconds);

} // namespace fw::detail
