// Scan throughput: 1,000 rows against a local server that answers each HEAD after 10 ms, with pools of
// 8 and 64, set against the ideal (rows / pool x 10 ms) and against curl run by xargs with the same
// parallelism. Run by hand: build/bin/scan_bench
#include "tests/checker/FakeScanHost.h"

#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "framework/Runtime.h"
#include "framework/Timer.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 1000;
constexpr auto kDelay = std::chrono::milliseconds(10);

// Answers every request 10 ms after it is complete, one thread per connection.
class DelayedServer {
public:
    DelayedServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 1024) != 0)
            throw std::runtime_error("the bench server cannot listen");
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~DelayedServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        acceptor_.join();
        while (active_ > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int Port() const { return port_; }

private:
    void AcceptLoop() {
        while (!stopping_) {
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0)
                continue;
            ++active_;
            std::thread([this, fd] {
                Answer(fd);
                --active_;
            }).detach();
        }
    }
    static void Answer(int fd) {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        std::this_thread::sleep_for(kDelay);
        static const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n";
        ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(fd);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> active_{0};
    std::thread acceptor_;
};

std::string Url(int port, int i) {
    return "http://127.0.0.1:" + std::to_string(port) + "/" + std::to_string(i);
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// One whole scan on the event loop; returns its wall time.
double ScanOnce(fw::Runtime& runtime, int port, int pool) {
    quillfen::Globals::simultSocks = std::to_string(pool);
    scantest::FakeHost host;
    for (int i = 0; i < kRows; ++i)
        host.list.Add(Url(port, i));
    fw::Timer watch;
    watch.Action = [&] {
        if (host.scan && host.scan->scansCompleted >= kRows)
            fw::Runtime::Quit();
    };
    watch.SetPeriod(1);
    watch.SetMode(fw::Timer::ModeMultiple);
    const auto start = Clock::now();
    PressScanControl(host);
    runtime.Exec();
    const double wall = Seconds(Clock::now() - start);
    int ok = 0;
    for (int r = 0; r < kRows; ++r)
        ok += host.list.Status(r) == "\u2714";
    if (ok != kRows)
        std::printf("  (only %d of %d rows ended OK)\n", ok, kRows);
    return wall;
}

// The same URLs through curl, pool processes at a time; negative when curl is missing.
double CurlOnce(int port, int pool) {
    if (std::system("command -v curl >/dev/null 2>&1") != 0)
        return -1;
    char path[] = "/tmp/quillfen-bench-XXXXXX";
    const int fd = ::mkstemp(path);
    ::close(fd);
    {
        std::ofstream urls(path);
        for (int i = 0; i < kRows; ++i)
            urls << Url(port, i) << '\n';
    }
    const std::string command =
        "xargs -P " + std::to_string(pool) + " -n 1 curl -sI -o /dev/null < " + std::string(path);
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double wall = Seconds(Clock::now() - start);
    ::unlink(path);
    return status == 0 ? wall : -1;
}

} // namespace

int main(int argc, char** argv) {
    fw::Runtime runtime(argc, argv);
    scantest::DefaultSettings();
    quillfen::Globals::timeOut = "30";
    DelayedServer server;
    std::printf("%d rows, each answered after %lld ms\n", kRows, static_cast<long long>(kDelay.count()));
    std::printf("%-6s %10s %10s %8s %12s\n", "pool", "scan s", "ideal s", "ratio", "curl s");
    for (int pool : {8, 64}) {
        const double ideal = double(kRows) / pool * Seconds(kDelay);
        const double scan = ScanOnce(runtime, server.Port(), pool);
        const double curl = CurlOnce(server.Port(), pool);
        std::printf("%-6d %10.3f %10.3f %8.2f ", pool, scan, ideal, scan / ideal);
        if (curl < 0)
            std::printf("%12s\n", "no curl");
        else
            std::printf("%12.3f\n", curl);
    }
    quillfen::Globals::Release();
    return 0;
}
