#include "EventLoop.h"
#include "FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using scantest::FakeHost;
using testsupport::ScriptedServer;
using History = std::vector<std::string>;
using Cells = std::pair<std::string, std::string>;

namespace {

// Whole scans against servers on 127.0.0.1: what each kind of answer, or its absence, leaves in the row.
class ScanResultsTest : public ::testing::Test {
protected:
    void SetUp() override { scantest::DefaultSettings(); }

    // A server answering every request with response (nothing, and keeping the connection, when empty).
    ScriptedServer& Server(const std::string& response) {
        servers.push_back(std::make_unique<ScriptedServer>());
        servers.back()->SetResponses({response}, !response.empty());
        return *servers.back();
    }
    static std::string Url(const ScriptedServer& server) {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
    }
    // Adds a row checked against a server that answers with the status line status.
    ScanRows::RowId Answering(const std::string& status, const std::string& headers = {}) {
        return host.list.Add(Url(Server("HTTP/1.0 " + status + "\r\n" + headers + "\r\n")));
    }
    bool WaitForResults(int count) {
        return testsupport::SpinUntil([&] { return host.scan && host.scan->scansCompleted >= count; });
    }
    const History& HistoryOf(ScanRows::RowId id) { return host.list.statusHistory[id]; }
    // The Status and Code cells of the bookmark id.
    Cells CellsOf(ScanRows::RowId id) const {
        return {host.list.CellOf(id, ScanRows::kStatusColumn), host.list.CellOf(id, ScanRows::kCodeColumn)};
    }

    std::vector<std::unique_ptr<ScriptedServer>> servers;
    FakeHost host;
};

// Each answer, or its absence, ends in its own bookmark's Status and Code cells after the list was
// sorted meanwhile, and a bookmark that left the list is not even requested. A silent server times out
// with the setting as Code, a failure before the connection never shows "Connected", a 401 shows "Req.
// Authorization" first and is not asked again, redirects are not followed. "showcodes" shows OK codes.
TEST_F(ScanResultsTest, AnswersLandInTheirBookmarksCells) {
    quillfen::Globals::timeOut = "1";
    const auto ok = Answering("200 OK");
    const auto moved = Answering("301 Moved Permanently", "Location: http://127.0.0.1:1/\r\n");
    const auto unauthorized = Answering("401 Unauthorized", "WWW-Authenticate: Basic realm=\"x\"\r\n");
    const auto missing = Answering("404 Not Found");
    const auto quiet = host.list.Add(Url(Server("")));
    const auto refused = host.list.Add("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()) + "/");
    const auto unknown = host.list.Add("http://x.invalid/");
    const auto removed = Answering("200 OK");
    PressScanControl(host); // a pool of 8: every row is handed out at once
    host.list.Reverse();
    host.list.Remove(removed);
    ASSERT_TRUE(WaitForResults(8));

    EXPECT_EQ(HistoryOf(ok), (History{"checking", "Connected", "\u2714"}));
    EXPECT_EQ(CellsOf(ok), Cells("\u2714", ""));
    EXPECT_EQ(CellsOf(moved), Cells("Moved Permanently", "301"));
    EXPECT_EQ(HistoryOf(unauthorized),
              (History{"checking", "Connected", "Req. Authorization", "Unauthorized"}));
    EXPECT_EQ(CellsOf(missing), Cells("Not Found", "404"));
    EXPECT_EQ(HistoryOf(quiet), (History{"checking", "Connected", "Timeout"}));
    EXPECT_EQ(CellsOf(quiet).second, "1 sec.");
    EXPECT_EQ(HistoryOf(refused), (History{"checking", "Lost Connection"}));
    EXPECT_EQ(CellsOf(refused).second, "102");
    EXPECT_EQ(HistoryOf(unknown), (History{"checking", "Name Resolution Error"}));
    EXPECT_EQ(CellsOf(unknown).second, "103");
    EXPECT_TRUE(testsupport::SpinUntil([&] { return servers[4]->ClosedByClient() == 1; }));
    for (const auto& server : servers)
        EXPECT_EQ(server->Connections(), server == servers.back() ? 0 : 1);

    quillfen::Globals::showOKcodes = "showcodes";
    PressScanControl(host);
    EXPECT_TRUE(testsupport::SpinUntil([&] { return CellsOf(ok).second == "200"; }));
}

// A time-out of 0, below 0 or no number times the row out without sending a request.
TEST_F(ScanResultsTest, TimeOutThatIsNoPositiveNumberEndsAtOnce) {
    for (const char* setting : {"abc", "0", "-3"}) {
        FakeHost other;
        quillfen::Globals::timeOut = setting;
        ScriptedServer& server = Server("HTTP/1.0 200 OK\r\n\r\n");
        const auto row = other.list.Add(Url(server));
        PressScanControl(other);
        ASSERT_TRUE(testsupport::SpinUntil([&] { return other.scan->scansCompleted == 1; })) << setting;
        EXPECT_EQ(other.list.statusHistory[row], (History{"checking", "Timeout"})) << setting;
        EXPECT_EQ(other.list.Code(0), std::string(setting) + " sec.");
        EXPECT_EQ(server.Connections(), 0) << setting;
    }
}

// The time-outs of a replaced scan reach nobody: its sockets close, and the new scan's rows and
// counts stay as they are.
TEST_F(ScanResultsTest, ReplacedScanTimeOutsReachNobody) {
    quillfen::Globals::timeOut = "1";
    ScriptedServer& silent = Server("");
    host.list.Add(Url(silent));
    host.list.Add(Url(silent));
    PressScanControl(host); // two rows, a pool of 8: the start reaches the end at once
    ASSERT_EQ(host.caption, "Scan");
    kritiskClass* old = host.scan.get();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return silent.Connections() == 2; }));

    quillfen::Globals::timeOut = "60";
    PressScanControl(host);
    ASSERT_NE(host.scan.get(), old);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return silent.ClosedByClient() == 2; }));
    testsupport::ProcessPendingEvents();
    EXPECT_EQ(silent.Connections(), 4);
    EXPECT_EQ(old->scansCompleted, 0);
    EXPECT_EQ(host.scan->scansCompleted, 0);
    EXPECT_EQ(host.list.InFlight(), 2);
    for (const auto& [id, history] : host.list.statusHistory)
        EXPECT_EQ(std::ranges::count(history, "Timeout"), 0);
}

} // namespace
