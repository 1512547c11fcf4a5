// "Get Bookmarks": the list filled from Safari's bookmarks file, and a file that cannot be read; the
// preferences the window reads as it opens.
#include "ListwinFixture.h"

#include <climits>
#include <fstream>
#include <sys/stat.h>

namespace {

using Texts = std::vector<std::string>;
using ListwinBookmarksTest = ListwinTest;

// A binary file is converted and listed in file order, only web addresses and feeds; the arrays follow the
// rows, and the search field is emptied, also of a word being typed.
TEST_F(ListwinBookmarksTest, GetBookmarksFillsTheList) {
    win_->editHasBeenEdited = true;
    ClickField();
    Type("old word");
    WriteBookmarksFile({{"First &amp; best", "https://a.example/", "UUID-1"},
                        {"Script", "javascript:void(0)", "UUID-2"},
                        {"Feed", "feed://b.example/rss", "UUID-3"}});
    Click(Button("PushButton2")); // a second load replaces the first

    using namespace quillfen::BookmarkColumn;
    EXPECT_EQ((std::vector<Texts>{Column(Name), Column(URL), Column(Order), win_->UUIDArray}),
              (std::vector<Texts>{{"First &amp;amp; best", "Feed"},
                                  {"https://a.example/", "feed://b.example/rss"},
                                  {"000001", "000002"},
                                  {"UUID-1", "UUID-3"}}));
    EXPECT_EQ(
        std::tuple(Status(), win_->editHasBeenEdited, List().SortedColumn(), SearchField().ShownText(0, 0)),
        std::tuple(std::string("2 bookmarks"), false, Order, std::string()));
}

// After a good load, a missing file, a FIFO and a damaged binary file each show the whole read-failure
// message once, at once, and empty the list; the status line and the kept text stay those of the last
// good load, and the file stays as it was.
TEST_F(ListwinBookmarksTest, ReadFailureShowsTheMessageAndKeepsTheLastGoodLoad) {
    const std::string path = BookmarksPath();
    WriteBookmarksFile({{"Kept", "http://kept.example/", "UUID-K"}});
    ASSERT_EQ(Status(), "1 bookmarks");
    const std::string kept = win_->editWholeplist;
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"missing", [] {}},
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
        {"damaged binary",
         [&] { std::ofstream(path, std::ios::binary) << "bplist00 damaged beyond repair"; }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(path);
        make();
        modal_.messages.clear();
        Click(Button("PushButton2"));
        EXPECT_EQ(modal_.messages,
                  Texts{"Vozez Quillfen has encountered a problem and could not read Safari's bookmarks.\r\r"
                        "If you used Ordnix to organize your bookmarks there is a simple way to fix this "
                        "problem. Please read the documentation that came with Safari Quillfen. "});
        EXPECT_EQ(std::tuple(List().ListCount(), Status(), win_->editWholeplist),
                  std::tuple(0, "1 bookmarks", kept));
    }
    EXPECT_EQ(testsupport::ReadFile(path), "bplist00 damaged beyond repair");
}

// The window takes its look from the record; the version socket gets the proxy only when proxy use is on,
// its port the record's number, clamped.
TEST_F(ListwinBookmarksTest, LookAndProxyOfTheVersionSocket) {
    const std::vector<std::tuple<std::string, bool, std::string, int>> cases{
        {"5*aqua**nocodes*noProxy*proxy.test*8080***8", false, "", 0},
        {"5*metal**nocodes*useProxy*proxy.test*8080***8", true, "proxy.test", 8080},
        {"5***nocodes*useProxy*proxy.test*99999999999***8", true, "proxy.test", INT_MAX},
        {"5*aqua**nocodes*useProxy*proxy.test*port***8", false, "proxy.test", 0}};
    std::filesystem::create_directories(home_.Path() + "/Library/Preferences");
    for (const auto& [record, metal, address, port] : cases) {
        std::ofstream(home_.Path() + "/Library/Preferences/Safari Quillfen") << record;
        Reopen();
        EXPECT_EQ(std::tuple(win_->Metal(), win_->versionHTTPSock.HTTPProxyAddress,
                             win_->versionHTTPSock.HTTPProxyPort),
                  std::tuple(metal, address, port))
            << record;
    }
}

} // namespace
