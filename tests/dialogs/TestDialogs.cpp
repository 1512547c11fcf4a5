// The dialogs as a user meets them, in a temporary home: the version check as the main window opens,
// against a version page served on 127.0.0.1, and its update notice; the Preferences and proxy settings
// windows: what they show, what Apply writes and hands the main window, what they refuse, and what the
// proxy window stores; and the preferences record they write, as the program loads it.
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "ScriptedServer.h"
#include "TempHome.h"
#include "UserClicks.h"
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "app/PreferencesRecord.h"
#include "dialogs/ProxyWin.h"
#include "dialogs/alertDownloadWin.h"
#include "dialogs/prefWin.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/EditField.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/controls/ToggleButtons.h"
#include "framework/ui/qt/Bridge.h"
#include "mainwindow/Listwin.h"

#include <QLineEdit>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Every dialog test closes what it opened; the settings and the maker's site end as a fresh run has them.
class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { quillfen::Globals::Release(); }
    void TearDown() override {
        quillfen::SetMakerSite("");
        CloseAll();
        quillfen::Globals::Release();
    }
    static void CloseAll() {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }

    void WriteRecord(const std::string& text, fs::perms mode = fs::perms{0600}) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << text;
        fs::permissions(file_, mode);
    }
    std::string Record() const { return testsupport::ReadFile(file_); }
    // The settings in record order, field 3 included, joined as in the record.
    static std::string Settings() {
        using namespace quillfen::Globals;
        std::string out = timeOut;
        for (const std::string* field : {&aquaOrmetal, &carriedField, &showOKcodes, &proxyUse, &proxyURL,
                                         &proxyPort, &proxyUser, &proxyPass, &simultSocks})
            out += "*" + *field;
        return out;
    }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    const fs::path folder_ = fs::path(home_.Path()) / "Library" / "Preferences";
    const fs::path file_ = folder_ / "Safari Quillfen"; // the preferences record
};

using quillfen::Globals::versionDetails;
const std::string kOk = "HTTP/1.0 200 OK\r\n\r\n";
const std::string kUnset = "(no page yet)";

class VersionCheckTest : public DialogsTest {
protected:
    void SetUp() override {
        DialogsTest::SetUp();
        std::tie(app_.MajorVersion, app_.MinorVersion, app_.BugVersion) = std::tuple(0, 9, 3);
        UseSite(server_.Port());
    }
    void UseSite(int port) {
        site_ = "http://127.0.0.1:" + std::to_string(port);
        quillfen::SetMakerSite(site_ + "/");
        versionDetails = kUnset;
    }
    static quillfen::alertDownloadWin* Notice() {
        return static_cast<quillfen::alertDownloadWin*>(
            fw::detail::OpenWindow(typeid(quillfen::alertDownloadWin)));
    }

    testsupport::ScriptedServer server_;
    fw::Application app_;
    std::string site_;
};

