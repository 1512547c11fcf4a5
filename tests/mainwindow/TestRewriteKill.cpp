// A delete or an apply of edits killed at the moments that matter leaves the bookmarks file either as it
// was or completely rewritten.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarkEdits.h"
#include "framework/files/FolderItem.h"
#include "tests/bookmarksfile/EditWorkload.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kBookmarks = 10'000;

// The child (RewriteChild.cpp), in a process group of its own so that a kill takes its plutil along.
pid_t StartChild(const std::string& operation, const std::string& input) {
    const std::string child = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "rewrite_child";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::execl(child.c_str(), child.c_str(), operation.c_str(), input.c_str(), nullptr);
        ::_exit(127);
    }
    ::setpgid(pid, pid); // in either order, the group stands before the first kill
    return pid;
}

// The bytes of the file at `offset` that the kill test compares; a write in place that keeps the size
// changes them halfway through.
constexpr std::size_t kProbe = 64;
std::string BytesAt(const std::string& path, std::size_t offset) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kProbe, '\0');
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(bytes.data(), kProbe);
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// Polls until `reached` holds (true) or the child has ended (false, and it was waited for).
bool PollUntil(pid_t pid, const std::function<bool()>& reached) {
    for (; !reached(); std::this_thread::sleep_for(std::chrono::microseconds(50)))
        if (::waitpid(pid, nullptr, WNOHANG) != 0)
            return false;
    return true;
}

// Each operation is killed at the moments that matter, then runs undisturbed: at the first change of the
// file's size, inode or bytes at its middle (a write in place is caught as it truncates the file or halfway
// through, a rename as it lands), and once its new text lies complete beside the file, before the rename.
// Each time the file is the whole old one or the whole new one, and the undisturbed run leaves none of the
// killed runs' temporary files.
TEST(RewriteKillTest, FileIsOldOrCompleteWheneverTheRunIsKilled) {
    testsupport::TempHome home;
    const std::string folder = home.Path() + "/Library/Safari", file = folder + "/Bookmarks.plist";
    const std::string input = home.Path() + "/input";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(home.Path() + "/tmp");
    setenv("TMPDIR", (home.Path() + "/tmp").c_str(), 1); // the children's scratch copies
    const std::string before = testsupport::PlutilForm(testsupport::LargeTree(kBookmarks),
                                                       testsupport::Form::Modern, home.Path() + "/scratch");
    std::set<std::string, std::less<>> chosen; // one bookmark in fifty
    std::string list;
    for (int i = 3; i < kBookmarks; i += 50)
        list += *chosen.insert(testsupport::Numbered("5A0C-", 100000 + i)).first + '\n';
    const std::string log = testsupport::EditLogFor(kBookmarks, kBookmarks / 50);
    const struct {
        const char* operation;
        std::string input, after;
    } runs[] = {
        {"delete", list, quillfen::CutBookmarks(before, chosen)},
        {"apply", log, quillfen::ApplyEdits(before, quillfen::ReadEditLog(log)).value_or("")},
    };
    enum class Moment { FirstChange, Written, Undisturbed };
    for (const auto& run : runs) {
        ASSERT_NE(run.after.size(), before.size()) << run.operation;
        std::ofstream(input, std::ios::binary) << run.input;
        for (const Moment moment : {Moment::FirstChange, Moment::Written, Moment::Undisturbed}) {
            std::ofstream(file, std::ios::binary) << before;
            const std::size_t middle = before.size() / 2;
            const std::optional<fw::FileStamp> start = fw::FolderItem(file).Stamp();
            const pid_t pid = StartChild(run.operation, input);
            ASSERT_GT(pid, 0);
            bool running = false;
            if (moment == Moment::FirstChange) {
                running = PollUntil(pid, [&] {
                    const std::optional<fw::FileStamp> now = fw::FolderItem(file).Stamp();
                    return !now || now->inode != start->inode || now->size != start->size ||
                           BytesAt(file, middle) != before.substr(middle, kProbe);
                });
            } else if (moment == Moment::Written) {
                running = PollUntil(pid, [&] {
                    std::error_code error;
                    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
                        if (entry.path() != file && entry.file_size(error) == run.after.size())
                            return true;
                    return false;
                });
            }
            int status = 0;
            if (running)
                ::kill(-pid, SIGKILL);
            if (running || moment == Moment::Undisturbed)
                ::waitpid(pid, &status, 0);
            const std::string now = testsupport::ReadFile(file);
            SCOPED_TRACE(testing::Message() << run.operation << ", moment " << static_cast<int>(moment)
                                            << (running ? ", killed" : ", not killed"));
            if (moment == Moment::Undisturbed) {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                ASSERT_EQ(now, run.after);
                EXPECT_EQ(testsupport::EntryCount(folder), 1);
            } else {
                EXPECT_TRUE(running) << "the moment never came";
                ASSERT_TRUE(now == before || now == run.after) << "left " << now.size() << " bytes";
            }
        }
    }
    unsetenv("TMPDIR");
}

} // namespace
