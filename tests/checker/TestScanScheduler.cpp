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

using scantest::FakeHost;

namespace {

// The status line's first line, the scan control's caption and the end sounds so far.
using Ending = std::tuple<std::string, std::string, int>;

// Results are handed to the workers by the test, in the order it chooses; the requests go to a server
// that never answers, within a time-out that never runs out during a test.
class ScanSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        scantest::DefaultSettings();
        quillfen::Globals::timeOut = "60";
        server.SetResponses({""}, false);
    }

    void AddRows(int count) {
        for (int i = 0; i < count; ++i)
            host.list.Add("http://127.0.0.1:" + std::to_string(server.Port()) + "/" + std::to_string(i));
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
    FakeHost host;
};

// A pool of 8 over 20 rows: 8 at once, one more per result, and "Done", the caption "Scan" and the sound
// only with the last result, never while a row is still being checked. A dispatched row below the
// visible part becomes the top row; visible rows and rows above the view leave the list alone.
TEST_F(ScanSchedulerTest, PoolOfEightOverTwentyRows) {
    AddRows(20);
    PressScanControl(host);
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(Status(r), r < 8 ? "checking" : "") << "row " << r;
    EXPECT_EQ(host.list.scroll, 5);      // five rows are visible
    host.list.scroll = 15;               // the user scrolls down: rows 8 to 19 are above or in the view
    testsupport::ProcessPendingEvents(); // the workers send their requests

    // Workers are held only while their request runs.
    const auto workers = [this] {
        return std::ranges::count_if(host.scan->threadNo, [](const auto& worker) { return worker != nullptr; });
    };
    for (int k = 1; k <= 19; ++k) {
        Result(k - 1, k < 13 ? 200 : 404);
        EXPECT_EQ(host.list.InFlight(), std::min(8, 20 - k)) << "result " << k;
        EXPECT_EQ(workers(), std::min(8, 20 - k)) << "result " << k;
        EXPECT_EQ(State(), Ending("20 bookmarks, " + std::to_string(k) + " checked.", "Cancel", 0));
    }
    EXPECT_EQ(Status(19), "checking");
    Result(19, 404);
    EXPECT_EQ(State(), Ending("Done", "Scan", 1));
    EXPECT_EQ(workers(), 0);
    EXPECT_EQ(host.scan->scansCompleted, 20);
    EXPECT_EQ(Status(19), "Not Found");
    EXPECT_EQ(host.list.scroll, 15);
}

// The rows in scope are taken when the scan starts: sorting, removing and selecting rows meanwhile
// neither skips a row nor checks one twice, and a bookmark that left the list is passed over.
TEST_F(ScanSchedulerTest, RowsAreTakenWhenTheScanStarts) {
    quillfen::Globals::simultSocks = "4";
    host.scope = 1;
    AddRows(20);
    for (int r = 0; r < 20; r += 2)
        host.list.rows[static_cast<std::size_t>(r)].checked = true;
    PressScanControl(host);
    std::ranges::reverse(host.list.rows); // sorted the other way round
    const auto gone = host.list.rows[1].id;  // the last even row, not yet dispatched
    host.list.rows.erase(host.list.rows.begin() + 1);
    for (auto& row : host.list.rows)
        row.selected = true; // chosen only after the start
    for (std::size_t i = 0; i < host.scan->threadNo.size(); ++i) {
        if (host.scan->worker(static_cast<int>(i)))
            Result(static_cast<int>(i));
        EXPECT_TRUE(host.status != "Done" || host.list.InFlight() == 0) << "result " << i;
    }
    const std::vector<std::string> checkedOnce{"checking", "\u2714"};
    for (const auto& row : host.list.rows) // the rows with a check box on have odd identities
        EXPECT_EQ(host.list.statusHistory[row.id], row.id % 2 == 1 ? checkedOnce : std::vector<std::string>())
            << "bookmark " << row.id;
    EXPECT_TRUE(host.list.statusHistory[gone].empty());
    EXPECT_EQ(host.scan->scansCompleted, 9);
    EXPECT_EQ(State(), Ending("Done", "Scan", 1));
}

// Cancel stops dispatching while results still land; Resume keeps the scan, dispatches the row after
// the last one handed out at once, and the next result refills the whole pool; Scan after the end
// starts a new scan from the first row.
TEST_F(ScanSchedulerTest, PauseResumeAndScanAgain) {
    quillfen::Globals::simultSocks = "4";
    AddRows(12);
    PressScanControl(host);
    kritiskClass* scan = host.scan.get();
    PressScanControl(host);
    for (int i = 0; i < 4; ++i)
        Result(i);
    EXPECT_EQ(host.list.InFlight(), 0);

    PressScanControl(host);
    EXPECT_EQ(host.scan.get(), scan);
    EXPECT_EQ(host.list.InFlight(), 1);
    EXPECT_EQ(Status(4), "checking");
    Result(4);
    EXPECT_EQ(host.list.InFlight(), 4);
    EXPECT_EQ(Status(8), "checking");

    for (int i = 5; i < 12; ++i)
        Result(i);
    PressScanControl(host);
    EXPECT_NE(host.scan.get(), scan);
    EXPECT_EQ(Status(0), "checking");
    EXPECT_EQ(Status(4), "\u2714");
}

// An empty list, or a selection scope with nothing chosen, ends at once and touches no row. In the
// selection scope a row is checked when it is selected or its check box is on; the rows in scope are
// counted by the selection alone.
TEST_F(ScanSchedulerTest, ScopeChoosesTheRows) {
    PressScanControl(host);
    EXPECT_EQ(State(), Ending("Done", "Scan", 1));
    AddRows(6);
    host.scope = 1;
    PressScanControl(host);
    EXPECT_EQ(State(), Ending("Done", "Scan", 2));
    EXPECT_TRUE(host.list.statusHistory.empty());

    host.list.rows[1].selected = true;
    host.list.rows[4].checked = true;
    PressScanControl(host);
    EXPECT_EQ(host.scan->scansTodo, 1);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(Status(r), r == 1 || r == 4 ? "checking" : "") << "row " << r;
    // Fewer rows than the pool: the scan ends with the last result, not at the start.
    EXPECT_EQ(std::get<1>(State()), "Cancel");
    Result(0);
    Result(1);
    EXPECT_EQ(State(), Ending("Done", "Scan", 3));
}

// A pool setting of 0, below 0 or no number still dispatches one row at a time.
TEST_F(ScanSchedulerTest, PoolOfZeroActsAsOne) {
    for (const char* pool : {"0", "-2", "abc"}) {
        host = FakeHost();
        AddRows(3);
        quillfen::Globals::simultSocks = pool;
        PressScanControl(host);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        Result(0);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        EXPECT_EQ(Status(1), "checking") << pool;
    }
}

// A bookmark that left the list while its request ran gets nothing, while its result still counts and
// lets the scan go on; cursor positions past the end of the shortened list are passed over and the
// scan ends.
TEST_F(ScanSchedulerTest, GoneRowsGetNothingAndAShortenedListEnds) {
    quillfen::Globals::simultSocks = "2";
    AddRows(6);
    PressScanControl(host);
    const auto gone = host.list.RowIdentity(1);
    host.list.rows.resize(1);
    Result(1, 500);
    EXPECT_EQ(host.list.statusHistory[gone], std::vector<std::string>{"checking"});
    EXPECT_EQ(std::get<1>(State()), "Cancel");
    Result(0);
    EXPECT_EQ(State(), Ending("Done", "Scan", 1));
    EXPECT_EQ(host.scan->scansCompleted, 2);
    EXPECT_EQ(host.list.InFlight(), 0);
}

} // namespace
