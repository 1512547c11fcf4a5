// The main window's list commands over 50,000 rows as a scan leaves them: marking by result class,
// Uncheck all, Check Duplicates and Find Next, and the filter over a bookmarks file of 50,000 bookmarks.
#include "BookmarksFixture.h"
#include "WindowBench.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "checker/StatusText.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace quillfen;
namespace fs = std::filesystem;

constexpr int kRows = 50'000;
// Names come from this many titles, so a title's own word is found about once in this many rows.
constexpr int kTitles = 1000;
// URLs are drawn from this many addresses: about one row in nine repeats an earlier row's URL.
constexpr int kAddresses = 200'000;

// Result codes of a finished scan and how many rows in a hundred get each; 0 is a row not checked yet.
struct Result {
    int code;
    int weight;
};
constexpr Result kResults[] = {{0, 5},   {200, 54}, {301, 10}, {302, 5}, {404, 8},         {403, 3},
                               {500, 2}, {503, 1},  {103, 4},  {102, 2}, {kTimeoutCode, 6}};


Listwin& Win() {
    return fw::Instance<Listwin>();
}
fw::ListBox& List() {
    return Win().Get<fw::ListBox>("ListBox1");
}

void SetSearchWord(const std::string& word) {
    Win().Get<fw::ListBox>("ListBox2").SetCell(0, 0, word);
}

// The scan writes the Code cell only when it has a text for it (a 2xx row keeps the empty cell unless
// codes of good links are shown, as one row in three was by an earlier scan), and always the Status.
void WriteResult(fw::ListBox& list, int row, int code) {
    if (code == 0)
        return;
    const auto codeText = CodeCellText(code, "5", row % 3 == 0 ? "showcodes" : "");
    list.SetCell(row, BookmarkColumn::Code, codeText.value_or(""));
    list.SetCell(row, BookmarkColumn::Status, StatusText(code));
}

fw::ListBox& ScannedList() {
    fw::ListBox& list = List();
    if (list.ListCount() == kRows)
        return list;
    std::mt19937 random(42);
    std::vector<int> weights;
    for (const Result& result : kResults)
        weights.push_back(result.weight);
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    list.DeleteAllRows();
    for (int row = 0; row < kRows; ++row) {
        char key[8];
        std::snprintf(key, sizeof key, "%06d", row + 1);
        const std::string site = std::to_string(random() % kAddresses);
        list.AddRow("");
        list.SetCell(row, BookmarkColumn::Name,
                     "Topic " + std::to_string(random() % kTitles) + ": notes and links");
        list.SetCell(row, BookmarkColumn::URL,
                     "https://www" + site + ".example.com/path/page" + site + ".html");
        list.SetCell(row, BookmarkColumn::Order, key);
        list.SetCell(row, BookmarkColumn::UUID, std::to_string(random()));
        WriteResult(list, row, kResults[pick(random)].code);
    }
    return list;
}

// Every run of a command starts from the same marks: one row in `every` marked, none for 0.
void SetMarks(fw::ListBox& list, int every) {
    for (int row = 0; row < list.ListCount(); ++row) {
        const bool on = every > 0 && row % every == 0;
        list.SetCellCheck(row, BookmarkColumn::Check, on);
        list.SetCell(row, BookmarkColumn::Checked, on ? "1" : "0");
    }
}

int MarkedCount(const fw::ListBox& list) {
    int count = 0;
    for (int row = 0; row < list.ListCount(); ++row)
        count += list.CellCheck(row, BookmarkColumn::Check) ? 1 : 0;
    return count;
}

void RunCommand(benchmark::State& state, const char* command, int marksEvery) {
    fw::ListBox& list = ScannedList();
    for (auto _ : state) {
        state.PauseTiming();
        SetMarks(list, marksEvery);
        state.ResumeTiming();
        Win().HandleMenuCommand(command);
    }
    state.counters["marked"] = MarkedCount(list);
}

