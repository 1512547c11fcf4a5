// The version check as the main window opens, against a version page served on 127.0.0.1, and the windows
// that it shows: the update notice.
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "ScriptedServer.h"
#include "TempHome.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/alertDownloadWin.h"
#include "framework/ui/Application.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/qt/Bridge.h"
#include "mainwindow/Listwin.h"

#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using quillfen::Globals::versionDetails;
using Urls = std::vector<std::string>;
const std::string kOk = "HTTP/1.0 200 OK\r\n\r\n";
const std::string kUnset = "(no page yet)";

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::tie(app_.MajorVersion, app_.MinorVersion, app_.BugVersion) = std::tuple(0, 9, 3);
        UseSite(server_.Port());
    }
    void TearDown() override {
        quillfen::SetMakerSite("");
        CloseAll();
        versionDetails.clear();
    }
    void UseSite(int port) {
        site_ = "http://127.0.0.1:" + std::to_string(port);
        quillfen::SetMakerSite(site_ + "/");
        versionDetails = kUnset;
    }
    static void CloseAll() {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    static quillfen::alertDownloadWin* Notice() {
        return static_cast<quillfen::alertDownloadWin*>(
            fw::detail::OpenWindow(typeid(quillfen::alertDownloadWin)));
    }
    static QWidget& Widget(const fw::VisualControl& control) { return *fw::detail::WidgetOf(control); }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    testsupport::ScriptedServer server_;
    fw::Application app_;
    std::string site_;
};

// Only a version above the own 0.9.3 (the digits 093) beeps and shows the notice; every page that arrives,
// error pages too, leaves its last field as the details. The main window asks for the page as it opens.
TEST_F(DialogsTest, PagesAndTheirNotice) {
    // A newer page's notice: each button opens its page, or none, and closes it; Return chooses Download.
    struct Case {
        std::string response, details;
        const char* button; // none: no notice
        bool byReturn;
        Urls urls;
    };
    const std::string download = site_ + "/downloads/quillfen.dmg";
    for (const Case& c : {
             Case{kOk + "Q*0100*Faster.\rFewer.", "Faster.\rFewer.", "PushButton1", false, {download}},
             {kOk + "0100*single star", "single star", "PushButton2", false, {site_ + "/"}},
             {kOk + "0101*no choice", "no choice", "PushButton3", false, {}},
             {kOk + "0101*by Return", "by Return", "PushButton3", true, {download}},
             {kOk + "a*b*093*the same", "the same", nullptr, false, {}},
             {kOk + "x*abc*not a number", "not a number", nullptr, false, {}},
             {kOk + "no stars", "no stars", nullptr, false, {}},
             {kOk, "", nullptr, false, {}},
             {"HTTP/1.0 404 Not Found\r\n\r\n<html>gone</html>", "<html>gone</html>", nullptr, false, {}},
         }) {
        SCOPED_TRACE(c.response);
        modal_.beeps = 0;
        modal_.urls.clear();
        server_.SetResponses({c.response});
        versionDetails = kUnset;
        fw::Instance<quillfen::Listwin>();
        EXPECT_TRUE(testsupport::SpinUntil([] { return versionDetails != kUnset; }));
        EXPECT_EQ(versionDetails, c.details);
        EXPECT_EQ(modal_.beeps, c.button ? 1 : 0);
        ASSERT_EQ(Notice() != nullptr, c.button != nullptr);
        if (c.button) {
            EXPECT_EQ(Notice()->Get<fw::StaticText>("StaticText2").Text(), c.details);
            QWidget& button = Widget(Notice()->Get<fw::PushButton>(c.button));
            c.byReturn ? QTest::keyClick(&button, Qt::Key_Return)
                       : QTest::mouseClick(&button, Qt::LeftButton);
            EXPECT_EQ(Notice(), nullptr);
        }
        EXPECT_EQ(modal_.urls, c.urls);
        CloseAll();
    }
    EXPECT_EQ(server_.Requests()[0].rfind("GET /vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
}

// A page past the client's cap, a page that never ends, a refused connection and no site at all show
// nothing; a closed window lets go of its connection.
TEST_F(DialogsTest, NoNoticeWithoutAWholePage) {
    server_.SetResponses({kOk + "x*0100*" + std::string(2 * quillfen::HTTPSocket::kMaxPageBytes, 'a')},
                         false);
    fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.ClosedByClient() == 1; }));
    CloseAll();
    server_.SetResponses({kOk + "x*0100*never ends"}, false);
    fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(
        testsupport::SpinUntil([&] { return server_.Connections() == 2 && !server_.Requests()[1].empty(); }));
    testsupport::SpinFor(100);
    CloseAll();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.ClosedByClient() == 2; }));
    const bool nothingYet = versionDetails == kUnset;

    testsupport::RefusingPort refusing;
    UseSite(refusing.Port());
    auto& refused = fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return refused.versionHTTPSock.LastErrorCode() != 0; }));
    CloseAll();
    quillfen::SetMakerSite("");
    fw::Instance<quillfen::Listwin>();
    testsupport::SpinFor(100);
    EXPECT_EQ(server_.Connections(), 2);
    EXPECT_TRUE(nothingYet && versionDetails == kUnset);
    EXPECT_EQ(modal_.beeps, 0);
    EXPECT_EQ(Notice(), nullptr);
}

} // namespace
