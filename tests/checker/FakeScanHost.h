// An in-memory bookmark list and main window for scan tests. The list records every Status text
// written to each bookmark, so tests can see the interim texts as well as the final one.
#pragma once

#include "app/Globals.h"
#include "checker/ScanHost.h"
#include "checker/kritiskClass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillfen::scantest {

class FakeRows : public ScanRows {
public:
    struct Row {
        RowId id = 0;
        std::map<int, std::string> cells;
        bool checked = false, selected = false;
    };

    // Adds a bookmark row with its URL; returns its identity.
    RowId Add(const std::string& url) {
        rows.push_back(Row{nextId_++, {{kUrlColumn, url}}});
        return rows.back().id;
    }
    std::string Status(int row) const { return Cell(row, kStatusColumn); }
    // Rows whose request is under way.
    int InFlight() const {
        return static_cast<int>(std::ranges::count_if(rows, [](const Row& r) {
            const auto it = r.cells.find(kStatusColumn);
            return it != r.cells.end() && (it->second == "checking" || it->second == "Connected");
        }));
    }

    int ListCount() const override { return static_cast<int>(rows.size()); }
    std::string Cell(int row, int column) const override {
        const auto it = At(row).cells.find(column);
        return it == At(row).cells.end() ? std::string() : it->second;
    }
    void SetCell(int row, int column, const std::string& text) override {
        Row& r = rows.at(static_cast<std::size_t>(row));
        r.cells[column] = text;
        if (column == kStatusColumn)
            statusHistory[r.id].push_back(text);
    }
    bool CellCheck(int row, int /*column*/) const override { return At(row).checked; }
    bool Selected(int row) const override { return At(row).selected; }
    int SelCount() const override {
        return static_cast<int>(std::ranges::count_if(rows, [](const Row& r) { return r.selected; }));
    }
    int ScrollPosition() const override { return scroll; }
    void SetScrollPosition(int row) override { scroll = row; }
    int Height() const override { return 90; } // five rows
    int DefaultRowHeight() const override { return 18; }
    RowId RowIdentity(int row) const override { return At(row).id; }
    int RowOf(RowId id) const override {
        const auto it = std::ranges::find(rows, id, &Row::id);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    std::vector<Row> rows;
    std::map<RowId, std::vector<std::string>> statusHistory;
    int scroll = 0;

private:
    const Row& At(int row) const { return rows.at(static_cast<std::size_t>(row)); }
    RowId nextId_ = 1;
};

class FakeHost : public ScanHost {
public:
    ScanRows& Rows() override { return list; }
    void SetStatusText(const std::string& text) override { status = text; }
    std::string ScanCaption() const override { return caption; }
    void SetScanCaption(const std::string& text) override { caption = text; }
    bool StopIt() const override { return stopIt; }
    void SetStopIt(bool on) override { stopIt = on; }
    int ScopeIndex() const override { return scope; }
    void PlayGlass() override { ++glassPlays; }
    void Refresh() override {}
    kritiskClass* CurrentScan() override { return scan.get(); }
    void SetCurrentScan(std::unique_ptr<kritiskClass> next) override {
        // Kept alive, unlike in the window, so that the events of a replaced scan still arrive.
        if (scan)
            replaced.push_back(std::move(scan));
        scan = std::move(next);
    }

    FakeRows list;
    std::string status, caption = "Scan";
    bool stopIt = false;
    int scope = 0, glassPlays = 0;
    std::unique_ptr<kritiskClass> scan;
    std::vector<std::unique_ptr<kritiskClass>> replaced;
};

// The time-out and pool a scan reads, as the preferences record gives them by default; the other
// settings stay empty, which means no proxy and no codes for OK rows.
inline void DefaultSettings() {
    namespace Globals = quillfen::Globals;
    Globals::Release();
    Globals::timeOut = "5";
    Globals::simultSocks = "8";
}

} // namespace quillfen::scantest
