// A window: created from its layout, its controls reached and their events bound by name.
#pragma once

#include "framework/runtime/Control.h"
#include "framework/runtime/Layout.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class Picture;

// The width of screen 0, the main screen.
int MainScreenWidth();

class Window {
public:
    explicit Window(std::string layoutName);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Runs the creation order: Layout, CreateControls (then each control's Open), AddMenuHandlers,
    // SetupBindings, Event_Open; a window visible by its layout then shows itself.
    void Create();

    void Show();
    // Closes the window; the accessor then makes a new one. The object itself is freed at the next turn
    // of the event loop, so a caller still inside one of its handlers is safe.
    void Close();
    bool IsClosed() const { return closed_; }
    void Refresh(bool eraseBackground = true);

    std::string Title() const;
    bool LiveResize() const { return liveResize_; }
    void SetLiveResize(bool on) { liveResize_ = on; }
    bool Visible() const;
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v);
    void SetTop(int v);
    // Size of the content area (below the menu bar).
    void SetSize(int width, int height);
    // The brushed-metal look: a gray gradient behind the controls; false restores the normal look.
    bool Metal() const { return metal_; }
    void SetMetal(bool on);
    // A picture drawn behind the controls at the top left; the caller keeps it alive (nullptr: none).
    void SetBackdrop(const Picture* picture);

    // The control called `name`; throws std::logic_error when there is none or it is of another kind.
    template <class C> C& Get(const std::string& name) const {
        auto* c = dynamic_cast<C*>(Find(name));
        if (!c)
            throw std::logic_error("window " + layoutName_ + " has no control " + name + " of that kind");
        return *c;
    }
    Control* Find(const std::string& name) const;

    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    // True when this window's handler ran and reported the command handled.
    bool HandleMenuCommand(const std::string& itemName);
    void EnableMenuItems() { Event_EnableMenuItems(); }

    const WindowLayout& LayoutData() const { return layout_; }
    const std::string& LayoutName() const { return layoutName_; }

    struct Impl;
    Impl& impl() const { return *impl_; }

protected:
    virtual void Layout();
    virtual void CreateControls();
    virtual void AddMenuHandlers() {}
    virtual void SetupBindings() {}
    virtual void Event_Open() {}
    virtual void Event_Close() {}
    virtual void Event_EnableMenuItems() {}
    // After every size change, live or final.
    virtual void Event_Resized() {}

    // Binds the event named by `handlerName` ("PushButton1_Action": control, underscore, event) to `method`.
    template <class W, class R, class... A> void Bind(const std::string& handlerName, R (W::*method)(A...)) {
        auto* self = static_cast<W*>(this);
        std::function<R(A...)> fn = [self, method](A... args) -> R { return (self->*method)(args...); };
        BindByName(handlerName, std::any(std::move(fn)));
    }

private:
    friend struct Impl;
    void BindByName(const std::string& handlerName, std::any handler);
    void UserClosed();
    void Resized();
    void Place(int placement);

    std::string layoutName_;
    WindowLayout layout_;
    std::unique_ptr<Impl> impl_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, std::function<bool()>> menuHandlers_;
    bool closed_ = false;
    bool liveResize_ = false;
    bool metal_ = false;
};

} // namespace fw
