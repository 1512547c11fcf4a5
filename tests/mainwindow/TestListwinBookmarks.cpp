// "Get Bookmarks": the list filled from Safari's bookmarks file, and a file that cannot be read.
#include "ListwinFixture.h"

#include <climits>

namespace {

class ListwinBookmarksTest : public ListwinTest {
protected:
    void Press() { Button("PushButton2").Push(); }
};

// A binary file is converted and listed in file order; the arrays and the kept text follow the rows; the
// default button moves to the scan control and the search field is emptied.
TEST_F(ListwinBookmarksTest, GetBookmarksFillsTheList) {
    WriteBookmarksFile({{"First &amp; best", "https://a.example/", "UUID-1"},
                        {"Script", "javascript:void(0)", "UUID-2"},
                        {"Feed", "feed://b.example/rss", "UUID-3"}});
    win_->editHasBeenEdited = true;
    SearchField().SetCell(0, 0, "old word");

    Press();
    Press(); // a second load replaces the first

    using quillfen::BookmarkColumn::Name, quillfen::BookmarkColumn::URL, quillfen::BookmarkColumn::Order,
        quillfen::BookmarkColumn::UUID;
    EXPECT_EQ(Column(Name), (std::vector<std::string>{"First &amp;amp; best", "Feed"}));
    EXPECT_EQ(Column(URL), (std::vector<std::string>{"https://a.example/", "feed://b.example/rss"}));
    EXPECT_EQ(Column(Order), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(Column(UUID), (std::vector<std::string>{"UUID-1", "UUID-3"}));
    EXPECT_EQ(win_->UUIDArray, (std::vector<std::string>{"UUID-1", "UUID-3"}));
    EXPECT_EQ(win_->urlArray.size(), 2u);
    EXPECT_EQ(Status(), "2 bookmarks");
    EXPECT_FALSE(win_->editHasBeenEdited);
    EXPECT_NE(win_->editWholeplist.find("<key>WebBookmarkUUID</key>"), std::string::npos);
    EXPECT_TRUE(Button("PushButton1").Default());
    EXPECT_FALSE(Button("PushButton2").Default());
    EXPECT_EQ(List().SortedColumn(), Order);
    EXPECT_EQ(SearchField().Cell(0, 0), "");
}

// A missing file ends the load with the read-failure message; the program goes on.
TEST_F(ListwinBookmarksTest, MissingFileShowsTheReadFailure) {
    Press();
    EXPECT_EQ(
        modal_.messages,
        std::vector<std::string>{
            "Vozez Quillfen has encountered a problem and could not read Safari's bookmarks.\r\rIf you used "
            "Ordnix to organize your bookmarks there is a simple way to fix this problem. Please read the "
            "documentation that came with Safari Quillfen. "});
    EXPECT_EQ(List().ListCount(), 0);
}

class ListwinOpenTest : public ListwinTest {
protected:
    // Writes the preferences record, then opens a fresh main window that reads it.
    void Reopen(const std::string& record) {
        std::filesystem::create_directories(home_.Path() + "/Library/Preferences");
        FILE* f = std::fopen((home_.Path() + "/Library/Preferences/Safari Quillfen").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(record.c_str(), f);
        std::fclose(f);
        win_->Close();
        win_ = &fw::Instance<quillfen::Listwin>();
    }
};

// The window takes its look from the record; the version socket gets the proxy only when proxy use is on,
// its port the record's number, clamped.
TEST_F(ListwinOpenTest, LookAndProxyOfTheVersionSocket) {
    const std::vector<std::tuple<std::string, bool, std::string, int>> cases{
        {"5*aqua**nocodes*noProxy*proxy.test*8080***8", false, "", 0},
        {"5*metal**nocodes*useProxy*proxy.test*8080***8", true, "proxy.test", 8080},
        {"5***nocodes*useProxy*proxy.test*99999999999***8", true, "proxy.test", INT_MAX},
        {"5*aqua**nocodes*useProxy*proxy.test*port***8", false, "proxy.test", 0}};
    for (const auto& [record, metal, address, port] : cases) {
        Reopen(record);
        EXPECT_EQ(std::tuple(win_->Metal(), win_->versionHTTPSock.HTTPProxyAddress,
                             win_->versionHTTPSock.HTTPProxyPort),
                  std::tuple(metal, address, port))
            << record;
    }
}

} // namespace
