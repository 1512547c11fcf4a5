// Times a delete of 1,000 of 50,000 bookmarks through the main window, beside "Get Bookmarks" on the same
// file: the delete thread converts the file again, cuts the entries in one pass (yielding after each one)
// and writes the file whole, so it should cost about what a read costs, not one pass per bookmark.
//
//   DeleteBookmarksBench     (run offscreen: QT_QPA_PLATFORM=offscreen)
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "framework/runtime/Thread.h"
#include "framework/ui/Application.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/PushButton.h"
#include "mainwindow/Listwin.h"
#include "tests/support/BookmarksFixture.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kBookmarks = 50'000;
constexpr int kEvery = 50; // 1,000 deleted
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Times {
    double read = 1e9, remove = 1e9, cut = 1e9;
};

} // namespace

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    setenv("HOME", pattern.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::filesystem::create_directories(pattern + "/Library/Safari");
    const std::string pristine = pattern + "/pristine.plist";
    if (!testsupport::WriteTree(testsupport::LargeTree(kBookmarks), pristine, testsupport::Form::Modern))
        return 1;
    const std::string xml = testsupport::ReadFile(pristine);
    Times best;
    int deleted = 0;
    {
        fw::Runtime runtime(argc, argv);
        fw::Application app;
        // Declines the backup copy, so the timing is the delete's alone.
        testsupport::ScriptedModal dialogs;
        for (int run = 0; run < kRuns; ++run) {
            std::ofstream(quillfen::BookmarksFile().PosixPath(), std::ios::binary) << xml;
            auto& win = fw::Instance<quillfen::Listwin>();
            auto& list = win.Get<fw::ListBox>("ListBox1");

            Clock::time_point start = Clock::now();
            win.Get<fw::PushButton>("PushButton2").Push();
            best.read = std::min(best.read, SecondsSince(start));

            for (int row = 0; row < list.ListCount(); row += kEvery)
                list.SetCellCheck(row, quillfen::BookmarkColumn::Check, true);
            const std::string before = testsupport::ReadFile(quillfen::BookmarksFile().PosixPath());
            fw::Thread& thread = win.Get<fw::Thread>("DeleteLoopThread11");
            start = Clock::now();
            win.deleteSelected();
            while (thread.IsRunning() || fw::ReadyThreadCount() > 0)
                app.DoEvents(1);
            best.remove = std::min(best.remove, SecondsSince(start));

            std::set<std::string, std::less<>> uuids;
            for (int row = 0; row < list.ListCount(); row += kEvery)
                uuids.insert(list.Cell(row, quillfen::BookmarkColumn::UUID));
            start = Clock::now();
            const std::string cut = quillfen::CutBookmarks(before, uuids);
            best.cut = std::min(best.cut, SecondsSince(start));
            // The file the run wrote is what the cut alone gives.
            if (testsupport::ReadFile(quillfen::BookmarksFile().PosixPath()) != cut)
                std::fprintf(stderr, "the delete run wrote another text\n");
            deleted = static_cast<int>(uuids.size());
            fw::detail::CloseAllWindows();
            fw::detail::FreeRetiredWindows();
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    std::printf("%d bookmarks, %d deleted, best of %d\n", kBookmarks, deleted, kRuns);
    std::printf("Get Bookmarks (plutil + read into the list)     %7.3f s\n", best.read);
    std::printf("delete run (plutil + cut + write, with yields)  %7.3f s   %.2f x the read\n", best.remove,
                best.remove / best.read);
    std::printf("the cut alone, in memory                         %7.3f s\n", best.cut);
    return 0;
}
