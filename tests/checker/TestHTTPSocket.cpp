#include "EventLoop.h"
#include "checker/HTTPSocket.h"
#include "framework/Text.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using testsupport::ScriptedServer;
using testsupport::SpinUntil;
using Events = std::vector<std::string>;

namespace {

const std::string kOk = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

struct Record {
    Events events;
    InternetHeaders headers;
    std::string page;
};

class RecordingHTTP : public HTTPSocket {
public:
    explicit RecordingHTTP(std::shared_ptr<Record> record) : record_(std::move(record)) {}
    // Given when the server asks for them; an empty user gives none.
    std::pair<std::string, std::string> credentials;
    std::function<void()> onHeaders;

protected:
    void Event_Connected() override { record_->events.push_back("connected"); }
    void Event_Error(int code) override { record_->events.push_back("error " + std::to_string(code)); }
    void Event_HeadersReceived(const InternetHeaders& headers, int status) override {
        record_->events.push_back("headers " + std::to_string(status));
        record_->headers = headers;
        if (onHeaders)
            onHeaders();
    }
    bool Event_AuthenticationRequired(const InternetHeaders& headers, std::string& user,
                                      std::string& password) override {
        record_->events.push_back("auth " + headers.Value("WWW-Authenticate"));
        std::tie(user, password) = credentials;
        return !user.empty();
    }
    void Event_ReceiveProgress(int received, int total, const std::string& /*piece*/) override {
        record_->events.push_back("progress " + std::to_string(received) + "/" + std::to_string(total));
    }
    void Event_PageReceived(const std::string& url, int status, const InternetHeaders& /*headers*/,
                            const std::string& body) override {
        record_->events.push_back("page " + std::to_string(status) + " " + url);
        record_->page = body;
    }

private:
    std::shared_ptr<Record> record_;
};

// One client for all requests of a test, as the version check uses one; URLs without a port reach the
// server.
class HTTPSocketTest : public ::testing::Test {
protected:
    void SetUp() override { client->DefaultPort = server.Port(); }

    std::string Local() const { return "127.0.0.1:" + std::to_string(server.Port()); }
    // Waits until an event beginning with prefix, or an error, which ends any request, has arrived.
    bool WaitForEvent(const std::string& prefix) {
        return SpinUntil([&] {
            return std::ranges::any_of(record->events, [&](const std::string& e) {
                return e.starts_with(prefix) || e.starts_with("error");
            });
        });
    }
    // Sends a HEAD request for url, the server answering with response (an empty one keeps its
    // script); returns the request's events once it has ended.
    Events Head(const std::string& url, const std::string& response = {}, bool closeAfter = true) {
        if (!response.empty())
            server.SetResponses({response}, closeAfter);
        record->events.clear();
        client->GetHeaders(url);
        EXPECT_TRUE(WaitForEvent("headers")) << url;
        return record->events;
    }
    static std::string Request(const std::string& line, const std::string& headers) {
        return line + " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n" + headers + "\r\n\r\n";
    }

    ScriptedServer server;
    std::shared_ptr<Record> record = std::make_shared<Record>();
    std::unique_ptr<RecordingHTTP> client = std::make_unique<RecordingHTTP>(record);
};

} // namespace

