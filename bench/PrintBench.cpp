// Printing a bookmark list of 10,000 rows to a PDF file with File > Print, against drawing the same texts
// on the same lines, in equal columns, straight onto the printer's surface (the floor: no list, no yields).
#include "ScriptedModal.h"
#include "WindowBench.h"
#include "framework/ui/Printing.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/ListBox.h"
#include "mainwindow/Listwin.h"

#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace quillfen;

constexpr int kRows = 10'000;
constexpr int kColumns[] = {BookmarkColumn::Name, BookmarkColumn::URL, BookmarkColumn::Status,
                            BookmarkColumn::Code};
const std::string kLetter = "width=612;height=792;orientation=portrait;margins=36,36,36,36";

std::string Pdf() {
    return (benchsupport::BenchHome() / "list.pdf").string();
}

// Rows as a scan leaves them; one URL in ten too long for its column.
fw::ListBox& FilledList() {
    fw::ListBox& list = fw::Instance<Listwin>().Get<fw::ListBox>("ListBox1");
    if (list.ListCount() == kRows)
        return list;
    list.DeleteAllRows();
    for (int i = 0; i < kRows; ++i) {
        list.AddRow("");
        list.SetCell(i, BookmarkColumn::Name, "Topic " + std::to_string(i % 997) + ": notes and links");
        list.SetCell(i, BookmarkColumn::URL,
                     "http://site" + std::to_string(i) + ".example/" +
                         std::string(i % 10 == 0 ? 200 : 20, 'p'));
        list.SetCell(i, BookmarkColumn::Status, i % 7 == 0 ? "Not Found" : "OK");
        list.SetCell(i, BookmarkColumn::Code, i % 7 == 0 ? "404" : "");
    }
    return list;
}

void ReportSize(benchmark::State& state) {
    state.counters["pdf_KiB"] = static_cast<double>(std::filesystem::file_size(Pdf())) / 1024;
}

void BM_PrintCommand(benchmark::State& state) {
    FilledList();
    testsupport::ScriptedModal modal;
    modal.pageSetupChoice = kLetter;
    modal.printToPdf = Pdf();
    for (auto _ : state)
        fw::Instance<Listwin>().HandleMenuCommand("FilePrint");
    ReportSize(state);
}
BENCHMARK(BM_PrintCommand)->Unit(benchmark::kMillisecond);

// The same strings on the same lines, read from a copy made outside the timing; 3 points below a baseline
// is as far as a line of the surface's text reaches.
void BM_DrawSameTextsDirectly(benchmark::State& state) {
    const fw::ListBox& list = FilledList();
    std::vector<std::array<std::string, 4>> rows(kRows);
    for (int i = 0; i < kRows; ++i)
        for (int k = 0; k < 4; ++k)
            rows[i][k] = list.Cell(i, kColumns[k]);
    testsupport::ScriptedModal modal;
    modal.printToPdf = Pdf();
    for (auto _ : state) {
        fw::PrinterSetup setup;
        setup.SetSetupString(kLetter);
        const std::unique_ptr<fw::PrinterGraphics> g = fw::OpenPrinter(setup);
        const int width = (g->Width() - 10) / 4;
        int y = 102;
        for (const auto& row : rows) {
            if (y + 3 > g->Height()) {
                g->NextPage();
                y = 12;
            }
            for (int k = 0; k < 4; ++k)
                g->DrawString(row[k], 10 + k * width, y, width, true);
            y += 12;
        }
    }
    ReportSize(state);
}
BENCHMARK(BM_DrawSameTextsDirectly)->Unit(benchmark::kMillisecond);

} // namespace
