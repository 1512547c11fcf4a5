#include "bookmarksfile/BookmarksLocation.h"

#include "TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class BookmarksLocationTest : public ::testing::Test {};

// The file is Safari/Bookmarks.plist in the Library folder of the current home, looked up on every call.
TEST_F(BookmarksLocationTest, FollowsTheCurrentHome) {
    testsupport::TempHome first;
    EXPECT_EQ(quillfen::BookmarksFile().PosixPath(), first.Path() + "/Library/Safari/Bookmarks.plist");
    testsupport::TempHome second;
    EXPECT_EQ(quillfen::BookmarksFile().PosixPath(), second.Path() + "/Library/Safari/Bookmarks.plist");
}

// Names with a colon or non-ASCII letters survive the trip through the colon-separated path.
TEST_F(BookmarksLocationTest, KeepsUnusualFolderNames) {
    testsupport::TempHome home;
    const std::string odd = home.Path() + "/Jo:se Mar\xC3\xAD" "a";
    std::filesystem::create_directory(odd);
    setenv("HOME", odd.c_str(), 1);
    EXPECT_EQ(quillfen::BookmarksFile().PosixPath(), odd + "/Library/Safari/Bookmarks.plist");
}

} // namespace
