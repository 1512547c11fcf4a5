// Loading the preferences record: first run, upgrades, records read as they are, and files we cannot write.
#include "TempHome.h"
#include "app/Globals.h"
#include "app/PreferencesRecord.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

const std::string kWelcome = "Welcome to Safari Quillfen!\r";
const std::string kUpgraded = "Safari Quillfen successfully upgraded\r";

class PreferencesRecordTest : public ::testing::Test {
protected:
    void SetUp() override { Globals::Release(); }
    void TearDown() override { Globals::Release(); }

    void WriteRecord(const std::string& text) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::string FileText() const { return testsupport::ReadFile(file_); }
    // Reads the record; returns the welcome text, which starts as "kept". Root may write anywhere, so where
    // folder permissions matter it reads as an ordinary user.
    static std::string Load(bool asOrdinaryUser = false) {
        const bool switchUser = asOrdinaryUser && ::geteuid() == 0;
        EXPECT_TRUE(!switchUser || ::seteuid(65534) == 0);
        std::string welcome = "kept";
        ReadPreferences(welcome);
        EXPECT_TRUE(!switchUser || ::seteuid(0) == 0);
        return welcome;
    }
    // The settings in record order, field 3 included, joined as in the record.
    static std::string Settings() {
        using namespace Globals;
        std::string out = timeOut;
        for (const std::string* field : {&aquaOrmetal, &carriedField, &showOKcodes, &proxyUse, &proxyURL,
                                         &proxyPort, &proxyUser, &proxyPass, &simultSocks})
            out += "*" + *field;
        return out;
    }
    testsupport::TempHome tempHome_;
    const fs::path home_ = tempHome_.Path();
    const fs::path folder_ = home_ / "Library" / "Preferences";
    const fs::path file_ = folder_ / "Safari Quillfen";
};

// A first run creates the default record of ten fields, private to its owner, and says welcome. A record of
// ten or more fields is read as it is (the settings are its first ten), also with an empty tenth field,
// which appending could never mend; a shorter one gains a field "6" per pass until it has ten, used in the
// same run, and the user is told. Reading again (as Apply does) neither writes nor welcomes.
TEST_F(PreferencesRecordTest, RecordsAreCreatedReadOrUpgradedOnce) {
    const std::string fresh = "5*aqua**nocodes*noProxy*****8";
    const std::tuple<std::optional<std::string>, std::string, std::string, std::string> cases[] = {
        // the record found, the welcome, the record then, the settings
        {std::nullopt, kWelcome, fresh, fresh},
        {"5*aqua**nocodes*noProxy*****", "kept", "5*aqua**nocodes*noProxy*****",
         "5*aqua**nocodes*noProxy*****"},
        {"5*aqua**nocodes*noProxy*****8*extra", "kept", "5*aqua**nocodes*noProxy*****8*extra", fresh},
        {"5*metal*x*nocodes*useProxy*p.test*8080*u*p", kUpgraded,
         "5*metal*x*nocodes*useProxy*p.test*8080*u*p*6", "5*metal*x*nocodes*useProxy*p.test*8080*u*p*6"},
    };
    for (const auto& [record, welcome, after, settings] : cases) {
        SCOPED_TRACE(record.value_or("none"));
        fs::remove(file_);
        if (record)
            WriteRecord(*record);
        EXPECT_EQ(Load(), welcome);
        EXPECT_EQ(std::pair(FileText(), Settings()), std::pair(after, settings));
        EXPECT_TRUE(welcome == "kept" || fs::status(file_).permissions() == fs::perms{0600});
        const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
        fs::last_write_time(file_, old);
        Globals::Release();
        EXPECT_EQ(Load(), "kept");
        EXPECT_EQ(std::pair(FileText(), Settings()), std::pair(after, settings));
        EXPECT_EQ(fs::last_write_time(file_), old);
    }
}

// Whatever stands at the path, a record we cannot read, or one in a folder we may not write, is never
// replaced: a readable record serves this run (its upgrade from memory), anything else leaves the defaults,
// and the path holds what it held, byte for byte and kind for kind; a FIFO or device is not even opened.
TEST_F(PreferencesRecordTest, RecordsWeCannotReplaceServeFromMemory) {
    const std::string record = "9*metal*x*showcodes*useProxy*proxy.test*3128*ann*secret";
    const std::string defaults = "5*aqua**nocodes*noProxy*****8";
    const std::vector<std::tuple<const char*, std::function<void()>, std::string, std::string>> cases{
        // what stands at the path, the welcome, the settings
        {"unwritable folder", [&] { fs::permissions(folder_, fs::perms{0555}); }, kUpgraded, record + "*6"},
        {"mode 000", [&] { fs::permissions(file_, fs::perms::none); }, "kept", defaults},
        {"FIFO", [&] { fs::remove(file_), ::mkfifo(file_.c_str(), 0600); }, "kept", defaults},
        {"link to a device", [&] { fs::remove(file_), fs::create_symlink("/dev/zero", file_); }, "kept",
         defaults},
        {"file for a folder",
         [&] { fs::remove_all(home_ / "Library"), std::ofstream(home_ / "Library") << "a file"; }, kWelcome,
         defaults},
    };
    for (const auto& [what, make, welcome, settings] : cases) {
        SCOPED_TRACE(what);
        if (fs::is_directory(folder_))
            fs::permissions(folder_, fs::perms{0755});
        fs::remove_all(home_ / "Library");
        WriteRecord(record);
        // The user's own record in the user's own folder: mode 000 binds its owner unless that is root, so
        // every case reads as an ordinary user who owns both.
        for (const fs::path& p : {home_, folder_.parent_path(), folder_, file_})
            ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
        make();
        const fs::file_status before = fs::symlink_status(file_);
        Globals::timeOut = "unset";
        EXPECT_EQ(Load(/*asOrdinaryUser=*/true), welcome);
        EXPECT_EQ(Settings(), settings);
        EXPECT_EQ(fs::symlink_status(file_).type(), before.type());
        if (fs::is_regular_file(before)) {
            fs::permissions(file_, fs::perms::owner_read);
            EXPECT_EQ(FileText(), record);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
        }
    }
}

} // namespace
} // namespace quillfen