// How a URL is split: no path gives "/" and the default port, a named port stays in Host, query and
// fragment stay in the path, a missing or foreign scheme changes nothing. Through a proxy (port 0 meaning
// the default) the request carries the absolute URL, also for https, and the headers set on the client.
TEST_F(HTTPSocketTest, SendsTheRequestAsTheURLSays) {
    const std::string host = "Host: " + Local(), auth = "\r\nProxy-Authorization: Basic dTpw";
    const std::string page = "/dir/page.html?q=a%20b&x=1#top";
    const std::vector<std::tuple<std::string, int, std::string, std::string>> cases{
        {"http://127.0.0.1", -1, "HEAD /", "Host: 127.0.0.1"},
        {"http://" + Local() + page, -1, "HEAD " + page, host},
        {Local() + "/bare", -1, "HEAD /bare", host},
        {"ftp://" + Local() + "/file", -1, "HEAD /file", host},
        {"http://example.invalid:8080/p?x=1", server.Port(), "HEAD http://example.invalid:8080/p?x=1",
         "Host: example.invalid:8080" + auth},
        {"https://secure.invalid/", 0, "HEAD https://secure.invalid/", "Host: secure.invalid" + auth}};
    Events expected;
    for (const auto& [url, proxyPort, line, headers] : cases) {
        if (proxyPort >= 0) {
            client->SetRequestHeader("Proxy-Authorization", "Basic dTpw");
            client->HTTPProxyAddress = "127.0.0.1";
            client->HTTPProxyPort = proxyPort;
        }
        EXPECT_EQ(Head(url), (Events{"connected", "headers 200"})) << url;
        expected.push_back(Request(line, headers));
    }
    EXPECT_EQ(server.Requests(), expected);
}

// The status is the second blank-separated field, and header blocks end in CR LF, LF or CR pairs; a
// server that closes before the end of the header block causes no event but Connected.
TEST_F(HTTPSocketTest, ReadsStatusLinesAndLineEndsAsServersSendThem) {
    const std::string url = "http://" + Local() + "/";
    EXPECT_EQ(Head(url, "HTTP/1.0  200 OK\r\n\r\n").back(), "headers 0");
    EXPECT_EQ(Head(url, "HTTP/1.0\r\n\r\n").back(), "headers 0");
    EXPECT_EQ(Head(url, "HTTP/1.1 200 OK\r\nX: y\r\n\r\nbody is not read").back(), "headers 200");
    EXPECT_EQ(Head(url, "HTTP/1.0 404 Not Found\nContent-Length: 12\n\n").back(), "headers 404");
    EXPECT_EQ(record->headers.Value("Content-Length"), "12");
    EXPECT_EQ(Head(url, "HTTP/1.0 500 Oops\rServer: cr\r\r").back(), "headers 500");
    EXPECT_EQ(record->headers.Value("server"), "cr");

    server.SetResponses({"HTTP/1.0 200 OK\r\nServer: half"});
    record->events.clear();
    client->GetHeaders(url);
    ASSERT_TRUE(SpinUntil([&] { return !record->events.empty() && !client->IsConnected(); }));
    testsupport::ProcessPendingEvents();
    EXPECT_EQ(record->events, Events{"connected"});
}

// A 401 is reported as it is after AuthenticationRequired when the handler gives no credentials;
// credentials repeat the request once with Authorization on one line, and the next request goes
// without them.
TEST_F(HTTPSocketTest, CredentialsGoWithOneRepeatedRequest) {
    const std::string url = "http://" + Local() + "/p", password(300, 'p');
    server.SetResponses({"HTTP/1.0 401 No\r\nWWW-Authenticate: Basic realm=x\r\n\r\n",
                         "HTTP/1.0 401 No\r\nWWW-Authenticate: Basic\r\n\r\n", kOk});
    EXPECT_EQ(Head(url), (Events{"connected", "auth Basic realm=x", "headers 401"}));
    client->credentials = {"user", password};
    EXPECT_EQ(Head(url), (Events{"connected", "auth Basic", "connected", "headers 200"}));
    Head(url);
    const std::string plain = Request("HEAD /p", "Host: " + Local());
    const std::string authorized = Request("HEAD /p", "Host: " + Local() + "\r\nAuthorization: Basic " +
                                                          fw::EncodeBase64("user:" + password, 0));
    EXPECT_EQ(server.Requests(), (Events{plain, plain, authorized, plain}));
}

