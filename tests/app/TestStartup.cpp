// Start-up steps, the application's three commands and shut-down.
#include "EventLoop.h"
#include "TempHome.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Globals.h"
#include "app/Menu.h"
#include "app/Startup.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/prefWin.h"
#include "framework/WindowRegistry.h"
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

// The file type is declared with its four properties.
TEST_F(StartupTest, DeclaresTheTextFileType) {
    ASSERT_TRUE(FileTypes::pTextPlain);
    EXPECT_EQ(FileTypes::pTextPlain->Name, "text/plain");
    EXPECT_EQ(FileTypes::pTextPlain->Extensions,
              ".asc;.ascii;.bas;.c;.class;.cp;.cpp;.h;.hp;.hpp;.i3;.java;.m2;.m3;.mak;.text;.txt");
    EXPECT_EQ(FileTypes::pTextPlain->MacType, "TEXT");
    EXPECT_EQ(FileTypes::pTextPlain->MacCreator, "????");
}

// The application object carries the one menu bar; the default view is the main window.
TEST_F(StartupTest, ApplicationMenuBarAndMainWindow) {
    EXPECT_EQ(App::Instance().GetMenuBar(), &Menu::Instance());
    _MakeDefaultView();
    EXPECT_EQ(fw::detail::OpenWindowCount(), 1);
    EXPECT_EQ(fw::Instance<Listwin>().Title(), "Safari Bookmarks Tester");
}

// File > New replaces the main window with a fresh one, also when none was open; the user sees one.
TEST_F(StartupTest, FileNewReplacesTheMainWindow) {
    EXPECT_FALSE(App::Instance().HandleMenuCommand("FileNew"));
    Listwin* first = &fw::Instance<Listwin>();
    EXPECT_EQ(fw::detail::OpenWindowCount(), 1);
    App::Instance().HandleMenuCommand("FileNew");
    EXPECT_NE(&fw::Instance<Listwin>(), first);
    EXPECT_EQ(fw::detail::OpenWindowCount(), 1);
}

// About and Preferences are answered at application level, with no main window open.
TEST_F(StartupTest, AboutAndPreferencesWithoutMainWindow) {
    EXPECT_FALSE(App::Instance().HandleMenuCommand("AppleAboutSafariLindquay"));
    EXPECT_FALSE(App::Instance().HandleMenuCommand("EditPreferences"));
    EXPECT_TRUE(fw::Instance<Aboutbox>().Visible());
    EXPECT_TRUE(fw::Instance<prefWin>().Visible());
    EXPECT_EQ(fw::detail::OpenWindowCount(), 2);
}

// Shut-down releases the windows, the file type, the menu bar and the settings.
TEST_F(StartupTest, ShutDownReleasesTheGlobals) {
    _MakeDefaultView();
    Globals::timeOut = "5";
    ShutDown();
    EXPECT_EQ(fw::detail::OpenWindowCount(), 0);
    EXPECT_FALSE(FileTypes::pTextPlain);
    EXPECT_TRUE(Globals::timeOut.empty());
    EXPECT_EQ(fw::Application::Instance(), nullptr);
    SetUp(); // TearDown shuts down again: a second shut-down must be harmless
}

} // namespace
} // namespace quillfen
