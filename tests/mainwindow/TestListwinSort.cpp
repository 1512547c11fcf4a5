// Sorting the bookmark list: file order among equal names, codes as text, the alternating "Checked" sort.
#include "ListwinFixture.h"

namespace {

using quillfen::BookmarkColumn::Checked;
using quillfen::BookmarkColumn::Code;
using quillfen::BookmarkColumn::Order;
using Texts = std::vector<std::string>;

using ListwinSortTest = ListwinTest;

// Bookmarks named alike, or with one URL, sort in their file order, also after a sort by another column;
// codes compare as text, empty codes first.
TEST_F(ListwinSortTest, EqualNamesAndUrlsKeepFileOrderAndCodesSortAsText) {
    AddBookmark("News", "http://b/", 7, "404");
    AddBookmark("alpha", "http://z/", 1, "");
    AddBookmark("news", "http://b/", 3, "301");
    AddBookmark("News", "http://a/", 5, "1000");
    const Texts fileOrder{"000001", "000003", "000005", "000007"};
    const std::pair<const char*, Texts> steps[] = {
        {"SortlistbyBookmarkURL", {"000005", "000003", "000007", "000001"}},
        {"SortlistbyBookmarkname", fileOrder},
        {"SortlistbyCode", {"000001", "000005", "000003", "000007"}},
        {"SortlistbyBookmarkname", fileOrder},
    };
    for (const auto& [command, order] : steps) {
        win_->HandleMenuCommand(command);
        EXPECT_EQ(Column(Order), order) << command;
    }
}

// Each use of "Checked" flips the direction, so two uses give opposite orders; a row's identity follows it.
TEST_F(ListwinSortTest, CheckedAlternates) {
    for (const char* mark : {"0", "1", "0"}) {
        AddBookmark(mark, "http://a/", List().ListCount() + 1);
        List().SetCell(List().ListCount() - 1, Checked, mark);
    }
    const auto checkedRow = List().RowIdentity(1);
    win_->HandleMenuCommand("SortlistbyChecked");
    const Texts first = Column(Checked);
    win_->HandleMenuCommand("SortlistbyChecked");
    const Texts second = Column(Checked);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, Texts(second.rbegin(), second.rend()));
    EXPECT_EQ(List().Cell(List().RowOf(checkedRow), Checked), "1");
}

} // namespace
