#include "framework/ui/WindowRegistry.h"

#include "framework/ui/Window.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <map>
#include <vector>

namespace fw::detail {
namespace {

struct Registry {
    std::map<std::type_index, std::unique_ptr<Window>> open;
    std::vector<std::unique_ptr<Window>> retired;
    std::vector<Window*> zOrder; // front last
    bool freeScheduled = false;
};

Registry& Get() {
    static Registry registry;
    return registry;
}

} // namespace

Window* OpenWindow(std::type_index type) {
    auto it = Get().open.find(type);
    return it == Get().open.end() ? nullptr : it->second.get();
}

void RegisterWindow(std::type_index type, std::unique_ptr<Window> window) {
    Get().open[type] = std::move(window);
}

void RetireWindow(Window& window) {
    Registry& r = Get();
    std::erase(r.zOrder, &window);
    for (auto it = r.open.begin(); it != r.open.end(); ++it) {
        if (it->second.get() == &window) {
            r.retired.push_back(std::move(it->second));
            r.open.erase(it);
            break;
        }
    }
    if (!r.freeScheduled && QCoreApplication::instance()) {
        r.freeScheduled = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [] { FreeRetiredWindows(); });
    }
}

void BringToFront(Window& window) {
    if (window.IsClosed())
        return;
    Registry& r = Get();
    std::erase(r.zOrder, &window);
    r.zOrder.push_back(&window);
}

Window* FrontmostWindow() {
    Registry& r = Get();
    for (auto it = r.zOrder.rbegin(); it != r.zOrder.rend(); ++it)
        if ((*it)->Visible())
            return *it;
    return nullptr;
}

int OpenWindowCount() {
    int n = 0;
    for (const auto& [type, window] : Get().open)
        n += window->Visible() ? 1 : 0;
    return n;
}

void CloseAllWindows() {
    std::vector<Window*> open;
    for (const auto& [type, window] : Get().open)
        open.push_back(window.get());
    for (Window* window : open)
        window->Close();
}

void FreeRetiredWindows() {
    Registry& r = Get();
    r.freeScheduled = false;
    // A window's destructor may retire others: take the list first.
    auto retired = std::move(r.retired);
    r.retired.clear();
    retired.clear();
}

} // namespace fw::detail
