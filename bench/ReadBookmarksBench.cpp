// Times "Get Bookmarks" on a large file: a binary bookmarks file of 50,000 bookmarks is converted by our
// plutil and read into a row store, and Python's plistlib loads the same binary file for comparison.
// Each step runs in its own process started from a small parent: a child inherits its parent's peak
// memory at exec, so generating the file in the parent would hide the peaks measured after it.
//
//   ReadBookmarksBench                  generate the file in a temporary home and run every step
//   ReadBookmarksBench --generate FILE  (internal) write the binary bookmarks file
//   ReadBookmarksBench --read           (internal) one load of $HOME's bookmarks file
#include "BookmarksFixture.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kBookmarks = 50'000;
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class RowStore : public quillfen::BookmarkSink {
public:
    void AddBookmark(const quillfen::BookmarkRow& row) override { rows.push_back(row); }
    std::vector<quillfen::BookmarkRow> rows;
};

// The child side: one load, reporting its time, rows and peak memory, and plutil's peak apart.
int ReadOnce() {
    RowStore store;
    const Clock::time_point start = Clock::now();
    const quillfen::ReadResult result = quillfen::ReadBookmarks(quillfen::BookmarksFile(), store);
    const double seconds = SecondsSince(start);
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("%zu %.3f %ld %ld %zu\n", store.rows.size(), seconds, self.ru_maxrss, children.ru_maxrss,
                result.wholeText.size());
    return result.status == quillfen::ReadStatus::Ok ? 0 : 1;
}

struct ChildRun {
    double seconds = 0;
    long maxrssKiB = 0;
    bool ok = false;
};

// Runs argv as a child, its output going to outPath (or inherited), and times it to its end.
ChildRun Run(const std::vector<std::string>& args, const std::string& outPath = {}) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outPath.empty())
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ChildRun run;
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = SecondsSince(start);
        run.maxrssKiB = usage.ru_maxrss;
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::string ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

void Report(const char* what, const std::vector<ChildRun>& runs) {
    const auto best = std::min_element(runs.begin(), runs.end(),
                                       [](const ChildRun& a, const ChildRun& b) { return a.seconds < b.seconds; });
    long peak = 0;
    bool ok = true;
    for (const ChildRun& run : runs) {
        peak = std::max(peak, run.maxrssKiB);
        ok = ok && run.ok;
    }
    std::printf("%-44s best %7.3f s   peak %7.1f MiB%s\n", what, best->seconds, peak / 1024.0,
                ok ? "" : "   (FAILED)");
}

// Mostly folders of bookmarks, one in fifty in the Reading List, as a heavy user's file looks.
int Generate(const std::string& path) {
    testsupport::BookmarksFixture fixture(testsupport::BookmarksFixture::Form::Modern);
    for (int i = 0; i < kBookmarks; ++i) {
        const std::string n = std::to_string(i);
        const testsupport::FixtureBookmark bookmark{"Site number " + n + " &amp; friends",
                                                    "https://www" + n + ".example.com/path/page" + n + ".html",
                                                    "5A0C0F1E-0000-4000-8000-" + std::string(12 - n.size(), '0') + n};
        if (i % 50 == 49)
            fixture.AddToReadingList(bookmark, "A preview of the page\nover two lines");
        else
            fixture.Add("Folder " + std::to_string(i / 1000), bookmark);
    }
    return fixture.Write(path, testsupport::BookmarksFixture::Encoding::Binary) ? 0 : 1;
}

int RunAll() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path home = pattern;
    setenv("HOME", home.c_str(), 1);
    std::filesystem::create_directories(home / "Library/Safari");
    const std::string bookmarks = quillfen::BookmarksFile().PosixPath();
    const std::string pristine = (home / "pristine.plist").string();
    const std::string scratch = (home / "scratch.plist").string();

    const std::string self = ProgramFolder() + "/ReadBookmarksBench";
    const ChildRun generated = Run({self, "--generate", pristine});
    if (!generated.ok)
        return 1;
    std::printf("generated %d bookmarks, binary file %.1f MiB, in %.2f s\n", kBookmarks,
                std::filesystem::file_size(pristine) / 1048576.0, generated.seconds);

    const std::string plutil = ProgramFolder() + "/plutil";
    const std::string output = (home / "read.txt").string();
    std::vector<ChildRun> convert, load, python;
    for (int run = 0; run < kRuns; ++run) {
        std::filesystem::copy_file(pristine, scratch, std::filesystem::copy_options::overwrite_existing);
        convert.push_back(Run({plutil, "-convert", "xml1", scratch}));
        std::filesystem::copy_file(pristine, bookmarks, std::filesystem::copy_options::overwrite_existing);
        load.push_back(Run({self, "--read"}, output));
        python.push_back(Run({"python3", "-c", "import plistlib,sys; plistlib.load(open(sys.argv[1],\"rb\"))",
                              pristine}));
    }
    std::printf("XML file after conversion %.1f MiB\n", std::filesystem::file_size(bookmarks) / 1048576.0);
    Report("plutil -convert xml1 (binary -> XML)", convert);
    Report("ReadBookmarks (conversion + reading, total)", load);
    Report("python3 plistlib.load (binary)", python);

    // The last load's own account: rows, in-process time, its peak and plutil's apart.
    std::size_t rows = 0, textBytes = 0;
    double seconds = 0;
    long selfKiB = 0, childKiB = 0;
    if (FILE* in = std::fopen(output.c_str(), "r")) {
        if (std::fscanf(in, "%zu %lf %ld %ld %zu", &rows, &seconds, &selfKiB, &childKiB, &textBytes) != 5)
            rows = 0;
        std::fclose(in);
    }
    std::printf("last load: %zu rows in %.3f s; reader process peak %.1f MiB, plutil peak %.1f MiB, "
                "whole text %.1f MiB\n",
                rows, seconds, selfKiB / 1024.0, childKiB / 1024.0, textBytes / 1048576.0);

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return rows == static_cast<std::size_t>(kBookmarks) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--read")
        return ReadOnce();
    if (argc > 2 && std::string(argv[1]) == "--generate")
        return Generate(argv[2]);
    return RunAll();
}
