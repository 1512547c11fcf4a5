// A scan through the real window: every bookmark in scope checked once whatever the user does meanwhile,
// "Done" only at the end, and the list painted with the screen's frames, not with every result.
#include "ListwinFixture.h"
#include "ScriptedServer.h"
#include "app/Globals.h"
#include "framework/ui/qt/FramePacing.h"

#include <QEvent>
#include <QObject>
#include <map>

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class ListwinScanTest : public ListwinTest {
protected:
    void TearDown() override {
        fw::detail::SetFrameInterval(16);
        ListwinTest::TearDown();
    }
    std::string Caption() const { return Button("PushButton1").Caption(); }
    bool AnyRowChecking() const {
        for (int row = 0; row < List().ListCount(); ++row)
            if (List().Cell(row, quillfen::BookmarkColumn::Status) == "checking")
                return true;
        return false;
    }

    testsupport::ScriptedServer server_;
};

// Sorting the list by name in the middle of a scan leaves no bookmark unchecked and checks none twice;
// "Done" and "Scan" come only once no row reads "checking"; meanwhile the list is not painted more
// often than the frames allow, and its last state is painted at the next frame.
TEST_F(ListwinScanTest, SortDuringAScanChecksEveryRowOnce) {
    constexpr int kRows = 120;
    server_.SetResponses({"HTTP/1.0 200 OK\r\n\r\n"});
    for (int i = 0; i < kRows; ++i)
        AddBookmark("n" + std::to_string(1000 - i),
                    "http://127.0.0.1:" + std::to_string(server_.Port()) + "/" + std::to_string(i), i + 1);
    win_->Show();
    PaintCounter counter;
    View().viewport()->installEventFilter(&counter);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }));
    quillfen::Globals::timeOut = "30";
    fw::detail::SetFrameInterval(3'600'000); // from now on, no frame falls within the test
    counter.paints = 0;

    QTest::mouseClick(fw::detail::WidgetOf(Button("PushButton1")), Qt::LeftButton);
    bool sorted = false, doneTooEarly = false;
    ASSERT_TRUE(testsupport::SpinUntil(
        [&] {
            if (!sorted && server_.Connections() >= kRows / 4) {
                win_->HandleMenuCommand("SortlistbyBookmarkname");
                sorted = true;
            }
            doneTooEarly |= (Status() == "Done" || Caption() == "Scan") && AnyRowChecking();
            return Caption() == "Scan";
        },
        20000));
    EXPECT_TRUE(sorted);
    EXPECT_FALSE(doneTooEarly);
    EXPECT_EQ(Status(), "Done");
    EXPECT_EQ(Column(quillfen::BookmarkColumn::Status), std::vector<std::string>(kRows, "\u2714"));
    std::map<std::string, int> requested;
    for (const std::string& request : server_.Requests())
        ++requested[request.substr(0, request.find(" HTTP/"))];
    EXPECT_EQ(requested.size(), std::size_t(kRows));
    EXPECT_TRUE(std::ranges::all_of(requested, [](const auto& entry) { return entry.second == 1; }));

    EXPECT_EQ(counter.paints, 0);
    fw::detail::SetFrameInterval(16);
    EXPECT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }));
    View().viewport()->removeEventFilter(&counter);
}

} // namespace
