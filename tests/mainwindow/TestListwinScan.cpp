// Scans through the main window: the scan control, sorting during a scan, the scheduler, driven result by
// result by the test, and whole scans against servers on 127.0.0.1. The list's model reports every Status
// text written to each bookmark, so tests see the interim texts as well as the final one.
#include "ListwinFixture.h"
#include "ScriptedServer.h"
#include "app/Globals.h"
#include "checker/kritiskClass.h"
#include "checker/threadClass.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/qt/FramePacing.h"

#include <QEvent>
#include <QLabel>
#include <map>
#include <set>
#include <tuple>

namespace {

namespace Column = quillfen::BookmarkColumn;
using testsupport::ScriptedServer;
using History = std::vector<std::string>;
namespace Globals = quillfen::Globals;

// The status line's first line, the scan control's caption and the end sounds so far.
using Ending = std::tuple<std::string, std::string, int>;
const Ending kDone{"Done", "Scan", 1};

// Counts the paints of a widget while it lives; Qt drops a filter that is gone.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The window's scans read the time-out and pool of the record a first run writes (5 seconds, 8 at once),
// no proxy and no codes for OK rows.
class ListwinScanTest : public ListwinTest {
protected:
    void SetUp() override {
        ListwinTest::SetUp();
        QObject::connect(View().model(), &QAbstractItemModel::dataChanged, View().model(),
                         [this](const QModelIndex& at) {
                             if (at.column() == Column::Status)
                                 statusHistory[List().RowIdentity(at.row())].push_back(RowStatus(at.row()));
                         });
    }
    void TearDown() override {
        fw::detail::SetFrameInterval(16);
        ListwinTest::TearDown();
    }
    static std::string Url(int port) { return "http://127.0.0.1:" + std::to_string(port) + "/"; }
    fw::ListBox::RowId Add(const std::string& url) {
        AddBookmark("n", url, List().ListCount() + 1);
        return List().RowIdentity(List().ListCount() - 1);
    }
    quillfen::kritiskClass& Scan() const { return *win_->kritisk; }
    std::string RowStatus(int row) const { return List().Cell(row, Column::Status); }
    // Rows whose request is under way.
    int InFlight() const {
        return static_cast<int>(std::ranges::count_if(Column(Column::Status), [](const std::string& text) {
            return text == "checking" || text == "Connected";
        }));
    }
    Ending State() const {
        return {Status().substr(0, Status().find('\r')), ScanControl().Caption(),
                win_->Get<fw::MoviePlayer>("MoviePlayer1").PlayCount()};
    }
    bool WaitForResults(int count = 1) {
        return testsupport::SpinUntil([&] { return win_->kritisk && Scan().scansCompleted >= count; });
    }
    // Adds a row checked against its own server, which answers every request with the status line and
    // headers given, or with nothing, keeping the connection, when head is empty.
    fw::ListBox::RowId Answering(const std::string& head) {
        servers.push_back(std::make_unique<ScriptedServer>());
        servers.back()->SetResponses({head.empty() ? "" : "HTTP/1.0 " + head + "\r\n\r\n"}, !head.empty());
        return Add(Url(servers.back()->Port()));
    }
    std::string CodeOf(fw::ListBox::RowId id) const { return List().Cell(List().RowOf(id), Column::Code); }
    // A scan of rows at a server that never answers, within a time-out that never runs out during a test;
    // the test hands the results to the workers in the order it chooses.
    void Start(int rows, const char* pool) {
        Globals::timeOut = "60";
        Globals::simultSocks = pool;
        for (Answering(""); List().ListCount() < rows;)
            Add(List().Cell(0, Column::URL));
        ScanControl().Push();
    }
    // The result of the worker dispatched at cursor index i, as its socket or timer would hand it in.
    void Result(int i, int code = 200) {
        quillfen::threadClass* worker = Scan().worker(i);
        ASSERT_NE(worker, nullptr) << "no worker at " << i;
        worker->TakeResult(code);
    }

