// The TCP socket: byte exchange, connect failures by code, handlers that end their socket, verified TLS.
#include "EventLoop.h"
#include "framework/TCPSocket.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using testsupport::ScriptedServer;
using testsupport::SpinUntil;

namespace {

// Writes every event into a log that outlives the socket, sends a request once connected (the
// scripted server answers its blank line), and runs an optional reaction to each event.
class RecordingSocket : public fw::TCPSocket {
public:
    explicit RecordingSocket(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
    std::function<void(const std::string&)> onEvent;

protected:
    void Event_Connected() override {
        Write("ping\r\n\r\n");
        Record("connected");
    }
    void Event_DataAvailable() override { Record("data"); }
    void Event_Error(int code) override { Record("error " + std::to_string(code)); }

private:
    void Record(const std::string& event) {
        log_->push_back(event);
        if (onEvent)
            onEvent(event);
    }
    std::shared_ptr<std::vector<std::string>> log_;
};

class TCPSocketTest : public ::testing::Test {
protected:
    void Start(const std::string& address, int port, bool secure = false) {
        socket->Address = address;
        socket->Port = port;
        socket->Secure = secure;
        socket->Connect();
    }
    bool WaitFor(const std::string& event) {
        return SpinUntil([&] { return std::ranges::find(*log, event) != log->end(); });
    }

    ScriptedServer server;
    std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
    std::unique_ptr<RecordingSocket> socket = std::make_unique<RecordingSocket>(log);
};

using Events = std::vector<std::string>;

} // namespace

// Bytes wait in the socket: Lookahead leaves them, Read and ReadAll consume; the remote end closing
// is reported as a lost connection, and what it sent before stays readable.
TEST_F(TCPSocketTest, ExchangesBytesAndReportsTheEndOfTheConnection) {
    server.SetResponses({"hello world"});
    Start("127.0.0.1", server.Port());
    ASSERT_TRUE(WaitFor("error 102"));
    EXPECT_EQ(log->front(), "connected");
    EXPECT_EQ(server.Requests(), Events{"ping\r\n\r\n"});
    EXPECT_FALSE(socket->IsConnected());
    // Read left to right, as a braced list is evaluated.
    EXPECT_EQ((Events{socket->Lookahead(), socket->Read(6), socket->ReadAll()}),
              (Events{"hello world", "hello ", "world"}));
    EXPECT_EQ(socket->BytesAvailable(), 0U);
}

// Failures before a connection: refused (102), a reserved unresolvable name (103, answered without
// any DNS server), and out-of-range ports (107), none of them raised inside Connect itself.
TEST_F(TCPSocketTest, ReportsConnectFailuresAsTheirCodes) {
    const testsupport::RefusingPort refusing;
    const std::vector<std::tuple<std::string, int, int>> cases{{"127.0.0.1", refusing.Port(), 102},
                                                               {"no-such-host.invalid", 80, 103},
                                                               {"Host.INVALID.", 80, 103},
                                                               {"127.0.0.1", 0, 107},
                                                               {"127.0.0.1", 70000, 107}};
    for (const auto& [address, port, code] : cases) {
        const std::string expected = "error " + std::to_string(code);
        log->clear();
        Start(address, port);
        EXPECT_TRUE(log->empty()) << address;
        ASSERT_TRUE(WaitFor(expected)) << address << ":" << port;
        EXPECT_EQ(*log, Events{expected});
        EXPECT_EQ(socket->LastErrorCode(), code);
    }
}

// A handler may close or destroy its own socket: nothing more is raised, not even for the server's
// close that follows; a socket destroyed while connecting, or with an error still queued, reports nothing.
TEST_F(TCPSocketTest, EndingTheSocketInsideAHandlerOrInFlightIsSafe) {
    server.SetResponses({"data then close"});
    for (const bool destroy : {false, true}) {
        log->clear();
        socket = std::make_unique<RecordingSocket>(log);
        socket->onEvent = [this, destroy](const std::string& event) {
            if (event == "data")
                destroy ? socket.reset() : socket->Close();
        };
        Start("127.0.0.1", server.Port());
        ASSERT_TRUE(WaitFor("data"));
        testsupport::ProcessPendingEvents();
        EXPECT_EQ(*log, (Events{"connected", "data"})) << destroy;
        EXPECT_TRUE(!socket || !socket->IsConnected());
    }

    log->clear();
    for (int port : {server.Port(), 0}) {
        socket = std::make_unique<RecordingSocket>(log);
        Start("127.0.0.1", port);
        socket.reset();
    }
    testsupport::ProcessPendingEvents();
    EXPECT_TRUE(log->empty());
}

// TLS: Connected comes after a handshake with a trusted certificate that names the host, and data
// flows through the encryption; an untrusted certificate or one for another name fails with 104.
TEST_F(TCPSocketTest, SecureConnectionsVerifyTheCertificate) {
    const auto trusted = testsupport::MakeSelfSignedCertificate("IP:127.0.0.1");
    fw::TCPSocket::AddTrustedCertificatePem(trusted.certificatePem);
    server.UseTls(trusted);
    server.SetResponses({"secret"});
    Start("127.0.0.1", server.Port(), true);
    ASSERT_TRUE(WaitFor("error 102"));
    EXPECT_EQ(log->front(), "connected");
    EXPECT_EQ(socket->ReadAll(), "secret");

    for (const std::string& altName : {std::string("IP:127.0.0.1"), std::string("DNS:elsewhere.invalid")}) {
        const auto certificate = testsupport::MakeSelfSignedCertificate(altName);
        if (altName.starts_with("DNS"))
            fw::TCPSocket::AddTrustedCertificatePem(certificate.certificatePem);
        ScriptedServer tlsServer;
        tlsServer.UseTls(certificate);
        log->clear();
        Start("127.0.0.1", tlsServer.Port(), true);
        ASSERT_TRUE(WaitFor("error 104")) << altName;
        EXPECT_EQ(*log, Events{"error 104"});
    }
}
