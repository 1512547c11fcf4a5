#include "framework/ui/qt/ListView.h"

#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/qt/Bridge.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <cstdlib>

namespace fw::detail {
namespace {

struct WidthPart {
    int pixels = 0;
    int shares = 0;
};

WidthPart ParseWidth(const std::string& token) {
    QString t = Q(token).trimmed();
    if (t.endsWith('*')) {
        t.chop(1);
        return {0, t.isEmpty() ? 1 : std::max(0, t.toInt())};
    }
    return {std::max(0, t.toInt()), 0};
}

// The key as the list box reports it: its text, or the classic control character of a special key.
QString KeyText(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left:
        return QString(QChar(28));
    case Qt::Key_Right:
        return QString(QChar(29));
    case Qt::Key_Up:
        return QString(QChar(30));
    case Qt::Key_Down:
        return QString(QChar(31));
    default:
        return event.text();
    }
}

QRect CheckRect(const QStyleOptionViewItem& option, const QWidget* widget) {
    QStyle* style = widget ? widget->style() : QApplication::style();
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget);
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
}

bool IsCheckCell(const QModelIndex& index) { return index.flags().testFlag(Qt::ItemIsUserCheckable); }

} // namespace

std::string WithCarriageReturns(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    t.replace(QChar('\n'), QChar('\r'));
    return S(t);
}

void ListView::SetWidthSpec(const std::string& spec) {
    widthSpec_.clear();
    for (const QString& part : Q(spec).split(','))
        widthSpec_.push_back(S(part));
    ApplyWidths();
}

void ListView::ApplyWidths() {
    if (!model() || widthSpec_.empty())
        return;
    const int columns = model()->columnCount();
    std::vector<WidthPart> parts(static_cast<size_t>(columns), WidthPart{0, 1});
    int fixed = 0, shares = 0;
    for (int c = 0; c < columns; ++c) {
        if (static_cast<size_t>(c) < widthSpec_.size())
            parts[static_cast<size_t>(c)] = ParseWidth(widthSpec_[static_cast<size_t>(c)]);
        fixed += parts[static_cast<size_t>(c)].pixels;
        shares += parts[static_cast<size_t>(c)].shares;
    }
    const int rest = std::max(0, viewport()->width() - fixed);
    int given = 0, sharesSeen = 0;
    for (int c = 0; c < columns; ++c) {
        const WidthPart& p = parts[static_cast<size_t>(c)];
        int width = p.pixels;
        if (p.shares > 0) {
            // Cumulative rounding: the shared columns fill the rest exactly.
            sharesSeen += p.shares;
            const int upTo = rest * sharesSeen / shares;
            width = upTo - given;
            given = upTo;
        }
        if (width <= 0) {
            horizontalHeader()->hideSection(c);
        } else {
            horizontalHeader()->showSection(c);
            horizontalHeader()->resizeSection(c, width);
        }
    }
}

void ListView::ScrollToRow(int row) {
    executeDelayedItemsLayout();
    // Bringing the scroll range up to date measures every heading again: done only when it falls short.
    if (verticalScrollBar()->maximum() < row)
        updateGeometries();
    verticalScrollBar()->setValue(std::max(0, row));
}

// A scan writes cell after cell of the rows it reaches, many of them between two frames. Each written row
// asks for its whole row to be drawn: rows merge into one band instead of a region of many cells. A row
// outside the viewport has nothing to draw, and a row inside the band already asked for is drawn with it,
// so most writes ask Qt for nothing. An open editor, or a reader of the screen, needs Qt's own path.
void ListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
    if (topLeft != bottomRight || !topLeft.isValid() || state() == EditingState || QAccessible::isActive()) {
        QTableView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QRect row(0, rowViewportPosition(topLeft.row()), viewport()->width(), rowHeight(topLeft.row()));
    if (!row.intersects(viewport()->rect()) || toRedraw_.contains(row))
        return;
    toRedraw_ |= row;
    viewport()->update(toRedraw_);
}

// A paint draws what was asked for; a scroll moves it elsewhere in the viewport. A jump by a page or more
// (as a scan's list jumps) shows nothing of what was there: all of it is drawn anew, whatever is written.
void ListView::paintEvent(QPaintEvent* event) {
    toRedraw_ = {};
    QTableView::paintEvent(event);
}

