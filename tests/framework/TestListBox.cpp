// The list box: one row store read by a table view, sorting, row identities and the user's cell actions.
#include "framework/runtime/Layout.h"
#include "framework/ui/controls/ListBox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_->resize(400, 300);
        fw::ControlLayout layout{.name = "List", .kind = "ListBox", .width = 400, .height = 300, .props = {}};
        layout.props = {{{"columnCount", 3.0}, {"hasHeading", true}}};
        list_ = std::make_unique<fw::ListBox>(layout, host_.get());
        host_->show();
        view_ = host_->findChild<QTableView*>();
    }
    void AddRows(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            list_->AddRow(name);
            list_->SetCell(list_->ListCount() - 1, 1, std::to_string(list_->ListCount()));
        }
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int row = 0; row < list_->ListCount(); ++row)
            out.push_back(list_->Cell(row, column));
        return out;
    }
    // Sorts on `column`, then gives the texts of column `shown` from top to bottom.
    std::vector<std::string> SortOn(int column, int shown) {
        list_->SetSortedColumn(column);
        list_->Sort();
        return Column(shown);
    }
    QRect CellRect(int row, int col) const { return view_->visualRect(view_->model()->index(row, col)); }

    std::unique_ptr<QWidget> host_ = std::make_unique<QWidget>();
    std::unique_ptr<fw::ListBox> list_; // declared after its host, so destroyed before it
    QTableView* view_ = nullptr;
};

// Removing many rows by identity keeps the order, the selection and the scroll position (the first visible
// row) of the rows that stay, whose identities find their new rows; a selection that went entirely still
// reports its change. Once the rows are deleted, an identity finds none.
TEST_F(ListBoxTest, RemoveRowsKeepsWhatStays) {
    for (int i = 0; i < 60; ++i)
        AddRows({"r" + std::to_string(i)});
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
    EXPECT_EQ(list_->Cell(0, 0), "r1");
    EXPECT_EQ(list_->Cell(20, 0), "r40");
    EXPECT_EQ(list_->RowOf(kept), 21);
    EXPECT_EQ(list_->SelCount(), 1);
    EXPECT_TRUE(list_->Selected(20));
    QApplication::processEvents();
    EXPECT_EQ(list_->ScrollPosition(), 10);

    int changes = 0;
    list_->Change = [&] { ++changes; };
    list_->RemoveRows({list_->RowIdentity(20), 999999});
    EXPECT_EQ(list_->SelCount(), 0);
    EXPECT_EQ(changes, 1);
    list_->DeleteAllRows();
    EXPECT_EQ(list_->RowOf(kept), -1);
}

// Equal texts (letter case aside) keep their order in both directions, also on lists long enough for an
// unstable sort to mix them; the direction reverses the rest.
TEST_F(ListBoxTest, SortIsStableInBothDirections) {
    for (int i = 0; i < 60; ++i)
        AddRows({i % 3 ? "x" : "y"});
    // The rows' places when added: the "x" rows first, each in turn.
    std::vector<std::string> order = Column(1);
    std::ranges::stable_partition(order, [](const std::string& place) { return std::stoi(place) % 3 != 1; });
    EXPECT_EQ(SortOn(0, 1), order);
    list_->DeleteAllRows();
    AddRows({"b", "A", "a", "B", "a"});
    EXPECT_EQ(SortOn(0, 1), (std::vector<std::string>{"2", "3", "5", "1", "4"}));
    list_->SetColumnSortDirection(0, -1);
    EXPECT_EQ(SortOn(0, 1), (std::vector<std::string>{"1", "4", "2", "3", "5"}));
}

// Code never raises a cell action; the user's check-box click and edit commit do.
TEST_F(ListBoxTest, CellActionOnlyFromTheUser) {
    AddRows({"one", "two"});
    std::vector<std::pair<int, int>> actions;
    list_->CellAction = [&](int row, int column) { actions.push_back({row, column}); };
    list_->SetColumnType(0, fw::ListBox::TypeCheckBox);
    list_->SetCellCheck(0, 0, true);
    list_->SetCell(0, 0, "x");
    list_->SetColumnType(2, fw::ListBox::TypeEditable);
    list_->SetCell(1, 2, "before");

    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, CellRect(1, 0).center());
    EXPECT_TRUE(list_->CellCheck(1, 0));

    std::vector<std::string> seenOnFocus;
    list_->CellGotFocus = [&](int row, int column) { seenOnFocus.push_back(list_->Cell(row, column)); };
    list_->EditCell(1, 2);
    auto* editor = view_->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("after");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits on the next turn of the loop
    EXPECT_EQ(list_->Cell(1, 2), "after");
    EXPECT_EQ(seenOnFocus, std::vector<std::string>{"before"});
    // The click's action and the edit's, none from the cells set by code.
    EXPECT_EQ(actions, (std::vector<std::pair<int, int>>{{1, 0}, {1, 2}}));
}

} // namespace
