// Inside the framework only: the table view of a list box and the delegate that paints and edits its cells.
#pragma once

#include "framework/ui/controls/ListBox.h"
#include "framework/ui/qt/CellText.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <string>
#include <vector>

namespace fw::detail {

class ListView : public QTableView {
public:
    explicit ListView(QWidget* parent) : QTableView(parent) {}

    // Cleared by the list box when it goes, so that a late Qt event raises nothing.
    ListBox* owner = nullptr;
    bool acceptTextDrop = false;

    // "30,2*,4*,2*,1*,0,0": pixels, or shares of the width the fixed columns leave.
    void SetWidthSpec(const std::string& spec);
    void ApplyWidths();
    // Puts `row` at the top as far as the scroll range allows.
    void ScrollToRow(int row);
    // Raises CellClick for a press at `at` in the viewport; whether the handler took the click.
    bool PressCell(QPoint at);

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::vector<std::string> widthSpec_;
    // The part of the viewport that written cells have already asked to be drawn at the next paint.
    QRect toRedraw_;
};

class ListDelegate : public QStyledItemDelegate {
public:
    explicit ListDelegate(ListView* view) : QStyledItemDelegate(view), view_(view) {}

    ListBox* owner = nullptr;
    bool focusRing = true;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    static bool PlainGround(const QStyleOptionViewItem& option, const QStyle& style);

    ListView* view_;
    mutable CellTexts texts_;
};

// Dropped text with every line end (LF, CR LF) turned into a carriage return.
std::string WithCarriageReturns(const QString& text);

} // namespace fw::detail
