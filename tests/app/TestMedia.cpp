// The movie: the chime, and a player that never fails.
#include "EventLoop.h"
#include "TempHome.h"
#include "app/Media.h"
#include "framework/ui/Application.h"
#include "framework/ui/Window.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/graphics/Movie.h"
#include "framework/ui/qt/MovieImpl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

class MediaTest : public ::testing::Test {
protected:
    void TearDown() override { Media::Release(); }
    fw::Application app_;
};

// The chime loads as a WAV sound; the layout's player plays it each time asked,
// never fails where ALSA's player is missing, and where it exists hands that player the chime, quietly.
TEST_F(MediaTest, PlaysTheChimeThroughAplayAndNeverFails) {
    fw::Window window{"MediaTestWin"};
    window.Create();
    testsupport::TempHome temp;
    const fs::path bin = temp.Path();
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
    fs::permissions(bin / "aplay", fs::perms::owner_all);
    player.Play();
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(player.PlayCount(), 2);
    // The player runs on its own; allow it a generous bound to finish its copy.
    EXPECT_TRUE(testsupport::SpinUntil([&] { return fs::exists(bin / "played"); }, 10000));
    EXPECT_EQ(testsupport::ReadFile(bin / "played"), sound.toStdString());
}

} // namespace
} // namespace quillfen
