// A delete killed at any moment leaves the bookmarks file either as it was or completely rewritten.
#include "tests/bookmarksfile/BookmarksTree.h"
#include "tests/support/TempHome.h"
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kBookmarks = 50'000;
constexpr int kKills = 6;

using Clock = std::chrono::steady_clock;

// Starts the delete in a process group of its own, so that a kill takes plutil with it.
pid_t StartDelete(const std::string& file, const std::string& list) {
    const std::string child = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "delete_child";
    char* argv[] = {const_cast<char*>(child.c_str()), const_cast<char*>(file.c_str()),
                    const_cast<char*>(list.c_str()), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, child.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return error == 0 ? pid : -1;
}

// Waits until the n-th temporary file (plutil's first, then the rewrite's) shows in `folder`, or the child
// has ended, or the time is up.
void WaitForTemporaryFile(const std::string& folder, pid_t pid, std::size_t n, Clock::duration limit) {
    std::set<std::string> seen;
    const Clock::time_point end = Clock::now() + limit;
    auto running = [pid] {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
    };
    while (seen.size() < n && Clock::now() < end && running()) {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                seen.insert(entry.path().filename().string());
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

int Reap(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// One bookmark in fifty is deleted, and one Reading List item in ten.
TEST(DeleteKillTest, FileIsOldOrCompleteWheneverTheDeleteIsKilled) {
    testsupport::TempHome home;
    const std::string file = home.Path() + "/Bookmarks.plist";
    const std::string list = home.Path() + "/chosen.txt";
    std::set<std::string, std::less<>> chosen;
    std::ofstream listOut(list);
    for (int i = 0; i < kBookmarks; ++i) {
        if (i % 50 == 3 || i % 500 == 49) {
            const std::string uuid = testsupport::Numbered("5A0C-", 100000 + i);
            chosen.insert(uuid);
            listOut << uuid << '\n';
        }
    }
    listOut.close();
    std::ofstream(file, std::ios::binary) << testsupport::TreeXml(testsupport::LargeTree(kBookmarks), true);
    const std::optional<std::string> before = quillfen::ConvertAndReadBookmarks(fw::FolderItem(file));
    ASSERT_TRUE(before);
    const std::string after = quillfen::CutBookmarks(*before, chosen);
    ASSERT_LT(after.size(), before->size());

    // One whole run, to know how long the kills may wait.
    const Clock::time_point start = Clock::now();
    const pid_t whole = StartDelete(file, list);
    ASSERT_GT(whole, 0);
    const int status = Reap(whole);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    ASSERT_EQ(testsupport::ReadFile(file), after);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    // A third of the kills fall anywhere in the run, the others while plutil or the rewrite writes.
    std::uniform_int_distribution<long> anywhere(0, span.count() * 11 / 10);
    std::uniform_int_distribution<long> writing(0, span.count() / 4);
    int old = 0, complete = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        std::ofstream(file, std::ios::binary) << *before;
        const pid_t pid = StartDelete(file, list);
        ASSERT_GT(pid, 0);
        const std::size_t phase = kill % 3;
        if (phase > 0)
            WaitForTemporaryFile(home.Path(), pid, phase, span * 2);
        const long wait = phase == 0 ? anywhere(random) : writing(random);
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        ::kill(-pid, SIGKILL);
        Reap(pid);
        const std::string now = testsupport::ReadFile(file);
        ASSERT_TRUE(now == *before || now == after) << "seed " << seed << ", phase " << phase << ", killed after " << wait << " us, "
                                                    << now.size() << " bytes";
        (now == *before ? old : complete) += 1;
    }
    // Mostly both outcomes are seen; what matters above is that nothing else ever is.
    std::printf("killed %d times: %d left the old file, %d the complete one\n", kKills, old, complete);
}

} // namespace
