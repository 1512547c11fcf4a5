#include "framework/ui/qt/ListModel.h"

#include "framework/ui/qt/Bridge.h"

#include <unordered_set>

namespace fw::detail {
namespace {

template <class T> T At(const std::vector<T>& v, int i, T fallback = T{}) {
    return i >= 0 && static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : fallback;
}

template <class T> void Put(std::vector<T>& v, int i, T value) {
    if (i < 0)
        return;
    if (static_cast<size_t>(i) >= v.size())
        v.resize(static_cast<size_t>(i) + 1);
    v[static_cast<size_t>(i)] = std::move(value);
}

Qt::Alignment QtAlignment(int alignment) {
    switch (alignment) {
    case ListBox::AlignCenter:
        return Qt::AlignCenter;
    case ListBox::AlignRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

} // namespace

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !ValidRow(index.row()))
        return {};
    const int row = index.row(), column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Displayed(Cell(row, column));
    case Qt::CheckStateRole:
        if (EffectiveType(row, column) != ListBox::TypeCheckBox)
            return {};
        return Check(row, column) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(QtAlignment(At(alignments_, column)));
    default:
        return {};
    }
}

// Only the view calls this: it is the user's commit of an edit or toggle of a check box.
bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !ValidRow(index.row()))
        return false;
    const int row = index.row(), column = index.column();
    if (role == Qt::CheckStateRole) {
        SetCheck(row, column, value.toInt() == Qt::Checked);
    } else if (role == Qt::EditRole) {
        SetCell(row, column, S(value.toString()));
    } else {
        return false;
    }
    Raise(owner_.CellAction, row, column);
    return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int type = EffectiveType(index.row(), index.column());
    if (type == ListBox::TypeCheckBox)
        f |= Qt::ItemIsUserCheckable;
    else if (type == ListBox::TypeEditable)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return Q(Heading(section));
}

void ListModel::AddRow(const std::string& firstCell) {
    const int row = Count();
    beginInsertRows({}, row, row);
    Row r;
    r.id = nextId_++;
    r.cells.push_back(firstCell);
    rows_.push_back(std::move(r));
    if (indexValid_)
        index_[rows_.back().id] = row;
    endInsertRows();
}

void ListModel::RemoveRow(int row) {
    if (!ValidRow(row))
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    indexValid_ = false;
    endRemoveRows();
}

void ListModel::RemoveRows(const std::vector<ListBox::RowId>& ids) {
    const std::unordered_set<ListBox::RowId> gone(ids.begin(), ids.end());
    beginResetModel();
    std::erase_if(rows_, [&](const Row& r) { return gone.count(r.id) != 0; });
    indexValid_ = false;
    endResetModel();
}

void ListModel::Clear() {
    beginResetModel();
    rows_.clear();
    index_.clear();
    indexValid_ = true;
    endResetModel();
}

const std::string& ListModel::Cell(int row, int column) const {
    if (!ValidRow(row) || column < 0)
        return Empty();
    const auto& cells = rows_[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : Empty();
}

void ListModel::SetCell(int row, int column, const std::string& text) {
    if (!ValidRow(row) || column < 0)
        return;
    Put(rows_[static_cast<size_t>(row)].cells, column, text);
    static const QList<int> kTextRoles{Qt::DisplayRole, Qt::EditRole}; // built once: a scan writes many cells
    CellChanged(row, column, kTextRoles);
}

bool ListModel::Check(int row, int column) const {
    return ValidRow(row) && At<uint8_t>(rows_[static_cast<size_t>(row)].checks, column) != 0;
}

void ListModel::SetCheck(int row, int column, bool on) {
    if (!ValidRow(row))
        return;
    Put<uint8_t>(rows_[static_cast<size_t>(row)].checks, column, on ? 1 : 0);
    CellChanged(row, column, {Qt::CheckStateRole});
}

int ListModel::OwnCellType(int row, int column) const {
    return ValidRow(row) ? static_cast<int>(At<int8_t>(rows_[static_cast<size_t>(row)].types, column))
                         : static_cast<int>(ListBox::TypeDefault);
}

void ListModel::SetCellType(int row, int column, int type) {
    if (!ValidRow(row))
        return;
    Put(rows_[static_cast<size_t>(row)].types, column, static_cast<int8_t>(type));
    CellChanged(row, column, {});
}

int ListModel::EffectiveType(int row, int column) const {
    const int own = OwnCellType(row, column);
    return own != ListBox::TypeDefault ? own : At(columnTypes_, column);
}

void ListModel::CellChanged(int row, int column, const QList<int>& roles) {
    // Cells beyond the column count are data only: no view shows them.
    if (column < columns_) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i, roles);
    }
}

int ListModel::RowOf(ListBox::RowId id) const {
    // Until rows are sorted or removed, each stays where it was added: one look instead of a hash search.
    if (!rows_.empty() && id >= rows_.front().id) {
        const ListBox::RowId guess = id - rows_.front().id;
        if (guess < rows_.size() && rows_[static_cast<size_t>(guess)].id == id)
            return static_cast<int>(guess);
    }
    if (!indexValid_) {
        index_.clear();
        index_.reserve(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i)
            index_[rows_[i].id] = static_cast<int>(i);
        indexValid_ = true;
    }
    auto it = index_.find(id);
    return it == index_.end() ? -1 : it->second;
}

void ListModel::SetColumns(int count) {
    count = std::max(1, count);
    if (count > columns_) {
        beginInsertColumns({}, columns_, count - 1);
        columns_ = count;
        endInsertColumns();
    } else if (count < columns_) {
        beginRemoveColumns({}, count, columns_ - 1);
        columns_ = count;
        endRemoveColumns();
    }
}

std::string ListModel::Heading(int column) const { return At(headings_, column); }

void ListModel::SetHeading(int column, const std::string& text) {
    Put(headings_, column, text);
    if (column >= 0 && column < columns_)
        emit headerDataChanged(Qt::Horizontal, column, column);
}

void ListModel::SetAlignment(int column, int alignment) {
    Put(alignments_, column, alignment);
    if (column >= 0 && column < columns_ && !rows_.empty())
        emit dataChanged(index(0, column), index(Count() - 1, column), {Qt::TextAlignmentRole});
}

void ListModel::SetColumnType(int column, int type) {
    Put(columnTypes_, column, type);
    if (column >= 0 && column < columns_ && !rows_.empty())
        emit dataChanged(index(0, column), index(Count() - 1, column));
}

void ListModel::Reorder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
    }
    rows_ = std::move(sorted);
    indexValid_ = false;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.push_back(index(newRowOf[static_cast<size_t>(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace fw::detail
