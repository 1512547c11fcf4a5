// A control that is seen on its window: geometry, edge locks, visibility, enabling and the mouse events.
#pragma once

#include "framework/runtime/Control.h"

#include <memory>

namespace fw {

struct ControlLayout;

class VisualControl : public Control {
public:
    ~VisualControl() override;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);

    bool Visible() const;
    void SetVisible(bool v);
    bool Enabled() const;
    void SetEnabled(bool v);
    void SetFocus();
    bool HasFocus() const;
    void Refresh(bool eraseBackground = true);
    // The help tag: the text the system shows while the pointer rests on the control.
    void SetHelpTag(const std::string& text);
    // Stacks the control above its siblings, so that it takes the clicks where they overlap.
    void BringToFront();

    // Edge locks: a control keeps its distance to each locked edge when the window is resized.
    struct Locks {
        bool left = false, top = false, right = false, bottom = false;
    };
    const Locks& EdgeLocks() const { return locks_; }

    // Mouse events; MouseDown returns true to accept the press so that the release is delivered.
    std::function<void()> MouseEnter;
    std::function<void()> MouseExit;
    std::function<bool(int, int)> MouseDown;
    std::function<void(int, int)> MouseUp;

    struct Impl;
    Impl& impl() const { return *impl_; }

protected:
    // `widget` is a Qt widget (passed untyped so that this header stays free of Qt); its parent owns it.
    VisualControl(const ControlLayout& layout, void* widget);

private:
    friend class Window;
    std::unique_ptr<Impl> impl_;
    Locks locks_;
};

} // namespace fw
