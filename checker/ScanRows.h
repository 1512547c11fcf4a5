// The rows of the bookmark list as the scan sees them. The main window adapts its list box to this
// (ListBoxRows), tests use a list in memory; the checker never touches a widget.
#pragma once

#include <cstdint>
#include <string>

namespace quillfen {

class ScanRows {
public:
    // A row's identity: it survives sorting, filtering and the removal of other rows.
    using RowId = std::uint64_t;
    // The bookmark row's columns the scan reads and writes.
    static constexpr int kUrlColumn = 2;
    static constexpr int kStatusColumn = 3;
    static constexpr int kCodeColumn = 4;

    virtual ~ScanRows() = default;

    virtual int ListCount() const = 0;
    virtual std::string Cell(int row, int column) const = 0;
    // The list redraws what was written by itself; the scan asks for no redraw.
    virtual void SetCell(int row, int column, const std::string& text) = 0;
    virtual bool CellCheck(int row, int column) const = 0;
    virtual bool Selected(int row) const = 0;
    virtual int SelCount() const = 0;

    virtual int ScrollPosition() const = 0;
    virtual void SetScrollPosition(int row) = 0;
    // In pixels.
    virtual int Height() const = 0;
    virtual int DefaultRowHeight() const = 0;

    virtual RowId RowIdentity(int row) const = 0;
    // The row that now holds id, or -1 when it is gone.
    virtual int RowOf(RowId id) const = 0;
};

} // namespace quillfen