void ListView::scrollContentsBy(int dx, int dy) {
    toRedraw_ = {};
    // In pixels: dx and dy count rows when the list scrolls by rows.
    const int left = horizontalHeader()->offset(), top = verticalHeader()->offset();
    QTableView::scrollContentsBy(dx, dy);
    if (std::abs(horizontalHeader()->offset() - left) >= viewport()->width() ||
        std::abs(verticalHeader()->offset() - top) >= viewport()->height()) {
        toRedraw_ = viewport()->rect();
        viewport()->update();
    }
}

bool ListView::PressCell(QPoint at) {
    const QModelIndex index = indexAt(at);
    if (!owner || !index.isValid())
        return false;
    const QRect cell = visualRect(index);
    return Raise(owner->CellClick, index.row(), index.column(), at.x() - cell.x(), at.y() - cell.y());
}

void ListView::mousePressEvent(QMouseEvent* event) {
    if (PressCell(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (owner)
        Raise(owner->DoubleClick);
    QTableView::mouseDoubleClickEvent(event);
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const QString key = KeyText(*event);
    if (owner && !key.isEmpty() && Raise(owner->KeyDown, S(key))) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (owner)
        Raise(owner->GotFocus);
}

void ListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ApplyWidths();
}

void ListView::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void ListView::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptTextDrop && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ListView::dropEvent(QDropEvent* event) {
    if (!acceptTextDrop || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (owner)
        Raise(owner->DropObject, WithCarriageReturns(event->mimeData()->text()));
}

// Whether the style would draw nothing but the text: Qt's own styles draw an item's ground only for a
// selection, a background brush or an icon. Other styles may mark hovering, so they always draw it.
bool ListDelegate::PlainGround(const QStyleOptionViewItem& option, const QStyle& style) {
    const QString name = style.name();
    return (name == QLatin1String("fusion") || name == QLatin1String("windows")) &&
           !(option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) &&
           option.backgroundBrush.style() == Qt::NoBrush && option.icon.isNull();
}

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    bool ownBackground = false;
    if (owner && owner->CellBackgroundPaint) {
        // The view has already laid a selected row's highlight under the cell: the handler starts from the
        // plain ground, so that a handler that answers "drawn" is never highlighted.
        painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
        painter->save();
        painter->setClipRect(option.rect);
        painter->translate(option.rect.topLeft());
        Graphics g(painter, option.rect.width(), option.rect.height());
        ownBackground = owner->CellBackgroundPaint(g, index.row(), index.column());
        painter->restore();
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // A handler that answered true has drawn the background, selection included.
    if (ownBackground)
        opt.state &= ~QStyle::State_Selected;
    if (!focusRing)
        opt.state &= ~QStyle::State_HasFocus;
    const bool check = opt.features.testFlag(QStyleOptionViewItem::HasCheckIndicator);
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    if (!(opt.state & QStyle::State_HasFocus) && CellTexts::Drawable(opt)) {
        // The style draws the ground and selection; the text comes from a layout kept between paints.
        // Under Qt's own styles a cell with neither has no ground: most cells of a list being scanned.
        if (!PlainGround(opt, *style)) {
            QStyleOptionViewItem ground = opt;
            ground.text.clear();
            ground.features &= ~QStyleOptionViewItem::HasDisplay;
            style->drawControl(QStyle::CE_ItemViewItem, &ground, painter, widget);
        }
        texts_.Draw(*painter, opt, *style);
    } else {
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
    if (check) {
        // The box sits in the middle of its cell.
        QStyleOptionViewItem box = opt;
        box.rect = CheckRect(option, widget);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }
}

bool ListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    if (!IsCheckCell(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !CheckRect(option, option.widget).contains(mouse->position().toPoint()))
        return false;
    if (type != QEvent::MouseButtonRelease)
        return true; // the box takes the whole click
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget* ListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    // Raised before the editor takes the text, so the handler still sees the cell as it was.
    if (owner)
        Raise(owner->CellGotFocus, index.row(), index.column());
    return QStyledItemDelegate::createEditor(parent, option, index);
}

// An open editor lies over its cell and takes the clicks there: a press on it is a click in the cell, raised
// before the editor sees it. The handler may close the editor, and then the press ends with it.
bool ListDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && object->isWidgetType()) {
        const QPointer<QObject> editor(object);
        const QPointF global = static_cast<QMouseEvent*>(event)->globalPosition();
        const QPoint at = view_->viewport()->mapFromGlobal(global).toPoint();
        if (view_->PressCell(at) || !editor)
            return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void ListDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::destroyEditor(editor, index);
    if (owner)
        Raise(owner->CellLostFocus, index.row(), index.column());
}

} // namespace fw::detail
