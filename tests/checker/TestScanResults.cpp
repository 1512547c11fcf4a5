#include "EventLoop.h"
#include "FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "framework/text/Text.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace quillfen {

using scantest::FakeHost;
using testsupport::ScriptedServer;
using History = std::vector<std::string>;

namespace {

// Whole scans against servers on 127.0.0.1, and through a proxy there: what each kind of answer, or its
// absence, leaves in the row.
class ScanResultsTest : public ::testing::Test {
protected:
    void SetUp() override { scantest::DefaultSettings(); }

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
    FakeHost host;
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
