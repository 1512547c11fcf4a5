// Apply reaches the main window: it reads the record again, its version socket takes the proxy, and the
// next scan uses the new pool size.
#include "PreferencesWindowsFixture.h"
#include "ScriptedServer.h"
#include "framework/ListBox.h"
#include "mainwindow/Listwin.h"

namespace {

// With proxy use on, the socket gets the server and the number the port begins with; turned off, it keeps
// them. The main window's reading replaces a stale carried field with the record's.
TEST_F(PreferencesWindowsTest, ApplyReloadsTheMainWindow) {
    WriteRecord("5*aqua*c3*nocodes*noProxy*****8");
    quillfen::Listwin& main = fw::Instance<quillfen::Listwin>();
    for (const auto& [port, socketPort] : {std::pair{"8080abc", 8080}, {"", 0}, {"x1", 0}}) {
        SCOPED_TRACE(port);
        quillfen::Globals::carriedField = "stale";
        Click(Prefs().Get<fw::PushButton>("PushButton2"));
        Type(Field(Proxy(), "EditField1"), "proxy.test");
        Type(Field(Proxy(), "EditField2"), port);
        Click(Proxy().Get<fw::PushButton>("BevelButton1"));
        if (!Box("CheckBox2").Value())
            Click(Box("CheckBox2"));
        Click(Prefs().Get<fw::PushButton>("PushButton1"));
        EXPECT_EQ(main.versionHTTPSock.HTTPProxyAddress, "proxy.test");
        EXPECT_EQ(main.versionHTTPSock.HTTPProxyPort, socketPort);
        EXPECT_EQ(quillfen::Globals::carriedField, "c3");
    }
    Click(Box("CheckBox2"));
    Click(Prefs().Get<fw::PushButton>("PushButton1"));
    EXPECT_EQ(quillfen::Globals::proxyUse, "noProxy");
    EXPECT_EQ(main.versionHTTPSock.HTTPProxyAddress, "proxy.test");
}

// A pool size applied between two scans is the one the next scan fills.
TEST_F(PreferencesWindowsTest, NextScanUsesTheAppliedPoolSize) {
    WriteRecord("30*aqua**nocodes*noProxy*****8");
    quillfen::Listwin& main = fw::Instance<quillfen::Listwin>();
    testsupport::ScriptedServer server;
    server.SetResponses({""}, false);
    fw::ListBox& list = main.Get<fw::ListBox>("ListBox1");
    for (int i = 0; i < 6; ++i) {
        list.AddRow("");
        list.SetCell(i, quillfen::BookmarkColumn::URL, "http://127.0.0.1:" + std::to_string(server.Port()) + "/");
    }
    Type(Field(Prefs(), "EditField3"), "3");
    Click(Prefs().Get<fw::PushButton>("PushButton1"));
    Click(main.Get<fw::PushButton>("PushButton1"));
    ASSERT_TRUE(main.kritisk);
    EXPECT_EQ(main.kritisk->simultScanInteger, 3);
    main.Close();
}

} // namespace
