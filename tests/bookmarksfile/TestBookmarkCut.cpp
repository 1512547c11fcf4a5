// Cutting bookmarks out of the XML text in the shapes a file can take, checked against plutil's form of the
// tree that remains and against plistlib, a reader independent of ours.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksReader.h"

#include "BookmarksFixture.h"
#include "TempHome.h"

#include <gtest/gtest.h>

using namespace quillfen;
using namespace testsupport;

namespace {

using Outcomes = std::map<std::string, CutOutcome>;

struct Rows : BookmarkSink {
    void AddBookmark(const BookmarkRow& row) override { uuids.push_back(row.uuid); }
    std::vector<std::string> uuids;
};

// A dictionary that is no bookmark but carries a URL and an identifier of its own.
TreeItem Nested(std::string uuid) {
    return {TreeItem::Kind::Proxy, {"nested", "http://nested.example/", std::move(uuid)}, {}, {}};
}

TreeItem With(TreeItem item, std::string key, TreeItem value) {
    item.keyed.emplace_back(std::move(key), std::move(value));
    return item;
}

// The reader lists each bookmark under its own identifier, as the cut finds it. Exactly the entries of
// identifiers that name one bookmark leave the text (a key's value with its key), every other byte stays,
// and what became of each identifier is told; the rest is what plutil writes for the remaining tree, and
// plistlib reads it so.
TEST(BookmarkCutTest, CutsOnlyEntriesTheirOwnIdentifierNames) {
    const struct {
        const char* shape;
        TreeItem tree;
        std::vector<std::string> listed;
        std::set<std::string, std::less<>> chosen;
        Outcomes outcomes;
    } cases[] = {
        {"nested identifiers before and after the URL",
         Folder("", "root",
                {Folder("Bar", "f-bar",
                        {With(Leaf("a", "A"), "URIExtra", Nested("N1")),
                         With(Leaf("b", "B"), "WebBookmarkExtra", Nested("N2"))})}),
         {"A", "B"},
         {"A", "N2"},
         {{"A", CutOutcome::Cut}, {"N2", CutOutcome::NotFound}}},
        {"shared identifier",
         Folder("", "root", {Folder("Bar", "f-bar", {Leaf("a", "S")}), Folder("Menu", "f-menu", {Leaf("b", "S")})}),
         {"S", "S"},
         {"S"},
         {{"S", CutOutcome::Shared}}},
        {"a key's value",
         Folder("", "root", {With(Folder("Bar", "f-bar", {Leaf("a", "A")}), "Pinned", Leaf("p", "P"))}),
         {"A", "P"},
         {"P", "A"},
         {{"P", CutOutcome::Cut}, {"A", CutOutcome::Cut}}},
        {"the outermost dictionary", Leaf("r", "R"), {"R"}, {"R"}, {{"R", CutOutcome::Stuck}}},
        {"unknown and empty identifiers",
         Folder("", "root", {Folder("Bar", "f-bar", {Leaf("a", "A")})}),
         {"A"},
         {"Z", ""},
         {{"Z", CutOutcome::NotFound}, {"", CutOutcome::NotFound}}},
    };
    TempHome dir;
    const std::string input = dir.Path() + "/in.plist", expected = dir.Path() + "/expected.plist",
                      output = dir.Path() + "/out.plist";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        const std::string text = PlutilForm(c.tree, Form::Modern, input);
        Rows rows;
        ListBookmarks(text, rows);
        EXPECT_EQ(rows.uuids, c.listed);

        CutOutcomes outcomes;
        const std::string cut = CutBookmarks(text, c.chosen, {}, &outcomes);

        EXPECT_EQ(Outcomes(outcomes.begin(), outcomes.end()), c.outcomes);
        std::set<std::string> gone;
        for (const auto& [uuid, outcome] : c.outcomes)
            if (outcome == CutOutcome::Cut)
                gone.insert(uuid);
        EXPECT_EQ(WithoutJoins(cut), PlutilForm(Without(c.tree, gone), Form::Modern, expected));
        std::ofstream(output, std::ios::binary) << cut;
        const auto read = PlistlibBookmarks(output);
        if (!read)
            GTEST_SKIP() << "no /usr/bin/python3 for plistlib";
        EXPECT_EQ(*read, PlistlibBookmarks(expected));
    }
}

} // namespace
