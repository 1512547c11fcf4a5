// Filling the bookmark list with 100,000 rows and sorting it by each key of the "Sort List by" menu.
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using namespace quillfen;
constexpr int kRows = 100000;

fw::ListBox& List() { return fw::Instance<Listwin>().Get<fw::ListBox>("ListBox1"); }

// Rows as a read leaves them: names and URLs with repeats, a few code texts, file order keys.
void Fill(fw::ListBox& list) {
    std::mt19937 random(42);
    const char* codes[] = {"", "200", "301", "404", "999", "104"};
    list.DeleteAllRows();
    for (int i = 1; i <= kRows; ++i) {
        list.AddRow("");
        const int row = list.ListCount() - 1;
        char key[8];
        std::snprintf(key, sizeof key, "%06d", i);
        list.SetCell(row, BookmarkColumn::Name, "Bookmark " + std::to_string(random() % 20000));
        list.SetCell(row, BookmarkColumn::URL, "http://site" + std::to_string(random() % 50000) + ".example/page");
        list.SetCell(row, BookmarkColumn::Code, codes[random() % 6]);
        list.SetCell(row, BookmarkColumn::Order, key);
        list.SetCell(row, BookmarkColumn::UUID, std::to_string(random()));
        list.SetCell(row, BookmarkColumn::Checked, random() % 10 == 0 ? "1" : "0");
    }
}

void BM_Fill(benchmark::State& state) {
    for (auto _ : state)
        Fill(List());
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond);

// Each run starts from the same scrambled order (by identifier) so that no sort meets rows it already sorted.
void SortBy(benchmark::State& state, const char* command) {
    Listwin& win = fw::Instance<Listwin>();
    fw::ListBox& list = List();
    if (list.ListCount() != kRows)
        Fill(list);
    for (auto _ : state) {
        state.PauseTiming();
        list.SetSortedColumn(BookmarkColumn::UUID);
        list.Sort();
        state.ResumeTiming();
        win.HandleMenuCommand(command);
    }
}

void BM_SortByName(benchmark::State& s) { SortBy(s, "SortlistbyBookmarkname"); }
void BM_SortByURL(benchmark::State& s) { SortBy(s, "SortlistbyBookmarkURL"); }
void BM_SortByCode(benchmark::State& s) { SortBy(s, "SortlistbyCode"); }
void BM_SortByOriginalOrder(benchmark::State& s) { SortBy(s, "SortlistbyOriginalorder"); }
void BM_SortByChecked(benchmark::State& s) { SortBy(s, "SortlistbyChecked"); }
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByURL)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByCode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByOriginalOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByChecked)->Unit(benchmark::kMillisecond);

} // namespace