// Only a version above the own 0.9.3 (the digits 093) beeps and shows the notice; every page that arrives,
// error pages too, leaves its last field as the details. The main window asks for the page as it opens.
TEST_F(VersionCheckTest, PagesAndTheirNotice) {
    // A newer page's notice: each button opens its page, or none, and closes it; Return chooses Download.
    // Each row: the page, the details, the button pressed (none: no notice), by Return, the pages opened.
    using Urls = std::vector<std::string>;
    const Urls download{site_ + "/downloads/quillfen.dmg"};
    for (const auto& [response, details, pressed, byReturn, urls] :
         std::vector<std::tuple<std::string, std::string, const char*, bool, Urls>>{
             {kOk + "Q*0100*Faster.\rFewer.", "Faster.\rFewer.", "PushButton1", false, download},
             {kOk + "0100*single star", "single star", "PushButton2", false, {site_ + "/"}},
             {kOk + "0101*no choice", "no choice", "PushButton3", false, {}},
             {kOk + "0101*by Return", "by Return", "PushButton3", true, download},
             {kOk + "a*b*093*the same", "the same", nullptr, false, {}},
             {kOk + "x*abc*not a number", "not a number", nullptr, false, {}},
             {kOk + "no stars", "no stars", nullptr, false, {}},
             {kOk, "", nullptr, false, {}},
             {"HTTP/1.0 404 Not Found\r\n\r\n<html>gone</html>", "<html>gone</html>", nullptr, false, {}}}) {
        SCOPED_TRACE(response);
        modal_.beeps = 0;
        modal_.urls.clear();
        server_.SetResponses({response});
        versionDetails = kUnset;
        fw::Instance<quillfen::Listwin>();
        EXPECT_TRUE(testsupport::SpinUntil([] { return versionDetails != kUnset; }));
        EXPECT_EQ(versionDetails, details);
        EXPECT_EQ(modal_.beeps, pressed ? 1 : 0);
        ASSERT_EQ(Notice() != nullptr, pressed != nullptr);
        if (pressed) {
            EXPECT_EQ(Notice()->Get<fw::StaticText>("StaticText2").Text(), details);
            const fw::PushButton& button = Notice()->Get<fw::PushButton>(pressed);
            if (byReturn) {
                testsupport::Activate(fw::detail::WidgetOf(button)->window());
                testsupport::PressKey(fw::detail::WidgetOf(button), Qt::Key_Return);
            } else {
                testsupport::ClickOnTop(button);
            }
            EXPECT_EQ(Notice(), nullptr);
        }
        EXPECT_EQ(modal_.urls, urls);
        CloseAll();
    }
    EXPECT_EQ(server_.Requests()[0].rfind("GET /vessmor/version.txt HTTP/1.0\r\n", 0), 0U);
}

// A page past the client's cap, a page that never ends, a refused connection and no site at all show
// nothing; a closed window lets go of its connection.
TEST_F(VersionCheckTest, NoNoticeWithoutAWholePage) {
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

class PreferencesWindowsTest : public DialogsTest {
protected:
    void SetUp() override {
        DialogsTest::SetUp();
        quillfen::prefWin::mainWindow = {}; // a main window of an earlier test must not be reached
    }

    static quillfen::prefWin& Prefs() { return fw::Instance<quillfen::prefWin>(); }
    static quillfen::ProxyWin& Proxy() { return fw::Instance<quillfen::ProxyWin>(); }
    static bool IsOpen(const std::type_info& type) { return fw::detail::OpenWindow(type) != nullptr; }
    static std::string Text(fw::Window& window, const char* field) {
        return window.Get<fw::EditField>(field).Text();
    }
    static bool On(const char* box) { return Prefs().Get<fw::CheckBox>(box).Value(); }

    static QWidget* Click(fw::Window& window, const std::string& name) {
        return testsupport::ClickOnTop(window.Get<fw::VisualControl>(name));
    }
    // Clicks into the field and types over what it holds; nothing commits the text.
    static void Type(fw::Window& window, const std::string& field, const std::string& text) {
        QWidget* widget = fw::detail::WidgetOf(window.Get<fw::EditField>(field));
        ASSERT_EQ(Click(window, field), widget) << field << " lies under another control";
        testsupport::PressKey(widget, Qt::Key_A, Qt::ControlModifier);
        testsupport::PressKey(widget, Qt::Key_Delete);
        testsupport::TypeText(widget, text);
    }
};

// Return applies the ten fields as typed and clicked, private to the owner, in a new file that replaces the
// record (one still open holds the old bytes): a first Open creates the record with the metal look, field 3,
// the look and the proxy texts are kept, a short record's missing fields show empty, and an empty count
// stores the default, with a word to the user.
TEST_F(PreferencesWindowsTest, ApplyWritesTenFieldsAsTyped) {
    // Each row: the record (none: a first run), what shows as time-out|count|boxes, the time-out and count
    // typed, whether both boxes are clicked, the record written.
    for (const auto& [record, shown, timeOut, count, clickBoxes, written] :
         std::vector<std::tuple<const char*, const char*, const char*, const char*, bool, const char*>>{
             {nullptr, "5|8|00", "5", "8", false, "5*metal**nocodes*noProxy*****8"},
             {"12*aqua*kept*showcodes*useProxy*p.test*3128*ann*pw*4", "12|4|11", "30", "16", true,
              "30*aqua*kept*nocodes*noProxy*p.test*3128*ann*pw*16"},
             {"7*odd*c", "7||00", "-1", "x", true, "-1*odd*c*showcodes*useProxy*****x"},
             {"5*aqua**nocodes*noProxy*****3", "5|3|00", "5", "", false, "5*aqua**nocodes*noProxy*****8"}}) {
        SCOPED_TRACE(record ? record : "first run");
        if (record)
            WriteRecord(record, fs::perms{0644});
        EXPECT_EQ(Text(Prefs(), "EditField1") + "|" + Text(Prefs(), "EditField3") + "|" +
                      std::to_string(On("CheckBox1")) + std::to_string(On("CheckBox2")),
                  shown);
        EXPECT_TRUE(record || Record() == written); // a first Open writes the record
        Type(Prefs(), "EditField1", timeOut);
        Type(Prefs(), "EditField3", count);
        if (clickBoxes) {
            Click(Prefs(), "CheckBox1");
            Click(Prefs(), "CheckBox2");
        }
        modal_.messages.clear();
        std::ifstream old(file_, std::ios::binary);
        testsupport::PressKey(fw::detail::WidgetOf(Prefs().Get<fw::EditField>("EditField1")), Qt::Key_Return);
        EXPECT_FALSE(IsOpen(typeid(quillfen::prefWin)));
        EXPECT_EQ(Record(), written);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), record ? record : written);
        EXPECT_EQ(fs::status(file_).permissions(), fs::perms{0600});
        EXPECT_EQ(quillfen::Globals::timeOut + "|" + quillfen::Globals::simultSocks,
                  std::string(timeOut) + "|" + (*count ? count : "8"));
        EXPECT_EQ(modal_.messages.size(), *count ? 0u : 1u);
        fw::detail::FreeRetiredWindows();
    }
    EXPECT_NE(modal_.messages.at(0).find("default of 8"), std::string::npos);
}

