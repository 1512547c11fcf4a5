#include "FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "framework/Text.h"
#include "tests/support/EventLoop.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using scantest::FakeHost;
using testsupport::ScriptedServer;
namespace Globals = quillfen::Globals;

namespace {

constexpr const char* kTinyproxy = "/usr/bin/tinyproxy";

// Whether a socket listens on 127.0.0.1:port, as the kernel's table of TCP sockets says.
bool Listening(int port) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "0100007F:%04X 00000000:0000 0A", port);
    std::ifstream table("/proc/net/tcp");
    return std::string(std::istreambuf_iterator<char>(table), {}).find(entry) != std::string::npos;
}

// Scans through a proxy: a scripted one that records the request, and tinyproxy asking for credentials.
class ScanProxyTest : public ::testing::Test {
protected:
    void SetUp() override {
        scantest::DefaultSettings();
        Globals::proxyUse = "useProxy";
        Globals::proxyURL = "127.0.0.1";
    }
    void TearDown() override {
        if (proxyPid_ > 0) {
            ::kill(proxyPid_, SIGTERM);
            ::waitpid(proxyPid_, nullptr, 0);
        }
    }

    // Scans one row for url with the given proxy credentials; returns when its result is in.
    static bool ScanOne(FakeHost& host, const std::string& url, const std::string& user,
                        const std::string& password) {
        Globals::proxyUser = user;
        Globals::proxyPass = password;
        host.list.Add(url);
        PressScanControl(host);
        return testsupport::SpinUntil([&] { return host.scan->scansCompleted == 1; });
    }

    testsupport::TempHome folder_; // for tinyproxy's configuration
    pid_t proxyPid_ = -1;
};

// Credentials longer than one Base64 line still go on a single header line; an empty user and
// password still send the header; a 407 shows its own text.
TEST_F(ScanProxyTest, RequestAsSentToTheProxy) {
    ScriptedServer proxy;
    proxy.SetResponses({"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"});
    Globals::proxyPort = fw::Str(proxy.Port());
    for (const std::string& user : {std::string(40, 'u'), std::string()}) {
        const std::string password(user.size(), 'p');
        FakeHost host;
        ASSERT_TRUE(ScanOne(host, "http://bookmark.invalid:8080/path?q=1", user, password));
        EXPECT_EQ(host.list.Status(0), "Proxy Authorization Req.");
        const std::string line =
            "\r\nProxy-Authorization: Basic " + fw::EncodeBase64(user + ":" + password, 0);
        EXPECT_NE(proxy.Requests().back().find(line + "\r\n"), std::string::npos) << proxy.Requests().back();
    }
}

// Through a real proxy: the right credentials reach the origin; wrong ones are refused by the proxy
// and the origin never sees the request.
TEST_F(ScanProxyTest, TinyproxyWithBasicAuth) {
    if (::access(kTinyproxy, X_OK) != 0)
        GTEST_SKIP() << "tinyproxy is not installed";
    ScriptedServer origin; // before the proxy's port is chosen, so that it cannot take that port
    origin.SetResponses({"HTTP/1.0 404 Not Found\r\n\r\n"});
    const int port = testsupport::UnusedPort();
    std::string config = folder_.Path() + "/tinyproxy.conf";
    std::ofstream(config) << "Port " << port << "\nListen 127.0.0.1\nTimeout 10\nMaxClients 10\n"
                          << "Allow 127.0.0.1\nBasicAuth user pass\nLogLevel Critical\n";
    std::string program = kTinyproxy, daemonOff = "-d", configFlag = "-c";
    char* argv[] = {program.data(), daemonOff.data(), configFlag.data(), config.data(), nullptr};
    // At LogLevel Critical it writes nothing, unless it cannot start.
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, kTinyproxy, nullptr, nullptr, argv, environ), 0);
    proxyPid_ = pid;
    Globals::proxyPort = fw::Str(port);
    ASSERT_TRUE(testsupport::SpinUntil([port] { return Listening(port); }));

    const std::string url = "http://127.0.0.1:" + std::to_string(origin.Port()) + "/page";
    FakeHost allowed;
    ASSERT_TRUE(ScanOne(allowed, url, "user", "pass"));
    EXPECT_EQ(allowed.list.Status(0), "Not Found");
    FakeHost refused;
    ASSERT_TRUE(ScanOne(refused, url, "user", "wrong"));
    EXPECT_EQ(origin.Connections(), 1);
    // tinyproxy 1.11 refuses wrong credentials with 401, a missing header with 407.
    const std::string code = refused.list.Cell(0, ScanRows::kCodeColumn);
    EXPECT_TRUE(code == "401" || code == "407") << code;
}

} // namespace
