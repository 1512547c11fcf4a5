// The TCP socket beneath the HTTP client (whose tests cover the exchange, the reads, TLS and the common
// failures): what the client does not reach by itself.
#include "EventLoop.h"
#include "framework/files/TCPSocket.h"
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
    RecordingSocket(std::shared_ptr<Events> log, int port, bool secure) : log_(std::move(log)) {
        Address = "127.0.0.1";
        Port = port;
        Secure = secure;
        Connect();
    }

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

// A trusted certificate made for another name fails as code 104, after Connect returned. A socket
// destroyed while connecting, or with an error still queued, reports nothing.
TEST(TCPSocketTest, CertificateForAnotherNameAndSocketsDestroyedInFlight) {
    const auto log = std::make_shared<Events>();
    const auto elsewhere = testsupport::MakeSelfSignedCertificate("DNS:elsewhere.invalid");
    fw::TCPSocket::AddTrustedCertificatePem(elsewhere.certificatePem);
    testsupport::ScriptedServer tls;
    tls.UseTls(elsewhere);
    auto socket = std::make_unique<RecordingSocket>(log, tls.Port(), true);
    EXPECT_TRUE(log->empty());
    ASSERT_TRUE(testsupport::SpinUntil([&] { return !log->empty(); }));
    EXPECT_EQ(*log, Events{"error 104"});

    log->clear();
    testsupport::ScriptedServer server;
    for (int port : {server.Port(), 0})
        socket = std::make_unique<RecordingSocket>(log, port, false);
    socket.reset();
    testsupport::ProcessPendingEvents();
    EXPECT_TRUE(log->empty());
}

} // namespace
