// Windows and the application's menu bar: single-instance accessors, freeing closed windows, menu commands
// and their shortcuts (Ctrl for Cmd, enabling before they fire), quitting.
#include "UserClicks.h"
#include "app/Menu.h"
#include "framework/ui/Application.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/qt/Bridge.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;
Names g_calls;

struct TestWindow : fw::Window {
    TestWindow() : fw::Window("TestWindow") {}
    ~TestWindow() override { ++destroyed; }
    static inline int destroyed = 0;
    bool answer = false, enableUndo = false;
    void AddMenuHandlers() override {
        AddMenuHandler("Shared", [this] {
            g_calls.push_back("window");
            return answer;
        });
    }
    void Event_EnableMenuItems() override {
        if (enableUndo)
            quillfen::Menu::Instance()._Lookup("EditUndo")->Enabled = true;
    }
};

struct OtherWindow : fw::Window {
    OtherWindow() : fw::Window("OtherWindow") {}
};

// The application records the commands it answers by name.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Shared", "EditPreferences", "Checkall4xx", "FilePageSetup", "EditUndo"})
            app._AddMenuHandler(name, [name] {
                g_calls.push_back(name);
                return true;
            });
    }
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        app.SetMenuBar(nullptr);
        quillfen::Menu::Release();
    }
    fw::Application app;
};

// A menu command goes to the frontmost window first; a handler that returns false passes it on to the
// application, true stops it there; with no window open the application still answers.
TEST_F(WindowTest, MenuCommandsGoToTheWindowThenTheApplication) {
    using Calls = std::pair<Names, bool>;
    const auto dispatch = [this](const std::string& name) {
        g_calls.clear();
        const bool handled = app.HandleMenuCommand(name);
        return Calls{g_calls, handled};
    };
    EXPECT_EQ(dispatch("Shared"), (Calls{{"Shared"}, true}));
    EXPECT_EQ(dispatch("Unknown"), (Calls{{}, false}));
    TestWindow& w = fw::Instance<TestWindow>();
    EXPECT_EQ(dispatch("Shared"), (Calls{{"window", "Shared"}, true}));
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

    // The user's close comes to the native window, as from the window manager.
    QWindow* test = testsupport::WindowOf(fw::detail::ContentOf(fw::Instance<TestWindow>()));
    QWindow* other = testsupport::WindowOf(fw::detail::ContentOf(fw::Instance<OtherWindow>()));
    QTimer::singleShot(0, other, [other] { other->close(); });
    QTimer::singleShot(200, test, [test] { test->close(); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(fw::detail::OpenWindowCount(), 0);
}

// Cmd shortcuts answer to Ctrl, "Cmd+," and shifted ones included, and items two levels down answer too.
// An item without automatic enabling fires only once the window has enabled it; while the bar as a whole
// is disabled no shortcut fires, and enabling it again brings them back.
TEST_F(WindowTest, ShortcutsUseCtrlOnceEnabled) {
    app.SetMenuBar(&quillfen::Menu::Instance());
    TestWindow& window = fw::Instance<TestWindow>();
    auto* host = qobject_cast<QMainWindow*>(fw::detail::ContentOf(window)->window());
    ASSERT_NE(host, nullptr);
    testsupport::Activate(host);
    const auto press = [host](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        g_calls.clear();
        testsupport::PressKey(host, key, modifiers);
        return g_calls;
    };
    EXPECT_EQ(press(Qt::Key_Comma, Qt::ControlModifier), Names{"EditPreferences"});
    EXPECT_EQ(press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier), Names{"FilePageSetup"});
    EXPECT_EQ(press(Qt::Key_4, Qt::ControlModifier), Names{"Checkall4xx"});
    EXPECT_EQ(press(Qt::Key_Z, Qt::ControlModifier), Names{});
    window.enableUndo = true;
    EXPECT_EQ(press(Qt::Key_Z, Qt::ControlModifier), Names{"EditUndo"});
    quillfen::Menu::Instance().SetBarEnabled(false);
    EXPECT_EQ(press(Qt::Key_4, Qt::ControlModifier), Names{});
    quillfen::Menu::Instance().SetBarEnabled(true);
    EXPECT_EQ(press(Qt::Key_4, Qt::ControlModifier), Names{"Checkall4xx"});
}

} // namespace
