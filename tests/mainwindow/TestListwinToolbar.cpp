// The toolbar and the status line: the address a bookmark is requested and opened at, "Visit Site", and
// the status line and logo as links.
#include "ListwinFixture.h"
#include "ScriptedServer.h"
#include "app/MakerSite.h"
#include "checker/BrowserAddress.h"
#include "framework/ui/controls/Canvas.h"

namespace {

using ListwinToolbarTest = ListwinTest;

// The address a bookmark stands for: references decoded once, the fragment dropped, and what a request
// line cannot carry escaped (in the host only blanks and controls), escapes already there kept.
TEST(BrowserAddressTest, AsABrowserReadsIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"http://h/p?a=1&amp;b=2", "http://h/p?a=1&b=2"},
        {"http://h/&lt;&gt;&quot;&apos;&#38;&#x41;&#233;", "http://h/%3C%3E%22'&A%C3%A9"},
        {"http://h/a&amp;amp;b&foo;&amp", "http://h/a&amp;b&foo;&amp"},
        {"http://h/page#part&amp;", "http://h/page"},
        {"http://h/a&#35;b", "http://h/a"},
        {"http://h/two words/%20x/\xC3\xA9\t\x7F", "http://h/two%20words/%20x/%C3%A9%09%7F"},
        {"http://h?q=1", "http://h/?q=1"},
        {"https://h:8443", "https://h:8443"},
        {"http://h&#13;&#10;X: 1\x7F?q", "http://h%0D%0AX:%201%7F/?q"}};
    for (const auto& [url, address] : cases)
        EXPECT_EQ(quillfen::BrowserAddress(url), address) << url;
}

// A bookmark is requested and opened at the address it stands for, while its row keeps the file's text.
// The status line opens only texts that begin with "http"; the logo opens the maker's home page, and
// nothing while no site is set.
TEST_F(ListwinToolbarTest, RequestsAndOpensTheAddressABrowserWould) {
    testsupport::ScriptedServer server; // answering 200 OK
    const std::string site = "http://127.0.0.1:" + std::to_string(server.Port());
    WriteBookmarksFile({{"odd", site + "/two words/%20x?a=1&b=2#part", "U1"}});
    const std::string row = site + "/two words/%20x?a=1&amp;b=2#part";
    ASSERT_EQ(List().Cell(0, quillfen::BookmarkColumn::URL), row);
    Click(ScanControl());
    ASSERT_TRUE(
        testsupport::SpinUntil([&] { return List().Cell(0, quillfen::BookmarkColumn::Status) == "\u2714"; }));
    const std::string request = server.Requests().at(0);
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "HEAD /two%20words/%20x?a=1&b=2 HTTP/1.0");

    ClickCell(0, 1, true);
    ClickCell(0, 1);
    EXPECT_EQ(Status(), row);
    Click(Button("PushButton3"));
    // "Visit Site" covers the right of the status line: the user clicks its text at the left.
    QWidget* status = fw::detail::WidgetOf(StatusLine());
    for (const std::string& text : {Status(), std::string("Done")}) {
        StatusLine().SetText(text);
        testsupport::ClickAt(status, {4, status->height() / 2});
    }
    for (const char* maker : {"http://127.0.0.1:9/", ""}) {
        quillfen::SetMakerSite(maker);
        Click(win_->Get<fw::Canvas>("Canvas2"));
    }
    const std::string address = site + "/two%20words/%20x?a=1&b=2";
    EXPECT_EQ(modal_.urls, (std::vector<std::string>{address, address, address, "http://127.0.0.1:9/"}));
}

// "Visit Site" lies over the status line widened at the first show: a click at its middle is the button's,
// and while the button is disabled it opens nothing.
TEST_F(ListwinToolbarTest, VisitSiteTakesItsOwnClicks) {
    AddBookmark("n", "http://a.example/", 1);
    ShowWindow();
    ASSERT_EQ(StatusLine().Width(), 405);
    EXPECT_FALSE(Button("PushButton5").Enabled());
    ClickCell(0, 1);
    ClickCell(0, 1, false, Qt::ControlModifier);
    ASSERT_EQ(std::tuple(List().SelCount(), Button("PushButton3").Enabled(), Button("PushButton5").Enabled()),
              std::tuple(0, false, false));
    Click(Button("PushButton3"));
    EXPECT_TRUE(modal_.urls.empty());
    ClickCell(0, 1);
    Click(Button("PushButton3"));
    EXPECT_EQ(modal_.urls, std::vector<std::string>{"http://a.example/"});
}

} // namespace
