// Scan throughput against a local server that answers each HEAD request 10 ms after it has arrived, set
// against a plain epoll HEAD client (the floor) run in the same process on the same server.
//
//   scan_bench [rows] [pool] [host] [rounds]      defaults: 10000 8 both 1
//
// host: "checker" (the scheduler and workers with a minimal host), "window" (the real main window,
// shown offscreen) or "both". Reports each run's time against the ideal (rows / pool x 10 ms) and the
// floor, the CPU time of the main thread per row, its ratio to the floor's, and how far the run raised
// the peak resident memory. Each round runs the floor again before the hosts; with several rounds the
// medians follow, ratios taken within each round, since CPU figures drift between runs on a shared
// machine.
#include "app/Globals.h"
#include "checker/ScanControl.h"
#include "checker/ScanHost.h"
#include "checker/kritiskClass.h"
#include "framework/runtime/Timer.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/PushButton.h"
#include "mainwindow/Listwin.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

using namespace quillfen;
using Clock = std::chrono::steady_clock;
constexpr auto kDelay = std::chrono::milliseconds(10);

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// CPU seconds of the calling thread: the event loop's, or the floor client's.
double ThreadCpu() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The "VmRSS" or "VmHWM" line of /proc/self/status, in KiB.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atol(line.c_str() + field.size() + 1);
    return 0;
}

// Starts a new peak at the present resident size.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Answers every request 10 ms after its header block is complete, one connection per request, from
// one epoll thread that is far from its limit at these rates.
class DelayedServer {
public:
    DelayedServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 4096) != 0)
            throw std::runtime_error("the bench server cannot listen");
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        stop_ = ::eventfd(0, EFD_NONBLOCK);
        thread_ = std::thread([this] { Loop(); });
    }
    ~DelayedServer() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_, &one, sizeof one);
        thread_.join();
        ::close(stop_);
        ::close(listener_);
    }
    int Port() const { return port_; }

private:
    struct Due {
        Clock::time_point at;
        int fd;
    };

    void Loop() {
        const int poll = ::epoll_create1(0);
        Watch(poll, listener_);
        Watch(poll, stop_);
        std::unordered_map<int, std::string> requests;
        std::deque<Due> due; // the delay is constant, so deadlines come in order
        static const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n";
        epoll_event events[256];
        for (;;) {
            int wait = -1;
            if (!due.empty())
                wait = int(std::max<long>(
                    0, std::chrono::ceil<std::chrono::milliseconds>(due.front().at - Clock::now()).count()));
            const int n = ::epoll_wait(poll, events, 256, wait);
            for (int i = 0; i < n; ++i) {
                const int fd = events[i].data.fd;
                if (fd == stop_) {
                    ::close(poll);
                    return;
                }
                if (fd == listener_) {
                    for (int client; (client = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK)) >= 0;)
                        Watch(poll, client);
                    continue;
                }
                char buffer[2048];
                const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
                std::string& request = requests[fd];
                if (got > 0)
                    request.append(buffer, static_cast<std::size_t>(got));
                if (got <= 0 || request.find("\r\n\r\n") != std::string::npos) {
                    ::epoll_ctl(poll, EPOLL_CTL_DEL, fd, nullptr);
                    requests.erase(fd);
                    due.push_back({Clock::now() + kDelay, fd});
                }
            }
            for (const auto now = Clock::now(); !due.empty() && due.front().at <= now; due.pop_front()) {
                ::send(due.front().fd, reply.data(), reply.size(), MSG_NOSIGNAL);
                ::close(due.front().fd);
            }
        }
    }
    static void Watch(int poll, int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        ::epoll_ctl(poll, EPOLL_CTL_ADD, fd, &event);
    }

    int listener_ = -1;
    int stop_ = -1;
    int port_ = 0;
    std::thread thread_;
};

std::string Path(int i) {
    std::string path(1, '/'); // built in place: GCC 12 warns falsely about "/" + text
    return path += std::to_string(i);
}
std::string Url(int port, int i) {
    return "http://127.0.0.1:" + std::to_string(port) + Path(i);
}

struct Run {
    double wall = 0;
    double cpu = 0;
    long peakRaiseKiB = 0;
    int ok = 0;
};

