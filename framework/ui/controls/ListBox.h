// A list box: rows of cell texts held in one model that the view reads, check boxes, editing, sorting.
#pragma once

#include "framework/ui/VisualControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class Graphics;

class ListBox : public VisualControl {
public:
    enum CellTypes { TypeDefault = 0, TypeNormal = 1, TypeCheckBox = 2, TypeEditable = 3 };
    enum Alignments { AlignDefault = 0, AlignLeft = 1, AlignCenter = 2, AlignRight = 3 };
    enum SelectionTypes { SelectionSingle = 0, SelectionMultiple = 1 };
    using RowId = uint64_t; // a row's identity: it survives sorting and the removal of other rows

    ListBox(const ControlLayout& layout, void* parent);
    ~ListBox() override;

    // Rows. Cells of any column index can be written and read, also beyond the column count
    // (such cells are kept and sorted on, never shown).
    void AddRow(const std::string& firstCell = {});
    void RemoveRow(int row);
    // Removes the rows that hold these identities (others are ignored) in one pass, much faster than
    // one RemoveRow each on long lists. The rows that stay keep their selection, and the first
    // visible row stays where it was as far as the list still reaches.
    void RemoveRows(const std::vector<RowId>& ids);
    void DeleteAllRows();
    int ListCount() const;
    // Valid until the list next changes; "" for a cell never written.
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);
    bool CellCheck(int row, int column) const;
    void SetCellCheck(int row, int column, bool on);
    int CellType(int row, int column) const;
    void SetCellType(int row, int column, int type);
    RowId RowIdentity(int row) const;
    // The row that now holds `id`, or -1 when it is gone.
    int RowOf(RowId id) const;

    // Columns.
    int ColumnCount() const;
    void SetColumnCount(int count);
    std::string Heading(int column) const;
    void SetHeading(int column, const std::string& text);
    void SetColumnWidths(const std::string& spec); // "30,2*,4*,2*,1*,0,0"
    int ColumnWidth(int column) const;             // on screen, in pixels
    void SetColumnAlignment(int column, int alignment);
    void SetColumnType(int column, int type);
    void SetHasHeading(bool on);

    // Selection and scrolling.
    bool Selected(int row) const;
    void SetSelected(int row, bool on);
    int SelCount() const;
    int ListIndex() const; // first selected row, -1 when none
    void SetListIndex(int row);
    int SelectionType() const;
    void SetSelectionType(int type);
    int ScrollPosition() const; // the first visible row
    void SetScrollPosition(int row);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int pixels);
    void SetScrollBarVertical(bool on);
    void SetUseFocusRing(bool on);
    void SetAcceptTextDrop(bool on);

    // Sorting: stable, with CompareRows as the comparator when it answers.
    int SortedColumn() const;
    void SetSortedColumn(int column);
    int ColumnSortDirection(int column) const; // 1 ascending, -1 descending
    void SetColumnSortDirection(int column, int direction);
    void Sort();
    // A press of the heading of `column`, as the user's click does.
    void PressHeader(int column);

    // Puts the cell into editing (it must be of the editable type).
    void EditCell(int row, int column);
    // The text the cell shows: while it is being edited, what has been typed so far, not yet committed.
    std::string ShownText(int row, int column) const;

    // Events. Cell actions come only from the user's commit of an edit or toggle of a check box.
    std::function<bool(Graphics&, int, int)> CellBackgroundPaint;
    std::function<bool(int, int, int, int)> CellClick;
    std::function<void()> DoubleClick;
    std::function<bool(const std::string&)> KeyDown;
    std::function<void(const std::string&)> DropObject; // the dropped text; a drop without text raises nothing
    std::function<bool(int, int, int, int&)> CompareRows;
    std::function<bool(int)> HeaderPressed;
    std::function<bool(int)> SortColumn;
    std::function<void(int, int)> CellAction;
    std::function<void(int, int)> CellGotFocus;
    std::function<void(int, int)> CellLostFocus;
    std::function<void()> GotFocus;
    std::function<void()> Change; // the selection changed

    struct Model;

private:
    std::unique_ptr<Model> model_;
};

} // namespace fw
