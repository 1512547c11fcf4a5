// A preferences record that stands at its path but cannot be read is never replaced: the defaults serve
// the run from memory, and a FIFO or device in its place is not even opened.
#include "TempHome.h"
#include "app/Globals.h"
#include "app/PreferencesRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

class PreferencesUnreadableTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals::Release();
        fs::create_directories(folder_);
    }
    void TearDown() override { Globals::Release(); }

    testsupport::TempHome tempHome_;
    const fs::path folder_ = fs::path(tempHome_.Path()) / "Library" / "Preferences";
    const fs::path file_ = folder_ / "Safari Quillfen";
};

// Each kind of unreadable record: the defaults are in use, nobody is welcomed, and the path holds what it
// held, byte for byte and kind for kind.
TEST_F(PreferencesUnreadableTest, DefaultsServeFromMemoryAndThePathIsLeftAlone) {
    const std::string record = "9*metal*x*showcodes*useProxy*proxy.test*3128*ann*secret*4";
    // The user's own record in the user's own folder: mode 000 binds its owner unless that is root, so
    // that case reads as an ordinary user who owns both.
    for (const fs::path& p : {fs::path(tempHome_.Path()), folder_.parent_path(), folder_})
        ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
    const std::vector<std::tuple<const char*, bool, std::function<void()>>> cases{
        {"mode 000", true, [&] {
             std::ofstream(file_, std::ios::binary) << record;
             ASSERT_EQ(::chown(file_.c_str(), 65534, 65534), 0);
             fs::permissions(file_, fs::perms::none);
         }},
        {"FIFO", false, [&] { ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0); }},
        {"link to a device", false, [&] { fs::create_symlink("/dev/zero", file_); }},
    };
    for (const auto& [what, asOwner, make] : cases) {
        SCOPED_TRACE(what);
        fs::remove_all(file_);
        make();
        const fs::file_status before = fs::symlink_status(file_);
        Globals::timeOut = "unset";
        std::string welcome = "kept";

        const bool switchUser = asOwner && ::geteuid() == 0;
        ASSERT_TRUE(!switchUser || ::seteuid(65534) == 0);
        ReadPreferences(welcome);
        ASSERT_TRUE(!switchUser || ::seteuid(0) == 0);

        EXPECT_EQ(welcome, "kept");
        EXPECT_EQ(Globals::timeOut + "*" + Globals::aquaOrmetal + "*" + Globals::simultSocks, "5*aqua*8");
        EXPECT_EQ(fs::symlink_status(file_).type(), before.type());
        if (fs::is_regular_file(fs::symlink_status(file_))) {
            fs::permissions(file_, fs::perms::owner_read);
            EXPECT_EQ(testsupport::ReadFile(file_), record);
        }
    }
}

} // namespace
} // namespace quillfen
