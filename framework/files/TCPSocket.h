// The framework's TCP socket: an asynchronous client connection, plain or TLS, with its events raised
// on the main event loop. Incoming bytes wait in the socket until its owner reads them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace fw {

class TCPSocketDispatch;

class TCPSocket {
public:
    // Error codes reported through Event_Error and LastErrorCode.
    static constexpr int OpenDriverError = 100; // no socket could be opened at all
    static constexpr int LostConnection = 102;  // refused, reset, lost, or closed by the remote end
    static constexpr int NameResolutionError = 103;
    static constexpr int SecureChannelError = 104; // TLS handshake or certificate failure
    static constexpr int AddressInUseError = 105;
    static constexpr int InvalidStateError = 106;
    static constexpr int InvalidPortError = 107; // 0, negative or above 65535
    static constexpr int OutOfMemoryError = 108;

    TCPSocket();
    virtual ~TCPSocket();
    TCPSocket(const TCPSocket&) = delete;
    TCPSocket& operator=(const TCPSocket&) = delete;

    std::string Address;
    int Port = 0;
    // Connect with TLS, verifying the certificate and the host name against Address.
    bool Secure = false;

    // Starts connecting to Address and Port; any earlier connection is closed first.
    // The outcome arrives later as Connected or Error, never inside this call.
    void Connect();
    void Write(const std::string& bytes);
    // Unread bytes, left in place.
    std::string Lookahead() const;
    std::size_t BytesAvailable() const;
    // Consume up to n unread bytes / all of them.
    std::string Read(std::size_t n);
    std::string ReadAll();
    // Ends the connection; nothing more is raised for it. Safe inside the socket's own events.
    // Virtual so that a protocol on top learns that its owner ended the exchange.
    virtual void Close();
    // Drops the unread bytes.
    void Purge();
    bool IsConnected() const;
    int LastErrorCode() const;

    // Trusts the PEM certificate(s) in addition to the system's authorities (used by tests).
    static void AddTrustedCertificatePem(const std::string& pem);

protected:
    // A protocol built on the socket overrides the Handle_ hooks; by default each raises its event.
    virtual void Handle_Connected() { Event_Connected(); }
    virtual void Handle_DataAvailable() { Event_DataAvailable(); }
    virtual void Handle_Error(int code) { Event_Error(code); }

    // The connection is made (for TLS: after the handshake).
    virtual void Event_Connected() {}
    virtual void Event_DataAvailable() {}
    // A failure, or the end of a connection that had been made (LostConnection).
    virtual void Event_Error(int /*code*/) {}

private:
    friend class TCPSocketDispatch;
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

} // namespace fw
