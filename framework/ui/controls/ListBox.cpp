#include "framework/ui/controls/ListBox.h"

#include "framework/runtime/Layout.h"
#include "framework/text/Text.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/ListModel.h"
#include "framework/ui/qt/ListView.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <numeric>

namespace fw {

struct ListBox::Model {
    std::unique_ptr<detail::ListModel> rows;
    QPointer<detail::ListView> view;
    QPointer<detail::ListDelegate> delegate;
    int selectionType = SelectionSingle;
    int rowHeight = -1;
    int sortedColumn = -1;
    std::vector<int> sortDirections;
};

namespace {
detail::ListView* MakeView(void* parent) { return new detail::ListView(static_cast<QWidget*>(parent)); }
} // namespace

ListBox::ListBox(const ControlLayout& layout, void* parent)
    : VisualControl(layout, MakeView(parent)), model_(std::make_unique<Model>()) {
    model_->rows = std::make_unique<detail::ListModel>(*this);
    auto* view = static_cast<detail::ListView*>(detail::WidgetOf(*this));
    model_->view = view;
    view->owner = this;
    auto* delegate = new detail::ListDelegate(view);
    delegate->owner = this;
    model_->delegate = delegate;
    view->setItemDelegate(delegate);
    view->setModel(model_->rows.get());
    // The headings show no cells: a written cell's notice need not reach them (a scan writes thousands).
    for (QHeaderView* heading : {view->horizontalHeader(), view->verticalHeader()})
        QObject::disconnect(model_->rows.get(), &QAbstractItemModel::dataChanged, heading, nullptr);
    view->setSortingEnabled(false);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A plain click edits an editable cell, as below; Qt's own click trigger would edit only a row already
    // selected before the press.
    view->setEditTriggers(QAbstractItemView::EditKeyPressed);
    // Scrolling counts whole rows, so the scroll position is the first visible row.
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setSectionResizeMode(layout.props.Bool("columnsResizable", true) ? QHeaderView::Interactive
                                                                                               : QHeaderView::Fixed);
    view->setHorizontalScrollBarPolicy(layout.props.Bool("scrollBarHorizontal") ? Qt::ScrollBarAsNeeded
                                                                                 : Qt::ScrollBarAlwaysOff);
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view,
                     [this](int column) { PressHeader(column); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [this] { Raise(Change); });
    QObject::connect(view, &QAbstractItemView::clicked, view, [view](const QModelIndex& index) {
        if (QGuiApplication::keyboardModifiers() == Qt::NoModifier &&
            index.flags().testFlag(Qt::ItemIsEditable))
            view->edit(index);
    });

    SetColumnCount(layout.props.Int("columnCount", 1));
    SetHasHeading(layout.props.Bool("hasHeading", false));
    SetSelectionType(layout.props.Int("selectionType", SelectionSingle));
    SetScrollBarVertical(layout.props.Bool("scrollBarVertical", true));
    SetUseFocusRing(layout.props.Bool("useFocusRing", true));
    SetDefaultRowHeight(layout.props.Int("defaultRowHeight", -1));

    DeclareEvent("CellBackgroundPaint", CellBackgroundPaint);
    DeclareEvent("CellClick", CellClick);
    DeclareEvent("DoubleClick", DoubleClick);
    DeclareEvent("KeyDown", KeyDown);
    DeclareEvent("DropObject", DropObject);
    DeclareEvent("CompareRows", CompareRows);
    DeclareEvent("HeaderPressed", HeaderPressed);
    DeclareEvent("SortColumn", SortColumn);
    DeclareEvent("CellAction", CellAction);
    DeclareEvent("CellGotFocus", CellGotFocus);
    DeclareEvent("CellLostFocus", CellLostFocus);
    DeclareEvent("GotFocus", GotFocus);
    DeclareEvent("Change", Change);
}

ListBox::~ListBox() {
    // The widget may outlive this object by a moment (window tear-down): it must raise nothing more.
    // The delegate first: dropping the model closes an open editor, which would raise CellLostFocus.
    if (detail::ListDelegate* delegate = model_->delegate)
        delegate->owner = nullptr;
    if (detail::ListView* view = model_->view) {
        view->owner = nullptr;
        view->selectionModel()->disconnect();
        view->horizontalHeader()->disconnect(view);
        view->setModel(nullptr);
    }
}

void ListBox::AddRow(const std::string& firstCell) { model_->rows->AddRow(firstCell); }
void ListBox::RemoveRow(int row) { model_->rows->RemoveRow(row); }
// The reset drops the selection without a word: a list that had one reports its change.
void ListBox::DeleteAllRows() {
    const bool hadSelection = model_->view && model_->view->selectionModel()->hasSelection();
    model_->rows->Clear();
    if (hadSelection)
        Raise(Change);
}

void ListBox::RemoveRows(const std::vector<RowId>& ids) {
    if (ids.empty())
        return;
    detail::ListView* view = model_->view;
    std::vector<RowId> selected;
    if (view)
        for (const QModelIndex& index : view->selectionModel()->selectedRows())
            selected.push_back(RowIdentity(index.row()));
    model_->rows->RemoveRows(ids);
    if (!view)
        return;
    // The reset dropped the selection silently: select the rows that stay again, in one go.
    QItemSelection again;
    for (RowId id : selected)
        if (const int row = RowOf(id); row >= 0)
            again.select(model_->rows->index(row, 0), model_->rows->index(row, 0));
    if (!again.isEmpty())
        view->selectionModel()->select(again, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    else if (!selected.empty())
        Raise(Change);
}
int ListBox::ListCount() const { return model_->rows->Count(); }
const std::string& ListBox::Cell(int row, int column) const { return model_->rows->Cell(row, column); }
void ListBox::SetCell(int row, int column, const std::string& text) { model_->rows->SetCell(row, column, text); }
bool ListBox::CellCheck(int row, int column) const { return model_->rows->Check(row, column); }
void ListBox::SetCellCheck(int row, int column, bool on) { model_->rows->SetCheck(row, column, on); }
int ListBox::CellType(int row, int column) const { return model_->rows->OwnCellType(row, column); }
void ListBox::SetCellType(int row, int column, int type) { model_->rows->SetCellType(row, column, type); }

ListBox::RowId ListBox::RowIdentity(int row) const {
    return model_->rows->ValidRow(row) ? model_->rows->Id(row) : 0;
}

int ListBox::RowOf(RowId id) const { return model_->rows->RowOf(id); }

int ListBox::ColumnCount() const { return model_->rows->Columns(); }

void ListBox::SetColumnCount(int count) {
    model_->rows->SetColumns(count);
    if (model_->view)
        model_->view->ApplyWidths();
}

std::string ListBox::Heading(int column) const { return model_->rows->Heading(column); }
void ListBox::SetHeading(int column, const std::string& text) { model_->rows->SetHeading(column, text); }

void ListBox::SetColumnWidths(const std::string& spec) {
    if (model_->view)
        model_->view->SetWidthSpec(spec);
}

int ListBox::ColumnWidth(int column) const {
    detail::ListView* view = model_->view;
    if (!view || column < 0 || column >= ColumnCount() || view->isColumnHidden(column))
        return 0;
    return view->columnWidth(column);
}

void ListBox::SetColumnAlignment(int column, int alignment) { model_->rows->SetAlignment(column, alignment); }
void ListBox::SetColumnType(int column, int type) { model_->rows->SetColumnType(column, type); }

void ListBox::SetHasHeading(bool on) {
    if (model_->view)
        model_->view->horizontalHeader()->setVisible(on);
}

bool ListBox::Selected(int row) const {
    detail::ListView* view = model_->view;
    return view && model_->rows->ValidRow(row) && view->selectionModel()->isRowSelected(row, {});
}

void ListBox::SetSelected(int row, bool on) {
    detail::ListView* view = model_->view;
    if (!view || !model_->rows->ValidRow(row))
        return;
    auto flags = (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows;
    if (on && model_->selectionType == SelectionSingle)
        flags |= QItemSelectionModel::Clear;
    view->selectionModel()->select(model_->rows->index(row, 0), flags);
}

int ListBox::SelCount() const {
    detail::ListView* view = model_->view;
    return view ? static_cast<int>(view->selectionModel()->selectedRows().size()) : 0;
}

int ListBox::ListIndex() const {
    detail::ListView* view = model_->view;
    if (!view)
        return -1;
    int first = -1;
    for (const QModelIndex& i : view->selectionModel()->selectedRows())
        if (first < 0 || i.row() < first)
            first = i.row();
    return first;
}

void ListBox::SetListIndex(int row) {
    detail::ListView* view = model_->view;
    if (!view)
        return;
    view->selectionModel()->clearSelection();
    if (model_->rows->ValidRow(row)) {
        view->selectionModel()->setCurrentIndex(model_->rows->index(row, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

int ListBox::SelectionType() const { return model_->selectionType; }

void ListBox::SetSelectionType(int type) {
    model_->selectionType = type == SelectionMultiple ? SelectionMultiple : SelectionSingle;
    if (model_->view)
        model_->view->setSelectionMode(type == SelectionMultiple ? QAbstractItemView::ExtendedSelection
                                                                 : QAbstractItemView::SingleSelection);
}

int ListBox::ScrollPosition() const {
    detail::ListView* view = model_->view;
    return view ? view->verticalScrollBar()->value() : 0;
}

void ListBox::SetScrollPosition(int row) {
    if (model_->view)
        model_->view->ScrollToRow(row);
}

int ListBox::DefaultRowHeight() const {
    detail::ListView* view = model_->view;
    if (model_->rowHeight > 0 || !view)
        return model_->rowHeight;
    return view->verticalHeader()->defaultSectionSize();
}

void ListBox::SetDefaultRowHeight(int pixels) {
    model_->rowHeight = pixels;
    detail::ListView* view = model_->view;
    if (!view)
        return;
    QHeaderView* rows = view->verticalHeader();
    if (pixels > 0) {
        rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), pixels));
        rows->setDefaultSectionSize(pixels);
    } else {
        rows->resetDefaultSectionSize();
    }
}

void ListBox::SetScrollBarVertical(bool on) {
    if (model_->view)
        model_->view->setVerticalScrollBarPolicy(on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void ListBox::SetUseFocusRing(bool on) {
    if (model_->delegate)
        model_->delegate->focusRing = on;
    if (model_->view)
        model_->view->viewport()->update();
}

void ListBox::SetAcceptTextDrop(bool on) {
    detail::ListView* view = model_->view;
    if (!view)
        return;
    view->acceptTextDrop = on;
    view->setAcceptDrops(on);
    view->viewport()->setAcceptDrops(on);
}

void ListBox::EditCell(int row, int column) {
    detail::ListView* view = model_->view;
    if (!view || !model_->rows->ValidRow(row) || column < 0 || column >= ColumnCount())
        return;
    const QModelIndex index = model_->rows->index(row, column);
    // A cell already being edited keeps its editor, and its typed text, with the focus.
    if (QWidget* editor = view->indexWidget(index)) {
        editor->setFocus();
        return;
    }
    view->setCurrentIndex(index);
    view->edit(index);
}

std::string ListBox::ShownText(int row, int column) const {
    const detail::ListView* view = model_->view;
    if (view && model_->rows->ValidRow(row) && column >= 0)
        if (const auto* editor = qobject_cast<const QLineEdit*>(view->indexWidget(model_->rows->index(row, column))))
            return editor->text().toStdString();
    return Cell(row, column);
}

int ListBox::SortedColumn() const { return model_->sortedColumn; }

void ListBox::SetSortedColumn(int column) {
    model_->sortedColumn = column;
    if (detail::ListView* view = model_->view) {
        view->horizontalHeader()->setSortIndicatorShown(column >= 0 && column < ColumnCount());
        view->horizontalHeader()->setSortIndicator(
            column, ColumnSortDirection(column) < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

int ListBox::ColumnSortDirection(int column) const {
    const auto& d = model_->sortDirections;
    return column >= 0 && static_cast<size_t>(column) < d.size() && d[static_cast<size_t>(column)] < 0 ? -1 : 1;
}

void ListBox::SetColumnSortDirection(int column, int direction) {
    if (column < 0)
        return;
    auto& d = model_->sortDirections;
    if (static_cast<size_t>(column) >= d.size())
        d.resize(static_cast<size_t>(column) + 1, 1);
    d[static_cast<size_t>(column)] = direction < 0 ? -1 : 1;
    if (column == model_->sortedColumn)
        SetSortedColumn(column);
}

void ListBox::Sort() {
    const int column = model_->sortedColumn;
    const detail::ListModel& rows = *model_->rows;
    if (column < 0 || rows.Count() < 2)
        return;
    const int direction = ColumnSortDirection(column);
    // The handler sees the rows where they stand before the sort: they move only once it is done.
    auto compare = [&](int a, int b) {
        int result = 0;
        if (CompareRows && CompareRows(a, b, column, result))
            return result;
        return TextCompare(rows.Cell(a, column), rows.Cell(b, column));
    };
    std::vector<int> order(static_cast<size_t>(rows.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return direction * compare(a, b) < 0; });
    model_->rows->Reorder(order);
}

// The list's own handling of a heading, when the handler leaves it: sort by that column, a second
// press of the sorted column's heading flipping its direction.
void ListBox::PressHeader(int column) {
    if (Raise(HeaderPressed, column) || Raise(SortColumn, column))
        return;
    if (column == model_->sortedColumn)
        SetColumnSortDirection(column, -ColumnSortDirection(column));
    SetSortedColumn(column);
    Sort();
}

} // namespace fw
