// Windows: single-instance accessors, controls and events by name, menu commands, quitting.
#include "EventLoop.h"
#include "framework/ui/Application.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
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

class OtherWindow : public fw::Window {
public:
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

// A window closed from inside a handler is freed later, never under the caller; the accessor then makes a
// new one. A control asked for by the wrong name or kind, or an event bound with the wrong call, is refused.
TEST_F(WindowTest, ClosedWindowsGoLaterAndMistakesAreRefused) {
    const int destroyedBefore = TestWindow::destroyed;
    fw::Instance<TestWindow>().Close();
    EXPECT_EQ(TestWindow::destroyed, destroyedBefore) << "freed inside the caller's handler";
    TestWindow& w = fw::Instance<TestWindow>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return TestWindow::destroyed == destroyedBefore + 1; }));
    EXPECT_THROW(w.Get<fw::StaticText>("PushButton1"), std::logic_error);
    EXPECT_THROW(w.Get<fw::PushButton>("Nothing"), std::logic_error);
    EXPECT_THROW(
        w.Get<fw::PushButton>("PushButton1").BindEvent("Action", std::function<void(int)>([](int) {})),
        std::logic_error);
}

// A menu command goes to the frontmost window first; a handler that returns false passes it on to the
// application, true stops it there; with no window open the application still answers.
TEST_F(WindowTest, MenuCommandsGoToTheWindowThenTheApplication) {
    for (const auto& [name, answer] : {std::pair{"Shared", false}, std::pair{"AppOnly", true}})
        app._AddMenuHandler(name, [answer] {
            g_calls.push_back("app");
            return answer;
        });
    using Calls = std::pair<std::vector<std::string>, bool>;
    const auto dispatch = [this](const std::string& name) {
        g_calls.clear();
        const bool handled = app.HandleMenuCommand(name);
        return Calls{g_calls, handled};
    };
    EXPECT_EQ(dispatch("AppOnly"), (Calls{{"app"}, true}));
    EXPECT_EQ(dispatch("Unknown"), (Calls{{}, false}));
    TestWindow& w = fw::Instance<TestWindow>();
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window", "app"}, false}));
    w.answer = true;
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window"}, true}));
}

// A window placed on its parent opens centred on the frontmost window, wherever that stands.
TEST_F(WindowTest, ParentPlacementCentresOnTheFrontmostWindow) {
    auto& parent = fw::Instance<TestWindow>();
    parent.Show();
    QWidget* parentHost = fw::detail::ContentOf(parent)->window();
    parentHost->move(150, 90);
    QWidget* child = fw::detail::ContentOf(fw::Instance<OtherWindow>())->window();
    EXPECT_LE((child->geometry().center() - parentHost->frameGeometry().center()).manhattanLength(), 2);
}

// The user closing the last window quits; a window closed by code does not.
TEST_F(WindowTest, OnlyTheUserClosingTheLastWindowQuits) {
    fw::Instance<TestWindow>().Close();
    QTimer::singleShot(100, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 99) << "closing by code quit the program";

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
