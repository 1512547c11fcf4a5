// A delete or an apply of edits killed at any moment leaves the bookmarks file either as it was or
// completely rewritten.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarkEdits.h"
#include "tests/bookmarksfile/EditWorkload.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kBookmarks = 50'000;
using Clock = std::chrono::steady_clock;

// The child (RewriteChild.cpp), in a process group of its own so that a kill takes its plutil along.
pid_t StartChild(const std::string& operation, const std::string& input) {
    const std::string child = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "rewrite_child";
    char* argv[] = {const_cast<char*>(child.c_str()), const_cast<char*>(operation.c_str()),
                    const_cast<char*>(input.c_str()), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, child.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return error == 0 ? pid : -1;
}

// Polls until `reached` holds (true) or the child has ended (false, and it was waited for).
bool PollUntil(pid_t pid, const std::function<bool()>& reached) {
    for (; !reached(); std::this_thread::sleep_for(std::chrono::microseconds(100)))
        if (::waitpid(pid, nullptr, WNOHANG) != 0)
            return false;
    return true;
}

// Each operation runs once undisturbed, then is killed at random moments and at the moments that matter:
// while plutil's conversion writes the first temporary file beside the file, while the rewrite writes the
// second, and right after the file was replaced (the rewritten text has another length).
TEST(RewriteKillTest, FileIsOldOrCompleteWheneverTheRunIsKilled) {
    testsupport::TempHome home;
    const std::string folder = home.Path() + "/Library/Safari", file = folder + "/Bookmarks.plist";
    const std::string input = home.Path() + "/input";
    std::filesystem::create_directories(folder);
    const std::string before = testsupport::PlutilForm(testsupport::LargeTree(kBookmarks),
                                                       testsupport::Form::Modern, home.Path() + "/scratch");
    std::set<std::string, std::less<>> chosen; // one bookmark in fifty
    std::string list;
    for (int i = 3; i < kBookmarks; i += 50)
        list += *chosen.insert(testsupport::Numbered("5A0C-", 100000 + i)).first + '\n';
    const std::string log = testsupport::EditLogFor(kBookmarks, 1000);
    const struct {
        const char* operation;
        std::string input, after;
    } runs[] = {
        {"delete", list, quillfen::CutBookmarks(before, chosen)},
        {"apply", log, quillfen::ApplyEdits(before, quillfen::ReadEditLog(log)).value_or("")},
    };
    enum class Moment { Undisturbed, Random, PlutilWriting, RewriteWriting, Replaced };
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    for (const auto& run : runs) {
        ASSERT_NE(run.after.size(), before.size()) << run.operation;
        std::ofstream(input, std::ios::binary) << run.input;
        std::chrono::microseconds runTime{};
        for (const Moment moment : {Moment::Undisturbed, Moment::Random, Moment::Random,
                                    Moment::PlutilWriting, Moment::RewriteWriting, Moment::Replaced}) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) // what a killed run left
                std::filesystem::remove(entry.path());
            std::ofstream(file, std::ios::binary) << before;
            const Clock::time_point start = Clock::now();
            const pid_t pid = StartChild(run.operation, input);
            ASSERT_GT(pid, 0);
            bool running = moment != Moment::Undisturbed;
            if (moment == Moment::Random) {
                std::uniform_int_distribution<long long> wait(0, runTime.count() * 11 / 10);
                std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
            } else if (moment == Moment::Replaced) {
                running = PollUntil(pid, [&, error = std::error_code()]() mutable {
                    return std::filesystem::file_size(file, error) == run.after.size();
                });
            } else if (moment != Moment::Undisturbed) {
                const int wanted = moment == Moment::PlutilWriting ? 1 : 2;
                running = PollUntil(pid, [&, present = false, appeared = 0]() mutable {
                    std::error_code error;
                    const bool now =
                        std::distance(std::filesystem::directory_iterator(folder, error), {}) > 1;
                    appeared += now && !present ? 1 : 0;
                    present = now;
                    return now && appeared == wanted;
                });
            }
            int status = 0;
            if (running)
                ::kill(-pid, SIGKILL);
            if (running || moment == Moment::Undisturbed)
                ::waitpid(pid, &status, 0);
            const std::string now = testsupport::ReadFile(file);
            if (moment == Moment::Undisturbed) {
                runTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.operation;
                ASSERT_EQ(now, run.after) << run.operation;
            } else {
                ASSERT_TRUE(now == before || now == run.after)
                    << run.operation << ", seed " << seed << ", moment " << static_cast<int>(moment)
                    << ", left " << now.size() << " bytes";
            }
        }
    }
}

} // namespace
