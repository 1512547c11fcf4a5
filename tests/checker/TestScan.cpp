// Scans over an in-memory bookmark list and main window: the scheduler, driven result by result by the
// test, and whole scans against servers on 127.0.0.1. The list records every Status text written to each
// bookmark, so tests can see the interim texts as well as the final one.
#include "EventLoop.h"
#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "checker/ScanHost.h"
#include "checker/kritiskClass.h"
#include "checker/threadClass.h"
#include "framework/text/Text.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace quillfen {

namespace {

class FakeRows : public ScanRows {
public:
    struct Row {
        RowId id = 0;
        std::map<int, std::string> cells;
    };

    // Adds a bookmark row with its URL; returns its identity.
    RowId Add(const std::string& url) {
        rows.push_back(Row{nextId_++, {{kUrlColumn, url}}});
        return rows.back().id;
    }
    std::string Status(int row) const { return Cell(row, kStatusColumn); }
    // Rows whose request is under way.
    int InFlight() const {
        return static_cast<int>(std::ranges::count_if(rows, [](const Row& r) {
            const auto it = r.cells.find(kStatusColumn);
            return it != r.cells.end() && (it->second == "checking" || it->second == "Connected");
        }));
    }

    int ListCount() const override { return static_cast<int>(rows.size()); }
    std::string Cell(int row, int column) const override {
        const auto it = At(row).cells.find(column);
        return it == At(row).cells.end() ? std::string() : it->second;
    }
    void SetCell(int row, int column, const std::string& text) override {
        Row& r = rows.at(static_cast<std::size_t>(row));
        r.cells[column] = text;
        if (column == kStatusColumn)
            statusHistory[r.id].push_back(text);
    }
    // No row is checked or selected: the scans here take every row.
    bool CellCheck(int, int) const override { return false; }
    bool Selected(int) const override { return false; }
    int SelCount() const override { return 0; }
    int ScrollPosition() const override { return scroll; }
    void SetScrollPosition(int row) override { scroll = row; }
    int Height() const override { return 90; } // five rows
    int DefaultRowHeight() const override { return 18; }
    RowId RowIdentity(int row) const override { return At(row).id; }
    int RowOf(RowId id) const override {
        const auto it = std::ranges::find(rows, id, &Row::id);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    std::vector<Row> rows;
    std::map<RowId, std::vector<std::string>> statusHistory;
    int scroll = 0;

private:
    const Row& At(int row) const { return rows.at(static_cast<std::size_t>(row)); }
    RowId nextId_ = 1;
};

class FakeHost : public ScanHost {
public:
    ScanRows& Rows() override { return list; }
    void SetStatusText(const std::string& text) override { status = text; }
    std::string ScanCaption() const override { return caption; }
    void SetScanCaption(const std::string& text) override { caption = text; }
    bool StopIt() const override { return stopIt; }
    void SetStopIt(bool on) override { stopIt = on; }
    int ScopeIndex() const override { return scope; }
    void PlayGlass() override { ++glassPlays; }
    void Refresh() override {}
    kritiskClass* CurrentScan() override { return scan.get(); }
    void SetCurrentScan(std::unique_ptr<kritiskClass> next) override {
        // Kept alive, unlike in the window, so that the events of a replaced scan still arrive.
        if (scan)
            replaced.push_back(std::move(scan));
        scan = std::move(next);
    }

    FakeRows list;
    std::string status, caption = "Scan";
    bool stopIt = false;
    int scope = 0, glassPlays = 0;
    std::unique_ptr<kritiskClass> scan;
    std::vector<std::unique_ptr<kritiskClass>> replaced;
};

// A fake main window whose scans read the time-out and pool the preferences record gives by default; the
// other settings stay empty, which means no proxy and no codes for OK rows.
class ScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        quillfen::Globals::Release();
        quillfen::Globals::timeOut = "5";
        quillfen::Globals::simultSocks = "8";
    }
    FakeHost host;
};

using testsupport::ScriptedServer;
using History = std::vector<std::string>;

