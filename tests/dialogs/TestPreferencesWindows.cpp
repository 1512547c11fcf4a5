// The Preferences and proxy settings windows as a user drives them: what they show, what Apply writes,
// what they refuse, and what the proxy window stores.
#include "PreferencesWindowsFixture.h"

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A first Open without a record creates it with the metal look; the fields show it, and Return applies it.
TEST_F(PreferencesWindowsTest, FirstOpenCreatesTheRecord) {
    Prefs();
    EXPECT_EQ(Record(), "5*metal**nocodes*noProxy*****8");
    EXPECT_EQ(fs::status(file_).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Field(Prefs(), "EditField1").Text() + "|" + Field(Prefs(), "EditField3").Text(), "5|8");
    EXPECT_FALSE(Box("CheckBox1").Value() || Box("CheckBox2").Value());
    EXPECT_FALSE(Prefs().Get<fw::RadioButton>("RadioButton2").Visible());
    QTest::keyClick(fw::detail::WidgetOf(Field(Prefs(), "EditField1")), Qt::Key_Return);
    EXPECT_FALSE(IsOpen(typeid(quillfen::prefWin)));
    EXPECT_EQ(Record(), "5*metal**nocodes*noProxy*****8");
}

// Apply writes the ten fields as typed and clicked, keeps field 3 and the proxy texts, writes "metal" for
// any look but "aqua", and fills a short record's missing fields.
TEST_F(PreferencesWindowsTest, ApplyWritesTenFieldsAsTyped) {
    struct Case {
        const char* record;
        const char* shown; // time-out|count|boxes
        const char* timeOut;
        const char* count;
        bool clickBoxes;
        const char* written;
    };
    for (const Case& c : {
             Case{"12*aqua*kept*showcodes*useProxy*p.test*3128*ann*pw*4", "12|4|11", "30", "16", true,
                  "30*aqua*kept*nocodes*noProxy*p.test*3128*ann*pw*16"},
             Case{"7*odd*c", "7||00", "-1", "x", true, "-1*metal*c*showcodes*useProxy*****x"},
             Case{"5*", "5||00", "5", "2", false, "5*metal**nocodes*noProxy*****2"},
         }) {
        SCOPED_TRACE(c.record);
        WriteRecord(c.record);
        const std::string boxes = std::to_string(Box("CheckBox1").Value()) + std::to_string(Box("CheckBox2").Value());
        EXPECT_EQ(Field(Prefs(), "EditField1").Text() + "|" + Field(Prefs(), "EditField3").Text() + "|" + boxes, c.shown);
        Type(Field(Prefs(), "EditField1"), c.timeOut);
        Type(Field(Prefs(), "EditField3"), c.count);
        if (c.clickBoxes) {
            Click(Box("CheckBox1"));
            Click(Box("CheckBox2"));
        }
        Click(Prefs().Get<fw::PushButton>("PushButton1"));
        EXPECT_EQ(Record(), c.written);
        EXPECT_EQ(quillfen::Globals::timeOut + "|" + quillfen::Globals::simultSocks, std::string(c.timeOut) + "|" + c.count);
        EXPECT_TRUE(modal_.messages.empty());
        fw::detail::FreeRetiredWindows();
    }
}

// A "*" in any field of either window is refused with a message naming the field: nothing is written or
// stored, and the window stays open for the user to mend it.
TEST_F(PreferencesWindowsTest, StarIsRefusedInEveryField) {
    const std::string record = "5*aqua**nocodes*useProxy*p.test*3128*ann*pw*8";
    for (const auto& [proxy, field, label] :
         {std::tuple{false, "EditField1", "URL Check Timeout Period"}, {false, "EditField3", "Scan: bookmarks at the time"},
          {true, "EditField1", "Proxy server"}, {true, "EditField2", "Port"}, {true, "EditField3", "Username"},
          {true, "EditField4", "Password"}}) {
        SCOPED_TRACE(label);
        WriteRecord(record);
        modal_.messages.clear();
        if (proxy)
            Click(Prefs().Get<fw::PushButton>("PushButton2"));
        fw::Window& window = proxy ? static_cast<fw::Window&>(Proxy()) : Prefs();
        Type(Field(window, field), "a*b");
        Click(window.Get<fw::PushButton>(proxy ? "BevelButton1" : "PushButton1"));
        ASSERT_EQ(modal_.messages.size(), 1u);
        EXPECT_NE(modal_.messages[0].find("\"*\" cannot be stored"), std::string::npos);
        EXPECT_NE(modal_.messages[0].find("\"" + std::string(label) + "\""), std::string::npos);
        EXPECT_TRUE(IsOpen(typeid(window)));
        EXPECT_EQ(Record(), record);
        EXPECT_EQ(quillfen::Globals::proxyUser + quillfen::Globals::proxyPass, "annpw");
        fw::detail::CloseAllWindows();
    }
}

// An empty count would leave the record's last field empty: the default is written and the user told.
TEST_F(PreferencesWindowsTest, EmptyCountWritesTheDefault) {
    WriteRecord("5*aqua**nocodes*noProxy*****3");
    Type(Field(Prefs(), "EditField3"), "");
    Click(Prefs().Get<fw::PushButton>("PushButton1"));
    EXPECT_EQ(Record(), "5*aqua**nocodes*noProxy*****8");
    EXPECT_EQ(quillfen::Globals::simultSocks, "8");
    ASSERT_EQ(modal_.messages.size(), 1u);
    EXPECT_NE(modal_.messages[0].find("default of 8"), std::string::npos);
}

