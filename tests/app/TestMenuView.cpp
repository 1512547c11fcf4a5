// The menu bar as the user meets it in a window: shortcuts with Ctrl for Cmd, and enabling before they fire.
#include "app/Menu.h"
#include "framework/ui/Application.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/qt/Bridge.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillfen {
namespace {

class MenuHostWin : public fw::Window {
public:
    MenuHostWin() : fw::Window("Aboutbox") {}
    bool enableUndo = false;

protected:
    void Event_EnableMenuItems() override {
        if (enableUndo)
            Menu::Instance()._Lookup("EditUndo")->Enabled = true;
    }
};

class MenuViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_.SetMenuBar(&Menu::Instance());
        for (const char* name : {"EditPreferences", "Checkall4xx", "FilePageSetup", "EditUndo"})
            app_._AddMenuHandler(name, [this, name] {
                fired_.push_back(name);
                return true;
            });
        win_ = &fw::Instance<MenuHostWin>();
        host_ = qobject_cast<QMainWindow*>(fw::detail::ContentOf(*win_)->window());
        ASSERT_NE(host_, nullptr);
        QApplication::setActiveWindow(host_);
    }
    void TearDown() override {
        win_->Close();
        fw::detail::FreeRetiredWindows();
        app_.SetMenuBar(nullptr);
        Menu::Release();
    }
    // The names of the commands that one key press fired.
    std::vector<std::string> Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        fired_.clear();
        QTest::keyClick(host_, key, modifiers);
        return fired_;
    }

    fw::Application app_;
    MenuHostWin* win_ = nullptr;
    QMainWindow* host_ = nullptr;
    std::vector<std::string> fired_;
};

using Names = std::vector<std::string>;

// Cmd shortcuts answer to Ctrl, "Cmd+," and shifted ones included, and items two levels down answer too.
// An item without automatic enabling fires only once the window has enabled it; while the bar as a whole
// is disabled no shortcut fires, and enabling it again brings them back.
TEST_F(MenuViewTest, ShortcutsUseCtrlOnceEnabled) {
    EXPECT_EQ(Press(Qt::Key_Comma, Qt::ControlModifier), Names{"EditPreferences"});
    EXPECT_EQ(Press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier), Names{"FilePageSetup"});
    EXPECT_EQ(Press(Qt::Key_4, Qt::ControlModifier), Names{"Checkall4xx"});
    EXPECT_EQ(Press(Qt::Key_Z, Qt::ControlModifier), Names{});
    win_->enableUndo = true;
    EXPECT_EQ(Press(Qt::Key_Z, Qt::ControlModifier), Names{"EditUndo"});
    Menu::Instance().SetBarEnabled(false);
    EXPECT_EQ(Press(Qt::Key_4, Qt::ControlModifier), Names{});
    Menu::Instance().SetBarEnabled(true);
    EXPECT_EQ(Press(Qt::Key_4, Qt::ControlModifier), Names{"Checkall4xx"});
}

} // namespace
} // namespace quillfen
