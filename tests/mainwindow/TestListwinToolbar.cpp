// The toolbar and the status line: the scan control on the window, "Visit Site", the status line as a
// link, and the logo button.
#include "ListwinFixture.h"
#include "ScriptedServer.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "app/Media.h"
#include "framework/Canvas.h"
#include "framework/Graphics.h"
#include "framework/detail/PictureImpl.h"

#include <QImage>
#include <QPainter>
#include <functional>

namespace {

class ListwinToolbarTest : public ListwinTest {
protected:
    fw::PushButton& ScanControl() const { return Button("PushButton1"); }
    QWidget& Widget(const fw::VisualControl& control) const { return *fw::detail::WidgetOf(control); }
    static void Send(QWidget& widget, QEvent::Type type) {
        QEvent event(type);
        QCoreApplication::sendEvent(&widget, &event);
    }
    // Three bookmarks on the scripted server, checked one at a time.
    void AddServerRows() {
        for (int i = 0; i < 3; ++i)
            AddBookmark("n", "http://127.0.0.1:" + std::to_string(server_.Port()) + "/" + std::to_string(i), i + 1);
        quillfen::Globals::simultSocks = "1";
        quillfen::Globals::timeOut = "30";
    }
    std::vector<std::string> Captions(int presses) {
        std::vector<std::string> captions;
        for (int i = 0; i < presses; ++i) {
            ScanControl().Push();
            captions.push_back(ScanControl().Caption());
        }
        return captions;
    }
    // A logo-sized image on a magenta ground, with `draw` applied.
    static QImage OnMagenta(const std::function<void(QPainter&)>& draw) {
        QImage image(75, 20, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        draw(painter);
        return image;
    }
    QImage PaintLogo() const {
        return OnMagenta([this](QPainter& painter) {
            fw::Graphics g(&painter, 75, 20);
            win_->Get<fw::Canvas>("Canvas2").Paint(g);
        });
    }
    static QImage Drawn(const fw::Picture& picture) {
        return OnMagenta([&](QPainter& painter) { painter.drawImage(0, 0, fw::Picture::Impl::Drawable(picture)); });
    }

    testsupport::ScriptedServer server_;
};

// Cancel pauses and Resume goes on with the same scan from the row after the last one handed out.
TEST_F(ListwinToolbarTest, ScanControlPausesAndResumes) {
    server_.SetResponses({""}, false);
    AddServerRows();
    EXPECT_EQ(Captions(1), std::vector<std::string>{"Cancel"});
    const kritiskClass* scan = win_->kritisk.get();
    EXPECT_EQ(Captions(2), (std::vector<std::string>{"Resume", "Cancel"}));
    EXPECT_EQ(win_->kritisk.get(), scan);
    EXPECT_EQ(scan->scanNumber, 1);
    EXPECT_FALSE(win_->StopIt());
}

// A press after the end of a scan starts a new scan, with a new state, from the first row.
TEST_F(ListwinToolbarTest, ScanAfterTheEndStartsOver) {
    server_.SetResponses({"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"});
    AddServerRows();
    ScanControl().Push();
    ASSERT_TRUE(testsupport::SpinUntil([this] { return ScanControl().Caption() == "Scan"; }));
    const kritiskClass* first = win_->kritisk.get();
    ScanControl().Push();
    EXPECT_NE(win_->kritisk.get(), first);
    ASSERT_TRUE(testsupport::SpinUntil([this] { return ScanControl().Caption() == "Scan" && server_.Connections() == 6; }));
    const std::vector<std::string> requests = server_.Requests();
    EXPECT_EQ(requests[3].rfind("HEAD /0 ", 0), 0u) << requests[3];
}

// "Visit Site" and a click on the status line open only texts that begin with "http"; the click colours
// and underlines any text, and the pointer's leaving takes the underline away.
TEST_F(ListwinToolbarTest, StatusLineIsALinkForWebAddresses) {
    QWidget& status = Widget(StatusLine());
    StatusLine().SetText("Done");
    Button("PushButton3").SetEnabled(true);
    Button("PushButton3").Push();
    Send(status, QEvent::Enter);
    EXPECT_FALSE(StatusLine().Underline());
    QTest::mousePress(&status, Qt::LeftButton);
    EXPECT_EQ(StatusLine().TextColor(), fw::RGB(200, 0, 255));
    QTest::mouseRelease(&status, Qt::LeftButton);
    EXPECT_EQ(StatusLine().TextColor(), fw::RGB(0, 0, 255));
    EXPECT_TRUE(StatusLine().Underline());
    Send(status, QEvent::Leave);
    EXPECT_FALSE(StatusLine().Underline());
    EXPECT_TRUE(modal_.urls.empty());

    StatusLine().SetText("https://secure.example/");
    Send(status, QEvent::Enter);
    EXPECT_TRUE(StatusLine().Underline());
    QTest::mouseClick(&status, Qt::LeftButton);
    Button("PushButton3").Push();
    EXPECT_EQ(modal_.urls, (std::vector<std::string>{"https://secure.example/", "https://secure.example/"}));
}

// The logo shows a ring while the pointer is on it and opens the maker's home page when clicked.
TEST_F(ListwinToolbarTest, LogoButtonRingAndLink) {
    win_->Show();
    auto& logo = win_->Get<fw::Canvas>("Canvas2");
    EXPECT_FALSE(logo.UseFocusRing());
    EXPECT_TRUE(logo.AcceptFocus());
    Send(Widget(logo), QEvent::Enter);
    EXPECT_TRUE(logo.UseFocusRing());
    EXPECT_TRUE(testsupport::SpinUntil([&] { return logo.HasFocus(); }, 2000));
    Send(Widget(logo), QEvent::Leave);
    EXPECT_FALSE(logo.UseFocusRing());

    ASSERT_FALSE(quillfen::MakerHomePage().empty()) << "the test build names a loopback maker site";
    QTest::mouseClick(&Widget(logo), Qt::LeftButton);
    EXPECT_EQ(modal_.urls, std::vector<std::string>{quillfen::MakerHomePage()});
}

// The metal look draws the logo through its mask, so the ground shows where the mask is white; every
// other look draws the see-through logo.
TEST_F(ListwinToolbarTest, LogoPaintFollowsTheLook) {
    const std::string look = quillfen::Globals::aquaOrmetal;
    quillfen::Globals::aquaOrmetal = "metal";
    const QImage metal = PaintLogo();
    EXPECT_EQ(metal, Drawn(*quillfen::logo75()));
    EXPECT_EQ(metal.pixelColor(74, 19), QColor(Qt::magenta));
    EXPECT_NE(metal, Drawn(*quillfen::tervaskloggatransp75px()));

    quillfen::Globals::aquaOrmetal = "aqua";
    EXPECT_EQ(PaintLogo(), Drawn(*quillfen::tervaskloggatransp75px()));
    quillfen::Globals::aquaOrmetal = look;
}

} // namespace
