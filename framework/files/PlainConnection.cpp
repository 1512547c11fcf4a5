#include "framework/files/PlainConnection.h"

#include "framework/files/TCPSocket.h"

#include <QCoreApplication>
#include <QHostInfo>

#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <charconv>
#include <net/if.h>
#include <netinet/in.h>
#include <optional>
#include <sys/epoll.h>

namespace fw {
namespace {

constexpr std::uint32_t kConnecting = EPOLLOUT;
constexpr std::uint32_t kReading = EPOLLIN;
constexpr std::uint32_t kWriting = EPOLLOUT;
constexpr std::size_t kReadChunk = 16 * 1024;
// Read per wake-up, so that a fast peer cannot keep the event loop from everything else.
constexpr int kChunksPerWake = 16;

// What the socket layer reports for an address that could not be reached.
int CodeForErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EADDRNOTAVAIL:
    case EAFNOSUPPORT:
    case EPROTONOSUPPORT:
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
        return TCPSocket::OpenDriverError;
    case EADDRINUSE:
        return TCPSocket::AddressInUseError;
    default:
        return TCPSocket::LostConnection;
    }
}

} // namespace

// IPv4 dotted or IPv6 with an optional "%interface" (as the resolver writes a link-local address);
// anything else is a name for the resolver.
std::optional<PlainConnection::Address> PlainConnection::LiteralAddress(const std::string& host, int port) {
    Address entry{};
    auto& in = reinterpret_cast<sockaddr_in&>(entry.storage);
    if (::inet_pton(AF_INET, host.c_str(), &in.sin_addr) == 1) {
        in.sin_family = AF_INET;
        in.sin_port = htons(static_cast<std::uint16_t>(port));
        entry.length = sizeof in;
        return entry;
    }
    const std::size_t percent = host.find('%');
    auto& in6 = reinterpret_cast<sockaddr_in6&>(entry.storage);
    if (::inet_pton(AF_INET6, host.substr(0, percent).c_str(), &in6.sin6_addr) != 1)
        return std::nullopt;
    if (percent != std::string::npos) {
        const std::string scope = host.substr(percent + 1);
        in6.sin6_scope_id = ::if_nametoindex(scope.c_str());
        if (in6.sin6_scope_id == 0 &&
            std::from_chars(scope.data(), scope.data() + scope.size(), in6.sin6_scope_id).ec != std::errc())
            return std::nullopt;
    }
    in6.sin6_family = AF_INET6;
    in6.sin6_port = htons(static_cast<std::uint16_t>(port));
    entry.length = sizeof in6;
    return entry;
}

PlainConnection::PlainConnection(Events& events) : events_(&events) {}

PlainConnection::~PlainConnection() {
    Close();
}

void PlainConnection::Open(const std::string& host, int port) {
    if (std::optional<Address> literal = LiteralAddress(host, port)) {
        addresses_ = {*literal};
        if (const int failure = ConnectNext())
            FailLater(failure);
        return;
    }
    QHostInfo::lookupHost(QString::fromStdString(host), QCoreApplication::instance(),
                          [weak = weak_from_this(), port](const QHostInfo& info) {
                              const std::shared_ptr<PlainConnection> self = weak.lock();
                              if (!self || self->events_ == nullptr)
                                  return;
                              std::vector<Address> addresses;
                              for (const QHostAddress& address : info.addresses())
                                  if (auto numeric = LiteralAddress(address.toString().toStdString(), port))
                                      addresses.push_back(*numeric);
                              self->Addresses(std::move(addresses));
                          });
}

void PlainConnection::Addresses(std::vector<Address> addresses) {
    if (addresses.empty())
        return Fail(TCPSocket::NameResolutionError);
    addresses_ = std::move(addresses);
    if (const int failure = ConnectNext())
        Fail(failure);
}

int PlainConnection::ConnectNext() {
    CloseSocket();
    while (next_ < addresses_.size()) {
        const Address& address = addresses_[next_++];
        fd_ = UniqueFd(::socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd_.Valid()) {
            lastErrno_ = errno;
            continue;
        }
        const int result =
            ::connect(fd_.Get(), reinterpret_cast<const sockaddr*>(&address.storage), address.length);
        // Interrupted, a non-blocking connect goes on by itself; made at once, the socket is writable.
        if ((result == 0 || errno == EINPROGRESS || errno == EINTR) && Watching(kConnecting))
            return 0;
        lastErrno_ = errno;
        CloseSocket();
    }
    return CodeForErrno(lastErrno_);
}

bool PlainConnection::Watching(std::uint32_t events) {
    if (watch_ != 0 && events == watched_)
        return true;
    const bool watching =
        watch_ != 0 ? SocketPoller::Instance().Change(fd_.Get(), watch_, events)
                    : (watch_ = SocketPoller::Instance().Watch(fd_.Get(), events, weak_from_this())) != 0;
    if (watching)
        watched_ = events;
    return watching;
}

void PlainConnection::CloseSocket() {
    if (watch_ != 0)
        SocketPoller::Instance().Unwatch(std::exchange(watch_, 0));
    fd_.Reset();
}

void PlainConnection::FailLater(int code) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak = weak_from_this(), code] {
            if (const std::shared_ptr<PlainConnection> self = weak.lock(); self && self->events_ != nullptr)
                self->Fail(code);
        },
        Qt::QueuedConnection);
}

void PlainConnection::Fail(int code) {
    Events* events = events_;
    Close();
    if (events != nullptr)
        events->ConnectionFailed(code);
}

void PlainConnection::Close() {
    events_ = nullptr;
    connected_ = false;
    CloseSocket();
    pending_.clear();
}

void PlainConnection::Write(std::string_view bytes) {
    pending_.append(bytes);
    if (connected_)
        Flush();
}

void PlainConnection::SocketReady(std::uint32_t events) {
    if (!connected_)
        return Made(events);
    if (events & EPOLLOUT)
        Flush();
    if (events_ != nullptr && (events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
        Receive();
}

// A connect that failed raises an error or hang-up along with writability; only then is its error read.
void PlainConnection::Made(std::uint32_t events) {
    if (events & (EPOLLERR | EPOLLHUP)) {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd_.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            error = errno;
        lastErrno_ = error != 0 ? error : ECONNRESET;
        if (const int failure = ConnectNext())
            Fail(failure);
        return;
    }
    connected_ = true;
    if (!Watching(kReading | (pending_.empty() ? 0 : kWriting)))
        return Fail(CodeForErrno(errno));
    events_->ConnectionMade();
    if (events_ != nullptr)
        Flush();
}

// A send that fails leaves the bytes queued: the error shows as the socket's own on the next wake-up
// and ends the connection there, outside the owner's call.
void PlainConnection::Flush() {
    while (!pending_.empty()) {
        const ssize_t sent = ::send(fd_.Get(), pending_.data(), pending_.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            break;
        pending_.erase(0, static_cast<std::size_t>(sent));
    }
    Watching(kReading | (pending_.empty() ? 0 : kWriting));
}

// A short read has emptied the socket for now: whatever comes later, the end included, wakes it again.
void PlainConnection::Receive() {
    std::string arrived;
    bool ended = false;
    std::array<char, kReadChunk> chunk;
    for (int i = 0; i < kChunksPerWake; ++i) {
        const ssize_t got = ::recv(fd_.Get(), chunk.data(), chunk.size(), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ended = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        arrived.append(chunk.data(), static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < chunk.size())
            break;
    }
    if (!arrived.empty()) {
        events_->BytesArrived(arrived);
        if (events_ == nullptr)
            return;
    }
    if (ended)
        Fail(TCPSocket::LostConnection);
}

} // namespace fw
