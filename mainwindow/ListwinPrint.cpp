// File > Page Setup and File > Print: the bookmark list as a plain report of its four text columns.
#include "app/Media.h"
#include "framework/runtime/Thread.h"
#include "framework/ui/Printing.h"
#include "framework/ui/controls/ListBox.h"
#include "mainwindow/Listwin.h"

#include <array>

namespace quillfen {
namespace {

constexpr int kMargin = 10;
constexpr int kTitleBaseline = 60;
constexpr int kHeadingBaseline = 90;
constexpr int kLineSpacing = 12;
constexpr int kFirstRow = kHeadingBaseline + kLineSpacing;
constexpr int kFirstRowOfNextPage = 12;
constexpr std::array<int, 4> kPrintedColumns = {BookmarkColumn::Name, BookmarkColumn::URL,
                                                BookmarkColumn::Status, BookmarkColumn::Code};

struct PrintedColumn {
    int x;
    int width;
};
using PrintedColumns = std::array<PrintedColumn, kPrintedColumns.size()>;
using Line = std::array<std::string, kPrintedColumns.size()>;

// Loads the window's page setup into the dialog and keeps what the user confirms.
bool RunPageSetup(fw::PrinterSetup& setup, std::string& printSettings) {
    if (!printSettings.empty())
        setup.SetSetupString(printSettings);
    if (!setup.PageSetupDialog())
        return false;
    printSettings = setup.SetupString();
    return true;
}

// The on-screen widths scaled to the printable width less the left margin, so the last column ends at its
// right edge rather than past it.
PrintedColumns ScaleColumns(const fw::ListBox& list, int pageWidth) {
    std::array<int, kPrintedColumns.size()> onScreen{};
    double sum = 0;
    for (size_t k = 0; k < kPrintedColumns.size(); ++k) {
        onScreen[k] = list.ColumnWidth(kPrintedColumns[k]);
        sum += onScreen[k];
    }
    const double available = pageWidth > kMargin ? pageWidth - kMargin : 0;
    PrintedColumns columns{};
    int x = kMargin;
    for (size_t k = 0; k < kPrintedColumns.size(); ++k) {
        // With every column at width 0 on screen they share the page equally instead of dividing by 0.
        const double share = sum > 0 ? onScreen[k] / sum : 1.0 / kPrintedColumns.size();
        columns[k] = {x, static_cast<int>(share * available)};
        x += columns[k].width;
        fw::BackgroundYield();
    }
    return columns;
}

void DrawLine(fw::Graphics& g, const PrintedColumns& columns, int y, const Line& texts) {
    for (size_t k = 0; k < columns.size(); ++k)
        g.DrawString(texts[k], columns[k].x, y, columns[k].width, true);
}

void DrawHeader(fw::Graphics& g, const fw::ListBox& list, const PrintedColumns& columns) {
    if (const fw::Picture* logo = quillfen1())
        g.DrawPicture(*logo, 10, 10, 64, 64, 0, 0, 128, 128);
    g.SetBold(true);
    g.DrawString("Safari Quillfen - Bookmark List", columns[1].x, kTitleBaseline);
    Line headings;
    for (size_t k = 0; k < headings.size(); ++k)
        headings[k] = list.Heading(kPrintedColumns[k]);
    DrawLine(g, columns, kHeadingBaseline, headings);
    g.SetBold(false);
}

// The rows in the list's current order. The count is read again each row: a delete may run between rows.
void DrawRows(fw::PrinterGraphics& g, const fw::ListBox& list, const PrintedColumns& columns,
              int pageHeight) {
    const int below = g.TextHeight() - g.TextAscent();
    int y = kFirstRow;
    for (int row = 0; row < list.ListCount(); ++row) {
        // A line that would reach below the printable area goes to the next page, unless that page is new.
        if (y + below > pageHeight && y > kFirstRowOfNextPage) {
            g.NextPage();
            y = kFirstRowOfNextPage;
        }
        Line cells;
        for (size_t k = 0; k < cells.size(); ++k)
            cells[k] = list.Cell(row, kPrintedColumns[k]);
        DrawLine(g, columns, y, cells);
        y += kLineSpacing;
        fw::BackgroundYield();
    }
}

} // namespace

bool Listwin::_FilePageSetup_Action() {
    fw::PrinterSetup setup;
    RunPageSetup(setup, printSettings);
    return true;
}

bool Listwin::_FilePrint_Action() {
    fw::PrinterSetup setup;
    if (!RunPageSetup(setup, printSettings))
        return true;
    const std::unique_ptr<fw::PrinterGraphics> g = fw::OpenPrinter(setup);
    if (!g)
        return true;
    // The printable area of the surface itself, which the print dialog may have changed.
    const PrintedColumns columns = ScaleColumns(List(), g->Width());
    DrawHeader(*g, List(), columns);
    DrawRows(*g, List(), columns, g->Height());
    return true;
}

} // namespace quillfen
