#include "framework/files/SocketPoller.h"

#include "framework/files/UniqueFd.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <array>
#include <sys/epoll.h>
#include <unordered_map>

namespace fw {

struct SocketPoller::Impl {
    UniqueFd epoll{::epoll_create1(EPOLL_CLOEXEC)};
    QPointer<QSocketNotifier> notifier; // a child of the application, which goes first
    std::unordered_map<std::uint64_t, std::weak_ptr<SocketWatcher>> watchers;
    std::uint64_t lastKey = 0;

    void ListenOnEventLoop() {
        if (notifier || QCoreApplication::instance() == nullptr)
            return;
        notifier = new QSocketNotifier(epoll.Get(), QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { Dispatch(); });
    }

    // One batch a turn: level-triggered, whatever is left wakes the loop again, so other events
    // (timers, painting) are never starved by busy sockets.
    void Dispatch() {
        std::array<epoll_event, 64> ready{};
        int count;
        do {
            count = ::epoll_wait(epoll.Get(), ready.data(), static_cast<int>(ready.size()), 0);
        } while (count < 0 && errno == EINTR);
        for (int i = 0; i < count; ++i) {
            const auto found = watchers.find(ready[static_cast<std::size_t>(i)].data.u64);
            if (found == watchers.end())
                continue;
            if (const std::shared_ptr<SocketWatcher> watcher = found->second.lock())
                watcher->SocketReady(ready[static_cast<std::size_t>(i)].events);
        }
    }
};

SocketPoller::SocketPoller() : impl_(std::make_unique<Impl>()) {}

SocketPoller::~SocketPoller() = default;

SocketPoller& SocketPoller::Instance() {
    static SocketPoller poller;
    return poller;
}

std::uint64_t SocketPoller::Watch(int fd, std::uint32_t events, std::weak_ptr<SocketWatcher> watcher) {
    if (!impl_->epoll.Valid())
        return 0;
    impl_->ListenOnEventLoop();
    epoll_event entry{};
    entry.events = events;
    entry.data.u64 = ++impl_->lastKey;
    if (::epoll_ctl(impl_->epoll.Get(), EPOLL_CTL_ADD, fd, &entry) != 0)
        return 0;
    const std::uint64_t key = entry.data.u64;
    impl_->watchers.emplace(key, std::move(watcher));
    return key;
}

bool SocketPoller::Change(int fd, std::uint64_t key, std::uint32_t events) {
    epoll_event entry{};
    entry.events = events;
    entry.data.u64 = key;
    return ::epoll_ctl(impl_->epoll.Get(), EPOLL_CTL_MOD, fd, &entry) == 0;
}

void SocketPoller::Unwatch(std::uint64_t key) {
    // Closing the descriptor takes it out of the set. Until then (or while a child that is starting a
    // program still shares it) its events carry a key that is no longer known, and are dropped.
    impl_->watchers.erase(key);
}

} // namespace fw
