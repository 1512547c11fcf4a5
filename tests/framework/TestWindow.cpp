// Windows: single-instance accessors, freeing closed windows, menu commands, quitting.
#include "framework/ui/Application.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/qt/Bridge.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_calls;

class TestWindow : public fw::Window {
public:
    TestWindow() : fw::Window("TestWindow") {}
    ~TestWindow() override { ++destroyed; }
    static inline int destroyed = 0;
    bool answer = false;

protected:
    void AddMenuHandlers() override {
        AddMenuHandler("Shared", [this] {
            g_calls.push_back("window");
            return answer;
        });
    }
};

struct OtherWindow : fw::Window {
    OtherWindow() : fw::Window("OtherWindow") {}
};

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    fw::Application app;
};

// A menu command goes to the frontmost window first; a handler that returns false passes it on to the
// application, true stops it there; with no window open the application still answers.
TEST_F(WindowTest, MenuCommandsGoToTheWindowThenTheApplication) {
    app._AddMenuHandler("Shared", [] {
        g_calls.push_back("app");
        return true;
    });
    using Calls = std::pair<std::vector<std::string>, bool>;
    const auto dispatch = [this](const std::string& name) {
        g_calls.clear();
        const bool handled = app.HandleMenuCommand(name);
        return Calls{g_calls, handled};
    };
    EXPECT_EQ(dispatch("Shared"), (Calls{{"app"}, true}));
    EXPECT_EQ(dispatch("Unknown"), (Calls{{}, false}));
    TestWindow& w = fw::Instance<TestWindow>();
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window", "app"}, true}));
    w.answer = true;
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window"}, true}));
}

// A window closed by code is freed later, never under the caller, and does not quit; the accessor then
// makes a new one. The user closing the last window quits.
TEST_F(WindowTest, OnlyTheUserClosingTheLastWindowQuits) {
    const int destroyedBefore = TestWindow::destroyed;
    fw::Instance<TestWindow>().Close();
    EXPECT_EQ(TestWindow::destroyed, destroyedBefore) << "freed inside the caller's handler";
    QTimer::singleShot(100, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 99) << "closing by code quit the program";
    EXPECT_EQ(TestWindow::destroyed, destroyedBefore + 1);

    // The user's close is a close of the window's top-level widget.
    QWidget* test = fw::detail::ContentOf(fw::Instance<TestWindow>())->window();
    QWidget* other = fw::detail::ContentOf(fw::Instance<OtherWindow>())->window();
    QTimer::singleShot(0, other, &QWidget::close);
    QTimer::singleShot(200, test, &QWidget::close);
    QTimer::singleShot(3000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(fw::detail::OpenWindowCount(), 0);
}

} // namespace
