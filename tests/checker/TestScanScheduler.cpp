#include "EventLoop.h"
#include "FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "checker/threadClass.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace quillfen {

namespace {

// The status line's first line, the scan control's caption and the end sounds so far.
using Ending = std::tuple<std::string, std::string, int>;
const Ending kDone{"Done", "Scan", 1};

// Results are handed to the workers by the test, in the order it chooses; the requests go to a server
// that never answers, within a time-out that never runs out during a test.
class ScanSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        scantest::DefaultSettings();
        quillfen::Globals::timeOut = "60";
        server.SetResponses({""}, false);
    }

    void Start(int rows, const char* pool) {
        quillfen::Globals::simultSocks = pool;
        for (int i = 0; i < rows; ++i)
            host.list.Add("http://127.0.0.1:" + std::to_string(server.Port()) + "/" + std::to_string(i));
        PressScanControl(host);
    }
    // The result of the worker dispatched at cursor index i, as its socket or timer would hand it in.
    void Result(int i, int code = 200) {
        threadClass* worker = host.scan->worker(i);
        ASSERT_NE(worker, nullptr) << "no worker at " << i;
        worker->TakeResult(code);
    }
    std::string Status(int row) const { return host.list.Status(row); }
    Ending State() const {
        return {host.status.substr(0, host.status.find('\r')), host.caption, host.glassPlays};
    }

    testsupport::ScriptedServer server;
    scantest::FakeHost host;
};

// A pool of 8 over 20 rows: 8 at once, one more per result, workers held only while their request runs,
// and "Done", the caption "Scan" and the sound only with the last result. A dispatched row below the
// visible part becomes the top row; visible rows and rows above the view leave the list alone.
TEST_F(ScanSchedulerTest, PoolOfEightOverTwentyRows) {
    Start(20, "8");
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(Status(r), r < 8 ? "checking" : "") << "row " << r;
    EXPECT_EQ(host.list.scroll, 5);      // five rows are visible
    host.list.scroll = 15;               // the user scrolls down: rows 8 to 19 are above or in the view
    testsupport::ProcessPendingEvents(); // the workers send their requests
    const auto workers = [this] {
        return std::ranges::count_if(host.scan->threadNo, [](const auto& w) { return w != nullptr; });
    };
    for (int k = 1; k <= 20; ++k) {
        Result(k - 1, k < 13 ? 200 : 404);
        EXPECT_EQ(host.list.InFlight(), std::min(8, 20 - k)) << "result " << k;
        EXPECT_EQ(workers(), std::min(8, 20 - k)) << "result " << k;
        if (k < 20) {
            EXPECT_EQ(State(), Ending("20 bookmarks, " + std::to_string(k) + " checked.", "Cancel", 0));
        }
    }
    EXPECT_EQ(State(), kDone);
    EXPECT_EQ(host.scan->scansCompleted, 20);
    EXPECT_EQ(Status(19), "Not Found");
    EXPECT_EQ(host.list.scroll, 15);
}

// The rows in scope (selected or with the check box on) are taken when the scan starts: sorting, removing
// and selecting rows meanwhile neither skips a row nor checks one twice, and a bookmark that left the list
// is passed over. With nothing in scope the scan ends at once.
TEST_F(ScanSchedulerTest, RowsAreTakenWhenTheScanStarts) {
    host.scope = 1;
    Start(20, "4");
    EXPECT_EQ(State(), kDone);
    for (int r = 0; r < 20; r += 2)
        host.list.rows[static_cast<std::size_t>(r)].checked = r != 0;
    host.list.rows[0].selected = true;
    PressScanControl(host);
    EXPECT_EQ(host.scan->scansTodo, 1);     // counted by the selection alone
    std::ranges::reverse(host.list.rows);   // sorted the other way round
    const auto gone = host.list.rows[1].id; // the last even row, not yet dispatched
    host.list.rows.erase(host.list.rows.begin() + 1);
    for (auto& row : host.list.rows)
        row.selected = true; // chosen only after the start
    for (std::size_t i = 0; i < host.scan->threadNo.size(); ++i) {
        if (host.scan->worker(static_cast<int>(i)))
            Result(static_cast<int>(i));
        EXPECT_TRUE(host.status != "Done" || host.list.InFlight() == 0) << "result " << i;
    }
    const std::vector<std::string> checkedOnce{"checking", "\u2714"};
    for (const auto& row : host.list.rows) // the rows in scope have odd identities
        EXPECT_EQ(host.list.statusHistory[row.id], row.id % 2 == 1 ? checkedOnce : std::vector<std::string>())
            << "bookmark " << row.id;
    EXPECT_TRUE(host.list.statusHistory[gone].empty());
    EXPECT_EQ(host.scan->scansCompleted, 9);
    EXPECT_EQ(State(), Ending("Done", "Scan", 2));
}

// Cancel stops dispatching while results still land; Resume keeps the scan and goes on after the last
// row handed out.
TEST_F(ScanSchedulerTest, CancelStopsDispatchingAndResumeGoesOn) {
    Start(12, "4");
    kritiskClass* scan = host.scan.get();
    PressScanControl(host);
    for (int i = 0; i < 4; ++i)
        Result(i);
    EXPECT_EQ(host.list.InFlight(), 0);
    PressScanControl(host);
    EXPECT_EQ(host.scan.get(), scan);
    EXPECT_EQ(Status(4), "checking");
}

// A pool setting of 0, below 0 or no number dispatches one row at a time. A bookmark that left the list
// while its request ran gets nothing, while its result still counts; cursor positions past the end of the
// shortened list are passed over and the scan ends.
TEST_F(ScanSchedulerTest, PoolOfZeroActsAsOneAndGoneRowsGetNothing) {
    for (const char* pool : {"0", "-2", "abc"}) {
        host = scantest::FakeHost();
        Start(3, pool);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        Result(0);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        EXPECT_EQ(Status(1), "checking") << pool;
    }
    host = scantest::FakeHost();
    Start(6, "2");
    const auto gone = host.list.RowIdentity(1);
    host.list.rows.resize(1);
    Result(1, 500);
    EXPECT_EQ(host.list.statusHistory[gone], std::vector<std::string>{"checking"});
    EXPECT_EQ(std::get<1>(State()), "Cancel");
    Result(0);
    EXPECT_EQ(State(), kDone);
    EXPECT_EQ(host.scan->scansCompleted, 2);
}

} // namespace

} // namespace quillfen
