// The About box and the status-code window as a user meets them: what they show, where they stand, and the
// pages their links open, recorded by the scripted URL service.
#include "ScriptedModal.h"
#include "TempHome.h"
#include "UserClicks.h"
#include "app/MakerSite.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/codeWin.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/controls/TextArea.h"
#include "framework/ui/qt/Bridge.h"
#include "mainwindow/Listwin.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const std::string kSite = "http://127.0.0.1:9/";

class InformationWindowsTest : public ::testing::Test {
protected:
    void TearDown() override {
        quillfen::SetMakerSite("");
        quillfen::SetOlderCodesPage("");
        CloseAll();
    }
    static void CloseAll() {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    static QWidget* Host(fw::Window& window) { return fw::detail::ContentOf(window)->window(); }
    static QWidget* Widget(fw::Window& window, const char* control) {
        return fw::detail::WidgetOf(window.Get<fw::VisualControl>(control));
    }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
};

// The About command shows one box, however often it is given, centred on the window in front, with its
// texts and the version of the program that runs, as built or as another build would fix it. A press on
// the logo opens the maker's page wherever the button is released; a click elsewhere in the box opens
// nothing.
TEST_F(InformationWindowsTest, AboutBox) {
    // Each row: the version numbers another build fixes (none: as built), the version shown.
    for (const auto& [numbers, shown] : {std::pair<std::array<int, 4>, const char*>{{}, "1.0.0 (build 1)"},
                                         {{1, 10, 2, 15}, "1.10.2 (build 15)"}}) {
        fw::Application app;
        if (numbers[0])
            std::tie(app.MajorVersion, app.MinorVersion, app.BugVersion, app.NonReleaseVersion) =
                std::tuple(numbers[0], numbers[1], numbers[2], numbers[3]);
        quillfen::Listwin& main = fw::Instance<quillfen::Listwin>(); // no site yet: no version check
        Host(main)->move(numbers[0] ? 40 : 90, 60);
        main.HandleMenuCommand("AppleAboutSafariLindquay");
        auto& about = fw::Instance<quillfen::Aboutbox>();
        main.HandleMenuCommand("AppleAboutSafariLindquay");
        EXPECT_EQ(&fw::Instance<quillfen::Aboutbox>(), &about);
        EXPECT_EQ(fw::detail::OpenWindowCount(), 2);
        EXPECT_EQ(fw::detail::FrontmostWindow(), &about);
        const QPoint offCentre = Host(about)->frameGeometry().center() - Host(main)->frameGeometry().center();
        EXPECT_TRUE(std::abs(offCentre.x()) <= 1 && std::abs(offCentre.y()) <= 1) // sizes odd and even
            << offCentre.x() << "," << offCentre.y();
        EXPECT_EQ(about.Get<fw::StaticText>("StaticText1").Text() + "|" +
                      about.Get<fw::StaticText>("StaticText2").Text(),
                  std::string("Safari Quillfen|") + shown);
        EXPECT_EQ(
            about.Get<fw::StaticText>("StaticText3").Text(),
            "Scan Safari's bookmarks. Check if those old bookmarks still point to something or if they have "
            "expired. Feedback with site error codes. Identify duplicates.  Delete unwanted bookmarks.");

        quillfen::SetMakerSite(kSite);
        QWidget* logo = Widget(about, "Canvas2");
        QWidget* description = Widget(about, "StaticText3");
        const QPoint onLogo = logo->mapTo(logo->window(), logo->rect().center());
        const QPoint outside = description->mapTo(description->window(), description->rect().center());
        EXPECT_EQ(testsupport::ClickAt(logo, logo->rect().center()), logo);
        QTest::mousePress(testsupport::WindowOf(logo), Qt::LeftButton, {}, onLogo);
        QTest::mouseRelease(testsupport::WindowOf(logo), Qt::LeftButton, {}, outside);
        testsupport::ClickAt(Host(about), outside);
        EXPECT_EQ(modal_.urls, std::vector<std::string>(2, kSite));
        EXPECT_FALSE(about.IsClosed());
        modal_.urls.clear();
        quillfen::SetMakerSite("");
        CloseAll();
    }
}

// The status-code window: its 21 texts, which typing does not change; its link opens the older copy of the
// page, when one is named, and then the maker's page, at every click; opened again, it stands a step further
// down and right.
TEST_F(InformationWindowsTest, StatusCodeWindow) {
    // The texts of EditField1 to EditField21.
    const std::vector<std::string> texts = fw::Split(
        "1xx|2xx|3xx|4xx|5xx|Other|Informational|Successful|Redirection|Client Error|Server Error|"
        "Operational Error|Instructions to the browser. Usually no problem. Check these bookmarks.|"
        "The bowser's request was successfully  received, understood, and accepted.|"
        "Further actions necessary, such as proxy use or direct to another URL. Check these bookmarks.|"
        "The URL responded with error. e.g. 404 \"Not Found\" or 401 \"Unauthorized\". Usually a bad link.|"
        "The server made a mistake and knows it. Check back, this link might be OK later...|"
        "\"Bad URL!\" means URL is malformed. Could also mean secure server https:// which might be OK.|"
        "x sec.|Site timeout is #408. But \"x sec\". means that Quillfen reached timeout as set in the "
        "Preferences.|Timeout",
        "|");
    ASSERT_EQ(texts.size(), 21u);
    auto& codes = fw::Instance<quillfen::codeWin>();
    for (int i = 0; i < 21; ++i) {
        const std::string name = "EditField" + std::to_string(i + 1);
        QWidget* field = Widget(codes, name.c_str());
        testsupport::ClickAt(field, field->rect().center());
        testsupport::TypeText(field, "x");
        EXPECT_EQ(codes.Get<fw::TextArea>(name).Text(), texts[i]) << name;
    }

    quillfen::SetMakerSite(kSite);
    const std::string page = "http://127.0.0.1:9/zurizedovazider/texts/errorcodes.htm";
    const std::string older = "http://127.0.0.1:8/old/errorcodes.htm";
    for (const auto& [olderCopy, twice] : {std::pair<std::string, std::vector<std::string>>{"", {page, page}},
                                           {older, {older, page, older, page}}}) {
        quillfen::SetOlderCodesPage(olderCopy);
        modal_.urls.clear();
        testsupport::ClickOnTop(codes.Get<fw::StaticText>("StaticText1"));
        testsupport::ClickOnTop(codes.Get<fw::StaticText>("StaticText1"));
        EXPECT_EQ(modal_.urls, twice);
    }

    // Staggered placement: 20 and 40 in from the screen's corner, 22 further for each window, ten steps
    // round.
    const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(20, 40);
    const QPoint first = Host(codes)->pos() - corner;
    codes.Close();
    fw::detail::FreeRetiredWindows();
    const QPoint second = Host(fw::Instance<quillfen::codeWin>())->pos() - corner;
    EXPECT_EQ(first.x(), first.y());
    EXPECT_EQ(second, first.x() == 9 * 22 ? QPoint(0, 0) : first + QPoint(22, 22));
}

} // namespace
