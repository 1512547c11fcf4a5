// The version check as the main window opens, against a version page served on 127.0.0.1, and the windows
// that it and the menus show: the update notice and the status-code explanations.
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "ScriptedServer.h"
#include "TempHome.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/alertDownloadWin.h"
#include "dialogs/codeWin.h"
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
        quillfen::SetOlderCodesPage("");
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
    const std::tuple<std::string, bool, std::string> cases[] = {
        {kOk + "Quillfen*0100*Faster.\rFewer clicks.", true, "Faster.\rFewer clicks."},
        {kOk + "0100*single star", true, "single star"},
        {kOk + "a*b*093*the same", false, "the same"},
        {kOk + "x*abc*not a number", false, "not a number"},
        {kOk + "no stars", false, "no stars"},
        {kOk, false, ""},
        {"HTTP/1.0 404 Not Found\r\n\r\n<html>gone</html>", false, "<html>gone</html>"},
    };
    for (const auto& [response, newer, details] : cases) {
        SCOPED_TRACE(response);
        modal_.beeps = 0;
        server_.SetResponses({response});
        versionDetails = kUnset;
        fw::Instance<quillfen::Listwin>();
        EXPECT_TRUE(testsupport::SpinUntil([] { return versionDetails != kUnset; }));
        EXPECT_EQ(versionDetails, details);
        EXPECT_EQ(modal_.beeps, newer ? 1 : 0);
        ASSERT_EQ(Notice() != nullptr, newer);
        EXPECT_EQ(newer ? Notice()->Get<fw::StaticText>("StaticText2").Text() : details, details);
        CloseAll();
    }
    EXPECT_EQ(server_.Requests()[0].rfind("GET /vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
}

// A page past the client's cap, a refused connection and no site at all show nothing.
TEST_F(DialogsTest, NoNoticeWithoutAWholePage) {
    server_.SetResponses({kOk + "x*0100*" + std::string(2 * quillfen::HTTPSocket::kMaxPageBytes, 'a')},
                         false);
    fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return server_.ClosedByClient() == 1; }));
    CloseAll();
    const bool nothingYet = versionDetails == kUnset;

    testsupport::RefusingPort refusing;
    UseSite(refusing.Port());
    auto& refused = fw::Instance<quillfen::Listwin>();
    EXPECT_TRUE(testsupport::SpinUntil([&] { return refused.versionHTTPSock.LastErrorCode() != 0; }));
    CloseAll();
    quillfen::SetMakerSite("");
    fw::Instance<quillfen::Listwin>();
    testsupport::SpinFor(100);
    EXPECT_EQ(server_.Connections(), 1);
    EXPECT_TRUE(nothingYet && versionDetails == kUnset);
    EXPECT_EQ(modal_.beeps, 0);
    EXPECT_EQ(Notice(), nullptr);
}

// Each button of the notice opens its page, or none, and closes the notice; Return chooses Download.
TEST_F(DialogsTest, NoticeButtons) {
    const std::tuple<const char*, bool, Urls> cases[] = {
        {"PushButton1", false, {site_ + "/downloads/quillfen.dmg"}},
        {"PushButton2", false, {site_ + "/"}},
        {"PushButton3", false, {}},
        {"PushButton3", true, {site_ + "/downloads/quillfen.dmg"}}};
    for (const auto& [name, byReturn, urls] : cases) {
        QWidget& button = Widget(fw::Instance<quillfen::alertDownloadWin>().Get<fw::PushButton>(name));
        byReturn ? QTest::keyClick(&button, Qt::Key_Return) : QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(modal_.urls, urls) << name;
        EXPECT_EQ(Notice(), nullptr);
        modal_.urls.clear();
    }
}

// Help shows the code table; a click on its link opens the older copy, then the maker's page.
TEST_F(DialogsTest, CodeTableAndLink) {
    fw::Instance<quillfen::Listwin>();
    app_.HandleMenuCommand("HelpStatuscodeexplanations");
    auto* win = static_cast<quillfen::codeWin*>(fw::detail::OpenWindow(typeid(quillfen::codeWin)));
    ASSERT_NE(win, nullptr);
    quillfen::SetOlderCodesPage("http://127.0.0.1:9/old.htm");
    QTest::mouseClick(&Widget(win->Get<fw::StaticText>("StaticText1")), Qt::LeftButton);
    EXPECT_EQ(modal_.urls,
              (Urls{"http://127.0.0.1:9/old.htm", site_ + "/zurizedovazider/texts/errorcodes.htm"}));
}

} // namespace
