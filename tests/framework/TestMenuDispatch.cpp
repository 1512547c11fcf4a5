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
    void SetUp() override {
        for (const auto& [name, answer] : {std::pair{"Shared", false}, std::pair{"AppOnly", true}})
            app._AddMenuHandler(name, [answer] {
                g_calls.push_back("app");
                return answer;
            });
    }
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        g_calls.clear();
    }
    // The handlers that one command reached, and whether it counted as handled.
    std::pair<std::vector<std::string>, bool> Dispatch(const std::string& name) {
        g_calls.clear();
        const bool handled = app.HandleMenuCommand(name);
        return {g_calls, handled};
    }

    fw::Application app;
};

using Calls = std::pair<std::vector<std::string>, bool>;

// A window handler that returns false passes the command on; true stops it there; with no window open
// the application still answers.
TEST_F(MenuDispatchTest, WindowFirstThenApplication) {
    EXPECT_EQ(Dispatch("AppOnly"), (Calls{{"app"}, true}));
    EXPECT_EQ(Dispatch("Unknown"), (Calls{{}, false}));
    MenuWindow& w = fw::Instance<MenuWindow>();
    EXPECT_EQ(Dispatch("Shared"), (Calls{{"window", "app"}, false}));
    w.answer = true;
    EXPECT_EQ(Dispatch("Shared"), (Calls{{"window"}, true}));
    EXPECT_EQ(Dispatch("AppOnly"), (Calls{{"app"}, true}));
}

} // namespace
