// Times "Get Bookmarks" on large files: binary bookmarks files with all their bookmarks in one folder (a
// long Reading List or Bookmarks Menu) are converted by our plutil and by libplist's own plistutil, and
// read into a row store, while Python's plistlib loads the same binary file, all in the same run. Then the
// later load, of the file as the first left it in XML, beside plistlib loading that XML.
// Each step runs in its own process started from a small parent: a child inherits its parent's peak
// memory at exec, so generating the file in the parent would hide the peaks measured after it.
//
//   ReadBookmarksBench [N ...]             bookmarks per file (10000 50000 200000 unless given)
//   ReadBookmarksBench --generate N FILE   (internal) write the binary bookmarks file
//   ReadBookmarksBench --read              (internal) one load of $HOME's bookmarks file
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

constexpr int kRuns = 3;
// The targets: plutil at most twice plistutil's time, convert plus read at most plistlib's, and plutil's
// peak at most four times the binary file; a later load no longer than the first, with plutil's peak at
// most twice the XML file from 200,000 bookmarks on (below, the few MiB any process takes weigh too much).
constexpr double kMaxConvertRatio = 2.0;
constexpr double kMaxReadRatio = 1.0;
constexpr double kMaxPeakRatio = 4.0;
constexpr double kMaxLaterRatio = 1.0;
constexpr double kMaxXmlPeakRatio = 2.0;
constexpr int kXmlPeakFrom = 200'000;

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

struct Best {
    double seconds = 0;
    double peakMiB = 0;
    bool ok = true;
};

// The best time and the highest peak of the runs.
Best Summary(const std::vector<ChildRun>& runs) {
    Best best{runs.front().seconds, 0, true};
    for (const ChildRun& run : runs) {
        best.seconds = std::min(best.seconds, run.seconds);
        best.peakMiB = std::max(best.peakMiB, run.maxrssKiB / 1024.0);
        best.ok = best.ok && run.ok;
    }
    return best;
}

// All bookmarks in one folder, as a large Reading List or Bookmarks Menu holds them.
int Generate(int count, const std::string& path) {
    testsupport::BookmarksFixture fixture(testsupport::BookmarksFixture::Form::Modern);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        fixture.Add("Folder", {"Site number " + n + " &amp; friends",
                               "https://www" + n + ".example.com/path/page" + n + ".html",
                               "5A0C0F1E-0000-4000-8000-" + std::string(12 - n.size(), '0') + n});
    }
    return fixture.Write(path, testsupport::BookmarksFixture::Encoding::Binary) ? 0 : 1;
}

const char* Verdict(bool within) {
    return within ? "ok" : "OVER";
}

// The interpreter by the path it gives itself, asked once outside the timing: python3 on PATH may be a
// version manager's wrapper script, whose own start-up would be timed with every load.
std::string PythonPath(const std::filesystem::path& home) {
    const std::string answer = (home / "python.txt").string();
    if (!Run({"python3", "-c", "import sys; print(sys.executable)"}, answer).ok)
        return "python3";
    char path[4096] = {};
    FILE* in = std::fopen(answer.c_str(), "r");
    const bool read = in && std::fscanf(in, "%4095[^\n]", path) == 1;
    if (in)
        std::fclose(in);
    std::error_code error;
    const std::filesystem::path real = read ? std::filesystem::canonical(path, error) : "";
    return read && !error ? real.string() : "python3";
}

// The second table's line for one size, printed after the first table.
std::vector<std::string> laterLines;