// Apply refuses with one message saying why, keeps the window open for the user to mend it, and leaves the
// record and the settings as they were: for a "*" in any field of either window (the message names the
// field), a record that cannot be replaced (a folder we may not write) and one that is there but unreadable.
TEST_F(PreferencesWindowsTest, RefusedApplyChangesNothing) {
    const std::string record = "7*aqua**nocodes*useProxy*p.test*3128*ann*pw*8";
    const fs::perms open{0755}, readable{0644};
    for (const auto& [proxy, field, text, folderMode, fileMode, why] :
         {std::tuple{false, "EditField1", "a*b", open, readable, "from \"URL Check Timeout Period\""},
          {false, "EditField3", "a*b", open, readable, "from \"Scan: bookmarks at the time\""},
          {true, "EditField1", "a*b", open, readable, "from \"Proxy server\""},
          {true, "EditField2", "a*b", open, readable, "from \"Port\""},
          {true, "EditField3", "a*b", open, readable, "from \"Username\""},
          {true, "EditField4", "a*b", open, readable, "from \"Password\""},
          {false, "EditField1", "9", fs::perms{0555}, readable, "cannot create"},
          {false, "EditField1", "9", open, fs::perms{0000}, "cannot be read"}}) {
        SCOPED_TRACE(why);
        WriteRecord(record, fileMode);
        // An ordinary user (root would pass every permission) may reach the record.
        for (const fs::path& p : {fs::path(home_.Path()), fs::path(home_.Path()) / "Library"})
            fs::permissions(p, fs::perms{0055}, fs::perm_options::add);
        fs::permissions(folder_, folderMode);
        quillfen::Globals::timeOut = "7";
        modal_.messages.clear();
        const bool asNobody = ::geteuid() == 0;
        ASSERT_TRUE(!asNobody || ::seteuid(65534) == 0);
        if (proxy)
            Click(Prefs(), "PushButton2");
        fw::Window& window = proxy ? static_cast<fw::Window&>(Proxy()) : Prefs();
        Type(window, field, text);
        Click(window, proxy ? "BevelButton1" : "PushButton1");
        ASSERT_TRUE(!asNobody || ::seteuid(0) == 0);
        ASSERT_EQ(modal_.messages.size(), 1u);
        EXPECT_NE(modal_.messages[0].find(why), std::string::npos) << modal_.messages[0];
        EXPECT_EQ(modal_.messages[0].find("\"*\" cannot be stored") != std::string::npos, text[1] == '*');
        EXPECT_TRUE(IsOpen(typeid(window)) && quillfen::Globals::timeOut == "7");
        // An unreadable record leaves the defaults in memory.
        EXPECT_EQ(quillfen::Globals::proxyUser + quillfen::Globals::proxyPass,
                  fileMode == readable ? "annpw" : "");
        fs::permissions(folder_, open);
        fs::permissions(file_, readable);
        EXPECT_EQ(Record() + "|" + std::to_string(std::distance(fs::directory_iterator(folder_), {})),
                  record + "|1");
        fw::detail::CloseAllWindows();
    }
}

