// Marking rows by result class, by selection and as duplicate URLs, and unmarking them.
#include "ListwinFixture.h"

namespace {

using Rows = std::vector<int>;

class ListwinMarkingTest : public ListwinTest {
protected:
    bool Run(const std::string& command) { return win_->HandleMenuCommand(command); }
};

// Each class takes exactly its rows, read from the cells: a timed-out row belongs to no digit class and an
// empty code to none at all. Marks only add up: the selection's marks stay when a class is marked, and the
// selection itself stays.
TEST_F(ListwinMarkingTest, ResultClassesTakeTheirRowsAndMarksAddUp) {
    const std::pair<const char*, const char*> results[] = {
        {"OK", "200"},                    // 0
        {"", ""},                         // 1: never scanned
        {"Timeout", "5 sec."},            // 2: its code begins with a digit
        {"Name Resolution Error", "103"}, // 3: socket errors are class 1
        {"Not Found", "404"},             // 4
        {"Service Unavailable", "503"},   // 5
        {"Moved Permanently", "301"},     // 6
    };
    for (const auto& [status, code] : results) {
        AddBookmark("n", "http://x/", List().ListCount() + 1);
        SetResult(List().ListCount() - 1, status, code);
    }
    const std::pair<const char*, Rows> classes[] = {
        {"Checkall1xx", {3}}, {"Checkall2xx", {0}}, {"Checkall3xx", {6}},
        {"Checkall4xx", {4}}, {"Checkall5xx", {5}}, {"CheckallTxx", {2}},
    };
    for (const auto& [command, rows] : classes) {
        EXPECT_FALSE(Run(command));
        EXPECT_EQ(MarkedRows(), rows) << command;
        EXPECT_FALSE(Run("Uncheckall"));
        EXPECT_EQ(MarkedRows(), Rows{}) << command;
        EXPECT_EQ(List().Cell(0, quillfen::BookmarkColumn::Checked), "0");
    }

    List().SetSelected(1, true);
    List().SetSelected(6, true);
    Run("ToolsCheckSelectedBookmarks");
    Run("Checkall4xx");
    EXPECT_EQ(MarkedRows(), (Rows{1, 4, 6}));
    EXPECT_EQ(SelectedRows(), (Rows{1, 6}));
}

// The topmost row of a URL stays unmarked and every later one is marked; a trailing "/" or another
// letter case makes another URL; earlier marks that are no duplicates go, the last row's included.
TEST_F(ListwinMarkingTest, DuplicatesMarkEveryLaterRowOfAUrl) {
    const char* urls[] = {"http://a/", "http://b/",   "http://dup/", "http://dup",
                          "http://c/", "http://dup/", "http://DUP/", "http://d/",
                          "http://e/", "http://dup/", "http://last/"};
    for (const char* url : urls)
        AddBookmark("n", url, List().ListCount() + 1);
    for (int row : {7, 10}) {
        List().SetCellCheck(row, quillfen::BookmarkColumn::Check, true);
        List().SetCell(row, quillfen::BookmarkColumn::Checked, "1");
    }
    EXPECT_TRUE(Run("CheckDuplicatesDuplicateURLs"));
    EXPECT_EQ(MarkedRows(), (Rows{5, 9}));
    EXPECT_EQ(std::pair(Status(), modal_.beeps), std::pair(std::string("2 Duplicates"), 1));
}

} // namespace
