// Inside the framework only: a list's cell texts laid out once and drawn again from the same layout.
#pragma once

#include <QFont>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <unordered_map>

class QPainter;
class QStyle;
class QStyleOptionViewItem;

namespace fw::detail {

class CellTexts {
public:
    // Whether Draw can draw this cell's text: not what only the style draws (several lines, wrapping,
    // a cell being edited).
    static bool Drawable(const QStyleOptionViewItem& option);
    // Draws the option's text as the style's item view cell does: same place, elision and colour.
    void Draw(QPainter& painter, const QStyleOptionViewItem& option, const QStyle& style);

private:
    struct Key {
        const QStyle* style = nullptr;
        QString text;
        QFont font;
        QSize size;
        int alignment = 0;
        int direction = 0;
        int elide = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Laid {
        QTextLayout layout;
        QPointF offset; // from the cell's top left corner
    };
    std::unique_ptr<Laid> LayOut(const QStyleOptionViewItem& option, const QStyle& style) const;

    std::unordered_map<Key, std::unique_ptr<Laid>, KeyHash> laid_;
};

} // namespace fw::detail
