// Inside the framework only: work that matters only to what the screen shows (handing a changed text to
// its widget), done at most once per frame however often it is asked for.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

namespace fw::detail {

class OncePerFrame {
public:
    explicit OncePerFrame(std::function<void()> work);

    // Does the work now when it was last done a frame ago or more; otherwise once, at the next frame.
    void Request();

private:
    void Run();

    std::function<void()> work_;
    QElapsedTimer sinceRun_;
    QTimer next_;
};

} // namespace fw::detail