BENCHMARK_CAPTURE(RunCommand, CheckDuplicates, "CheckDuplicatesDuplicateURLs", 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Checkall1xx, "Checkall1xx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Checkall2xx, "Checkall2xx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Checkall3xx, "Checkall3xx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Checkall4xx, "Checkall4xx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Checkall5xx, "Checkall5xx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, CheckallTimeouts, "CheckallTxx", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunCommand, Uncheckall, "Uncheckall", 10)->Unit(benchmark::kMillisecond);

// The plain way, timed once for comparison: every row against all the rows above it. It also checks
// that Check Duplicates marks exactly these rows.
void BM_DuplicatesByPlainComparison(benchmark::State& state) {
    fw::ListBox& list = ScannedList();
    Win().HandleMenuCommand("CheckDuplicatesDuplicateURLs");
    std::vector<bool> duplicate;
    for (auto _ : state) {
        std::vector<std::string_view> urls;
        for (int row = 0; row < kRows; ++row)
            urls.push_back(list.Cell(row, BookmarkColumn::URL));
        duplicate.assign(urls.size(), false);
        for (std::size_t row = 0; row < urls.size(); ++row)
            for (std::size_t above = 0; above < row && !duplicate[row]; ++above)
                duplicate[row] = urls[above] == urls[row];
    }
    int count = 0;
    for (int row = 0; row < kRows; ++row) {
        count += duplicate[static_cast<std::size_t>(row)] ? 1 : 0;
        if (duplicate[static_cast<std::size_t>(row)] != list.CellCheck(row, BookmarkColumn::Check))
            state.SkipWithError("Check Duplicates marked other rows than the plain comparison");
    }
    state.counters["marked"] = count;
}
BENCHMARK(BM_DuplicatesByPlainComparison)->Unit(benchmark::kMillisecond)->Iterations(1);

// Each run goes on from the last hit; over the runs the hits are on average kTitles rows apart.
void FindNext(benchmark::State& state, const std::string& word) {
    ScannedList();
    SetSearchWord(word);
    Win().searchLine = 0;
    for (auto _ : state)
        Win().HandleMenuCommand("FileFindNext");
}

// Titles run from "Topic 0:" to "Topic 999:".
BENCHMARK_CAPTURE(FindNext, NoHit, "Topic 1000:")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, HitPer1000Rows, "Topic 517:")->Unit(benchmark::kMillisecond);

// Bookmarks in folders of 1,000, named after ten topics in turn.
bool WriteBookmarksFile(const fs::path& path) {
    static constexpr const char* kTopics[] = {"Garden", "Music",    "Recipes", "Weather", "Books",
                                              "Cinema", "Football", "Banking", "Travel",  "Science"};
    testsupport::BookmarksFixture fixture(testsupport::BookmarksFixture::Form::Modern);
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i);
        fixture.Add("Folder " + std::to_string(i / 1000),
                    {std::string(kTopics[i % 10]) + " page " + n,
                     "https://www" + n + ".example.com/path/page" + n + ".html",
                     "5A0C0F1E-0000-4000-8000-" + std::string(12 - n.size(), '0') + n});
    }
    return fixture.Write(path.string(), testsupport::BookmarksFixture::Encoding::Binary);
}

// One bookmark in ten has "Travel" in its name. plutil converts the file in place, so every run gets
// the binary file back first.
void BM_Filter(benchmark::State& state) {
    if (!fs::exists(fs::read_symlink("/proc/self/exe").parent_path() / "plutil")) {
        state.SkipWithError("build the plutil target next to this program");
        return;
    }
    // Written once, outside the timing; libplist takes seconds for it.
    const fs::path pristine = benchsupport::BenchHome() / "pristine.plist";
    if (!fs::exists(pristine) && !WriteBookmarksFile(pristine)) {
        state.SkipWithError("cannot write the bookmarks file");
        return;
    }
    const fs::path bookmarks = BookmarksFile().PosixPath();
    SetSearchWord("Travel");
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(pristine, bookmarks, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        Win().filterWord();
    }
    state.counters["kept"] = List().ListCount();
}
BENCHMARK(BM_Filter)->Unit(benchmark::kMillisecond);

} // namespace
