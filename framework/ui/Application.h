// The application object: menu handlers by item name, the menu bar, the event loop and its yields.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace fw {

class MenuBar;
class Window;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The registered application object, or nullptr.
    static Application* Instance();

    MenuBar* GetMenuBar() const { return menuBar_; }
    // The bar is owned by whoever built it; it must outlive the application's windows.
    void SetMenuBar(MenuBar* bar) { menuBar_ = bar; }

    void _AddMenuHandler(const std::string& itemName, std::function<bool()> handler);

    // A menu command: the frontmost window's handler first, then, when that is missing or returns false,
    // the application's. Returns true when a handler reported the command handled.
    bool HandleMenuCommand(const std::string& itemName);
    // The enabling pass run before a menu opens or a shortcut fires.
    void UpdateMenuEnabling();

    // Delivers pending events (for up to `milliseconds` when given).
    void DoEvents(int milliseconds = -1);
    // Raises the application's Open event; the runtime calls it once before the event loop.
    void Open();
    void Quit();

    int MajorVersion = 1;
    int MinorVersion = 0;
    int BugVersion = 0;
    int NonReleaseVersion = 1;

protected:
    virtual void Event_Open() {}

private:
    MenuBar* menuBar_ = nullptr;
    std::map<std::string, std::function<bool()>> handlers_;
};

} // namespace fw
