// A delete killed at any moment leaves the bookmarks file either as it was or completely rewritten.
#include "bookmarksfile/BookmarkCut.h"
#include "tests/bookmarksfile/BookmarksTree.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kBookmarks = 50'000;
constexpr int kKills = 6;
using Clock = std::chrono::steady_clock;

// The delete, in a process group of its own so that a kill takes plutil with it.
pid_t StartDelete(const std::string& file, const std::string& list) {
    const std::string child = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "delete_child";
    char* argv[] = {const_cast<char*>(child.c_str()), const_cast<char*>(file.c_str()),
                    const_cast<char*>(list.c_str()), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, child.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return error == 0 ? pid : -1;
}

// Waits until the n-th temporary file (plutil's, then the rewrite's) shows in `folder`, or the child ends.
void WaitForTemporaryFile(const std::string& folder, pid_t pid, std::size_t n, Clock::duration limit) {
    std::set<std::string> seen;
    siginfo_t ended{};
    for (const auto end = Clock::now() + limit; seen.size() < n && Clock::now() < end;
         std::this_thread::sleep_for(std::chrono::microseconds(200))) {
        if (::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            ended.si_pid != 0)
            return;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                seen.insert(entry.path().filename().string());
    }
}

int Reap(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// One bookmark in fifty is deleted. A third of the kills fall anywhere in the run, the others while plutil
// or the rewrite writes its file.
TEST(DeleteKillTest, FileIsOldOrCompleteWheneverTheDeleteIsKilled) {
    testsupport::TempHome home;
    const std::string file = home.Path() + "/Bookmarks.plist", list = home.Path() + "/chosen.txt";
    std::set<std::string, std::less<>> chosen;
    std::ofstream listOut(list);
    for (int i = 3; i < kBookmarks; i += 50)
        listOut << *chosen.insert(testsupport::Numbered("5A0C-", 100000 + i)).first << '\n';
    listOut.close();
    const std::string before = testsupport::PlutilForm(testsupport::LargeTree(kBookmarks), true, file);
    const std::string after = quillfen::CutBookmarks(before, chosen);
    ASSERT_LT(after.size(), before.size());

    const Clock::time_point start = Clock::now();
    const int status = Reap(StartDelete(file, list));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    ASSERT_EQ(testsupport::ReadFile(file), after);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> anywhere(0, span.count() * 11 / 10), writing(0, span.count() / 4);
    for (int kill = 0; kill < kKills; ++kill) {
        std::ofstream(file, std::ios::binary) << before;
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
        ASSERT_TRUE(now == before || now == after)
            << "seed " << seed << ", phase " << phase << ", killed after " << wait << " us, " << now.size()
            << " bytes";
    }
}

} // namespace