    std::map<fw::ListBox::RowId, History> statusHistory;
    std::vector<std::unique_ptr<ScriptedServer>> servers;
};

// Sorting the list by name in the middle of a scan leaves no bookmark unchecked and checks none twice;
// "Done" and "Scan" come only once no row reads "checking"; meanwhile the list is not painted more
// often than the frames allow, and its last state is painted at the next frame.
TEST_F(ListwinScanTest, SortDuringAScanChecksEveryRowOnce) {
    constexpr int kRows = 120;
    ScriptedServer server; // answering 200 OK
    for (int i = 0; i < kRows; ++i)
        AddBookmark("n" + std::to_string(1000 - i), Url(server.Port()) + std::to_string(i), i + 1);
    win_->Show();
    PaintCounter counter(View().viewport());
    ASSERT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }));
    Globals::timeOut = "30";
    fw::detail::SetFrameInterval(3'600'000); // from now on, no frame falls within the test
    counter.paints = 0;

    Click(ScanControl());
    bool sorted = false, doneTooEarly = false;
    ASSERT_TRUE(testsupport::SpinUntil(
        [&] {
            if (!sorted && server.Connections() >= kRows / 4) {
                win_->HandleMenuCommand("SortlistbyBookmarkname");
                sorted = true;
            }
            doneTooEarly |= (Status() == "Done" || ScanControl().Caption() == "Scan") && InFlight() > 0;
            return ScanControl().Caption() == "Scan";
        },
        20000));
    EXPECT_EQ(std::tuple(sorted, doneTooEarly, Status()), std::tuple(true, false, std::string("Done")));
    EXPECT_EQ(Column(Column::Status), std::vector<std::string>(kRows, "\u2714"));
    std::set<std::string> requested; // kRows requests for kRows distinct rows: each row once
    for (const std::string& request : server.Requests())
        requested.insert(request.substr(0, request.find(" HTTP/")));
    EXPECT_EQ(std::pair(requested.size(), server.Connections()), std::pair(std::size_t(kRows), kRows));

    EXPECT_EQ(counter.paints, 0);
    fw::detail::SetFrameInterval(16);
    EXPECT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }));
    const auto* shown = static_cast<QLabel*>(fw::detail::WidgetOf(StatusLine()));
    EXPECT_TRUE(testsupport::SpinUntil([&] { return shown->text() == "Done"; }, 1000));
}

// While nobody uses the window, what the program changes on its own waits for an idle frame; a click
// brings the next frame back at once.
TEST_F(ListwinScanTest, AClickBringsTheNextFrameBack) {
    for (int i = 0; i < 3; ++i)
        Add("http://127.0.0.1:1/" + std::to_string(i));
    win_->Show();
    PaintCounter counter(View().viewport());
    ASSERT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }));
    fw::detail::SetFrameInterval(16, 3'600'000);
    List().SetCell(0, Column::Status, "first"); // painted at once if showing the window counted as use
    testsupport::SpinFor(100);

    counter.paints = 0;
    List().SetCell(0, Column::Status, "second");
    testsupport::SpinFor(200);
    EXPECT_EQ(counter.paints, 0);
    ClickCell(2, 1);
    EXPECT_TRUE(testsupport::SpinUntil([&] { return counter.paints > 0; }, 1000));
    EXPECT_EQ(List().ListIndex(), 2);
}

// A press after the end of a scan starts a new scan, with a new state, from the first row; Cancel pauses it
// and Resume goes on with the same scan. The second scan's first request is left unanswered until its
// time-out, so that the presses fall within that scan.
TEST_F(ListwinScanTest, ScanControlStartsPausesAndResumes) {
    ScriptedServer server;
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
    server.SetResponses({ok, ok, ok, "", ok}, false);
    for (int i = 0; i < 3; ++i) // checked one at a time
        Add(Url(server.Port()) + std::to_string(i));
    Globals::simultSocks = "1";
    Globals::timeOut = "1";
    Click(ScanControl());
    ASSERT_TRUE(testsupport::SpinUntil([this] { return ScanControl().Caption() == "Scan"; }));
    std::vector<std::pair<std::string, const quillfen::kritiskClass*>> presses; // caption and scan after each
    for (int press = 0; press < 3; ++press) {
        Click(ScanControl());
        presses.emplace_back(ScanControl().Caption(), win_->kritisk.get());
    }
    const quillfen::kritiskClass* second = win_->kritisk.get();
    EXPECT_EQ(presses, (decltype(presses){{"Cancel", second}, {"Resume", second}, {"Cancel", second}}));
    EXPECT_FALSE(win_->StopIt());
    ASSERT_TRUE(testsupport::SpinUntil(
        [&] { return ScanControl().Caption() == "Scan" && server.Connections() == 6; }));
    EXPECT_EQ(server.Requests()[3].rfind("HEAD /0 ", 0), 0u) << server.Requests()[3];
}