// The proxy window shows the settings, and its "Close" stores the four texts in the settings only; the close
// box stores nothing; Configure brings the open window forward as it was typed. Apply then has the main
// window read the record again (a stale carried field goes), its version socket take the proxy server and the
// number the port begins with.
TEST_F(PreferencesWindowsTest, ProxySettingsReachTheMainWindow) {
    const std::string record = "5*aqua*c3*nocodes*useProxy*p.test*3128*ann*pw*8";
    WriteRecord(record);
    quillfen::Listwin& main = fw::Instance<quillfen::Listwin>();
    const std::vector<std::string> before = {"p.test", "3128", "ann", "pw"},
                                   typed = {"p.example", "80abc", "bob", "s3cret"};
    for (const bool closeBox : {true, false}) {
        Click(Prefs(), "PushButton2");
        quillfen::ProxyWin* first = &Proxy();
        for (int i = 0; i < 4; ++i) {
            const std::string field = "EditField" + std::to_string(i + 1);
            EXPECT_EQ(Text(Proxy(), field.c_str()), before[i]);
            Type(Proxy(), field, typed[i]);
        }
        Click(Prefs(), "PushButton2");
        EXPECT_EQ(&Proxy(), first);
        EXPECT_EQ(fw::detail::FrontmostWindow(), first);
        EXPECT_EQ(Text(Proxy(), "EditField3"), "bob");
        if (closeBox)
            fw::detail::WidgetOf(Proxy().Get<fw::EditField>("EditField1"))->window()->close();
        else
            Click(Proxy(), "BevelButton1");
        EXPECT_FALSE(IsOpen(typeid(quillfen::ProxyWin)));
        using namespace quillfen::Globals;
        EXPECT_EQ((std::vector<std::string>{proxyURL, proxyPort, proxyUser, proxyPass}),
                  closeBox ? before : typed);
        EXPECT_EQ(Record(), record);
    }
    quillfen::Globals::carriedField = "stale";
    Type(Prefs(), "EditField3", "5");
    Click(Prefs(), "PushButton1");
    EXPECT_EQ(Record(), "5*aqua*c3*nocodes*useProxy*p.example*80abc*bob*s3cret*5");
    EXPECT_EQ(quillfen::Globals::carriedField, "c3");
    const auto& socket = main.versionHTTPSock;
    EXPECT_EQ(socket.HTTPProxyAddress + ":" + std::to_string(socket.HTTPProxyPort), "p.example:80");
}

