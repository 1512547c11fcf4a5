#include "EventLoop.h"
#include "checker/HTTPResponseHead.h"
#include "checker/HTTPSocket.h"
#include "framework/text/Text.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace quillfen;
using testsupport::ScriptedServer, testsupport::SpinUntil;
using Events = std::vector<std::string>;

namespace {

const std::string kOk = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

struct Record {
    Events events;
    InternetHeaders headers;
    std::string page;
};

struct RecordingHTTP : HTTPSocket {
    explicit RecordingHTTP(std::shared_ptr<Record> record) : record_(std::move(record)) {}
    // Given when the server asks for them; an empty user gives none.
    std::pair<std::string, std::string> credentials;
    std::function<void()> onHeaders;
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
    void Event_ReceiveProgress(int, int, const std::string&) override {
        record_->events.push_back("progress");
    }
    void Event_PageReceived(const std::string&, int, const InternetHeaders&,
                            const std::string& page) override {
        record_->events.push_back("page");
        record_->page = page;
    }
    std::shared_ptr<Record> record_;
};

// One client for all requests of a test, as the version check uses one; URLs without a port reach the
// server.
class HTTPSocketTest : public ::testing::Test {
protected:
    void SetUp() override { client->DefaultPort = server.Port(); }

    std::string Local() const { return "127.0.0.1:" + std::to_string(server.Port()); }
    // Sends a HEAD (or GET) request for url, the server answering with response (an empty one keeps its
    // script); returns the request's events once its headers or an error, which ends any request, came.
    Events Head(const std::string& url, const std::string& response = {}, bool closeAfter = true,
                bool get = false) {
        if (!response.empty())
            server.SetResponses({response}, closeAfter);
        record->events.clear();
        get ? client->Get(url) : client->GetHeaders(url);
        EXPECT_TRUE(SpinUntil([&] {
            return std::ranges::any_of(record->events, [](const std::string& e) {
                return e.starts_with("headers") || e.starts_with("error");
            });
        })) << url;
        return record->events;
    }
    static std::string Request(const std::string& line, const std::string& headers) {
        return line + " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n" + headers + "\r\n\r\n";
    }

