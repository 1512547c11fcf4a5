// Inside the framework only: work that matters only to what the screen shows (handing a changed text to
// its widget), done at most once per frame however often it is asked for.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace fw::detail {

class FramePacer;

class OncePerFrame {
public:
    // `widget` is where the work shows.
    OncePerFrame(QWidget& widget, std::function<void()> work);
    ~OncePerFrame();
    OncePerFrame(const OncePerFrame&) = delete;
    OncePerFrame& operator=(const OncePerFrame&) = delete;

    // Does the work now when it was last done a frame of its window ago or more (the window's own frame:
    // idle while nobody uses the application), or when the widget is hidden; otherwise once, right before
    // the window next paints.
    void Request();

private:
    friend class FramePacer;
    void Run();

    QPointer<QWidget> widget_;
    std::function<void()> work_;
    QElapsedTimer sinceRun_;
    FramePacer* waitingOn_ = nullptr;
};

} // namespace fw::detail
