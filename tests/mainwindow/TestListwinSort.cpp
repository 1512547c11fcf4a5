// Sorting the bookmark list: file order among equal names, codes as text, the alternating "Checked" sort.
#include "ListwinFixture.h"

namespace {

using quillfen::BookmarkColumn::Checked;
using quillfen::BookmarkColumn::Code;
using quillfen::BookmarkColumn::Name;
using quillfen::BookmarkColumn::Order;
using quillfen::BookmarkColumn::URL;

class ListwinSortTest : public ListwinTest {};

// Bookmarks named alike, or with one URL, sort in their file order, also after a sort by another column.
TEST_F(ListwinSortTest, EqualNamesAndUrlsKeepFileOrder) {
    AddBookmark("News", "http://b/", 7);
    AddBookmark("alpha", "http://z/", 1);
    AddBookmark("news", "http://b/", 3);
    AddBookmark("News", "http://a/", 5);
    const std::vector<std::string> fileOrder{"000001", "000003", "000005", "000007"};
    win_->HandleMenuCommand("SortlistbyBookmarkURL");
    EXPECT_EQ(Column(Order), (std::vector<std::string>{"000005", "000003", "000007", "000001"}));
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    EXPECT_EQ(Column(Order), fileOrder);
    win_->HandleMenuCommand("SortlistbyOriginalorder");
    EXPECT_EQ(Column(Name), (std::vector<std::string>{"alpha", "news", "News", "News"}));
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    EXPECT_EQ(Column(Order), fileOrder);
}

// Codes compare as text: empty codes first, then "301" before "404".
TEST_F(ListwinSortTest, CodesSortAsText) {
    AddBookmark("a", "http://a/", 1, "404");
    AddBookmark("b", "http://b/", 2, "");
    AddBookmark("c", "http://c/", 3, "301");
    AddBookmark("d", "http://d/", 4, "1000");
    win_->HandleMenuCommand("SortlistbyCode");
    EXPECT_EQ(Column(Code), (std::vector<std::string>{"", "1000", "301", "404"}));
}

// Each use of "Checked", like a press of any heading, flips the direction, so two uses give opposite
// orders; a row's identity follows it.
TEST_F(ListwinSortTest, CheckedAlternates) {
    for (const char* mark : {"0", "1", "0"}) {
        AddBookmark(mark, "http://a/", List().ListCount() + 1);
        List().SetCell(List().ListCount() - 1, Checked, mark);
    }
    const auto checkedRow = List().RowIdentity(1);
    win_->HandleMenuCommand("SortlistbyChecked");
    const std::vector<std::string> first = Column(Checked);
    win_->HandleMenuCommand("SortlistbyChecked");
    const std::vector<std::string> second = Column(Checked);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, std::vector<std::string>(second.rbegin(), second.rend()));
    EXPECT_EQ(List().SortedColumn(), Checked);
    EXPECT_EQ(List().Cell(List().RowOf(checkedRow), Checked), "1");

    const int before = List().ColumnSortDirection(Checked);
    List().PressHeader(Name);
    EXPECT_EQ(List().ColumnSortDirection(Checked), -before);
}

} // namespace
