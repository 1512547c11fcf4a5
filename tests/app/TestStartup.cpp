// Start-up steps, the application's three commands and shut-down.
#include "TempHome.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Globals.h"
#include "app/Menu.h"
#include "app/Startup.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <gtest/gtest.h>

namespace quillfen {
namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        _InitFileTypes();
        _NewAppInstance();
        _ApplicationAddMenuHandlers();
    }
    void TearDown() override { ShutDown(); }
    testsupport::TempHome home;
};

// File > New opens a main window, also when none was open, and replaces an open one with a fresh one.
// About and Preferences pass through the main window to the application, which answers them. Shut-down
// releases the menu bar, the file type, the windows and the settings, and a second shut-down is harmless.
TEST_F(StartupTest, CommandsPassThroughTheMainWindowAndShutDownReleasesAll) {
    EXPECT_FALSE(App::Instance().HandleMenuCommand("FileNew"));
    Listwin* first = &fw::Instance<Listwin>();
    EXPECT_EQ(App::Instance().GetMenuBar(), &Menu::Instance());
    EXPECT_TRUE(FileTypes::pTextPlain);
    EXPECT_FALSE(App::Instance().HandleMenuCommand("AppleAboutSafariLindquay"));
    EXPECT_FALSE(App::Instance().HandleMenuCommand("EditPreferences"));
    EXPECT_TRUE(fw::Instance<Aboutbox>().Visible());
    EXPECT_TRUE(fw::Instance<prefWin>().Visible());
    EXPECT_EQ(fw::detail::OpenWindowCount(), 3);
    App::Instance().HandleMenuCommand("FileNew");
    EXPECT_NE(&fw::Instance<Listwin>(), first);
    EXPECT_EQ(fw::detail::OpenWindowCount(), 3);
    Globals::timeOut = "5";
    ShutDown();
    EXPECT_EQ(fw::detail::OpenWindowCount(), 0);
    EXPECT_FALSE(FileTypes::pTextPlain);
    EXPECT_TRUE(Globals::timeOut.empty());
    EXPECT_EQ(fw::Application::Instance(), nullptr);
}

} // namespace
} // namespace quillfen
