// The version check as the main window opens: the request, the comparison and the update notice, against a
// version page served on 127.0.0.1.
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "ScriptedServer.h"
#include "TempHome.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/alertDownloadWin.h"
#include "framework/Application.h"
#include "framework/StaticText.h"
#include "framework/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

namespace {

using quillfen::Globals::versionDetails;

const std::string kOk = "HTTP/1.0 200 OK\r\n\r\n";
const std::string kUnset = "(no page yet)";

class ListwinVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_.MajorVersion = 0;
        app_.MinorVersion = 9;
        app_.BugVersion = 3;
        UseSite(server_.Port());
        versionDetails = kUnset;
    }
    void TearDown() override {
        quillfen::SetMakerSite("");
        CloseAll();
        versionDetails.clear();
    }
    static void UseSite(int port) { quillfen::SetMakerSite("http://127.0.0.1:" + std::to_string(port) + "/"); }
    static void CloseAll() {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    // A main window opens, as at start-up or File > New, and the page it asked for arrives.
    quillfen::Listwin& OpenWith(const std::string& response) {
        server_.SetResponses({response});
        versionDetails = kUnset;
        quillfen::Listwin& win = fw::Instance<quillfen::Listwin>();
        EXPECT_TRUE(testsupport::SpinUntil([] { return versionDetails != kUnset; }));
        return win;
    }
    static quillfen::alertDownloadWin* OpenNotice() {
        return static_cast<quillfen::alertDownloadWin*>(fw::detail::OpenWindow(typeid(quillfen::alertDownloadWin)));
    }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    testsupport::ScriptedServer server_;
    fw::Application app_;
};

// Only a version above the own one (0.9.3, the digits 093) beeps and shows the notice with its details; every
// page that arrives leaves its last field as the details.
TEST_F(ListwinVersionTest, PagesAndTheirNotice) {
    struct Case {
        std::string response;
        bool newer;
        std::string details;
    };
    const Case cases[] = {
        {kOk + "Quillfen*0100*Faster scans.\rFewer clicks.", true, "Faster scans.\rFewer clicks."},
        {kOk + "word*100*one line", true, "one line"},
        {kOk + "0100*single star", true, "single star"},
        {kOk + "a*b*093*the same", false, "the same"},
        {kOk + "x*092*older", false, "older"},
        {kOk + "x*abc*not a number", false, "not a number"},
        {kOk + "no stars here", false, "no stars here"},
        {kOk, false, ""},
        {"HTTP/1.0 404 Not Found\r\n\r\n<html>Not Found</html>", false, "<html>Not Found</html>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.response);
        modal_.beeps = 0;
        OpenWith(c.response);
        EXPECT_EQ(versionDetails, c.details);
        EXPECT_EQ(modal_.beeps, c.newer ? 1 : 0);
        ASSERT_EQ(OpenNotice() != nullptr, c.newer);
        if (c.newer) {
            EXPECT_EQ(OpenNotice()->Get<fw::StaticText>("StaticText2").Text(), c.details);
        }
        CloseAll();
    }
    EXPECT_EQ(server_.Requests()[0].rfind("GET /vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
}

// A second newer page, from a fresh main window, beeps again and brings the open notice forward; the notice
// keeps its first details while the settings hold the new ones.
TEST_F(ListwinVersionTest, SecondNewerPageRaisesTheOpenNotice) {
    OpenWith(kOk + "0100*first").Close();
    quillfen::alertDownloadWin* notice = OpenNotice();
    ASSERT_NE(notice, nullptr);
    OpenWith(kOk + "0101*second");
    EXPECT_EQ(modal_.beeps, 2);
    EXPECT_EQ(OpenNotice(), notice);
    EXPECT_EQ(fw::detail::FrontmostWindow(), notice);
    EXPECT_EQ(notice->Get<fw::StaticText>("StaticText2").Text(), "first");
    EXPECT_EQ(versionDetails, "second");
}

// With proxy use on, the request goes to the proxy with the whole address of the page.
TEST_F(ListwinVersionTest, RequestGoesThroughTheProxy) {
    const std::filesystem::path folder = home_.Path() + "/Library/Preferences";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Safari Quillfen") << "5*aqua**nocodes*useProxy*127.0.0.1*" << server_.Port() << "***8";
    quillfen::SetMakerSite("http://maker.invalid");
    OpenWith(kOk + "0100*via proxy");
    EXPECT_EQ(server_.Requests()[0].rfind("GET http://maker.invalid/vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
    EXPECT_EQ(modal_.beeps, 1);
}

// A page past the client's cap, a page that never ends, a refused connection and a build without a site all
// show nothing; the window opens at once and, closed, lets go of its connection.
TEST_F(ListwinVersionTest, NoNoticeWithoutAWholePage) {
    server_.SetResponses({kOk + "x*0100*" + std::string(2 * HTTPSocket::kMaxPageBytes, 'a')}, false);
    fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.ClosedByClient() == 1; }));

    CloseAll();
    server_.SetResponses({kOk + "x*0100*never ends"}, false);
    EXPECT_TRUE(fw::Instance<quillfen::Listwin>().Visible());
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.Connections() == 2 && !server_.Requests()[1].empty(); }));
    testsupport::SpinFor(100);
    CloseAll();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.ClosedByClient() == 2; }));

    testsupport::RefusingPort refusing;
    UseSite(refusing.Port());
    quillfen::Listwin& refused = fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return refused.versionHTTPSock.LastErrorCode() != 0; }));
    CloseAll();

    quillfen::SetMakerSite("");
    fw::Instance<quillfen::Listwin>();
    testsupport::SpinFor(100);
    EXPECT_EQ(server_.Connections(), 2);
    EXPECT_EQ(modal_.beeps, 0);
    EXPECT_TRUE(versionDetails == kUnset) << versionDetails.size() << " bytes of details";
    EXPECT_EQ(OpenNotice(), nullptr);
}

} // namespace