// https URLs (in any letter case) go over TLS with the certificate checked: untrusted is error 104.
// Other failures before a connection arrive as Error with the socket's code, a port past 16 bits
// included; https without a port goes to 443.
TEST_F(HTTPSocketTest, HttpsIsVerifiedAndConnectFailuresArriveAsErrors) {
    const auto trusted = testsupport::MakeSelfSignedCertificate("IP:127.0.0.1");
    fw::TCPSocket::AddTrustedCertificatePem(trusted.certificatePem);
    server.UseTls(trusted);
    ScriptedServer untrusted;
    untrusted.UseTls(testsupport::MakeSelfSignedCertificate("IP:127.0.0.1"));
    EXPECT_EQ(Head("HTTPS://" + Local() + "/s"), (Events{"connected", "headers 200"}));
    const testsupport::RefusingPort refusing;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"https://127.0.0.1:" + std::to_string(untrusted.Port()) + "/", "error 104"},
        {"http://127.0.0.1:" + std::to_string(refusing.Port()) + "/", "error 102"},
        {"http://127.0.0.1:70000/", "error 107"},
        {"https://nowhere.invalid/", "error 103"}};
    for (const auto& [url, expected] : cases)
        EXPECT_EQ(Head(url), Events{expected}) << url;
    EXPECT_EQ(client->Port, 443);
}

// A header block up to 64 KiB is read; a longer one ends the request as status 0 and the client
// closes the connection.
TEST_F(HTTPSocketTest, OversizedHeaderBlockEndsAsStatusZero) {
    const std::string padding = "X-Pad: " + std::string(60 * 1024, 'a') + "\r\n";
    EXPECT_EQ(Head("http://" + Local() + "/", "HTTP/1.0 200 OK\r\n" + padding + "\r\n").back(),
              "headers 200");

    // Without an end, and with one that comes too late.
    for (const std::string ending : {"", "\r\n"}) {
        const int closed = server.ClosedByClient();
        EXPECT_EQ(Head("http://" + Local() + "/", "HTTP/1.0 200 OK\r\n" + padding + padding + ending, false),
                  (Events{"connected", "headers 0"}));
        EXPECT_TRUE(SpinUntil([&] { return server.ClosedByClient() == closed + 1; }));
        EXPECT_FALSE(client->IsConnected());
    }
}

// GET collects the body with progress and finishes the page at the end of the connection; a page
// never grows past its cap: it ends there and the client closes the connection.
TEST_F(HTTPSocketTest, GetDeliversThePageUpToItsCap) {
    server.SetResponses({"HTTP/1.0 200 OK\r\nContent-Length: 11\r\n\r\nhello world"});
    const std::string url = "http://" + Local() + "/version.txt";
    client->Get(url);
    ASSERT_TRUE(WaitForEvent("page"));
    EXPECT_EQ(record->events, (Events{"connected", "headers 200", "progress 11/11", "page 200 " + url}));
    EXPECT_EQ(record->page, "hello world");
    EXPECT_EQ(server.Requests(), Events{Request("GET /version.txt", "Host: " + Local())});

    server.SetResponses({kOk + std::string(1536 * 1024, 'x')}, false);
    record->events.clear();
    client->Get("http://" + Local() + "/big");
    ASSERT_TRUE(WaitForEvent("page"));
    EXPECT_EQ(record->page.size(), 1024u * 1024);
    EXPECT_TRUE(SpinUntil([&] { return server.ClosedByClient() == 1; }));
}

// Closing or destroying the client inside HeadersReceived (as the result sink does) ends the
// request: no progress, no page, no crash.
TEST_F(HTTPSocketTest, HandlerMayCloseOrDestroyTheClient) {
    server.SetResponses({kOk + "a body that follows at once"});
    for (bool destroy : {false, true}) {
        record->events.clear();
        client->onHeaders = [this, destroy] {
            if (destroy)
                client.reset();
            else
                client->Close();
        };
        client->Get("http://" + Local() + "/");
        ASSERT_TRUE(WaitForEvent("headers"));
        testsupport::ProcessPendingEvents();
        EXPECT_EQ(record->events, (Events{"connected", "headers 200"}));
    }
}
