// The list box draws its cells' texts exactly as the style draws an item view's cells, also when a
// cell is drawn again from what an earlier paint laid out.
#include "framework/runtime/Layout.h"
#include "framework/ui/controls/ListBox.h"

#include <QApplication>
#include <QImage>
#include <QStyledItemDelegate>
#include <QTableView>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(ListPainting, CellsLookAsTheStyleDrawsThem) {
    auto host = std::make_unique<QWidget>();
    host->resize(420, 240);
    fw::ControlLayout layout{.name = "List", .kind = "ListBox", .width = 420, .height = 240, .props = {}};
    layout.props = {{{"columnCount", 4.0}, {"hasHeading", true}}};
    fw::ListBox list(layout, host.get());
    list.SetColumnWidths("1*,2*,1*,1*");
    list.SetColumnAlignment(2, fw::ListBox::AlignCenter);
    list.SetColumnAlignment(3, fw::ListBox::AlignRight);
    const std::vector<std::vector<std::string>> rows = {
        {"Topic 517: notes and links", "http://127.0.0.1/a", "OK", "200"},
        {"", "http://127.0.0.1/a/very/long/path/that/is/far/wider/than/its/column/index.html", "Not Found", "404"},
        {"two\rlines", "ünïcödé ✔ שלום", "Timeout", "5 sec."},
        {"W", "http://127.0.0.1/a", "checking", ""},
    };
    for (const auto& cells : rows) {
        list.AddRow(cells[0]);
        for (int column = 1; column < 4; ++column)
            list.SetCell(list.ListCount() - 1, column, cells[static_cast<size_t>(column)]);
    }
    list.SetSelected(1, true);
    host->show();
    auto* view = host->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    view->clearFocus();

    const QImage first = view->viewport()->grab().toImage();
    const QImage again = view->viewport()->grab().toImage();
    view->setItemDelegate(new QStyledItemDelegate(view));
    const QImage byStyle = view->viewport()->grab().toImage();
    EXPECT_TRUE(first == byStyle);
    EXPECT_TRUE(again == byStyle);
}

} // namespace
