// One epoll set for the plain sockets of the main thread, watched by the event loop through a single
// notifier. Internal to the framework.
#pragma once

#include <cstdint>
#include <memory>

namespace fw {

class SocketWatcher {
public:
    // events: the EPOLL* bits that are ready. The watcher may unwatch itself, or any other, inside.
    virtual void SocketReady(std::uint32_t events) = 0;

protected:
    ~SocketWatcher() = default;
};

// A scan opens a socket per row: watched here, each costs an epoll_ctl instead of a notifier object
// registered with, and removed from, the event loop.
class SocketPoller {
public:
    static SocketPoller& Instance();

    // Level-triggered. The poller holds the watcher weakly and keeps it alive while it reports to it.
    // Returns the watch's key, never reused; 0 when the descriptor cannot be watched (errno set).
    std::uint64_t Watch(int fd, std::uint32_t events, std::weak_ptr<SocketWatcher> watcher);
    bool Change(int fd, std::uint64_t key, std::uint32_t events);
    // Before the descriptor is closed; events already collected for it are dropped.
    void Unwatch(std::uint64_t key);

private:
    SocketPoller();
    ~SocketPoller();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
