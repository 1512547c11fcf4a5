// Single-instance windows: the accessor returns the open instance of a class or creates one.
#pragma once

#include <memory>
#include <typeindex>

namespace fw {

class Window;

namespace detail {
Window* OpenWindow(std::type_index type);
void RegisterWindow(std::type_index type, std::unique_ptr<Window> window);
// Called by Window::Close: the instance is no longer returned and is freed at the next turn of the loop.
void RetireWindow(Window& window);
// Raised by Show and by the user activating a window.
void BringToFront(Window& window);
Window* FrontmostWindow();
int OpenWindowCount();
// Closes every open window by code (shut-down).
void CloseAllWindows();
// Frees retired windows now (tests; the event loop does it otherwise).
void FreeRetiredWindows();
} // namespace detail

template <class W> W& Instance() {
    if (Window* open = detail::OpenWindow(typeid(W)))
        return static_cast<W&>(*open);
    auto owned = std::make_unique<W>();
    W& window = *owned;
    detail::RegisterWindow(typeid(W), std::move(owned));
    window.Create();
    return window;
}

// Closes the open instance of a class, if there is one, without creating one to close.
template <class W> void CloseIfOpen() {
    if (Window* open = detail::OpenWindow(typeid(W)))
        static_cast<W*>(open)->Close();
}

} // namespace fw
