// The main window's frame: resizing, button enabling by selection, the status line on clicks, menu results.
#include "ListwinFixture.h"
#include "app/Menu.h"
#include "app/MenuItems.h"
#include "framework/ui/Application.h"
#include "framework/ui/MenuBar.h"

#include <QKeyEvent>
#include <tuple>

namespace {

using ListwinFrameTest = ListwinTest;

// The list fills the window's width and leaves 85 pixels below; the status line leaves 260. The window's
// minimum width (600) keeps it above the 563 that "Visit Site" needs, so the button stays at every size.
// Space moves the first visible row on by the page less three rows: 12 rows in a 273-pixel list.
TEST_F(ListwinFrameTest, ResizeLaysOutTheWindowAndSpacePagesTheList) {
    // Window width, list width and height, status line width, "Visit Site" shown.
    auto layout = [this] {
        return std::tuple(win_->Width(), List().Width(), List().Height(), StatusLine().Width(),
                          Button("PushButton3").Visible());
    };
    win_->SetSize(562, 400);
    EXPECT_EQ(layout(), std::tuple(600, 600, 315, 340, true));
    win_->SetSize(900, 358);
    EXPECT_EQ(layout(), std::tuple(900, 900, 273, 640, true));

    for (int i = 1; i <= 100; ++i)
        AddBookmark("n", "http://x/", i);
    List().SetScrollPosition(5);
    QTest::keyClick(&View(), Qt::Key_Space);
    EXPECT_EQ(List().ScrollPosition(), 17);
    QTest::keyClick(&View(), Qt::Key_A);
    EXPECT_EQ(List().ScrollPosition(), 17);
}

// Every menu command on an empty list finds no row to act on; only Page Setup, Print and Check Duplicates
// keep their command from the application.
TEST_F(ListwinFrameTest, EveryCommandOnAnEmptyList) {
    fw::Application app;
    app.SetMenuBar(&quillfen::Menu::Instance());
    std::vector<std::string> handled;
    std::function<void(const fw::MenuItem&)> run = [&](const fw::MenuItem& item) {
        for (int i = 0; i < item.Count(); ++i)
            run(item.Item(i));
        if (item.Count() == 0 && !item.IsSeparator() && win_->HandleMenuCommand(item.Name))
            handled.push_back(item.Name);
    };
    run(quillfen::Menu::Instance());
    app.SetMenuBar(nullptr);
    quillfen::Menu::Release();
    EXPECT_EQ(handled,
              (std::vector<std::string>{"FilePageSetup", "FilePrint", "CheckDuplicatesDuplicateURLs"}));
    EXPECT_EQ(std::tuple(List().ListCount(), Status(), modal_.beeps),
              std::tuple(0, std::string("0 Duplicates"), 2));
    EXPECT_TRUE(modal_.urls.empty());
    fw::detail::CloseAllWindows();
}

// Even rows are painted 240,240,255 and odd rows white, whatever their status or box.
TEST_F(ListwinFrameTest, RowsAreStriped) {
    for (int i = 1; i <= 4; ++i)
        AddBookmark("n", "http://x/", i);
    SetResult(1, "Not Found", "404");
    List().SetCellCheck(2, quillfen::BookmarkColumn::Check, true);
    const QImage image = View().viewport()->grab().toImage();
    std::vector<QColor> grounds;
    for (int row = 0; row < 4; ++row)
        grounds.push_back(
            image.pixelColor(View().visualRect(View().model()->index(row, 4)).topLeft() + QPoint(2, 2)));
    const QColor even(240, 240, 255), odd(Qt::white);
    EXPECT_EQ(grounds, (std::vector<QColor>{even, odd, even, odd}));
}

// A click shows the row's URL, blue for web addresses and black otherwise, and records the cell. A click
// within a second after a double-click opens a web address; once the second is over it only shows it.
TEST_F(ListwinFrameTest, ClicksShowAndDoubleClicksOpenTheUrl) {
    AddBookmark("secure", "https://example.org/", 1);
    AddBookmark("ftp", "ftp://example.org/", 2);
    ClickCell(1, 3);
    EXPECT_EQ(std::tuple(Status(), StatusLine().TextColor(), win_->activeRow, win_->activeColumn),
              std::tuple(std::string("ftp://example.org/"), fw::RGB(0, 0, 0), 1, 3));
    ClickCell(0, 2, true);
    EXPECT_EQ(std::pair(Status(), StatusLine().TextColor()),
              std::pair(std::string("https://example.org/"), fw::RGB(0, 0, 255)));
    ClickCell(1, 2);
    EXPECT_TRUE(modal_.urls.empty());
    ClickCell(0, 2);
    EXPECT_EQ(modal_.urls, std::vector<std::string>{"https://example.org/"});
    ASSERT_TRUE(testsupport::SpinUntil([this] { return !win_->doubleclick; }, 3000));
    ClickCell(0, 2);
    EXPECT_EQ(modal_.urls.size(), 1u);
}

} // namespace