// The floor: one thread, non-blocking sockets under epoll, `pool` requests at a time, the same
// request as the checker's.
Run FloorOnce(int port, int rows, int pool) {
    struct Conn {
        int index;
        bool sent = false;
        std::string in;
    };
    const int poll = ::epoll_create1(0);
    std::unordered_map<int, Conn> conns;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    int next = 0, done = 0;
    Run run;
    auto start = [&] {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        epoll_event event{};
        event.events = EPOLLOUT | EPOLLIN;
        event.data.fd = fd;
        ::epoll_ctl(poll, EPOLL_CTL_ADD, fd, &event);
        conns.emplace(fd, Conn{next++, false, {}});
    };
    const double cpu0 = ThreadCpu();
    const auto t0 = Clock::now();
    while (next < rows && next < std::max(1, pool))
        start();
    epoll_event events[512];
    while (done < rows) {
        const int n = ::epoll_wait(poll, events, 512, 1000);
        for (int i = 0; i < n; ++i) {
            const int fd = events[i].data.fd;
            Conn& c = conns.at(fd);
            if (!c.sent && (events[i].events & EPOLLOUT)) {
                const std::string request =
                    "HEAD " + Path(c.index) +
                    " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: 127.0.0.1:" +
                    std::to_string(port) + "\r\n\r\n";
                ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
                c.sent = true;
                epoll_event event{};
                event.events = EPOLLIN;
                event.data.fd = fd;
                ::epoll_ctl(poll, EPOLL_CTL_MOD, fd, &event);
                continue;
            }
            char buffer[1024];
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got > 0)
                c.in.append(buffer, static_cast<std::size_t>(got));
            if (got > 0 && c.in.find("\r\n\r\n") == std::string::npos)
                continue;
            run.ok += c.in.rfind("HTTP/1.0 200", 0) == 0;
            ::close(fd);
            conns.erase(fd);
            ++done;
            if (next < rows)
                start();
        }
    }
    run.wall = Seconds(Clock::now() - t0);
    run.cpu = ThreadCpu() - cpu0;
    ::close(poll);
    return run;
}

// The checker's minimal host: rows in a plain vector, no widgets.
class BenchRows final : public ScanRows {
public:
    struct Row {
        std::string url, status, code;
    };
    std::vector<Row> rows;

    int ListCount() const override { return int(rows.size()); }
    std::string Cell(int row, int column) const override {
        const Row& r = rows[std::size_t(row)];
        return column == kUrlColumn      ? r.url
               : column == kStatusColumn ? r.status
               : column == kCodeColumn   ? r.code
                                         : "";
    }
    void SetCell(int row, int column, const std::string& text) override {
        Row& r = rows[std::size_t(row)];
        (column == kStatusColumn ? r.status : r.code) = text;
    }
    bool CellCheck(int, int) const override { return false; }
    bool Selected(int) const override { return false; }
    int SelCount() const override { return 0; }
    int ScrollPosition() const override { return scroll_; }
    void SetScrollPosition(int row) override { scroll_ = row; }
    int Height() const override { return 360; }
    int DefaultRowHeight() const override { return 18; }
    RowId RowIdentity(int row) const override { return RowId(row) + 1; }
    int RowOf(RowId id) const override { return int(id) - 1; }

private:
    int scroll_ = 0;
};

class BenchHost final : public ScanHost {
public:
    BenchRows rows;
    std::string caption = "Scan";
    std::unique_ptr<kritiskClass> scan;

    ScanRows& Rows() override { return rows; }
    void SetStatusText(const std::string&) override {}
    std::string ScanCaption() const override { return caption; }
    void SetScanCaption(const std::string& text) override { caption = text; }
    bool StopIt() const override { return false; }
    void SetStopIt(bool) override {}
    int ScopeIndex() const override { return 0; }
    void PlayGlass() override {}
    void Refresh() override {}
    kritiskClass* CurrentScan() override { return scan.get(); }
    void SetCurrentScan(std::unique_ptr<kritiskClass> next) override { scan = std::move(next); }
};

// Presses the scan control and runs the event loop until its caption says "Scan" again.
Run ScanOnce(fw::Runtime& runtime, ScanHost& host, const std::function<void()>& press, int rows, int pool) {
    quillfen::Globals::simultSocks = std::to_string(pool);
    quillfen::Globals::timeOut = "30";
    // The end is looked for every 2 ms once the last requests are out, and every 50 ms before: the floor
    // has no such watch, and waking the loop 500 times a second would be charged to the scan.
    fw::Timer watch;
    watch.Action = [&] {
        if (host.ScanCaption() == "Scan") {
            fw::Runtime::Quit();
            return;
        }
        const quillfen::kritiskClass* scan = host.CurrentScan();
        watch.SetPeriod(scan && rows - scan->scansCompleted <= 2 * pool ? 2 : 50);
    };
    watch.SetPeriod(2);
    watch.SetMode(fw::Timer::ModeMultiple);
    ResetPeak();
    const long rss0 = StatusKiB("VmRSS");
    const double cpu0 = ThreadCpu();
    const auto t0 = Clock::now();
    press();
    runtime.Exec();
    Run run;
    run.wall = Seconds(Clock::now() - t0);
    run.cpu = ThreadCpu() - cpu0;
    run.peakRaiseKiB = StatusKiB("VmHWM") - rss0;
    for (int r = 0; r < rows; ++r)
        run.ok += host.Rows().Cell(r, ScanRows::kStatusColumn) == "\u2714";
    return run;
}

Run CheckerOnce(fw::Runtime& runtime, int port, int rows, int pool) {
    BenchHost host;
    for (int i = 0; i < rows; ++i)
        host.rows.rows.push_back({Url(port, i), "", ""});
    return ScanOnce(
        runtime, host, [&] { PressScanControl(host); }, rows, pool);
}