// Apply leaves the record readable by its owner only, whatever it was before.
TEST_F(PreferencesWindowsTest, ApplyKeepsTheRecordPrivate) {
    for (const auto mode : {fs::perms{0644}, fs::perms{0666}, fs::perms{0600}}) {
        WriteRecord("5*aqua**nocodes*useProxy*p.test*3128*ann*secret*8");
        fs::permissions(file_, mode);
        Click(Prefs().Get<fw::PushButton>("PushButton1"));
        EXPECT_EQ(fs::status(file_).permissions(), fs::perms{0600});
        fw::detail::FreeRetiredWindows();
    }
}

// Apply where the record cannot be replaced (a folder we may not write) or is there but unreadable says so,
// leaves the file and the settings as they were, and keeps the window open.
TEST_F(PreferencesWindowsTest, FailedApplyChangesNothing) {
    for (const auto& [folderMode, fileMode, why] :
         {std::tuple{fs::perms{0555}, fs::perms{0644}, "cannot create"}, {fs::perms{0755}, fs::perms{0000}, "cannot be read"}}) {
        SCOPED_TRACE(why);
        WriteRecord("7*aqua**nocodes*noProxy*****3");
        for (const fs::path& p : {fs::path(home_.Path()), fs::path(home_.Path()) / "Library"})
            fs::permissions(p, fs::perms{0055}, fs::perm_options::add);
        fs::permissions(folder_, folderMode);
        fs::permissions(file_, fileMode);
        quillfen::Globals::timeOut = "7";
        modal_.messages.clear();
        const bool asNobody = ::geteuid() == 0;
        ASSERT_TRUE(!asNobody || ::seteuid(65534) == 0);
        Type(Field(Prefs(), "EditField1"), "9");
        Click(Prefs().Get<fw::PushButton>("PushButton1"));
        ASSERT_TRUE(!asNobody || ::seteuid(0) == 0);
        ASSERT_EQ(modal_.messages.size(), 1u);
        EXPECT_NE(modal_.messages[0].find("could not be saved"), std::string::npos);
        EXPECT_NE(modal_.messages[0].find(why), std::string::npos) << modal_.messages[0];
        EXPECT_TRUE(IsOpen(typeid(quillfen::prefWin)));
        EXPECT_EQ(quillfen::Globals::timeOut, "7");
        fs::permissions(folder_, fs::perms{0755});
        fs::permissions(file_, fs::perms{0600});
        EXPECT_EQ(Record(), "7*aqua**nocodes*noProxy*****3");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
        fw::detail::CloseAllWindows();
    }
}

// The proxy window shows the settings, masks the password, and its "Close" stores the four texts in the
// settings only; the close box stores nothing; Configure brings the open window forward as it was typed.
TEST_F(PreferencesWindowsTest, ProxyWindowStoresIntoTheSettingsOnly) {
    const std::string record = "5*aqua**nocodes*useProxy*p.test*3128*ann*pw*8";
    WriteRecord(record);
    const std::vector<std::string> before = {"p.test", "3128", "ann", "pw"};
    const std::vector<std::string> typed = {"proxy.example", "8080", "bob", "s3cret"};
    for (const bool closeBox : {true, false}) {
        Click(Prefs().Get<fw::PushButton>("PushButton2"));
        quillfen::ProxyWin* first = &Proxy();
        for (int i = 0; i < 4; ++i) {
            const std::string name = "EditField" + std::to_string(i + 1);
            EXPECT_EQ(Field(Proxy(), name.c_str()).Text(), before[i]);
            Type(Field(Proxy(), name.c_str()), typed[i]);
        }
        auto* password = static_cast<QLineEdit*>(fw::detail::WidgetOf(Field(Proxy(), "EditField4")));
        EXPECT_EQ(password->displayText().size(), 6);
        EXPECT_EQ(password->displayText().indexOf('s'), -1);
        Click(Prefs().Get<fw::PushButton>("PushButton2"));
        EXPECT_EQ(&Proxy(), first);
        EXPECT_EQ(fw::detail::FrontmostWindow(), first);
        EXPECT_EQ(Field(Proxy(), "EditField3").Text(), "bob");
        if (closeBox)
            CloseBox(Proxy());
        else
            Click(Proxy().Get<fw::PushButton>("BevelButton1"));
        EXPECT_FALSE(IsOpen(typeid(quillfen::ProxyWin)));
        using namespace quillfen::Globals;
        EXPECT_EQ((std::vector<std::string>{proxyURL, proxyPort, proxyUser, proxyPass}),
                  closeBox ? before : typed);
        EXPECT_EQ(Record(), record);
    }
    Click(Prefs().Get<fw::PushButton>("PushButton1"));
    EXPECT_EQ(Record(), "5*aqua**nocodes*useProxy*proxy.example*8080*bob*s3cret*8");
}

// Resting the pointer on a row's label gives it its help text.
TEST_F(PreferencesWindowsTest, LabelsGiveHelpOnHover) {
    for (const auto& [label, help] :
         {std::pair{"StaticText1", "Increase this time for slow connections or if your bookmarks are ok, but reported as Timeout"},
          {"StaticText10", "Number of bookmarks that can be scanned simultaneously. Too high number might cause Safari "
                           "Quillfen to become unstable"}}) {
        QWidget* widget = fw::detail::WidgetOf(Prefs().Get<fw::VisualControl>(label));
        EXPECT_EQ(Prefs().Get<fw::VisualControl>(label).HelpTag(), "");
        QTest::mouseMove(widget->window(), widget->mapTo(widget->window(), QPoint(5, 5)));
        EXPECT_EQ(Prefs().Get<fw::VisualControl>(label).HelpTag(), help);
    }
}

} // namespace
