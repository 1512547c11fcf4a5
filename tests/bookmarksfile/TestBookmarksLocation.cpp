#include "bookmarksfile/BookmarksLocation.h"

#include "TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// The file is Safari/Bookmarks.plist in the Library folder of the current home, looked up on every call;
// names with a colon or non-ASCII letters survive the trip through the colon-separated path.
TEST(BookmarksLocationTest, FollowsTheCurrentHome) {
    testsupport::TempHome home;
    EXPECT_EQ(quillfen::BookmarksFile().PosixPath(), home.Path() + "/Library/Safari/Bookmarks.plist");
    const std::string odd = home.Path() + "/Jo:se Mar\u00EDa";
    std::filesystem::create_directory(odd);
    setenv("HOME", odd.c_str(), 1);
    EXPECT_EQ(quillfen::BookmarksFile().PosixPath(), odd + "/Library/Safari/Bookmarks.plist");
}
