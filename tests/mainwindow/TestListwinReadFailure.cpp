// "Get Bookmarks" on a bookmarks file that cannot be read: the read-failure message at once, never a hang
// and never "0 bookmarks" as if the file were empty.
#include "ListwinFixture.h"

#include <fstream>
#include <sys/stat.h>

namespace {

class ListwinReadFailureTest : public ListwinTest {
protected:
    void ClickGetBookmarks() {
        QTest::mouseClick(fw::detail::WidgetOf(Button("PushButton2")), Qt::LeftButton);
    }
    const std::string path_ = home_.Path() + "/Library/Safari/Bookmarks.plist";
    const std::string message_ =
        "Vozez Quillfen has encountered a problem and could not read Safari's bookmarks.\r\r"
        "If you used Ordnix to organize your bookmarks there is a simple way to fix this problem. "
        "Please read the documentation that came with Safari Quillfen. ";
};

// After a good load, a FIFO and a damaged binary file each show the whole message once and empties the list; the status
// line and the kept text stay those of the last good load, and the file stays as it was.
TEST_F(ListwinReadFailureTest, ShowsTheMessageAndKeepsTheLastGoodLoad) {
    WriteBookmarksFile({{"Kept", "http://kept.example/", "UUID-K"}});
    ClickGetBookmarks();
    ASSERT_EQ(Status(), "1 bookmarks");
    const std::string kept = win_->editWholeplist;
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(path_.c_str(), 0644), 0); }},
        {"damaged binary", [&] { std::ofstream(path_, std::ios::binary) << "bplist00 damaged beyond repair"; }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(path_);
        make();
        modal_.messages.clear();

        ClickGetBookmarks();

        EXPECT_EQ(modal_.messages, std::vector<std::string>{message_});
        EXPECT_EQ(List().ListCount(), 0);
        EXPECT_EQ(Status(), "1 bookmarks");
        EXPECT_EQ(win_->editWholeplist, kept);
    }
    EXPECT_EQ(testsupport::ReadFile(path_), "bplist00 damaged beyond repair");
}

} // namespace
