// Windows: single-instance accessors, creation order, controls and events by name, edge locks, quitting.
#include "EventLoop.h"
#include "framework/Application.h"
#include "framework/PushButton.h"
#include "framework/StaticText.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"
#include "framework/detail/Bridge.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_steps;

class TestWindow : public fw::Window {
public:
    TestWindow() : fw::Window("TestWindow") {}
    ~TestWindow() override { ++destroyed; }
    static inline int destroyed = 0;
    int pressed = 0;

protected:
    void Layout() override {
        g_steps.push_back("Layout");
        fw::Window::Layout();
    }
    void CreateControls() override {
        g_steps.push_back("CreateControls");
        fw::Window::CreateControls();
        Bind("PushButton1_Action", &TestWindow::PushButton1_Action);
        Bind("PushButton1_Open", &TestWindow::PushButton1_Open);
    }
    void AddMenuHandlers() override { g_steps.push_back("AddMenuHandlers"); }
    void SetupBindings() override { g_steps.push_back("SetupBindings"); }
    void Event_Open() override { g_steps.push_back("Event_Open"); }

private:
    void PushButton1_Action() { ++pressed; }
    void PushButton1_Open() { g_steps.push_back("PushButton1_Open"); }
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
        g_steps.clear();
    }
};

// The accessor returns the open instance; after Close it makes a new one and frees the old one later.
TEST_F(WindowTest, AccessorAfterClose) {
    TestWindow& first = fw::Instance<TestWindow>();
    EXPECT_EQ(&fw::Instance<TestWindow>(), &first);
    const int destroyedBefore = TestWindow::destroyed;
    first.Close();
    EXPECT_EQ(TestWindow::destroyed, destroyedBefore) << "freed inside the caller's handler";
    TestWindow& second = fw::Instance<TestWindow>();
    EXPECT_FALSE(second.IsClosed());
    EXPECT_TRUE(testsupport::SpinUntil([&] { return TestWindow::destroyed == destroyedBefore + 1; }));
    EXPECT_EQ(&fw::Instance<TestWindow>(), &second);
}

// Creation runs its steps in order, control Open events after the bindings of CreateControls; controls
// are reached by name and kind; events reach the method bound by name; mistakes are refused.
TEST_F(WindowTest, CreationAndControlsAndEventsByName) {
    TestWindow& w = fw::Instance<TestWindow>();
    EXPECT_EQ(g_steps, (std::vector<std::string>{"Layout", "CreateControls", "PushButton1_Open", "AddMenuHandlers",
                                                 "SetupBindings", "Event_Open"}));
    auto& button = w.Get<fw::PushButton>("PushButton1");
    button.Push();
    EXPECT_EQ(w.pressed, 1);
    EXPECT_EQ(w.Get<fw::Timer>("Timer1").Period(), 1000);
    EXPECT_THROW(w.Get<fw::StaticText>("PushButton1"), std::logic_error);
    EXPECT_THROW(w.Get<fw::PushButton>("Nothing"), std::logic_error);
    EXPECT_THROW(button.BindEvent("Action", std::function<void(int)>([](int) {})), std::logic_error);
    EXPECT_THROW(button.BindEvent("NoSuchEvent", std::function<void()>([] {})), std::logic_error);
}

// Resizing keeps each control's distance to its locked edges.
TEST_F(WindowTest, EdgeLocksFollowTheWindow) {
    TestWindow& w = fw::Instance<TestWindow>();
    w.SetSize(400, 260);
    testsupport::SpinFor(20);
    auto& status = w.Get<fw::StaticText>("Status");
    auto& corner = w.Get<fw::PushButton>("Corner");
    EXPECT_EQ((std::vector{status.Width(), status.Top(), corner.Left(), corner.Top(),
                           w.Get<fw::PushButton>("PushButton1").Left()}),
              (std::vector{300, 230, 350, 230, 10}));
}

// The user closing the last window quits; a window closed by code does not.
TEST_F(WindowTest, OnlyTheUserClosingTheLastWindowQuits) {
    fw::Application app;
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
