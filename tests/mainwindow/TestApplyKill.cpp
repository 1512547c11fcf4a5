// An apply killed at any moment leaves the bookmarks file either as it was or with every edit applied.
#include "EditWorkload.h"
#include "TempHome.h"
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
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kBookmarks = 50'000;

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

pid_t StartChild(const std::string& logPath) {
    const std::string child = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "apply_child").string();
    std::vector<char*> argv = {const_cast<char*>(child.c_str()), const_cast<char*>(logPath.c_str()), nullptr};
    pid_t pid = -1;
    return posix_spawn(&pid, child.c_str(), nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Polls until `reached` holds (true) or the child has ended (false, and it was waited for).
bool PollUntil(pid_t pid, std::function<bool()> reached) {
    while (!reached()) {
        if (waitpid(pid, nullptr, WNOHANG) != 0)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

// The file's size tells the applied text (longer) from the old one, also when plutil rewrites the old one.
std::size_t SizeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

TEST(ApplyKillTest, FileIsOldOrFullyApplied) {
    testsupport::TempHome home;
    const std::string folder = home.Path() + "/Library/Safari", file = folder + "/Bookmarks.plist";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(testsupport::WriteLargeBookmarksFile(file, kBookmarks));
    const std::string before = quillfen::ConvertAndReadBookmarks(fw::FolderItem(file)).value_or("");
    const std::string log = testsupport::EditLogFor(kBookmarks, 1000);
    const std::string after = quillfen::ApplyEdits(before, quillfen::ReadEditLog(log)).value_or("");
    ASSERT_NE(before, after);
    Write(home.Path() + "/log", log);

    // An undisturbed run, timed for the random kills.
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const pid_t first = StartChild(home.Path() + "/log");
    ASSERT_GT(first, 0);
    int status = 0;
    waitpid(first, &status, 0);
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(testsupport::ReadFile(file), after);

    // Kills at random moments of a run, and at the moments that matter: while the new text is being
    // written beside the file (plutil's conversion writes the first temporary file there, the apply the
    // second), and right after the file was replaced.
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> anywhere(0, runTime.count());
    enum class Moment { Random, WritingBeside, Replaced };
    int old = 0, applied = 0;
    for (Moment moment : {Moment::Random, Moment::Random, Moment::WritingBeside, Moment::Replaced}) {
        Write(file, before);
        const pid_t pid = StartChild(home.Path() + "/log");
        ASSERT_GT(pid, 0);
        bool running = true;
        if (moment == Moment::Random)
            std::this_thread::sleep_for(std::chrono::microseconds(anywhere(random)));
        else if (moment == Moment::Replaced)
            running = PollUntil(pid, [&] { return SizeOf(file) == after.size(); });
        else
            running = PollUntil(pid, [&, present = false, appeared = 0]() mutable {
                const bool now = std::distance(std::filesystem::directory_iterator(folder), {}) > 1;
                appeared += now && !present ? 1 : 0;
                present = now;
                return now && appeared == 2;
            });
        if (running) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        const std::string now = testsupport::ReadFile(file);
        ASSERT_TRUE(now == before || now == after) << "left " << now.size() << " bytes";
        (now == before ? old : applied) += 1;
    }
    RecordProperty("killedBeforeTheWrite", old);
    RecordProperty("killedAfterTheWrite", applied);
}

} // namespace
