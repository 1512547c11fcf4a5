// Test peers on 127.0.0.1: a TCP server (plain or TLS) that answers every request with scripted bytes and
// records what it received, a port that refuses connections, and certificates made for a test.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

struct TestCertificate {
    std::string certificatePem, keyPem;
};
// A fresh self-signed certificate, made with openssl; subjectAltName as openssl takes it ("IP:127.0.0.1").
TestCertificate MakeSelfSignedCertificate(const std::string& subjectAltName);

class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }
    // Connection i receives responses[i] (the last one for every later connection) once its request
    // is complete (a blank line has arrived). With closeAfter the server then closes the connection.
    // Until set, every connection gets "HTTP/1.0 200 OK" and no headers, and is closed.
    void SetResponses(std::vector<std::string> responses, bool closeAfter = true) {
        responses_ = std::move(responses);
        closeAfter_ = closeAfter;
    }
    void UseTls(const TestCertificate& certificate);

    std::vector<std::string> Requests() const { return requests_; } // bytes received, one a connection
    int Connections() const { return static_cast<int>(requests_.size()); }
    int ClosedByClient() const { return closedByClient_; }

private:
    struct Impl;
    // What the server answers and records; declared before it, so they outlive its sockets.
    std::vector<std::string> responses_{"HTTP/1.0 200 OK\r\n\r\n"}, requests_;
    bool closeAfter_ = true;
    int closedByClient_ = 0, port_ = 0;
    std::unique_ptr<Impl> impl_;
};

// Bound and never listened on, so no other test or server can take it while the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    int Port() const { return port_; }

private:
    int fd_ = -1, port_ = 0;
};

} // namespace testsupport
