// An apply killed at any moment leaves the bookmarks file either as it was or with every edit applied.
#include "tests/bookmarksfile/EditWorkload.h"
#include "tests/support/TempHome.h"
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/BookmarksText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

// The child applies the log through the main window (ApplyChild.cpp), in a process group of its own so
// that a kill takes its plutil along.
pid_t StartChild(const std::string& logPath) {
    const std::string child = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "apply_child").string();
    std::vector<char*> argv = {const_cast<char*>(child.c_str()), const_cast<char*>(logPath.c_str()), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, child.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return error == 0 ? pid : -1;
}

// Polls until `reached` holds (true) or the child has ended (false, and it was waited for).
bool PollUntil(pid_t pid, std::function<bool()> reached) {
    for (; !reached(); std::this_thread::sleep_for(std::chrono::microseconds(100)))
        if (waitpid(pid, nullptr, WNOHANG) != 0)
            return false;
    return true;
}

// Kills at random moments of a run, and at the moments that matter: while the new text is being written
// beside the file (plutil's conversion writes the first temporary file there, the apply the second), and
// right after the file was replaced (the applied text is the longer one).
TEST(ApplyKillTest, FileIsOldOrFullyApplied) {
    testsupport::TempHome home;
    const std::string folder = home.Path() + "/Library/Safari", file = folder + "/Bookmarks.plist";
    const std::string logPath = home.Path() + "/log", log = testsupport::EditLogFor(50'000, 1000);
    std::filesystem::create_directories(folder);
    std::ofstream(file, std::ios::binary) << testsupport::TreeXml(testsupport::LargeTree(50'000), true);
    const std::string before = quillfen::ConvertAndReadBookmarks(fw::FolderItem(file)).value_or("");
    const std::string after = quillfen::ApplyEdits(before, quillfen::ReadEditLog(log)).value_or("");
    ASSERT_GT(after.size(), before.size());
    std::ofstream(logPath, std::ios::binary) << log;

    enum class Moment { Undisturbed, Random, WritingBeside, Replaced };
    std::chrono::microseconds runTime{};
    std::mt19937 random(std::random_device{}());
    int old = 0, applied = 0;
    for (Moment moment : {Moment::Undisturbed, Moment::Random, Moment::Random, Moment::WritingBeside, Moment::Replaced}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) // what a killed run left
            std::filesystem::remove(entry.path());
        std::ofstream(file, std::ios::binary) << before;
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = StartChild(logPath);
        ASSERT_GT(pid, 0);
        bool running = moment != Moment::Undisturbed;
        if (moment == Moment::Random)
            std::this_thread::sleep_for(std::uniform_int_distribution<long long>(0, runTime.count())(random) * std::chrono::microseconds(1));
        else if (moment == Moment::Replaced)
            running = PollUntil(pid, [&, error = std::error_code()]() mutable {
                return std::filesystem::file_size(file, error) == after.size();
            });
        else if (moment == Moment::WritingBeside)
            running = PollUntil(pid, [&, present = false, appeared = 0]() mutable {
                const bool now = std::distance(std::filesystem::directory_iterator(folder), {}) > 1;
                appeared += now && !present ? 1 : 0;
                present = now;
                return now && appeared == 2;
            });
        int status = 0;
        if (running)
            kill(-pid, SIGKILL);
        if (running || moment == Moment::Undisturbed)
            waitpid(pid, &status, 0);
        const std::string now = testsupport::ReadFile(file);
        if (moment == Moment::Undisturbed) {
            runTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && now == after);
            continue;
        }
        ASSERT_TRUE(now == before || now == after) << "left " << now.size() << " bytes";
        (now == before ? old : applied) += 1;
    }
    RecordProperty("killedBeforeTheWrite", old);
    RecordProperty("killedAfterTheWrite", applied);
}

} // namespace
