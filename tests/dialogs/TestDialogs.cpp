// The About box, the update notice and the status-code explanation window, driven with the mouse and keys.
#include "ScriptedModal.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/alertDownloadWin.h"
#include "dialogs/codeWin.h"
#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/PushButton.h"
#include "framework/StaticText.h"
#include "framework/TextArea.h"
#include "framework/WindowRegistry.h"
#include "framework/detail/Bridge.h"

#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

using Urls = std::vector<std::string>;
const std::string kSite = "http://127.0.0.1:9";

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { quillfen::SetMakerSite(kSite + "/"); }
    void TearDown() override {
        quillfen::SetMakerSite("");
        quillfen::SetOlderCodesPage("");
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    static QWidget& Widget(const fw::VisualControl& control) { return *fw::detail::WidgetOf(control); }
    static void Send(const fw::VisualControl& control, QEvent::Type type) {
        QEvent event(type);
        QCoreApplication::sendEvent(&Widget(control), &event);
    }
    static void ExpectAt(const fw::VisualControl& control, int left, int top, int width, int height) {
        EXPECT_EQ(Widget(control).geometry(), QRect(left, top, width, height)) << control.Name();
    }

    testsupport::ScriptedModal modal_;
    fw::Application app_;
};

// The version text writes the numbers as they are, without padding, each time a box is made.
TEST_F(DialogsTest, AboutboxVersionText) {
    const struct {
        int major, minor, bug, build;
        const char* text;
    } cases[] = {{0, 9, 3, 6, "0.9.3 (build 6)"}, {1, 10, 2, 15, "1.10.2 (build 15)"}};
    for (const auto& c : cases) {
        app_.MajorVersion = c.major;
        app_.MinorVersion = c.minor;
        app_.BugVersion = c.bug;
        app_.NonReleaseVersion = c.build;
        quillfen::Aboutbox& box = fw::Instance<quillfen::Aboutbox>();
        EXPECT_EQ(box.Get<fw::StaticText>("StaticText2").Text(), c.text);
        box.Close();
    }
}

// The logo rings under the pointer; a press on it opens the home page wherever it is released; a second
// About command shows the same box.
TEST_F(DialogsTest, AboutboxLogoLink) {
    quillfen::Aboutbox& box = fw::Instance<quillfen::Aboutbox>();
    auto& logo = box.Get<fw::Canvas>("Canvas2");
    ExpectAt(logo, 113, 284, 75, 20);
    ExpectAt(box.Get<fw::Canvas>("Canvas1"), 86, 10, 128, 128);
    EXPECT_NE(logo.Backdrop(), nullptr);
    EXPECT_FALSE(logo.UseFocusRing());
    Send(logo, QEvent::Enter);
    EXPECT_TRUE(logo.UseFocusRing());
    Send(logo, QEvent::Leave);
    EXPECT_FALSE(logo.UseFocusRing());

    QTest::mousePress(&Widget(logo), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&Widget(logo), Qt::LeftButton, {}, QPoint(-40, 90));
    quillfen::SetMakerSite("");
    QTest::mouseClick(&Widget(logo), Qt::LeftButton);
    EXPECT_EQ(modal_.urls, Urls{kSite + "/"});
    EXPECT_EQ(&fw::Instance<quillfen::Aboutbox>(), &box);
    EXPECT_EQ(fw::detail::OpenWindowCount(), 1);
}

// Each button of the notice opens its page, or none, and closes the notice; Return chooses Download.
TEST_F(DialogsTest, NoticeButtons) {
    const struct {
        const char* button;
        bool byReturn;
        Urls urls;
    } cases[] = {
        {"PushButton1", false, {kSite + "/downloads/quillfen.dmg"}},
        {"PushButton2", false, {kSite + "/"}},
        {"PushButton3", false, {}},
        {"PushButton3", true, {kSite + "/downloads/quillfen.dmg"}},
    };
    quillfen::Globals::versionDetails = "New:\rfaster";
    for (const auto& c : cases) {
        modal_.urls.clear();
        quillfen::alertDownloadWin& notice = fw::Instance<quillfen::alertDownloadWin>();
        EXPECT_EQ(notice.Get<fw::StaticText>("StaticText2").Text(), "New:\rfaster");
        auto& button = notice.Get<fw::PushButton>(c.button);
        if (c.byReturn)
            QTest::keyClick(&Widget(button), Qt::Key_Return);
        else
            QTest::mouseClick(&Widget(button), Qt::LeftButton);
        EXPECT_EQ(modal_.urls, c.urls) << c.button;
        EXPECT_TRUE(notice.IsClosed());
        fw::detail::FreeRetiredWindows();
    }
    quillfen::Globals::versionDetails.clear();
}

