#include "framework/ui/controls/Canvas.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/qt/Bridge.h"

#include <QPainter>
#include <QWidget>

namespace fw {

class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(QWidget* parent) : QWidget(parent) {}
    // Cleared by the canvas when it goes.
    Canvas* owner = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!owner)
            return;
        QPainter painter(this);
        {
            Graphics g(&painter, width(), height());
            if (owner->backdrop_)
                g.DrawPicture(*owner->backdrop_, 0, 0);
            Raise(owner->Paint, g);
        }
        if (owner->focusRing_ && hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect().adjusted(1, 1, -1, -1));
        }
    }
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        update();
    }
};

Canvas::Canvas(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new CanvasWidget(static_cast<QWidget*>(parent))) {
    static_cast<CanvasWidget*>(detail::WidgetOf(*this))->owner = this;
    SetAcceptFocus(layout.props.Bool("acceptFocus"));
    focusRing_ = layout.props.Bool("useFocusRing", true);
    DeclareEvent("Paint", Paint);
}

Canvas::~Canvas() {
    if (auto* w = static_cast<CanvasWidget*>(detail::WidgetOf(*this)))
        w->owner = nullptr;
}

void Canvas::SetBackdrop(Picture* picture) {
    backdrop_ = picture;
    Refresh();
}

void Canvas::SetAcceptFocus(bool on) {
    if (QWidget* w = detail::WidgetOf(*this))
        w->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void Canvas::SetUseFocusRing(bool on) {
    focusRing_ = on;
    Refresh();
}

} // namespace fw
