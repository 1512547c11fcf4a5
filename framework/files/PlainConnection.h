// A TCP client connection without TLS: one non-blocking socket watched by the SocketPoller, so a
// connection costs a few system calls and no object of the event loop. Internal to the framework.
#pragma once

#include "framework/files/SocketPoller.h"
#include "framework/files/UniqueFd.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <vector>

namespace fw {

class PlainConnection final : public SocketWatcher, public std::enable_shared_from_this<PlainConnection> {
public:
    // Where the outcome goes; each call may close the connection. Codes are TCPSocket's.
    class Events {
    public:
        virtual void ConnectionMade() = 0;
        virtual void BytesArrived(std::string_view bytes) = 0;
        // A failure to connect, or the end of a connection that was made.
        virtual void ConnectionFailed(int code) = 0;

    protected:
        ~Events() = default;
    };

    // Owned through a shared pointer: the poller and the resolver hold it weakly.
    explicit PlainConnection(Events& events);
    ~PlainConnection();
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    // Resolves host (a literal address at once, a name through the system's resolver, whose answers
    // Qt caches) and connects to each of its addresses in turn. Nothing is reported inside this call.
    void Open(const std::string& host, int port);
    // Sent now when the socket takes it, the rest as it drains; before the connection is made, queued.
    // A failure is reported from the event loop, never inside this call.
    void Write(std::string_view bytes);
    // Nothing more is reported.
    void Close();

    void SocketReady(std::uint32_t events) override;

private:
    struct Address {
        sockaddr_storage storage;
        socklen_t length;
    };
    static std::optional<Address> LiteralAddress(const std::string& host, int port);
    void Addresses(std::vector<Address> addresses);
    // 0 when an attempt is under way, else the code of the last attempt's failure.
    int ConnectNext();
    void FailLater(int code);
    void Fail(int code);
    void Made(std::uint32_t events);
    void Flush();
    void Receive();
    void CloseSocket();
    bool Watching(std::uint32_t events);

    Events* events_; // null once closed
    UniqueFd fd_;
    std::uint64_t watch_ = 0;
    std::uint32_t watched_ = 0;
    std::vector<Address> addresses_;
    std::size_t next_ = 0;
    int lastErrno_ = 0;
    bool connected_ = false;
    std::string pending_;
};

} // namespace fw