// The status line's first line, the scan control's caption and the end sounds so far.
using Ending = std::tuple<std::string, std::string, int>;
const Ending kDone{"Done", "Scan", 1};

// Results are handed to the workers by the test, in the order it chooses; the requests go to a server
// that never answers, within a time-out that never runs out during a test.
class ScanSchedulerTest : public ScanTest {
protected:
    void SetUp() override {
        ScanTest::SetUp();
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
};

// A pool of 8 over 20 rows: 8 at once, one more per result, workers held only while their request runs,
// and "Done", the caption "Scan" and the sound only with the last result.
TEST_F(ScanSchedulerTest, PoolOfEightOverTwentyRows) {
    Start(20, "8");
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(Status(r), r < 8 ? "checking" : "") << "row " << r;
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
}

// A pool setting of 0, below 0 or no number dispatches one row at a time. A bookmark that left the list
// while its request ran gets nothing, while its result still counts; cursor positions past the end of the
// shortened list are passed over and the scan ends.
TEST_F(ScanSchedulerTest, PoolOfZeroActsAsOneAndGoneRowsGetNothing) {
    for (const char* pool : {"0", "-2", "abc"}) {
        host = FakeHost();
        Start(3, pool);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        Result(0);
        EXPECT_EQ(host.list.InFlight(), 1) << pool;
        EXPECT_EQ(Status(1), "checking") << pool;
    }
    host = FakeHost();
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

// Whole scans against servers on 127.0.0.1, and through a proxy there: what each kind of answer, or its
// absence, leaves in the row.
class ScanResultsTest : public ScanTest {
protected:
    // Adds a row checked against its own server, which answers every request with the status line and
    // headers given, or with nothing, keeping the connection, when head is empty.
    ScanRows::RowId Answering(const std::string& head) {
        servers.push_back(std::make_unique<ScriptedServer>());
        servers.back()->SetResponses({head.empty() ? "" : "HTTP/1.0 " + head + "\r\n\r\n"}, !head.empty());
        return host.list.Add(Url(servers.back()->Port()));
    }
    static std::string Url(int port) { return "http://127.0.0.1:" + std::to_string(port) + "/"; }
    bool WaitForResults(int count = 1) {
        return testsupport::SpinUntil([&] { return host.scan && host.scan->scansCompleted >= count; });
    }
    std::string CodeOf(ScanRows::RowId id) const {
        return host.list.Cell(host.list.RowOf(id), ScanRows::kCodeColumn);
    }

    std::vector<std::unique_ptr<ScriptedServer>> servers;
};

// Each answer, or its absence, ends in its own bookmark's Status and Code cells after the list was
// sorted meanwhile, and a bookmark that left the list is not even requested. A silent server times out
// with the setting as Code, a failure before the connection never shows "Connected", a 401 shows "Req.
// Authorization" first and is not asked again, redirects are not followed. "showcodes" shows OK codes.
TEST_F(ScanResultsTest, AnswersLandInTheirBookmarksCells) {
    quillfen::Globals::timeOut = "1";
    Answering("200 OK"); // removed before its worker runs
    const auto moved = Answering("301 Moved Permanently\r\nLocation: http://127.0.0.1:1/");
    const auto unauthorized = Answering("401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"");
    const testsupport::RefusingPort refusing;
    // Each row with its Code and the Status texts it shows in turn.
    const std::vector<std::tuple<ScanRows::RowId, std::string, History>> rows = {
        {Answering("200 OK"), "", {"checking", "Connected", "\u2714"}},
        {moved, "301", {"checking", "Connected", "Moved Permanently"}},
        {unauthorized, "401", {"checking", "Connected", "Req. Authorization", "Unauthorized"}},
        {Answering("404 Not Found"), "404", {"checking", "Connected", "Not Found"}},
        {Answering(""), "1 sec.", {"checking", "Connected", "Timeout"}},
        {host.list.Add(Url(refusing.Port())), "102", {"checking", "Lost Connection"}},
        {host.list.Add("http://x.invalid/"), "103", {"checking", "Name Resolution Error"}}};
    PressScanControl(host); // a pool of 8: every row is handed out at once
    host.list.rows.erase(host.list.rows.begin());
    std::ranges::reverse(host.list.rows);
    ASSERT_TRUE(WaitForResults(8));

    for (const auto& [id, code, history] : rows) {
        EXPECT_EQ(host.list.statusHistory[id], history);
        EXPECT_EQ(CodeOf(id), code);
    }
    // The silent server's connection ends at the client's time-out.
    EXPECT_TRUE(testsupport::SpinUntil([&] { return servers.back()->ClosedByClient() == 1; }));
    for (const auto& server : servers)
        EXPECT_EQ(server->Connections(), server == servers.front() ? 0 : 1);

    quillfen::Globals::showOKcodes = "showcodes";
    PressScanControl(host);
    EXPECT_TRUE(testsupport::SpinUntil([&] { return CodeOf(std::get<0>(rows[0])) == "200"; }));
}

// A time-out of 0, below 0 or no number times the row out without sending a request.
TEST_F(ScanResultsTest, TimeOutThatIsNoPositiveNumberEndsAtOnce) {
    const auto row = Answering("200 OK");
    for (const char* setting : {"abc", "0", "-3"}) {
        quillfen::Globals::timeOut = setting;
        host.list.statusHistory.clear();
        PressScanControl(host);
        ASSERT_TRUE(WaitForResults(1)) << setting;
        EXPECT_EQ(host.list.statusHistory[row], (History{"checking", "Timeout"})) << setting;
        EXPECT_EQ(CodeOf(row), std::string(setting) + " sec.");
    }
    EXPECT_EQ(servers[0]->Connections(), 0);
}

// The time-outs of a replaced scan reach nobody: its sockets close, and the new scan's rows and
// counts stay as they are.
TEST_F(ScanResultsTest, ReplacedScanTimeOutsReachNobody) {
    quillfen::Globals::timeOut = "1";
    Answering("");
    host.list.Add(host.list.Cell(0, ScanRows::kUrlColumn));
    const ScriptedServer& silent = *servers[0];
    PressScanControl(host);
    kritiskClass* old = host.scan.get();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return silent.Connections() == 2; }));

