// The list box: one row store read by a table view, sorting, row identities and how cells are drawn.
#include "EventLoop.h"
#include "UserClicks.h"
#include "framework/runtime/Layout.h"
#include "framework/ui/controls/ListBox.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPaintEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_->resize(400, 300);
        fw::ControlLayout layout{.name = "List", .kind = "ListBox", .width = 400, .height = 300, .props = {}};
        layout.props = {{{"columnCount", 3.0}, {"hasHeading", true}}};
        list_ = std::make_unique<fw::ListBox>(layout, host_.get());
        host_->show();
    }
    // A row named `name` whose second cell holds its place when added, from 1.
    void AddRow(const std::string& name) {
        list_->AddRow(name);
        list_->SetCell(list_->ListCount() - 1, 1, std::to_string(list_->ListCount()));
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int row = 0; row < list_->ListCount(); ++row)
            out.push_back(list_->Cell(row, column));
        return out;
    }

    std::unique_ptr<QWidget> host_ = std::make_unique<QWidget>();
    std::unique_ptr<fw::ListBox> list_; // declared after its host, so destroyed before it
};

// Removing many rows by identity keeps the order, the selection and the scroll position (the first visible
// row) of the rows that stay, whose identities find their new rows; a selection that went entirely still
// reports its change. Once the rows are deleted, an identity finds none.
TEST_F(ListBoxTest, RemoveRowsKeepsWhatStays) {
    for (int i = 0; i < 60; ++i)
        AddRow("r" + std::to_string(i));
    list_->SetSelectionType(fw::ListBox::SelectionMultiple);
    list_->SetSelected(2, true);
    list_->SetSelected(40, true);
    list_->SetScrollPosition(10);
    std::vector<fw::ListBox::RowId> gone;
    for (int row = 0; row < 60; row += 2)
        if (row != 40)
            gone.push_back(list_->RowIdentity(row));
    const auto kept = list_->RowIdentity(41);
    list_->RemoveRows(gone);
    ASSERT_EQ(list_->ListCount(), 31);
    QApplication::processEvents();
    EXPECT_EQ(std::tuple(list_->Cell(0, 0), list_->Cell(20, 0), list_->RowOf(kept), list_->SelCount(),
                         list_->Selected(20), list_->ScrollPosition()),
              std::tuple("r1", "r40", 21, 1, true, 10));

    int changes = 0;
    list_->Change = [&] { ++changes; };
    list_->RemoveRows({list_->RowIdentity(20), 999999});
    EXPECT_EQ(std::pair(list_->SelCount(), changes), std::pair(0, 1));
    list_->DeleteAllRows();
    EXPECT_EQ(list_->RowOf(kept), -1);
}

// An open editor lies over its cell: a press on it is a click in that cell, and a handler that takes the
// click keeps it from the editor, whose text then stays selected as it opened.
TEST_F(ListBoxTest, APressOnAnOpenEditorIsAClickInItsCell) {
    list_->SetColumnType(1, fw::ListBox::TypeEditable);
    AddRow("first");
    AddRow("second");
    auto* view = host_->findChild<QTableView*>();
    for (const bool take : {true, false}) {
        std::vector<std::pair<int, int>> clicks;
        list_->CellClick = [&](int row, int column, int, int) {
            clicks.emplace_back(row, column);
            return take;
        };
        list_->EditCell(1, 1);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->model()->index(1, 1)));
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->hasSelectedText());
        EXPECT_EQ(testsupport::ClickAt(editor, editor->rect().center()), editor);
        EXPECT_EQ(std::pair(clicks, editor->hasSelectedText()), std::pair(decltype(clicks){{1, 1}}, take));
    }
}

// Equal texts (letter case aside) keep their order in both directions, also on lists long enough for an
// unstable sort to mix them; the direction reverses the rest.
TEST_F(ListBoxTest, SortIsStableInBothDirections) {
    for (int i = 0; i < 60; ++i)
        AddRow(i % 3 ? (i % 2 ? "x" : "X") : "y");
    // The rows' places when added, grouped by name, each group in turn.
    const auto namedY = [](const std::string& place) { return std::stoi(place) % 3 == 1; };
    std::vector<std::string> ascending = Column(1), descending = ascending;
    std::ranges::stable_partition(ascending, std::not_fn(namedY));
    std::ranges::stable_partition(descending, namedY);
    list_->SetSortedColumn(0);
    list_->Sort();
    EXPECT_EQ(Column(1), ascending);
    list_->SetColumnSortDirection(0, -1);
    list_->Sort();
    EXPECT_EQ(Column(1), descending);
}

// Cells are drawn exactly as the style draws an item view's cells, also when a cell is drawn again from
// what an earlier paint laid out.
TEST_F(ListBoxTest, CellsLookAsTheStyleDrawsThem) {
    list_->SetColumnWidths("1*,2*,1*");
    list_->SetColumnAlignment(1, fw::ListBox::AlignCenter);
    list_->SetColumnAlignment(2, fw::ListBox::AlignRight);
    const std::vector<std::vector<std::string>> rows = {
        {"Topic 517: notes and links", "http://127.0.0.1/a", "200"},
        {"", "http://127.0.0.1/a/very/long/path/that/is/far/wider/than/its/column/index.html", "404"},
        {"two\rlines", "ünïcödé ✔ שלום", "5 sec."},
    };
    for (const auto& cells : rows) {
        list_->AddRow(cells[0]);
        list_->SetCell(list_->ListCount() - 1, 1, cells[1]);
        list_->SetCell(list_->ListCount() - 1, 2, cells[2]);
    }
    list_->SetSelected(1, true);
    auto* view = host_->findChild<QTableView*>();
    view->clearFocus();

    const QImage first = view->viewport()->grab().toImage();
    const QImage again = view->viewport()->grab().toImage();
    view->setItemDelegate(new QStyledItemDelegate(view));
    const QImage byStyle = view->viewport()->grab().toImage();
    EXPECT_EQ(std::pair(first == byStyle, again == byStyle), std::pair(true, true));
}

// A cell written while the list shows is drawn again at the next paint: each of several written between
// two paints, and one written after the list scrolled, in its new place; after a jump by a page, all.
TEST_F(ListBoxTest, AWrittenCellIsDrawnAgain) {
    struct Painted : QObject {
        QRegion region;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                region += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } painted;
    for (int i = 0; i < 40; ++i)
        AddRow("row");
    auto* view = host_->findChild<QTableView*>();
    view->viewport()->installEventFilter(&painted);
    const auto cell = [view](int row, int column) {
        return view->visualRect(view->model()->index(row, column));
    };
    // Waits for a paint that drew `written`; the paints then due go before the next writes.
    const auto drawnAgain = [&](const std::vector<QRect>& written) {
        ASSERT_TRUE(testsupport::SpinUntil([&] { return !painted.region.isEmpty(); }));
        for (const QRect& rect : written)
            EXPECT_TRUE(painted.region.contains(rect)) << rect.y();
        testsupport::ProcessPendingEvents();
        painted.region = QRegion();
    };
    drawnAgain({});
    list_->SetCell(3, 2, "written");
    list_->SetCell(1, 0, "written");
    drawnAgain({cell(3, 2), cell(1, 0)});
    list_->SetCell(5, 1, "written");
    list_->SetScrollPosition(1);
    list_->SetCell(6, 1, "written");
    drawnAgain({cell(6, 1)});
    list_->SetScrollPosition(25);
    list_->SetCell(26, 1, "written");
    drawnAgain({view->viewport()->rect()});
}

} // namespace
