// Menu commands: the frontmost window first, then the application.
#include "framework/Application.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_calls;

class MenuWindow : public fw::Window {
public:
    MenuWindow() : fw::Window("TestWindow") {}
    bool answer = false;

protected:
    void AddMenuHandlers() override {
        AddMenuHandler("Shared", [this] {
            g_calls.push_back("window");
            return answer;
        });
    }
};

class MenuDispatchTest : public ::testing::Test {
protected:
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }

    fw::Application app;
};

using Calls = std::pair<std::vector<std::string>, bool>;

// A window handler that returns false passes the command on; true stops it there; with no window open
// the application still answers.
TEST_F(MenuDispatchTest, WindowFirstThenApplication) {
    for (const auto& [name, answer] : {std::pair{"Shared", false}, std::pair{"AppOnly", true}})
        app._AddMenuHandler(name, [answer] {
            g_calls.push_back("app");
            return answer;
        });
    // The handlers that one command reached, and whether it counted as handled.
    const auto dispatch = [this](const std::string& name) {
        g_calls.clear();
        const bool handled = app.HandleMenuCommand(name);
        return Calls{g_calls, handled};
    };
    EXPECT_EQ(dispatch("AppOnly"), (Calls{{"app"}, true}));
    EXPECT_EQ(dispatch("Unknown"), (Calls{{}, false}));
    MenuWindow& w = fw::Instance<MenuWindow>();
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window", "app"}, false}));
    w.answer = true;
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window"}, true}));
    EXPECT_EQ(dispatch("AppOnly"), (Calls{{"app"}, true}));
}

} // namespace
