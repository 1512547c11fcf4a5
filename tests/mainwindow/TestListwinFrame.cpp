// The main window's frame: the minimum width, paging with Space, and menu commands on an empty list.
#include "ListwinFixture.h"
#include "framework/ui/MenuBar.h"

#include <QKeyEvent>
#include <tuple>

namespace {

using ListwinFrameTest = ListwinTest;

// The window's minimum width (600) keeps it above the 563 that "Visit Site" needs, so the button stays.
// Space moves the first visible row on by the page less three rows: 12 rows in a 273-pixel list.
TEST_F(ListwinFrameTest, ResizeKeepsVisitSiteAndSpacePagesTheList) {
    win_->SetSize(562, 400);
    EXPECT_EQ(std::pair(win_->Width(), Button("PushButton3").Visible()), std::pair(600, true));
    win_->SetSize(900, 358);
    ASSERT_EQ(List().Height(), 273);

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

} // namespace
