// The TCP socket beneath the HTTP client (whose tests cover the exchange, TLS and the common failures):
// what the client does not reach by itself.
#include "EventLoop.h"
#include "framework/TCPSocket.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// Writes every event into a log that outlives the socket; sends a request once connected.
class RecordingSocket : public fw::TCPSocket {
public:
    explicit RecordingSocket(std::shared_ptr<Events> log) : log_(std::move(log)) {}

protected:
    void Event_Connected() override {
        Write("ping\r\n\r\n");
        log_->push_back("connected");
    }
    void Event_DataAvailable() override { log_->push_back("data"); }
    void Event_Error(int code) override { log_->push_back("error " + std::to_string(code)); }

private:
    std::shared_ptr<Events> log_;
};

class TCPSocketTest : public ::testing::Test {
protected:
    void Start(const std::string& address, int port, bool secure = false) {
        socket = std::make_unique<RecordingSocket>(log);
        socket->Address = address;
        socket->Port = port;
        socket->Secure = secure;
        socket->Connect();
    }

    std::shared_ptr<Events> log = std::make_shared<Events>();
    std::unique_ptr<RecordingSocket> socket;
};

// Lookahead leaves the bytes, Read and ReadAll consume them, and what arrived before the remote end closed
// stays readable. Failures come later than Connect, by code: a name ending in a dot, port 0, a certificate
// for another name. A socket destroyed while connecting, or with an error still queued, reports nothing.
TEST_F(TCPSocketTest, BytesFailuresAndSocketsDestroyedInFlight) {
    testsupport::ScriptedServer server;
    server.SetResponses({"hello world"});
    Start("127.0.0.1", server.Port());
    ASSERT_TRUE(testsupport::SpinUntil([&] { return !log->empty() && log->back() == "error 102"; }));
    EXPECT_EQ((Events{socket->Lookahead(), socket->Read(6), socket->ReadAll()}), (Events{"hello world", "hello ", "world"}));

    const auto elsewhere = testsupport::MakeSelfSignedCertificate("DNS:elsewhere.invalid");
    fw::TCPSocket::AddTrustedCertificatePem(elsewhere.certificatePem);
    testsupport::ScriptedServer tls;
    tls.UseTls(elsewhere);
    const std::vector<std::tuple<std::string, int, bool, int>> cases{
        {"Host.INVALID.", 80, false, 103}, {"127.0.0.1", 0, false, 107}, {"127.0.0.1", tls.Port(), true, 104}};
    for (const auto& [address, port, secure, code] : cases) {
        log->clear();
        Start(address, port, secure);
        EXPECT_TRUE(log->empty()) << address;
        ASSERT_TRUE(testsupport::SpinUntil([&] { return !log->empty(); })) << address;
        EXPECT_EQ(*log, Events{"error " + std::to_string(code)});
    }

    log->clear();
    for (int port : {server.Port(), 0}) {
        Start("127.0.0.1", port);
        socket.reset();
    }
    testsupport::ProcessPendingEvents();
    EXPECT_TRUE(log->empty());
}

} // namespace
