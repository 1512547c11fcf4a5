// Inside the framework only: the one row store of a list box, read by its view.
#pragma once

#include "framework/ui/controls/ListBox.h"

#include <QAbstractTableModel>
#include <string>
#include <unordered_map>
#include <vector>

namespace fw::detail {

class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(ListBox& owner) : owner_(owner) {}

    // What the view reads and what the user's edits and check-box clicks write.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // What code does: never raises a cell action.
    int Count() const { return static_cast<int>(rows_.size()); }
    bool ValidRow(int row) const { return row >= 0 && row < Count(); }
    void AddRow(const std::string& firstCell);
    void RemoveRow(int row);
    // Removes the rows with these identities in one pass, as one reset of the model.
    void RemoveRows(const std::vector<ListBox::RowId>& ids);
    void Clear();
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);
    bool Check(int row, int column) const;
    void SetCheck(int row, int column, bool on);
    int OwnCellType(int row, int column) const;
    void SetCellType(int row, int column, int type);
    // The cell's own type, or its column's when it has none.
    int EffectiveType(int row, int column) const;
    ListBox::RowId Id(int row) const { return rows_[static_cast<size_t>(row)].id; }
    int RowOf(ListBox::RowId id) const;

    int Columns() const { return columns_; }
    void SetColumns(int count);
    std::string Heading(int column) const;
    void SetHeading(int column, const std::string& text);
    void SetAlignment(int column, int alignment);
    void SetColumnType(int column, int type);

    // Puts the rows into `order` (order[new] = old), keeping the view's selection and current cell on
    // the rows they were on.
    void Reorder(const std::vector<int>& order);

private:
    struct Row {
        ListBox::RowId id = 0;
        std::vector<std::string> cells;
        std::vector<uint8_t> checks;
        std::vector<int8_t> types;
    };
    void CellChanged(int row, int column, const QList<int>& roles);

    ListBox& owner_;
    std::vector<Row> rows_;
    ListBox::RowId nextId_ = 1;
    int columns_ = 1;
    std::vector<std::string> headings_;
    std::vector<int> alignments_;
    std::vector<int> columnTypes_;
    // RowId -> row, rebuilt on demand after the rows moved.
    mutable std::unordered_map<ListBox::RowId, int> index_;
    mutable bool indexValid_ = true;
};

} // namespace fw::detail
