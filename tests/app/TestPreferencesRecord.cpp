// Loading the preferences record: first run, upgrades, records read as they are, and files we cannot write.
#include "app/Globals.h"
#include "app/PreferencesRecord.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

const std::string kWelcome = "Welcome to Safari Quillfen!\r";
const std::string kUpgraded = "Safari Quillfen successfully upgraded\r";

// Root may write anywhere; for the length of a test step it acts as an ordinary user, so that folder
// permissions hold as they do for the real user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : wasRoot_(::geteuid() == 0) {
        if (wasRoot_) {
            EXPECT_EQ(::seteuid(65534), 0);
        }
    }
    ~AsOrdinaryUser() {
        if (wasRoot_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool wasRoot_;
};

class PreferencesRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillfen-prefs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        if (const char* old = std::getenv("HOME"))
            oldHome_ = old;
        ::setenv("HOME", home_.c_str(), 1);
        folder_ = home_ / "Library" / "Preferences";
        file_ = folder_ / "Safari Quillfen";
        Globals::Release();
    }
    void TearDown() override {
        ::setenv("HOME", oldHome_.c_str(), 1);
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, ec);
        fs::remove_all(home_, ec);
        Globals::Release();
    }

    void WriteRecord(const std::string& text) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::string FileText() const {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Settings in record order, field 3 included.
    static std::vector<std::string> Settings() {
        using namespace Globals;
        return {timeOut, aquaOrmetal, carriedField, showOKcodes, proxyUse,
                proxyURL, proxyPort, proxyUser, proxyPass, simultSocks};
    }
    // Lets an ordinary user (root's group included) reach the record but not write into its folder.
    void LockFolder() {
        const fs::perms readAll = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        const fs::perms enterAll = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        for (const fs::path& p : {home_, home_ / "Library"})
            fs::permissions(p, fs::perms::owner_all | readAll | enterAll);
        fs::permissions(file_, readAll | fs::perms::owner_write);
        fs::permissions(folder_, readAll | enterAll);
    }

    fs::path home_, folder_, file_;
    std::string oldHome_;
};

using Fields = std::vector<std::string>;

// A first run creates the default record, private to its owner, and says welcome.
TEST_F(PreferencesRecordTest, FirstRunWritesTheDefaultRecord) {
    std::string welcome;
    ReadPreferences(welcome);
    EXPECT_EQ(FileText(), "5*aqua**nocodes*noProxy*****8");
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Settings(), (Fields{"5", "aqua", "", "nocodes", "noProxy", "", "", "", "", "8"}));
    EXPECT_EQ(welcome, kWelcome);
}

// A ten-field record is read as it is, and reading it again (as Apply does) neither writes nor welcomes.
TEST_F(PreferencesRecordTest, TenFieldRecordIsNeverRewritten) {
    WriteRecord("12*metal*kept*showcodes*useProxy*proxy.test*3128*ann*pa ss*4");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(file_, old);
    for (int pass = 0; pass < 2; ++pass) {
        std::string welcome;
        ReadPreferences(welcome);
        EXPECT_EQ(welcome, "");
        EXPECT_EQ(Settings(),
                  (Fields{"12", "metal", "kept", "showcodes", "useProxy", "proxy.test", "3128", "ann", "pa ss", "4"}));
    }
    EXPECT_EQ(FileText(), "12*metal*kept*showcodes*useProxy*proxy.test*3128*ann*pa ss*4");
    EXPECT_EQ(fs::last_write_time(file_), old);
}

// An older nine-field record gains a tenth field "6", used in the same run, and the user is told.
TEST_F(PreferencesRecordTest, NineFieldRecordIsUpgraded) {
    WriteRecord("5*metal*x*nocodes*useProxy*p.test*8080*u*p");
    std::string welcome = "kept until something happens";
    ReadPreferences(welcome);
    EXPECT_EQ(FileText(), "5*metal*x*nocodes*useProxy*p.test*8080*u*p*6");
    EXPECT_EQ(Settings(), (Fields{"5", "metal", "x", "nocodes", "useProxy", "p.test", "8080", "u", "p", "6"}));
    EXPECT_EQ(welcome, kUpgraded);
}

// An empty record is upgraded field by field until it has ten.
TEST_F(PreferencesRecordTest, EmptyRecordTakesNinePasses) {
    WriteRecord("");
    std::string welcome;
    ReadPreferences(welcome);
    EXPECT_EQ(FileText(), "*6*6*6*6*6*6*6*6*6");
    EXPECT_EQ(Settings(), (Fields{"", "6", "6", "6", "6", "6", "6", "6", "6", "6"}));
    EXPECT_EQ(welcome, kUpgraded);
}

// Ten or more fields with an empty tenth cannot be mended by appending: reading ends with the record as it is.
TEST_F(PreferencesRecordTest, EmptyTenthFieldEndsTheReading) {
    for (const std::string record : {"5*aqua**nocodes*noProxy*****", "5*aqua**nocodes*noProxy******extra*more"}) {
        SCOPED_TRACE(record);
        WriteRecord(record);
        std::string welcome;
        ReadPreferences(welcome);
        EXPECT_EQ(FileText(), record);
        EXPECT_EQ(Globals::simultSocks, "");
        EXPECT_EQ(welcome, "");
    }
}

// A record in a folder we may not write is still read, and its upgrade serves this run from memory.
TEST_F(PreferencesRecordTest, UnwritableFolderKeepsTheRecordInUse) {
    WriteRecord("7*metal*x*nocodes*noProxy****");
    LockFolder();
    std::string welcome;
    {
        AsOrdinaryUser user;
        ReadPreferences(welcome);
    }
    EXPECT_EQ(FileText(), "7*metal*x*nocodes*noProxy****");
    EXPECT_EQ(Settings(), (Fields{"7", "metal", "x", "nocodes", "noProxy", "", "", "", "", "6"}));
    EXPECT_EQ(welcome, kUpgraded);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// When the record can be neither read nor created, the defaults serve this run.
TEST_F(PreferencesRecordTest, NoRecordAtAllLeavesTheDefaults) {
    std::ofstream(home_ / "Library") << "a file where the folder should be";
    std::string welcome;
    ReadPreferences(welcome);
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_EQ(Settings(), (Fields{"5", "aqua", "", "nocodes", "noProxy", "", "", "", "", "8"}));
    EXPECT_EQ(welcome, kWelcome);
}

} // namespace
} // namespace quillfen
