// Rewriting the bookmarks file: whole entries cut and every other byte kept, in both forms of the file;
// failures leave the file as it was.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "tests/bookmarksfile/BookmarksTree.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

class BookmarksRewriteTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return home_.Path() + "/" + name; }
    quillfen::RewriteResult Delete(const std::set<std::string, std::less<>>& uuids) {
        return quillfen::RewriteBookmarksFile(
            fw::FolderItem(Path("Bookmarks.plist")),
            [&](const std::string& text) { return quillfen::CutBookmarks(text, uuids); });
    }

    testsupport::TempHome home_;
};

// Each chosen bookmark goes whole, wherever it stands and whatever it nests; an identifier not in the file,
// an empty one or a folder's stops nothing and cuts nothing. The result reads back as exactly the remaining
// tree, and its text is the old one but for the line at each join.
TEST_F(BookmarksRewriteTest, CutsWholeEntriesAndKeepsEveryOtherByte) {
    const struct {
        std::set<std::string, std::less<>> chosen;
        std::set<std::string> gone;
    } cases[] = {
        {{}, {}},
        {{"A"}, {"A"}},
        {{"D"}, {"D"}},
        {{"R"}, {"R"}},
        {{"D", "E"}, {"D", "E"}},
        {{"F"}, {"F"}},
        {{"A", "B", "C", "D", "E", "F", "G", "R"}, {"A", "B", "C", "D", "E", "F", "G", "R"}},
        {{"0-missing", "G"}, {"G"}},
        {{"", "C"}, {"C"}},
        {{"f-sub"}, {}},
    };
    for (const bool modern : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << modern << " " << testing::PrintToString(c.chosen));
            const std::string before =
                testsupport::PlutilForm(testsupport::SampleTree(), modern, Path("Bookmarks.plist"));
            const quillfen::RewriteResult result = Delete(c.chosen);
            EXPECT_TRUE(result.ok);
            EXPECT_EQ(result.changed, !c.gone.empty());
            const std::string after = testsupport::ReadFile(Path("Bookmarks.plist"));
            const std::string expected = testsupport::PlutilForm(
                testsupport::Without(testsupport::SampleTree(), c.gone), modern, Path("expected"));
            EXPECT_EQ(testsupport::WithoutJoins(after), expected);
            EXPECT_EQ(quillfen::ConvertAndReadBookmarks(fw::FolderItem(Path("Bookmarks.plist"))), expected);
            EXPECT_TRUE(!c.gone.empty() || after == before);
        }
    }
}

// A missing file, or a disk too full for the new text, fails with a reason and leaves the file as it was,
// with no temporary file beside it.
TEST_F(BookmarksRewriteTest, FailuresLeaveTheFileAsItWas) {
    EXPECT_FALSE(Delete({"A"}).ok);
    EXPECT_FALSE(std::filesystem::exists(Path("Bookmarks.plist")));

    const std::string before =
        testsupport::PlutilForm(testsupport::SampleTree(), true, Path("Bookmarks.plist"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit full = saved;
    full.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &full);
    const quillfen::RewriteResult result = Delete({"A"});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("could not be written"), std::string::npos) << result.message;
    EXPECT_EQ(testsupport::ReadFile(Path("Bookmarks.plist")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home_.Path()), {}), 1);
}

} // namespace