// A record with bytes that are not UTF-8 in every field (a Latin-1 password, say) keeps each field the user
// did not change byte for byte, in the file and in the settings, whichever one field Apply or the proxy
// window's "Close" changes.
TEST_F(PreferencesWindowsTest, ApplyKeepsTheBytesOfWhatWasNotChanged) {
    std::vector<std::string> fields;
    for (int i = 1; i <= 10; ++i)
        fields.push_back(std::to_string(i) + "\xE9\xFF");
    // Each row: in the proxy window, the control changed (none: nothing), the text typed (none: a click),
    // the field it changes (counted from 1), the field written.
    for (const auto& [proxy, control, typed, field, written] :
         std::vector<std::tuple<bool, const char*, const char*, size_t, const char*>>{
             {false, nullptr, nullptr, 0, ""},
             {false, "EditField1", "30", 1, "30"},
             {false, "EditField3", "4", 10, "4"},
             {false, "CheckBox1", nullptr, 4, "showcodes"},
             {false, "CheckBox2", nullptr, 5, "useProxy"},
             {true, "EditField2", "8080", 7, "8080"},
             {true, "EditField4", "pw", 9, "pw"}}) {
        SCOPED_TRACE(field);
        WriteRecord(fw::Join(fields, "*"));
        if (proxy)
            Click(Prefs(), "PushButton2");
        if (typed)
            Type(proxy ? static_cast<fw::Window&>(Proxy()) : Prefs(), control, typed);
        else if (control)
            Click(Prefs(), control);
        if (proxy)
            Click(Proxy(), "BevelButton1");
        Click(Prefs(), "PushButton1");
        std::vector<std::string> expected = fields;
        if (field)
            expected[field - 1] = written;
        EXPECT_EQ(Record(), fw::Join(expected, "*"));
        expected[2].clear(); // field 3 reaches the settings only when a main window reads the record again
        EXPECT_EQ(Settings(), fw::Join(expected, "*"));
        fw::detail::FreeRetiredWindows();
    }
}

// The columns between the first and the last dark pixel of an image.
int InkWidth(const QImage& image) {
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                left = std::min(left, x), right = std::max(right, x);
    return right - left + 1;
}