// A pool of 8 over 20 rows: 8 at once, one more per result, workers held only while their request runs,
// and "Done", the caption "Scan" and the sound only with the last result.
TEST_F(ListwinScanTest, PoolOfEightOverTwentyRows) {
    Start(20, "8");
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(RowStatus(r), r < 8 ? "checking" : "") << "row " << r;
    testsupport::ProcessPendingEvents(); // the workers send their requests
    const auto workers = [this] {
        return std::ranges::count_if(Scan().threadNo, [](const auto& w) { return w != nullptr; });
    };
    for (int k = 1; k <= 20; ++k) {
        Result(k - 1, k < 13 ? 200 : 404);
        EXPECT_EQ(InFlight(), std::min(8, 20 - k)) << "result " << k;
        EXPECT_EQ(workers(), std::min(8, 20 - k)) << "result " << k;
        EXPECT_EQ(State(),
                  k < 20 ? Ending("20 bookmarks, " + std::to_string(k) + " checked.", "Cancel", 0) : kDone);
    }
    EXPECT_EQ(Scan().scansCompleted, 20);
}

// A pool setting of 0, below 0 or no number dispatches one row at a time. A bookmark that left the list
// while its request ran gets nothing, while its result still counts; cursor positions past the end of the
// shortened list are passed over and the scan ends.
TEST_F(ListwinScanTest, PoolOfZeroActsAsOneAndGoneRowsGetNothing) {
    Start(6, "2");
    const auto gone = List().RowIdentity(1);
    List().RemoveRows(
        {gone, List().RowIdentity(2), List().RowIdentity(3), List().RowIdentity(4), List().RowIdentity(5)});
    Result(1, 500);
    EXPECT_EQ(std::tuple(statusHistory[gone], std::get<1>(State())),
              std::tuple(History{"checking"}, "Cancel"));
    Result(0);
    EXPECT_EQ(std::pair(State(), Scan().scansCompleted), std::pair(kDone, 2));
    for (const char* pool : {"0", "-2", "abc"}) {
        Reopen(); // the old scan and list go with the old window
        Start(3, pool);
        EXPECT_EQ(InFlight(), 1) << pool;
        Result(0);
        EXPECT_EQ(std::pair(InFlight(), RowStatus(1)), std::pair(1, std::string("checking"))) << pool;
    }
}

// Each answer, or its absence, ends in its own bookmark's Status and Code cells after the list was
// sorted meanwhile, and a bookmark that left the list is not even requested. A silent server times out
// with the setting as Code, a failure before the connection never shows "Connected", a 401 shows "Req.
// Authorization" first and is not asked again, redirects are not followed. "showcodes" shows OK codes.
TEST_F(ListwinScanTest, AnswersLandInTheirBookmarksCells) {
    Globals::timeOut = "1";
    Answering("200 OK"); // removed before its worker runs
    const auto moved = Answering("301 Moved Permanently\r\nLocation: http://127.0.0.1:1/");
    const auto unauthorized = Answering("401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"");
    const testsupport::RefusingPort refusing;
    // Each row with its Code and the Status texts it shows in turn.
    const std::vector<std::tuple<fw::ListBox::RowId, std::string, History>> rows = {
        {Answering("200 OK"), "", {"checking", "Connected", "\u2714"}},
        {moved, "301", {"checking", "Connected", "Moved Permanently"}},
        {unauthorized, "401", {"checking", "Connected", "Req. Authorization", "Unauthorized"}},
        {Answering("404 Not Found"), "404", {"checking", "Connected", "Not Found"}},
        {Answering(""), "1 sec.", {"checking", "Connected", "Timeout"}},
        {Add(Url(refusing.Port())), "102", {"checking", "Lost Connection"}},
        {Add("http://x.invalid/"), "103", {"checking", "Name Resolution Error"}}};
    ScanControl().Push(); // a pool of 8: every row is handed out at once
    List().RemoveRows({List().RowIdentity(0)});
    List().SetSortedColumn(Column::Order);
    List().SetColumnSortDirection(Column::Order, -1);
    List().Sort();
    ASSERT_TRUE(WaitForResults(8));

    for (const auto& [id, code, history] : rows)
        EXPECT_EQ(std::pair(statusHistory[id], CodeOf(id)), std::pair(history, code));
    // The silent server's connection ends at the client's time-out.
    EXPECT_TRUE(testsupport::SpinUntil([&] { return servers.back()->ClosedByClient() == 1; }));
    for (const auto& server : servers)
        EXPECT_EQ(server->Connections(), server == servers.front() ? 0 : 1);

    Globals::showOKcodes = "showcodes";
    ScanControl().Push();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return CodeOf(std::get<0>(rows[0])) == "200"; }));
}