    quillfen::Globals::timeOut = "60";
    host.caption = "Scan"; // a new scan while the first one's requests are still under way
    PressScanControl(host);
    ASSERT_NE(host.scan.get(), old);
    ASSERT_TRUE(testsupport::SpinUntil([&] { return silent.ClosedByClient() == 2; }));
    testsupport::ProcessPendingEvents();
    EXPECT_EQ(silent.Connections(), 4);
    EXPECT_EQ(old->scansCompleted, 0);
    EXPECT_EQ(host.list.InFlight(), 2);
}

// Through a proxy that records the request: credentials longer than one Base64 line still go on a single
// header line, an empty user and password still send the header, and a 407 shows its own text.
TEST_F(ScanResultsTest, ProxyCredentialsGoOnOneHeaderLine) {
    namespace Globals = quillfen::Globals;
    ScriptedServer proxy;
    proxy.SetResponses({"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"});
    Globals::proxyUse = "useProxy";
    Globals::proxyURL = "127.0.0.1";
    Globals::proxyPort = fw::Str(proxy.Port());
    host.list.Add("http://bookmark.invalid:8080/path?q=1");
    for (const std::string& user : {std::string(40, 'u'), std::string()}) {
        Globals::proxyUser = user;
        Globals::proxyPass = std::string(user.size(), 'p');
        PressScanControl(host);
        ASSERT_TRUE(WaitForResults());
        EXPECT_EQ(host.list.Status(0), "Proxy Authorization Req.");
        const std::string line =
            "\r\nProxy-Authorization: Basic " + fw::EncodeBase64(user + ":" + Globals::proxyPass, 0) + "\r\n";
        EXPECT_NE(proxy.Requests().back().find(line), std::string::npos) << proxy.Requests().back();
    }
}

} // namespace

} // namespace quillfen