    ScriptedServer server;
    std::shared_ptr<Record> record = std::make_shared<Record>();
    std::unique_ptr<RecordingHTTP> client = std::make_unique<RecordingHTTP>(record);
};

// How a URL is split: no path gives "/" and the default port, a named port stays in Host, query and
// fragment stay in the path; a host name is looked up. Through a proxy (port 0 meaning the default) the
// request carries the absolute URL, also for https, and the headers set on the client.
TEST_F(HTTPSocketTest, SendsTheRequestAsTheURLSays) {
    const std::string host = "Host: " + Local(), auth = "\r\nProxy-Authorization: Basic dTpw";
    const std::string page = "/dir/page.html?q=a%20b&x=1#top";
    const std::vector<std::tuple<std::string, int, std::string, std::string>> cases{
        {"http://127.0.0.1", -1, "HEAD /", "Host: 127.0.0.1"},
        {"http://" + Local() + page, -1, "HEAD " + page, host},
        {"http://localhost/", -1, "HEAD /", "Host: localhost"},
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

// Responses as servers send them: the status is the second blank-separated field, and the header block
// ends at its first blank line, whatever mix of CR LF, LF and CR ends its lines, also when the page holds
// a blank line of another kind. Each with its status, Server header and page.
const std::vector<std::tuple<std::string, int, std::string, std::string>> kResponses{
    {"HTTP/1.1 200 OK\r\nServer: crlf\r\n\r\npage", 200, "crlf", "page"},
    {"HTTP/1.0 200 OK\nServer: lf\n\n1*999*line\r\n\r\nmore", 200, "lf", "1*999*line\r\n\r\nmore"},
    {"HTTP/1.0 404 Not Found\nServer: lf-crlf\n\r\npage\n\n", 404, "lf-crlf", "page\n\n"},
    {"HTTP/1.0 200 OK\r\nServer: crlf-lf\r\n\n\r\n\r\n", 200, "crlf-lf", "\r\n\r\n"},
    {"HTTP/1.0 500 Oops\rServer: cr\r\rpage\n\n", 500, "cr", "page\n\n"},
    {"HTTP/1.0 301 Moved\nServer: mixed\r\nLocation: x\n\n", 301, "mixed", ""},
    {"HTTP/1.0  200 OK\r\n\r\n", 0, "", ""},
    {"HTTP/1.0\n\npage", 0, "", "page"}};

// The end found in any first part of a response, as packets may split it, is none or the end of the
// whole; the parts before and after it give the status, the headers and the page.
TEST(HTTPResponseHeadTest, HeaderBlockEndsAlikeHoweverTheResponseIsSplit) {
    for (const auto& [bytes, status, serverName, page] : kResponses) {
        const std::optional<HeaderBlockEnd> end = FindHeaderBlockEnd(bytes);
        ASSERT_TRUE(end) << bytes;
        const ResponseHead head = ParseHeaderBlock(std::string_view(bytes).substr(0, end->at));
        EXPECT_EQ(head.status, status) << bytes;
        EXPECT_EQ(head.headers.Value("server"), serverName) << bytes;
        EXPECT_EQ(bytes.substr(end->at + end->length), page) << bytes;
        for (std::size_t split = 0; split <= bytes.size(); ++split) {
            const auto part = FindHeaderBlockEnd(std::string_view(bytes).substr(0, split));
            const bool whole = split >= end->at + end->length;
            EXPECT_EQ(part.has_value(), whole) << bytes << " split at " << split;
            EXPECT_TRUE(!part || (part->at == end->at && part->length == end->length)) << bytes << split;
        }
    }
}

// The same responses through the socket: HEAD reports the status and headers, GET the page. A header
// block up to 64 KiB is read; a longer one, with an end too late or none, ends the request as status 0 and
// the client closes the connection. A server that closes before the end of the header block causes no
// event but Connected.
TEST_F(HTTPSocketTest, ReadsHeaderBlocksAsServersSendThem) {
    const std::string url = "http://" + Local() + "/";
    for (const auto& [bytes, status, serverName, page] : kResponses) {
        EXPECT_EQ(Head(url, bytes).back(), "headers " + std::to_string(status)) << bytes;
        EXPECT_EQ(record->headers.Value("server"), serverName) << bytes;
        client->Get(url);
        EXPECT_TRUE(SpinUntil([&] { return record->events.back() == "page"; })) << bytes;
        EXPECT_EQ(record->page, page) << bytes;
    }
    const std::string padding = "X-Pad: " + std::string(60 * 1024, 'a') + "\r\n";
    EXPECT_EQ(Head(url, "HTTP/1.0 200 OK\r\n" + padding + "Server: big\r\n\r\n").back(), "headers 200");
    EXPECT_EQ(record->headers.Value("server"), "big");
    for (const std::string ending : {"", "\r\n"}) {
        const int closed = server.ClosedByClient();
        EXPECT_EQ(Head(url, "HTTP/1.0 200 OK\r\n" + padding + padding + ending, false),
                  (Events{"connected", "headers 0"}));
        EXPECT_TRUE(SpinUntil([&] { return server.ClosedByClient() == closed + 1; }));
        EXPECT_FALSE(client->IsConnected());
    }
    server.SetResponses({"HTTP/1.0 200 OK\r\nServer: half"});
    record->events.clear();
    client->GetHeaders(url);
    ASSERT_TRUE(SpinUntil([&] { return !record->events.empty() && !client->IsConnected(); }));
    testsupport::ProcessPendingEvents();
    EXPECT_EQ(record->events, Events{"connected"});
}

// A URL holding a blank or a control character (a line end that a reference decoded to, say), or a host
// with escapes, sends nothing, also through a proxy: the request fails as a name that does not resolve.
TEST_F(HTTPSocketTest, SendsNothingThatWouldSplitTheRequest) {
    for (const int proxyPort : {-1, server.Port()}) {
        client->HTTPProxyAddress = proxyPort < 0 ? "" : "127.0.0.1";
        client->HTTPProxyPort = proxyPort;
        for (const std::string& url :
             {std::string("http://127.0.0.1\r\nX-Split: 1/"), std::string("http://127.0.0.1%0D%0AX:%201/"),
              "http://" + Local() + "/a b", "http://" + Local() + "\x7F/"})
            EXPECT_EQ(Head(url), Events{"error 103"}) << url;
    }
    EXPECT_EQ(server.Connections(), 0);
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

// https URLs (in any letter case) go over TLS with the certificate checked: untrusted, or trusted but made
// for another name, is error 104.
// Other failures before a connection arrive as Error with the socket's code, a port past 16 bits
// included; https without a port goes to 443.
TEST_F(HTTPSocketTest, HttpsIsVerifiedAndConnectFailuresArriveAsErrors) {
    const auto trusted = testsupport::MakeSelfSignedCertificate("IP:127.0.0.1");
    fw::TCPSocket::AddTrustedCertificatePem(trusted.certificatePem);
    server.UseTls(trusted);
    ScriptedServer untrusted, elsewhere;
    untrusted.UseTls(testsupport::MakeSelfSignedCertificate("IP:127.0.0.1"));
    const auto elsewhereCertificate = testsupport::MakeSelfSignedCertificate("DNS:elsewhere.invalid");
    fw::TCPSocket::AddTrustedCertificatePem(elsewhereCertificate.certificatePem);
    elsewhere.UseTls(elsewhereCertificate);
    EXPECT_EQ(Head("HTTPS://" + Local() + "/s"), (Events{"connected", "headers 200"}));
    const testsupport::RefusingPort refusing;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"https://127.0.0.1:" + std::to_string(untrusted.Port()) + "/", "error 104"},
        {"https://127.0.0.1:" + std::to_string(elsewhere.Port()) + "/", "error 104"},
        {"http://127.0.0.1:" + std::to_string(refusing.Port()) + "/", "error 102"},
        {"http://127.0.0.1:70000/", "error 107"},
        {"https://nowhere.invalid/", "error 103"}};
    for (const auto& [url, expected] : cases)
        EXPECT_EQ(Head(url), Events{expected}) << url;
    EXPECT_EQ(client->Port, 443);
}

// Closing or destroying the client inside HeadersReceived (as the result sink does) ends the
// request: no progress, no page, no crash. A client destroyed while it connects, or with an error still
// queued, reports nothing.
TEST_F(HTTPSocketTest, HandlerMayCloseOrDestroyTheClient) {
    server.SetResponses({kOk + "a body that follows at once"});
    for (bool destroy : {false, true}) {
        client->onHeaders = [this, destroy] { destroy ? client.reset() : client->Close(); };
        Head("http://" + Local() + "/", {}, true, true);
        testsupport::ProcessPendingEvents();
        EXPECT_EQ(record->events, (Events{"connected", "headers 200"}));
    }
    record->events.clear();
    for (const std::string& url : {"http://" + Local() + "/", std::string("http://127.0.0.1:70000/")}) {
        client = std::make_unique<RecordingHTTP>(record);
        client->GetHeaders(url);
    }
    client.reset();
    testsupport::ProcessPendingEvents();
    EXPECT_TRUE(record->events.empty());
}

} // namespace