// A time-out of 0, below 0 or no number times the row out without sending a request.
TEST_F(ListwinScanTest, TimeOutThatIsNoPositiveNumberEndsAtOnce) {
    const auto row = Answering("200 OK");
    for (const char* setting : {"abc", "0", "-3"}) {
        Globals::timeOut = setting;
        statusHistory.clear();
        ScanControl().Push();
        ASSERT_TRUE(WaitForResults(1)) << setting;
        EXPECT_EQ(std::pair(statusHistory[row], CodeOf(row)),
                  std::pair(History{"checking", "Timeout"}, std::string(setting) + " sec."));
    }
    EXPECT_EQ(servers[0]->Connections(), 0);
}

// A scan replaced while its requests are under way goes with its sockets and timers: its time-outs reach
// nobody, and the new scan's rows, which time out later, show only the new scan's texts and counts.
TEST_F(ListwinScanTest, ReplacedScanTimeOutsReachNobody) {
    Globals::timeOut = "1";
    const auto first = Answering("");
    const auto second = Add(List().Cell(0, Column::URL));
    const ScriptedServer& silent = *servers[0];
    ScanControl().Push();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return silent.Connections() == 2; }));

    Globals::timeOut = "2";
    ScanControl().SetCaption("Scan"); // a new scan while the first one's requests are still under way
    ScanControl().Push();
    ASSERT_TRUE(WaitForResults(2));
    EXPECT_EQ(std::tuple(silent.Connections(), silent.ClosedByClient(), Scan().scansCompleted),
              std::tuple(4, 4, 2));
    for (const auto id : {first, second})
        EXPECT_EQ(std::tuple(statusHistory[id], CodeOf(id)),
                  std::tuple(History{"checking", "Connected", "checking", "Connected", "Timeout"}, "2 sec."));
}

// Through a proxy that records the request: credentials longer than one Base64 line still go on a single
// header line, an empty user and password still send the header, and a 407 shows its own text. A host
// whose references decode to a line end is never sent and fails as a name.
TEST_F(ListwinScanTest, ProxyCredentialsGoOnOneHeaderLine) {
    ScriptedServer proxy;
    proxy.SetResponses({"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"});
    Globals::proxyUse = "useProxy";
    Globals::proxyURL = "127.0.0.1";
    Globals::proxyPort = fw::Str(proxy.Port());
    Add("http://bookmark.invalid:8080/path?q=1");
    Add("http://h&#13;&#10;X-Split: 1/");
    for (const std::string& user : {std::string(40, 'u'), std::string()}) {
        Globals::proxyUser = user;
        Globals::proxyPass = std::string(user.size(), 'p');
        ScanControl().Push();
        ASSERT_TRUE(WaitForResults());
        const std::string line =
            "\r\nProxy-Authorization: Basic " + fw::EncodeBase64(user + ":" + Globals::proxyPass, 0) + "\r\n";
        EXPECT_NE(proxy.Requests().back().find(line), std::string::npos) << proxy.Requests().back();
        EXPECT_EQ(Column(Column::Status), (History{"Proxy Authorization Req.", "Name Resolution Error"}));
    }
    EXPECT_EQ(proxy.Connections(), 2);
}

} // namespace
