// The list's commands: the window's frame, sorting, and marking rows by result class, by selection and as
// duplicate URLs.
#include "ListwinFixture.h"

#include <QImage>
#include <tuple>

namespace {

using quillfen::BookmarkColumn::Checked, quillfen::BookmarkColumn::Order;
using Rows = std::vector<int>;
using Texts = std::vector<std::string>;

// The application's menu bar is installed, as it is when the user gives the commands.
struct ListwinCommandsTest : ListwinTest {
    ListwinCommandsTest() { withMenu_ = true; }
};

// The window's minimum width (600) keeps it above the 563 that "Visit Site" needs, so the button stays.
// Space moves the first visible row on by the page less three rows: 12 rows in a 273-pixel list.
TEST_F(ListwinCommandsTest, ResizeKeepsVisitSiteAndSpacePagesTheList) {
    win_->SetSize(562, 400);
    EXPECT_EQ(std::pair(win_->Width(), Button("PushButton3").Visible()), std::pair(600, true));
    win_->SetSize(900, 358);
    ASSERT_EQ(List().Height(), 273);

    for (int i = 1; i <= 100; ++i)
        AddBookmark("n", "http://x/", i);
    List().SetScrollPosition(5);
    ClickCell(5, 1);
    Press(Qt::Key_Space);
    EXPECT_EQ(List().ScrollPosition(), 17);
    Press(Qt::Key_A);
    EXPECT_EQ(List().ScrollPosition(), 17);
}

// Every menu command on an empty list finds no row to act on; only Page Setup, Print and Check Duplicates
// keep their command from the application.
TEST_F(ListwinCommandsTest, EveryCommandOnAnEmptyList) {
    std::vector<std::string> handled;
    std::function<void(const fw::MenuItem&)> run = [&](const fw::MenuItem& item) {
        for (int i = 0; i < item.Count(); ++i)
            run(item.Item(i));
        if (item.Count() == 0 && !item.IsSeparator() && win_->HandleMenuCommand(item.Name))
            handled.push_back(item.Name);
    };
    run(quillfen::Menu::Instance());
    EXPECT_EQ(handled,
              (std::vector<std::string>{"FilePageSetup", "FilePrint", "CheckDuplicatesDuplicateURLs"}));
    EXPECT_EQ(std::tuple(List().ListCount(), Status(), modal_.beeps, modal_.urls),
              std::tuple(0, std::string("0 Duplicates"), 2, std::vector<std::string>{}));
}

// Even rows are painted 240,240,255 and odd rows white, whatever their status or box; a clicked row
// shows the selection over its stripe.
TEST_F(ListwinCommandsTest, RowsAreStriped) {
    for (int i = 1; i <= 5; ++i)
        AddBookmark("n", "http://x/", i);
    SetResult(1, "Not Found", "404");
    List().SetCellCheck(2, quillfen::BookmarkColumn::Check, true);
    const auto spot = [this](int row) {
        return View().visualRect(View().model()->index(row, 4)).topLeft() + QPoint(2, 2);
    };
    ClickCell(4, 4);
    const QImage image = View().viewport()->grab().toImage();
    std::vector<QColor> grounds;
    for (int row = 0; row < 4; ++row)
        grounds.push_back(image.pixelColor(spot(row)));
    const QColor even(240, 240, 255), odd(Qt::white);
    EXPECT_EQ(grounds, (std::vector<QColor>{even, odd, even, odd}));
    EXPECT_EQ(image.pixelColor(spot(4)), View().palette().color(QPalette::Highlight).toRgb());
}

// Bookmarks named alike, or with one URL, sort in their file order, also after a sort by another column;
// codes compare as text, empty codes first; each use of "Checked" flips the direction.
TEST_F(ListwinCommandsTest, EqualNamesAndUrlsKeepFileOrderAndCodesSortAsText) {
    AddBookmark("News", "http://b/", 7, "404");
    AddBookmark("alpha", "http://z/", 1, "");
    AddBookmark("news", "http://b/", 3, "301");
    AddBookmark("News", "http://a/", 5, "1000");
    for (const int row : {0, 2})
        List().SetCell(row, Checked, "1");
    const Texts fileOrder{"000001", "000003", "000005", "000007"};
    const std::pair<const char*, Texts> steps[] = {
        {"SortlistbyBookmarkURL", {"000005", "000003", "000007", "000001"}},
        {"SortlistbyBookmarkname", fileOrder},
        {"SortlistbyCode", {"000001", "000005", "000003", "000007"}},
        {"SortlistbyBookmarkname", fileOrder},
        {"SortlistbyChecked", {"000003", "000007", "000001", "000005"}},
        {"SortlistbyChecked", {"000001", "000005", "000003", "000007"}},
    };
    for (const auto& [command, order] : steps) {
        win_->HandleMenuCommand(command);
        EXPECT_EQ(Column(Order), order) << command;
    }
}

// Each class takes exactly its rows, read from the cells: a timed-out row belongs to no digit class and an
// empty code to none at all. Marks only add up: the selection's marks stay when a class is marked, and the
// selection itself stays.
TEST_F(ListwinCommandsTest, ResultClassesTakeTheirRowsAndMarksAddUp) {
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
        EXPECT_FALSE(win_->HandleMenuCommand(command));
        EXPECT_EQ(MarkedRows(), rows) << command;
        EXPECT_FALSE(win_->HandleMenuCommand("Uncheckall"));
        EXPECT_EQ(std::pair(MarkedRows(), List().Cell(0, Checked)), std::pair(Rows{}, std::string("0")))
            << command;
    }

    List().SetSelected(1, true);
    List().SetSelected(6, true);
    win_->HandleMenuCommand("ToolsCheckSelectedBookmarks");
    win_->HandleMenuCommand("Checkall4xx");
    EXPECT_EQ(MarkedRows(), (Rows{1, 4, 6}));
    EXPECT_EQ(SelectedRows(), (Rows{1, 6}));
}

// The topmost row of a URL stays unmarked and every later one is marked; a trailing "/" or another
// letter case makes another URL; earlier marks that are no duplicates go, the last row's included.
TEST_F(ListwinCommandsTest, DuplicatesMarkEveryLaterRowOfAUrl) {
    for (const char* url : {"http://a/", "http://b/", "http://dup/", "http://dup", "http://c/", "http://dup/",
                            "http://DUP/", "http://d/", "http://e/", "http://dup/", "http://last/"})
        AddBookmark("n", url, List().ListCount() + 1);
    for (int row : {7, 10}) {
        List().SetCellCheck(row, quillfen::BookmarkColumn::Check, true);
        List().SetCell(row, quillfen::BookmarkColumn::Checked, "1");
    }
    EXPECT_TRUE(win_->HandleMenuCommand("CheckDuplicatesDuplicateURLs"));
    EXPECT_EQ(MarkedRows(), (Rows{5, 9}));
    EXPECT_EQ(std::pair(Status(), modal_.beeps), std::pair(std::string("2 Duplicates"), 1));
}

} // namespace
