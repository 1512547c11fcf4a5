// Menu commands: the frontmost window first, then the application; enabling before a command fires.
#include "EventLoop.h"
#include "framework/Application.h"
#include "framework/MenuBar.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_calls;

class MenuWindow : public fw::Window {
public:
    MenuWindow() : fw::Window("TestWindow") {}
    bool answer = false;
    bool enableManual = false;

protected:
    void AddMenuHandlers() override {
        AddMenuHandler("Shared", [this] {
            g_calls.push_back("window");
            return answer;
        });
    }
    void Event_EnableMenuItems() override {
        if (enableManual)
            fw::Application::Instance()->GetMenuBar()->_Lookup("Manual")->Enabled = true;
    }
};

std::unique_ptr<fw::MenuItem> Item(const char* name, bool autoEnable) {
    auto item = std::make_unique<fw::MenuItem>();
    item->Name = name;
    item->Text = name;
    item->AutoEnable = autoEnable;
    return item;
}

class MenuDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto menu = Item("Menu", false);
        menu->Append(Item("Shared", true));
        menu->Append(Item("Manual", false));
        menu->Append(Item("AppOnly", true));
        bar.Append(std::move(menu));
        app.SetMenuBar(&bar);
        app._AddMenuHandler("Shared", [] {
            g_calls.push_back("app");
            return false;
        });
        app._AddMenuHandler("AppOnly", [] {
            g_calls.push_back("app");
            return true;
        });
        app._AddMenuHandler("Manual", [] {
            g_calls.push_back("manual");
            return false;
        });
    }
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        g_calls.clear();
    }

    QAction* Action(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<QMainWindow*>(w); main && main->isVisible())
                if (auto* a = main->findChild<QAction*>(name))
                    return a;
        return nullptr;
    }

    fw::MenuBar bar;
    fw::Application app;
};

// A window handler that returns false passes the command on; true stops it there.
TEST_F(MenuDispatchTest, WindowFirstThenApplication) {
    MenuWindow& w = fw::Instance<MenuWindow>();
    EXPECT_FALSE(app.HandleMenuCommand("Shared"));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"window", "app"}));
    g_calls.clear();
    w.answer = true;
    EXPECT_TRUE(app.HandleMenuCommand("Shared"));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"window"}));
    g_calls.clear();
    EXPECT_TRUE(app.HandleMenuCommand("AppOnly"));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"app"}));
}

// With no window open the application still answers.
TEST_F(MenuDispatchTest, ApplicationAnswersWithoutWindows) {
    EXPECT_TRUE(app.HandleMenuCommand("AppOnly"));
    EXPECT_FALSE(app.HandleMenuCommand("Unknown"));
}

// Items without automatic enabling fire only when the window enables them; a disabled bar fires nothing.
TEST_F(MenuDispatchTest, EnablingDecidesWhatFires) {
    MenuWindow& w = fw::Instance<MenuWindow>();
    QAction* manual = Action("Manual");
    ASSERT_NE(manual, nullptr);
    manual->trigger();
    EXPECT_TRUE(g_calls.empty());
    w.enableManual = true;
    manual->trigger();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"manual"}));
    g_calls.clear();
    bar.SetBarEnabled(false);
    Action("AppOnly")->trigger();
    EXPECT_TRUE(g_calls.empty());
    bar.SetBarEnabled(true);
    Action("AppOnly")->trigger();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"app"}));
}

} // namespace
