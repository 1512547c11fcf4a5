// Start-up steps, the application's three commands, the chime through its movie player, and shut-down.
#include "EventLoop.h"
#include "TempHome.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Globals.h"
#include "app/Media.h"
#include "app/Menu.h"
#include "app/Startup.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/graphics/Movie.h"
#include "framework/ui/qt/MovieImpl.h"
#include "mainwindow/Listwin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace quillfen;

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

// The chime loads as a WAV sound; the layout's player plays it each time asked,
// never fails where ALSA's player is missing, and where it exists hands that player the chime, quietly.
TEST_F(StartupTest, PlaysTheChimeThroughAplayAndNeverFails) {
    fw::Window window{"MediaTestWin"};
    window.Create();
    const std::filesystem::path bin = home.Path();
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", bin.c_str(), 1); // no player program at all
    fw::Movie* glass = Glass();
    ASSERT_NE(glass, nullptr);
    const QByteArray& sound = glass->impl().sound;
    EXPECT_TRUE(sound.startsWith("RIFF"));
    auto& player = window.Get<fw::MoviePlayer>("MoviePlayer1");
    player.SetMovie(glass);
    player.Play();
    // A stand-in for ALSA's player: it copies the sound it is given, whole, beside itself.
    std::ofstream(bin / "aplay") << "#!/bin/sh\nd=$(/usr/bin/dirname \"$0\")\n[ \"$1\" = -q ] && "
                                    "/bin/cat \"$2\" > \"$d/part\" && /bin/mv \"$d/part\" \"$d/played\"\n";
    std::filesystem::permissions(bin / "aplay", std::filesystem::perms::owner_all);
    player.Play();
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(player.PlayCount(), 2);
    // The player runs on its own; allow it a generous bound to finish its copy.
    EXPECT_TRUE(testsupport::SpinUntil([&] { return std::filesystem::exists(bin / "played"); }, 10000));
    EXPECT_EQ(testsupport::ReadFile(bin / "played"), sound.toStdString());
}

} // namespace
