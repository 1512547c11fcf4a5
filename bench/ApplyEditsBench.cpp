// Times writing an edit log into Safari's bookmarks file beside the time to read the file, for files of
// 25,000, 50,000 and 100,000 bookmarks, and logs of 100 to 10,000 edits on the 50,000-bookmark file.
// "read" is a "Get Bookmarks" load (plutil's conversion plus the reader); "apply" is what "Apply Change"
// does to the file (the conversion, the edits, the atomic write); "edits alone" is the in-memory step.
// The apply must grow with the file, not with edits x file: 10,000 edits cost about what 100 do.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/BookmarksReader.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "tests/bookmarksfile/EditWorkload.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdlib.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;

class CountingSink : public quillfen::BookmarkSink {
public:
    void AddBookmark(const quillfen::BookmarkRow&) override { ++rows; }
    int rows = 0;
};

// Best of kRuns, each on a fresh copy of the file.
double Best(const std::string& pristine, const std::string& file, const std::function<bool()>& step) {
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        std::filesystem::copy_file(pristine, file, std::filesystem::copy_options::overwrite_existing);
        const Clock::time_point start = Clock::now();
        if (!step())
            return -1;
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Measure(const std::string& folder, int bookmarks, int edits) {
    const std::string pristine = folder + "/pristine.plist", file = folder + "/Bookmarks.plist";
    if (!testsupport::WriteTree(testsupport::LargeTree(bookmarks), pristine, testsupport::Form::Modern))
        return;
    const fw::FolderItem item(file);
    const std::vector<quillfen::EditRecord> records =
        quillfen::ReadEditLog(testsupport::EditLogFor(bookmarks, edits));
    const double read = Best(pristine, file, [&] {
        CountingSink sink;
        return quillfen::ReadBookmarks(item, sink).status == quillfen::ReadStatus::Ok &&
               sink.rows == bookmarks;
    });
    const double apply = Best(pristine, file, [&] {
        return quillfen::RewriteBookmarksFile(item,
                                              [&](const std::string& text) {
                                                  return quillfen::ApplyEdits(text, records).value_or(text);
                                              })
            .changed;
    });
    const std::string xml = testsupport::ReadFile(pristine);
    const double alone = Best(pristine, file, [&] { return quillfen::ApplyEdits(xml, records).has_value(); });
    std::printf("%9d %7d %9.1f %9.3f %9.3f %7.2f %11.3f\n", bookmarks, edits,
                std::filesystem::file_size(pristine) / 1048576.0, read, apply, apply / read, alone);
}

} // namespace

int main() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    std::printf("bookmarks   edits  file MiB    read s   apply s  ratio  edits alone s\n");
    for (const auto& [bookmarks, edits] :
         {std::pair{25'000, 1'000}, {50'000, 1'000}, {100'000, 1'000}, {50'000, 100}, {50'000, 10'000}})
        Measure(pattern, bookmarks, edits);
    std::filesystem::remove_all(pattern);
    return 0;
}