// The notice's controls stand where its layout puts them, and its buttons keep to the lower right edges.
TEST_F(DialogsTest, NoticeLayout) {
    quillfen::alertDownloadWin& notice = fw::Instance<quillfen::alertDownloadWin>();
    EXPECT_EQ(notice.Get<fw::PushButton>("PushButton3").Caption(), "Not now ");
    EXPECT_TRUE(notice.Get<fw::PushButton>("PushButton1").Default());
    ExpectAt(notice.Get<fw::StaticText>("StaticText1"), 28, 28, 321, 22);
    ExpectAt(notice.Get<fw::StaticText>("StaticText2"), 24, 62, 333, 96);
    notice.SetSize(476, 321);
    ExpectAt(notice.Get<fw::PushButton>("PushButton1"), 356, 277, 100, 20);
    ExpectAt(notice.Get<fw::PushButton>("PushButton2"), 235, 277, 100, 20);
    ExpectAt(notice.Get<fw::PushButton>("PushButton3"), 119, 277, 104, 20);
}

// The table's 21 fields in seven rows alternate their colour, and typing into any of them changes nothing.
TEST_F(DialogsTest, CodeTableIsFixed) {
    quillfen::codeWin& win = fw::Instance<quillfen::codeWin>();
    const char* names[7][3] = {{"EditField1", "EditField7", "EditField13"},  {"EditField2", "EditField8", "EditField14"},
                               {"EditField3", "EditField9", "EditField15"},  {"EditField4", "EditField10", "EditField16"},
                               {"EditField5", "EditField11", "EditField17"}, {"EditField6", "EditField12", "EditField18"},
                               {"EditField19", "EditField21", "EditField20"}};
    const int tops[7] = {0, 60, 120, 180, 240, 300, 361};
    for (int row = 0; row < 7; ++row) {
        const QColor back = row % 2 == 0 ? QColor(0xEB, 0xEE, 0xFF) : QColor(Qt::white);
        for (int cell = 0; cell < 3; ++cell) {
            auto& field = win.Get<fw::TextArea>(names[row][cell]);
            ExpectAt(field, cell == 0 ? 0 : 80, tops[row] + (cell == 2 ? 20 : 0), cell == 0 ? 80 : 210,
                     cell == 0 ? 60 : cell == 1 ? 20 : 40);
            auto& edit = static_cast<QTextEdit&>(Widget(field));
            EXPECT_EQ(edit.palette().color(QPalette::Base), back) << field.Name();
            const std::string before = field.Text();
            QTest::mouseClick(edit.viewport(), Qt::LeftButton);
            QTest::keyClicks(&edit, "typed");
            QTest::keyClick(&edit, Qt::Key_Backspace);
            EXPECT_EQ(field.Text(), before);
        }
    }
    EXPECT_EQ(win.Get<fw::TextArea>("EditField14").Text(),
              "The bowser's request was successfully  received, understood, and accepted.");
    EXPECT_EQ(win.Get<fw::TextArea>("EditField19").Text(), "x sec.");
}

// The link underlines only under the pointer; each click opens the older copy and then the maker's page.
TEST_F(DialogsTest, CodeLinkOpensBothPages) {
    quillfen::SetOlderCodesPage("http://127.0.0.1:9/old/errorcodes.htm");
    auto& link = fw::Instance<quillfen::codeWin>().Get<fw::StaticText>("StaticText1");
    EXPECT_EQ(link.TextColor(), fw::RGB(0x06, 0x0B, 0x93));
    EXPECT_FALSE(link.Underline());
    Send(link, QEvent::Enter);
    EXPECT_TRUE(link.Underline());
    Send(link, QEvent::Leave);
    EXPECT_FALSE(link.Underline());
    QTest::mouseClick(&Widget(link), Qt::LeftButton);
    QTest::mouseClick(&Widget(link), Qt::LeftButton);
    const std::string older = "http://127.0.0.1:9/old/errorcodes.htm";
    const std::string page = kSite + "/zurizedovazider/texts/errorcodes.htm";
    EXPECT_EQ(modal_.urls, (Urls{older, page, older, page}));
    quillfen::SetOlderCodesPage("");
    quillfen::SetMakerSite("");
    QTest::mouseClick(&Widget(link), Qt::LeftButton);
    EXPECT_EQ(modal_.urls.size(), 4U);
}

} // namespace
