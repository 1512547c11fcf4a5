// The version check as the main window opens, against a version page served on 127.0.0.1, and the windows
// that it and the menus show: the update notice, the About box and the status-code explanations.
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "ScriptedServer.h"
#include "TempHome.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/alertDownloadWin.h"
#include "dialogs/codeWin.h"
#include "framework/ui/Application.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/Canvas.h"
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
        SetVersion(0, 9, 3, 6);
        UseSite(server_.Port());
    }
    void TearDown() override {
        quillfen::SetMakerSite("");
        quillfen::SetOlderCodesPage("");
        CloseAll();
        versionDetails.clear();
    }
    void SetVersion(int major, int minor, int bug, int build) {
        std::tie(app_.MajorVersion, app_.MinorVersion, app_.BugVersion, app_.NonReleaseVersion) =
            std::tie(major, minor, bug, build);
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
    // A main window opens, as at start-up or File > New, and the page it asked for arrives.
    void OpenWith(const std::string& response) {
        server_.SetResponses({response});
        versionDetails = kUnset;
        fw::Instance<quillfen::Listwin>();
        EXPECT_TRUE(testsupport::SpinUntil([] { return versionDetails != kUnset; }));
    }
    static quillfen::alertDownloadWin* Notice() {
        return static_cast<quillfen::alertDownloadWin*>(
            fw::detail::OpenWindow(typeid(quillfen::alertDownloadWin)));
    }
    static std::string NoticeText() { return Notice()->Get<fw::StaticText>("StaticText2").Text(); }
    static QWidget& Widget(const fw::VisualControl& control) { return *fw::detail::WidgetOf(control); }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    testsupport::ScriptedServer server_;
    fw::Application app_;
    std::string site_;
};

// Only a version above the own 0.9.3 (the digits 093) beeps and shows the notice; every page that arrives
// leaves its last field as the details.
TEST_F(DialogsTest, PagesAndTheirNotice) {
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"Quillfen*0100*Faster.\rFewer clicks.", true, "Faster.\rFewer clicks."},
        {"0100*single star", true, "single star"},
        {"a*b*093*the same", false, "the same"},
        {"x*abc*not a number", false, "not a number"},
        {"no stars", false, "no stars"},
        {"", false, ""},
    };
    for (const auto& [page, newer, details] : cases) {
        modal_.beeps = 0;
        OpenWith(kOk + page);
        EXPECT_EQ(versionDetails, details);
        EXPECT_EQ(modal_.beeps, newer ? 1 : 0) << page;
        ASSERT_EQ(Notice() != nullptr, newer) << page;
        EXPECT_EQ(newer ? NoticeText() : details, details);
        CloseAll();
    }
    OpenWith("HTTP/1.0 404 Not Found\r\n\r\n<html>gone</html>");
    EXPECT_EQ(versionDetails, "<html>gone</html>");
    EXPECT_EQ(server_.Requests()[0].rfind("GET /vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
}

// A second newer page, from a fresh main window, beeps and brings the open notice forward with its first
// details. (The version socket's proxy is checked with the main window's opening.)
TEST_F(DialogsTest, SecondNewerPageBringsTheNoticeForward) {
    OpenWith(kOk + "0100*first");
    quillfen::alertDownloadWin* notice = Notice();
    fw::Instance<quillfen::Listwin>().Close();
    OpenWith(kOk + "0101*second");
    EXPECT_EQ(modal_.beeps, 2);
    EXPECT_EQ(fw::detail::FrontmostWindow(), notice);
    EXPECT_EQ(NoticeText(), "first");
    EXPECT_EQ(versionDetails, "second");
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

// Each button of the notice opens its page, or none, and closes the notice; Return chooses Download. The
// About box writes the version numbers as they are; its logo opens the home page wherever the press ends.
TEST_F(DialogsTest, NoticeButtonsAndAboutbox) {
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

    SetVersion(1, 10, 2, 15);
    quillfen::Aboutbox& box = fw::Instance<quillfen::Aboutbox>();
    EXPECT_EQ(box.Get<fw::StaticText>("StaticText2").Text(), "1.10.2 (build 15)");
    QWidget& logo = Widget(box.Get<fw::Canvas>("Canvas2"));
    QTest::mousePress(&logo, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&logo, Qt::LeftButton, {}, QPoint(-40, 90));
    EXPECT_EQ(modal_.urls, Urls{site_ + "/"});
}

// Help shows the code table; each click on its link opens the older copy, then the maker's page.
TEST_F(DialogsTest, CodeTableAndLink) {
    fw::Instance<quillfen::Listwin>();
    app_.HandleMenuCommand("HelpStatuscodeexplanations");
    auto* win = static_cast<quillfen::codeWin*>(fw::detail::OpenWindow(typeid(quillfen::codeWin)));
    ASSERT_NE(win, nullptr);
    const std::string older = "http://127.0.0.1:9/old.htm",
                      page = site_ + "/zurizedovazider/texts/errorcodes.htm";
    quillfen::SetOlderCodesPage(older);
    auto& link = win->Get<fw::StaticText>("StaticText1");
    QTest::mouseClick(&Widget(link), Qt::LeftButton);
    QTest::mouseClick(&Widget(link), Qt::LeftButton);
    EXPECT_EQ(modal_.urls, (Urls{older, page, older, page}));
}

} // namespace
