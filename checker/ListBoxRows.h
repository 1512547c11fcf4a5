// The main window's list box as the scan's rows.
#pragma once

#include "checker/ScanRows.h"
#include "framework/ui/controls/ListBox.h"

namespace quillfen {

class ListBoxRows final : public ScanRows {
public:
    explicit ListBoxRows(fw::ListBox& list) : list_(list) {}

    int ListCount() const override { return list_.ListCount(); }
    std::string Cell(int row, int column) const override { return list_.Cell(row, column); }
    void SetCell(int row, int column, const std::string& text) override { list_.SetCell(row, column, text); }
    bool CellCheck(int row, int column) const override { return list_.CellCheck(row, column); }
    bool Selected(int row) const override { return list_.Selected(row); }
    int SelCount() const override { return list_.SelCount(); }
    int ScrollPosition() const override { return list_.ScrollPosition(); }
    void SetScrollPosition(int row) override { list_.SetScrollPosition(row); }
    int Height() const override { return list_.Height(); }
    int DefaultRowHeight() const override { return list_.DefaultRowHeight(); }
    RowId RowIdentity(int row) const override { return list_.RowIdentity(row); }
    int RowOf(RowId id) const override { return list_.RowOf(id); }

private:
    fw::ListBox& list_;
};

} // namespace quillfen