// The proxy window's port field shows every digit of a five-digit port at its layout's place and size:
// drawn with its cursor at the start and at the end, the field looks the same, so nothing is scrolled out
// of sight, and its ink is as wide as the text's drawn alone in the field's font.
TEST_F(PreferencesWindowsTest, PortFieldShowsFiveDigits) {
    Click(Prefs(), "PushButton2");
    auto* port = fw::detail::As<QLineEdit>(Proxy().Get<fw::EditField>("EditField2"));
    EXPECT_EQ(port->geometry(), QRect(240, 47, 40, 22));
    for (const char* digits : {"65535", "88888", "10000"}) {
        Type(Proxy(), "EditField2", digits);
        Click(Proxy(), "EditField1"); // the cursor drawn elsewhere
        port->setCursorPosition(0);
        const QImage start = port->grab().toImage();
        port->end(false);
        const QImage end = port->grab().toImage();
        EXPECT_EQ(start, end) << digits;
        QImage alone(200, 40, QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter painter(&alone);
        painter.setFont(port->font());
        painter.drawText(20, 30, digits);
        painter.end();
        EXPECT_GE(InkWidth(end), InkWidth(alone)) << digits;
    }
}

const std::string kWelcome = "Welcome to Safari Quillfen!\r";
const std::string kUpgraded = "Safari Quillfen successfully upgraded\r";
const std::string kDefaults = "5*aqua**nocodes*noProxy*****8";

// Loading the preferences record: first run, upgrades, records read as they are, and files we cannot write.
class PreferencesRecordTest : public DialogsTest {
protected:
    // Reads the record; returns the welcome text, which starts as "kept". Root may write anywhere, so where
    // folder permissions matter it reads as an ordinary user.
    static std::string Load(bool asOrdinaryUser = false) {
        const bool switchUser = asOrdinaryUser && ::geteuid() == 0;
        EXPECT_TRUE(!switchUser || ::seteuid(65534) == 0);
        std::string welcome = "kept";
        quillfen::ReadPreferences(welcome);
        EXPECT_TRUE(!switchUser || ::seteuid(0) == 0);
        return welcome;
    }
};

// A first run creates the default record of ten fields, private to its owner, and says welcome. A record of
// ten or more fields is read as it is (the settings are its first ten), also with an empty tenth field,
// which appending could never mend; a shorter one gains a field "6" per pass until it has ten, used in the
// same run, and the user is told. Reading again (as Apply does) neither writes nor welcomes.
TEST_F(PreferencesRecordTest, RecordsAreCreatedReadOrUpgradedOnce) {
    const std::string emptyTenth = "5*aqua**nocodes*noProxy*****",
                      nine = "5*metal*x*nocodes*useProxy*p*80*u*p";
    const std::tuple<std::optional<std::string>, std::string, std::string, std::string> cases[] = {
        // the record found, the welcome, the record then, the settings
        {std::nullopt, kWelcome, kDefaults, kDefaults},
        {emptyTenth, "kept", emptyTenth, emptyTenth},
        {kDefaults + "*extra", "kept", kDefaults + "*extra", kDefaults},
        {nine, kUpgraded, nine + "*6", nine + "*6"}};
    for (const auto& [record, welcome, after, settings] : cases) {
        SCOPED_TRACE(record.value_or("none"));
        fs::remove(file_);
        if (record)
            WriteRecord(*record, fs::perms{0644});
        EXPECT_EQ(Load(), welcome);
        EXPECT_EQ(std::pair(Record(), Settings()), std::pair(after, settings));
        EXPECT_TRUE(welcome == "kept" || fs::status(file_).permissions() == fs::perms{0600});
        const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
        fs::last_write_time(file_, old);
        quillfen::Globals::Release();
        EXPECT_EQ(Load(), "kept");
        EXPECT_EQ(std::pair(Record(), Settings()), std::pair(after, settings));
        EXPECT_EQ(fs::last_write_time(file_), old);
    }
}

// Whatever stands at the path, a record we cannot read, or one in a folder we may not write, is never
// replaced: a readable record serves this run (its upgrade from memory), anything else leaves the defaults,
// and the path holds what it held, byte for byte and kind for kind; a FIFO or device is not even opened.
TEST_F(PreferencesRecordTest, RecordsWeCannotReplaceServeFromMemory) {
    const std::string record = "9*metal*x*showcodes*useProxy*proxy.test*3128*ann*secret";
    const std::vector<std::tuple<const char*, std::function<void()>, std::string, std::string>> cases{
        // what stands at the path, the welcome, the settings
        {"unwritable folder", [&] { fs::permissions(folder_, fs::perms{0555}); }, kUpgraded, record + "*6"},
        {"mode 000", [&] { fs::permissions(file_, fs::perms::none); }, "kept", kDefaults},
        {"FIFO", [&] { fs::remove(file_), ::mkfifo(file_.c_str(), 0600); }, "kept", kDefaults},
        {"link to a device", [&] { fs::remove(file_), fs::create_symlink("/dev/zero", file_); }, "kept",
         kDefaults},
        {"file for a folder",
         [&] { fs::remove_all(folder_.parent_path()), std::ofstream(folder_.parent_path()) << "a file"; },
         kWelcome, kDefaults},
    };
    for (const auto& [what, make, welcome, settings] : cases) {
        SCOPED_TRACE(what);
        if (fs::is_directory(folder_))
            fs::permissions(folder_, fs::perms{0755});
        fs::remove_all(folder_.parent_path());
        WriteRecord(record, fs::perms{0644});
        // The user's own record in the user's own folder: mode 000 binds its owner unless that is root, so
        // every case reads as an ordinary user who owns both.
        for (const fs::path& p : {fs::path(home_.Path()), folder_.parent_path(), folder_, file_})
            ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
        make();
        const fs::file_status before = fs::symlink_status(file_);
        quillfen::Globals::timeOut = "unset";
        EXPECT_EQ(Load(/*asOrdinaryUser=*/true), welcome);
        EXPECT_EQ(Settings(), settings);
        EXPECT_EQ(fs::symlink_status(file_).type(), before.type());
        if (fs::is_regular_file(before)) {
            fs::permissions(file_, fs::perms::owner_read);
            EXPECT_EQ(Record(), record);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
        }
    }
}

} // namespace
