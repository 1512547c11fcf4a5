#include "framework/ui/qt/CellText.h"

#include <QFontMetrics>
#include <QHashFunctions>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextOption>

namespace fw::detail {
namespace {

// Some screens full of cells: a scan writes the same few texts into row after row.
constexpr size_t kMostKept = 512;

bool OneLine(const QString& text) {
    for (const QChar c : text)
        if (c == QChar('\n') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

QTextOption CellTextOption(const QStyleOptionViewItem& option) {
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    return textOption;
}

// One line as wide as the cell's text area, as the style lays out a cell's text.
void LayOutLine(QTextLayout& layout, int width) {
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
}

QColor TextColor(const QStyleOptionViewItem& option) {
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    return option.palette.color(group, option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                              : QPalette::Text);
}

} // namespace

size_t CellTexts::KeyHash::operator()(const Key& key) const {
    return qHashMulti(0, key.style, key.text, key.font, key.size.width(), key.size.height(), key.alignment,
                      key.direction, key.elide);
}

bool CellTexts::Drawable(const QStyleOptionViewItem& option) {
    return !option.features.testFlag(QStyleOptionViewItem::WrapText) && !(option.state & QStyle::State_Editing) &&
           OneLine(option.text);
}

void CellTexts::Draw(QPainter& painter, const QStyleOptionViewItem& option, const QStyle& style) {
    if (option.text.isEmpty())
        return;
    Key key{&style,
            option.text,
            option.font,
            option.rect.size(),
            static_cast<int>(option.displayAlignment),
            static_cast<int>(option.direction),
            static_cast<int>(option.textElideMode)};
    auto found = laid_.find(key);
    if (found == laid_.end()) {
        if (laid_.size() >= kMostKept)
            laid_.clear();
        found = laid_.emplace(std::move(key), LayOut(option, style)).first;
    }
    painter.save();
    painter.setClipRect(option.rect);
    painter.setPen(TextColor(option));
    found->second->layout.draw(&painter, QPointF(option.rect.topLeft()) + found->second->offset);
    painter.restore();
}

// The style's own placing of a single line: in the text area less the focus frame's margins, elided
// when wider, and aligned in height by its line's height.
std::unique_ptr<CellTexts::Laid> CellTexts::LayOut(const QStyleOptionViewItem& option, const QStyle& style) const {
    const QWidget* widget = option.widget;
    // The text area of a cell without icon or check box is the cell: its text plays no part in it.
    QStyleOptionViewItem blank = option;
    blank.text.clear();
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area =
        style.subElementRect(QStyle::SE_ItemViewItemText, &blank, widget).adjusted(margin, 0, -margin, 0);

    auto laid = std::make_unique<Laid>();
    QTextLayout& layout = laid->layout;
    layout.setText(option.text);
    layout.setFont(option.font);
    layout.setTextOption(CellTextOption(option));
    // Kept shaped: drawing it again costs no shaping.
    layout.setCacheEnabled(true);
    LayOutLine(layout, area.width());
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, option.displayAlignment,
                                             layout.boundingRect().size().toSize(), area);
    if (layout.lineCount() > 0 && layout.lineAt(0).naturalTextWidth() > area.width()) {
        layout.setText(QFontMetrics(option.font).elidedText(option.text, option.textElideMode, area.width()));
        LayOutLine(layout, area.width());
    }
    laid->offset = QPointF(area.x(), placed.top()) - QPointF(option.rect.topLeft());
    return laid;
}

} // namespace fw::detail