// One file size: every step kRuns times on fresh copies; false when a step failed or a target is missed.
bool RunSize(int count, const std::filesystem::path& home) {
    const std::string bookmarks = quillfen::BookmarksFile().PosixPath();
    const std::string pristine = (home / "pristine.plist").string();
    const std::string scratch = (home / "scratch.plist").string();
    const std::string self = ProgramFolder() + "/ReadBookmarksBench";
    if (!Run({self, "--generate", std::to_string(count), pristine}).ok)
        return false;
    const double binaryMiB = std::filesystem::file_size(pristine) / 1048576.0;

    const std::string plutil = ProgramFolder() + "/plutil";
    const std::string output = (home / "read.txt").string();
    const std::string python = PythonPath(home);
    const std::string plistlibLoad = "import plistlib,sys; plistlib.load(open(sys.argv[1],\"rb\"))";
    constexpr auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::vector<ChildRun> convert, plistutil, load, pyLoad, convertXml, laterLoad, pyXmlLoad;
    for (int run = 0; run < kRuns; ++run) {
        std::filesystem::copy_file(pristine, scratch, overwrite);
        convert.push_back(Run({plutil, "-convert", "xml1", scratch}));
        plistutil.push_back(Run({"plistutil", "-i", pristine, "-o", (home / "plistutil.xml").string(), "-f", "xml"}));
        std::filesystem::copy_file(pristine, bookmarks, overwrite);
        load.push_back(Run({self, "--read"}, output));
        pyLoad.push_back(Run({python, "-c", plistlibLoad, pristine}));
        // The file is XML now, as every load after the first finds it.
        convertXml.push_back(Run({plutil, "-convert", "xml1", scratch}));
        laterLoad.push_back(Run({self, "--read"}, output));
        pyXmlLoad.push_back(Run({python, "-c", plistlibLoad, bookmarks}));
    }
    const Best ours = Summary(convert), theirs = Summary(plistutil), read = Summary(load), py = Summary(pyLoad);
    const Best oursXml = Summary(convertXml), later = Summary(laterLoad), pyXml = Summary(pyXmlLoad);
    const double xmlMiB = std::filesystem::file_size(bookmarks) / 1048576.0;

    // The last load's own account: rows, plutil's peak apart, and the text it kept.
    std::size_t rows = 0, textBytes = 0;
    double seconds = 0;
    long selfKiB = 0, childKiB = 0;
    if (FILE* in = std::fopen(output.c_str(), "r")) {
        if (std::fscanf(in, "%zu %lf %ld %ld %zu", &rows, &seconds, &selfKiB, &childKiB, &textBytes) != 5)
            rows = 0;
        std::fclose(in);
    }
    const double convertRatio = ours.seconds / theirs.seconds;
    const double readRatio = read.seconds / py.seconds;
    const double peakRatio = ours.peakMiB / binaryMiB;
    std::printf("%7d | %6.1f | %6.3f | %6.3f | %5.2f %-4s | %7.1f | %4.2f %-4s | %6.3f | %6.3f | %4.2f %-4s | %7.1f | %5.1f\n",
                count, binaryMiB, ours.seconds, theirs.seconds, convertRatio,
                theirs.ok ? Verdict(convertRatio <= kMaxConvertRatio) : "n/a", ours.peakMiB, peakRatio,
                Verdict(peakRatio <= kMaxPeakRatio), read.seconds, py.seconds, readRatio,
                Verdict(readRatio <= kMaxReadRatio), read.peakMiB, textBytes / 1048576.0);
    const double laterRatio = later.seconds / read.seconds;
    const double xmlPeakRatio = oursXml.peakMiB / xmlMiB;
    const bool xmlPeakWithin = count < kXmlPeakFrom || xmlPeakRatio <= kMaxXmlPeakRatio;
    char line[256];
    std::snprintf(line, sizeof line,
                  "%7d | %6.1f | %6.3f | %7.1f | %4.2f %-4s | %6.3f | %4.2f %-4s | %6.3f | %5.2f | %7.1f\n", count,
                  xmlMiB, oursXml.seconds, oursXml.peakMiB, xmlPeakRatio,
                  count < kXmlPeakFrom ? "" : Verdict(xmlPeakWithin),
                  later.seconds, laterRatio, Verdict(laterRatio <= kMaxLaterRatio), pyXml.seconds,
                  later.seconds / pyXml.seconds, later.peakMiB);
    laterLines.push_back(line);
    return ours.ok && read.ok && py.ok && oursXml.ok && later.ok && pyXml.ok && rows == static_cast<std::size_t>(count) &&
           (!theirs.ok || convertRatio <= kMaxConvertRatio) && peakRatio <= kMaxPeakRatio &&
           readRatio <= kMaxReadRatio && laterRatio <= kMaxLaterRatio && xmlPeakWithin;
}

int RunAll(const std::vector<int>& sizes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path home = pattern;
    setenv("HOME", home.c_str(), 1);
    std::filesystem::create_directories(home / "Library/Safari");

    std::printf("best of %d; times in s, sizes and peaks in MiB; plistutil from libplist-utils\n", kRuns);
    std::printf("  marks | binary | plutil | plistu | ratio      | plutil  | peak/     | read   | plist- | ratio     | reader  | text\n"
                "        | file   |        | til    | (max %.0f)  | peak    | binary    | total  | lib    | (max %.0f) | peak    |\n",
                kMaxConvertRatio, kMaxReadRatio);
    bool allWithin = true;
    for (const int count : sizes)
        allWithin = RunSize(count, home) && allWithin;
    std::printf("\nlater loads, of the XML the first load left; plistlib loads the same XML\n"
                "  marks | XML    | plutil | plutil  | peak/     | later  | later/     | plist- | later/| reader\n"
                "        | file   | on XML | peak    | XML (max %.0f)*| load  | first (max %.0f)| lib   | plist-| peak\n",
                kMaxXmlPeakRatio, kMaxLaterRatio);
    for (const std::string& line : laterLines)
        std::fputs(line.c_str(), stdout);
    std::printf("* judged from %d bookmarks on\n", kXmlPeakFrom);

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return allWithin ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--read")
        return ReadOnce();
    if (argc > 3 && std::string(argv[1]) == "--generate")
        return Generate(std::atoi(argv[2]), argv[3]);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    return RunAll(sizes.empty() ? std::vector<int>{10'000, 50'000, 200'000} : sizes);
}
