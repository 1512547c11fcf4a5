#include "framework/ui/Application.h"

#include "framework/ui/MenuBar.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace fw {
namespace {
Application* g_application = nullptr;

void AutoEnable(MenuItem& item) {
    for (int i = 0; i < item.Count(); ++i) {
        MenuItem& child = item.Item(i);
        child.Enabled = child.AutoEnable;
        AutoEnable(child);
    }
}
} // namespace

Application::Application() { g_application = this; }

Application::~Application() {
    if (g_application == this)
        g_application = nullptr;
}

Application* Application::Instance() { return g_application; }

void Application::_AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
    handlers_[itemName] = std::move(handler);
}

bool Application::HandleMenuCommand(const std::string& itemName) {
    if (Window* front = detail::FrontmostWindow()) {
        if (front->HandleMenuCommand(itemName))
            return true;
    }
    auto it = handlers_.find(itemName);
    return it != handlers_.end() && it->second && it->second();
}

void Application::UpdateMenuEnabling() {
    if (!menuBar_)
        return;
    // The menus themselves stay usable; their items start from their automatic enabling.
    for (int i = 0; i < menuBar_->Count(); ++i)
        AutoEnable(menuBar_->Item(i));
    if (Window* front = detail::FrontmostWindow())
        front->EnableMenuItems();
}

void Application::DoEvents(int milliseconds) {
    if (milliseconds < 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

void Application::Open() { Event_Open(); }

void Application::Quit() { Runtime::Quit(0); }

} // namespace fw
