// Rewriting the bookmarks file: whole entries cut and every other byte kept, failures that leave the file
// as it was, and the backup copy and restore around a rewrite.
#include "tests/bookmarksfile/BookmarksTree.h"
#include "tests/bookmarksfile/ScriptedDialogs.h"
#include "tests/support/TempHome.h"
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksBackup.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "bookmarksfile/BookmarksText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

using testsupport::SampleTree, testsupport::TreeItem;
using Uuids = std::set<std::string, std::less<>>;

class BookmarksRewriteTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return home_.Path() + "/" + name; }
    fw::FolderItem File(const std::string& name = "Bookmarks.plist") const { return fw::FolderItem(Path(name)); }
    static void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read(const std::string& name = "Bookmarks.plist") const { return testsupport::ReadFile(Path(name)); }
    std::string Converted(const TreeItem& tree, bool modern, const std::string& name) {
        return testsupport::PlutilForm(tree, modern, Path(name));
    }
    quillfen::RewriteResult Delete(const Uuids& uuids) {
        return quillfen::RewriteBookmarksFile(File(), [&](const std::string& text) {
            return quillfen::CutBookmarks(text, uuids);
        });
    }
    bool TemporaryFileLeft() const {
        for (const auto& entry : std::filesystem::directory_iterator(home_.Path()))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                return true;
        return false;
    }

    testsupport::TempHome home_;
    testsupport::ScriptedDialogs dialogs_;
};

// In both forms each chosen bookmark goes whole, wherever it stands and whatever it nests; an identifier
// not in the file, an empty one or a folder's stops nothing and cuts nothing. The result reads back as
// exactly the remaining tree, and the text is the old one but for the line at each join.
TEST_F(BookmarksRewriteTest, CutsWholeEntriesAndKeepsEveryOtherByte) {
    const struct {
        const char* name;
        Uuids chosen;
        std::set<std::string> gone;
    } cases[] = {
        {"none", {}, {}},
        {"first", {"A"}, {"A"}},
        {"middle", {"D"}, {"D"}},
        {"last, a Reading List item", {"R"}, {"R"}},
        {"two neighbours", {"D", "E"}, {"D", "E"}},
        {"nested deepest", {"F"}, {"F"}},
        {"favorites bar", {"B"}, {"B"}},
        {"all", {"A", "B", "C", "D", "E", "F", "G", "R"}, {"A", "B", "C", "D", "E", "F", "G", "R"}},
        {"unknown before known", {"0-missing", "G"}, {"G"}},
        {"empty identifier", {"", "C"}, {"C"}},
        {"folder identifier", {"f-sub"}, {}},
    };
    const TreeItem tree = SampleTree();
    for (const bool modern : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (modern ? " (modern)" : " (older)"));
            const std::string before = Converted(tree, modern, "Bookmarks.plist");
            const quillfen::RewriteResult result = Delete(c.chosen);
            EXPECT_TRUE(result.ok);
            EXPECT_EQ(result.changed, !c.gone.empty());
            const std::string after = Read();
            const std::string expected = Converted(testsupport::Without(tree, c.gone), modern, "expected.plist");
            EXPECT_EQ(testsupport::WithoutJoins(after), expected);
            EXPECT_EQ(quillfen::ConvertAndReadBookmarks(File()), expected); // a property list again, plutil agrees
            EXPECT_EQ(after.find('\0'), std::string::npos);
            EXPECT_TRUE(!c.gone.empty() || after == before);
        }
    }
}

// Failures leave the file byte for byte as it was, with no temporary file beside it, and say why.
TEST_F(BookmarksRewriteTest, FailuresLeaveTheFileAsItWas) {
    EXPECT_FALSE(Delete({"A"}).ok) << "missing file";
    EXPECT_FALSE(std::filesystem::exists(Path("Bookmarks.plist")));

    const std::string before = Converted(SampleTree(), true, "Bookmarks.plist");
    // A full disk: no file may grow past a few bytes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    const quillfen::RewriteResult full = Delete({"A"});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(full.ok);
    EXPECT_NE(full.message.find("could not be written"), std::string::npos) << full.message;
    EXPECT_NE(full.message.find("left as it was"), std::string::npos);
    EXPECT_EQ(Read(), before);
    EXPECT_FALSE(TemporaryFileLeft());

}

// The backup dialog's title and name; a cancel copies nothing and lets the rewrite go on; a chosen place,
// also over a file the user agreed to replace, gets the file's bytes; a copy that cannot be made, or one
// over the bookmarks file itself, is reported and stops the rewrite; a FIFO in the file's place never blocks.
TEST_F(BookmarksRewriteTest, BackupCopyIsMadeOrReported) {
    Write(Path("Bookmarks.plist"), "current bytes");
    std::filesystem::create_symlink(Path("Bookmarks.plist"), Path("link"));
    Write(Path("old backup"), "to be replaced");
    const struct {
        std::optional<std::string> answer;
        bool goesOn;
        const char* there; // what the chosen place holds afterwards
    } cases[] = {
        {std::nullopt, true, ""},
        {Path("new backup"), true, "current bytes"},
        {Path("old backup"), true, "current bytes"},
        {Path("no such folder/backup"), false, ""},
        {Path("link"), false, "current bytes"}, // the bookmarks file itself, untouched
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("cancelled"));
        dialogs_.messages.clear();
        dialogs_.saveAnswer = c.answer;
        EXPECT_EQ(quillfen::OfferBackup(File()), c.goesOn);
        EXPECT_EQ(dialogs_.asked.back(), "Save the original Bookmarks file as a Backup / Bookmarks.plist");
        EXPECT_EQ(dialogs_.messages.size(), c.goesOn ? 0u : 1u);
        EXPECT_EQ(testsupport::ReadFile(c.answer.value_or(Path("none"))), c.there);
        EXPECT_EQ(Read(), "current bytes");
    }

    std::filesystem::remove(Path("Bookmarks.plist"));
    ASSERT_EQ(::mkfifo(Path("Bookmarks.plist").c_str(), 0600), 0);
    dialogs_.saveAnswer = Path("fifo backup");
    EXPECT_FALSE(quillfen::OfferBackup(File()));
    EXPECT_FALSE(std::filesystem::exists(Path("fifo backup")));
}

// A restore copies the chosen file over the bookmarks file whole and says so only then; a cancel, the
// bookmarks file itself, a FIFO or a missing file change nothing, and none of them claims success.
TEST_F(BookmarksRewriteTest, RestoreCopiesOverOrChangesNothing) {
    const std::string success = "The Bookmarks file was successfully restored";
    Write(Path("backup"), "saved bytes");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    const struct {
        std::optional<std::string> answer;
        bool restored;
        bool told;
    } cases[] = {
        {std::nullopt, false, false},
        {Path("Bookmarks.plist"), false, true},
        {Path("fifo"), false, true},
        {Path("missing"), false, true},
        {Path("backup"), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("cancelled"));
        Write(Path("Bookmarks.plist"), "current bytes");
        dialogs_.messages.clear();
        dialogs_.openAnswer = c.answer;
        quillfen::RestoreFromCopy(File());
        EXPECT_EQ(dialogs_.asked.back(), "Localize the original Bookmarks file");
        EXPECT_EQ(Read(), c.restored ? "saved bytes" : "current bytes");
        ASSERT_EQ(dialogs_.messages.size(), c.told ? 1u : 0u);
        EXPECT_TRUE(!c.told || (dialogs_.messages[0] == success) == c.restored) << dialogs_.messages[0];
        EXPECT_FALSE(TemporaryFileLeft());
    }
}

} // namespace
