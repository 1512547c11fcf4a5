#include "FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "framework/Text.h"
#include "tests/support/EventLoop.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <string>

namespace Globals = quillfen::Globals;

// A scan through a proxy that records the request: credentials longer than one Base64 line still go on a
// single header line, an empty user and password still send the header, and a 407 shows its own text.
TEST(ScanProxyTest, CredentialsGoOnOneHeaderLine) {
    scantest::DefaultSettings();
    testsupport::ScriptedServer proxy;
    proxy.SetResponses({"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"});
    Globals::proxyUse = "useProxy";
    Globals::proxyURL = "127.0.0.1";
    Globals::proxyPort = fw::Str(proxy.Port());
    for (const std::string& user : {std::string(40, 'u'), std::string()}) {
        Globals::proxyUser = user;
        Globals::proxyPass = std::string(user.size(), 'p');
        scantest::FakeHost host;
        host.list.Add("http://bookmark.invalid:8080/path?q=1");
        PressScanControl(host);
        ASSERT_TRUE(testsupport::SpinUntil([&] { return host.scan->scansCompleted == 1; }));
        EXPECT_EQ(host.list.Status(0), "Proxy Authorization Req.");
        const std::string line =
            "\r\nProxy-Authorization: Basic " + fw::EncodeBase64(user + ":" + Globals::proxyPass, 0) + "\r\n";
        EXPECT_NE(proxy.Requests().back().find(line), std::string::npos) << proxy.Requests().back();
    }
}