Run WindowOnce(fw::Runtime& runtime, int port, int rows, int pool) {
    using quillfen::BookmarkColumn::Column;
    auto& win = fw::Instance<quillfen::Listwin>();
    win.Show();
    auto& list = win.Get<fw::ListBox>("ListBox1");
    list.DeleteAllRows();
    for (int i = 0; i < rows; ++i) {
        list.AddRow("");
        list.SetCell(i, Column::Name, "Bookmark " + std::to_string(i));
        list.SetCell(i, Column::URL, Url(port, i));
        char key[16];
        std::snprintf(key, sizeof key, "%06d", i + 1);
        list.SetCell(i, Column::Order, key);
        list.SetCell(i, Column::UUID, "UUID-" + std::to_string(i));
    }
    // A user sees the window before pressing its scan control: its first paint (fonts, glyph caches)
    // is no part of the scan.
    fw::Timer settled;
    settled.Action = [] { fw::Runtime::Quit(); };
    settled.SetPeriod(300);
    settled.SetMode(fw::Timer::ModeSingle);
    runtime.Exec();
    auto& button = win.Get<fw::PushButton>("PushButton1");
    return ScanOnce(
        runtime, win, [&] { button.Push(); }, rows, pool);
}

struct Figures {
    double wall = 0, byIdeal = 0, byFloor = 0, cpuPerRow = 0, cpuByFloor = 0, peakMiB = 0;
    int ok = 0;
};

Figures Measure(const Run& run, const Run& floor, int rows, int pool) {
    const double ideal = double(rows) / std::max(1, pool) * Seconds(kDelay);
    return {run.wall,       run.wall / ideal,   run.wall / floor.wall, run.cpu / rows * 1e6,
            run.cpu / floor.cpu, double(run.peakRaiseKiB) / 1024, run.ok};
}

void Report(const std::string& name, const Figures& f, int rows) {
    std::printf("%-10s %9.3f %8.2f %8.2f %10.1f %10.2f %10.1f %8d/%d\n", name.c_str(), f.wall, f.byIdeal,
                f.byFloor, f.cpuPerRow, f.cpuByFloor, f.peakMiB, f.ok, rows);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Figures Medians(const std::vector<Figures>& runs) {
    auto of = [&runs](double Figures::*field) {
        std::vector<double> values;
        for (const Figures& f : runs)
            values.push_back(f.*field);
        return Median(values);
    };
    int ok = runs.front().ok;
    for (const Figures& f : runs)
        ok = std::min(ok, f.ok);
    return {of(&Figures::wall),      of(&Figures::byIdeal),    of(&Figures::byFloor),
            of(&Figures::cpuPerRow), of(&Figures::cpuByFloor), of(&Figures::peakMiB), ok};
}

} // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int pool = argc > 2 ? std::atoi(argv[2]) : 8;
    const std::string host = argc > 3 ? argv[3] : "both";
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 1;
    if (rows <= 0 || rounds <= 0 || (host != "checker" && host != "window" && host != "both")) {
        std::fprintf(stderr, "usage: scan_bench [rows] [pool] [checker|window|both] [rounds]\n");
        return 2;
    }
    // The window reads and may write preferences: it runs in a home of its own.
    std::string home = (std::filesystem::temp_directory_path() / "quillfen-scanbench-XXXXXX").string();
    if (!::mkdtemp(home.data()))
        return 1;
    ::setenv("HOME", home.c_str(), 1);
    std::filesystem::create_directories(std::filesystem::path(home) / "Library/Safari");
    {
        int qtArgc = 1;
        fw::Runtime runtime(qtArgc, argv);
        DelayedServer server;
        std::printf("%d rows, pool %d, each answered after %lld ms; ideal %.3f s\n", rows, pool,
                    static_cast<long long>(kDelay.count()),
                    double(rows) / std::max(1, pool) * Seconds(kDelay));
        std::printf("%-10s %9s %8s %8s %10s %10s %10s %10s\n", "run", "time s", "/ideal", "/floor", "CPU us/row",
                    "CPU/floor", "peak +MiB", "ok");
        std::map<std::string, std::vector<Figures>> figures; // by host
        auto record = [&](const std::string& name, const Figures& f, int round) {
            figures[name].push_back(f);
            Report(rounds > 1 ? name + " " + std::to_string(round) : name, f, rows);
        };
        for (int round = 1; round <= rounds; ++round) {
            const Run floor = FloorOnce(server.Port(), rows, pool);
            record("floor", Measure(floor, floor, rows, pool), round);
            if (host != "window")
                record("checker", Measure(CheckerOnce(runtime, server.Port(), rows, pool), floor, rows, pool), round);
            if (host != "checker")
                record("window", Measure(WindowOnce(runtime, server.Port(), rows, pool), floor, rows, pool), round);
        }
        if (rounds > 1) {
            std::printf("medians of %d rounds\n", rounds);
            for (const char* name : {"floor", "checker", "window"})
                if (figures.count(name))
                    Report(name, Medians(figures[name]), rows);
        }
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    std::filesystem::remove_all(home);
    quillfen::Globals::Release();
    return 0;
}
