#include "framework/ui/VisualControl.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QEvent>
#include <QMouseEvent>

namespace fw {
namespace {

// Turns Qt's pointer events into the control's mouse events.
class MouseFilter : public QObject {
public:
    MouseFilter(VisualControl& control, QObject* parent) : QObject(parent), control_(control) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Enter:
            Raise(control_.MouseEnter);
            break;
        case QEvent::Leave:
            Raise(control_.MouseExit);
            break;
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint p = e->position().toPoint();
            if (control_.MouseDown && control_.MouseDown(p.x(), p.y())) {
                pressed_ = true;
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            if (!pressed_)
                break;
            pressed_ = false;
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint p = e->position().toPoint();
            Raise(control_.MouseUp, p.x(), p.y());
            return true;
        }
        default:
            break;
        }
        return false;
    }

private:
    VisualControl& control_;
    bool pressed_ = false;
};

// A control laid behind the controls it overlaps (a label spanning a row of fields) leaves them the clicks;
// a frame around it, such as a group box, stays behind it.
void StackBehindOverlapping(QWidget* w) {
    for (QObject* child : w->parentWidget()->children()) { // bottom to top
        auto* sibling = qobject_cast<QWidget*>(child);
        if (sibling && sibling != w && sibling->geometry().intersects(w->geometry()) &&
            !sibling->geometry().contains(w->geometry())) {
            w->stackUnder(sibling);
            return;
        }
    }
}

} // namespace

VisualControl::VisualControl(const ControlLayout& layout, void* widget)
    : Control(layout.name), impl_(std::make_unique<Impl>()) {
    auto* w = static_cast<QWidget*>(widget);
    impl_->widget = w;
    w->setObjectName(detail::Q(layout.name));
    w->setGeometry(layout.left, layout.top, layout.width, layout.height);
    w->setVisible(layout.props.Bool("visible", true));
    w->setEnabled(layout.props.Bool("enabled", true));
    if (layout.props.Bool("behind"))
        StackBehindOverlapping(w);
    if (layout.props.Has("textSize")) {
        QFont font = w->font();
        font.setPixelSize(std::max(1, layout.props.Int("textSize")));
        font.setBold(layout.props.Bool("bold"));
        w->setFont(font);
    }
    // A family the system lacks falls back to the nearest one it has.
    if (layout.props.Has("textFont")) {
        QFont font = w->font();
        font.setFamily(detail::Q(layout.props.Text("textFont")));
        w->setFont(font);
    }
    locks_ = {layout.props.Bool("lockLeft"), layout.props.Bool("lockTop"), layout.props.Bool("lockRight"),
              layout.props.Bool("lockBottom")};
    impl_->filter = new MouseFilter(*this, w);
    w->installEventFilter(impl_->filter);
    DeclareEvent("MouseEnter", MouseEnter);
    DeclareEvent("MouseExit", MouseExit);
    DeclareEvent("MouseDown", MouseDown);
    DeclareEvent("MouseUp", MouseUp);
}

VisualControl::~VisualControl() = default;

namespace {
// A control outlives its widget only while its window is being torn down; then it answers with defaults.
template <class R, class F> R WithWidget(const VisualControl& c, R fallback, F f) {
    QWidget* w = detail::WidgetOf(c);
    return w ? f(w) : fallback;
}
template <class F> void WithWidget(const VisualControl& c, F f) {
    if (QWidget* w = detail::WidgetOf(c))
        f(w);
}
} // namespace

int VisualControl::Left() const { return WithWidget(*this, 0, [](QWidget* w) { return w->x(); }); }
int VisualControl::Top() const { return WithWidget(*this, 0, [](QWidget* w) { return w->y(); }); }
int VisualControl::Width() const { return WithWidget(*this, 0, [](QWidget* w) { return w->width(); }); }
int VisualControl::Height() const { return WithWidget(*this, 0, [](QWidget* w) { return w->height(); }); }
void VisualControl::SetLeft(int v) { WithWidget(*this, [v](QWidget* w) { w->move(v, w->y()); }); }
void VisualControl::SetTop(int v) { WithWidget(*this, [v](QWidget* w) { w->move(w->x(), v); }); }
void VisualControl::SetWidth(int v) { WithWidget(*this, [v](QWidget* w) { w->resize(std::max(0, v), w->height()); }); }
void VisualControl::SetHeight(int v) { WithWidget(*this, [v](QWidget* w) { w->resize(w->width(), std::max(0, v)); }); }
bool VisualControl::Visible() const { return WithWidget(*this, false, [](QWidget* w) { return !w->isHidden(); }); }
void VisualControl::SetVisible(bool v) { WithWidget(*this, [v](QWidget* w) { w->setVisible(v); }); }
bool VisualControl::Enabled() const { return WithWidget(*this, false, [](QWidget* w) { return w->isEnabled(); }); }
void VisualControl::SetEnabled(bool v) { WithWidget(*this, [v](QWidget* w) { w->setEnabled(v); }); }
void VisualControl::SetFocus() { WithWidget(*this, [](QWidget* w) { w->setFocus(Qt::OtherFocusReason); }); }
bool VisualControl::HasFocus() const { return WithWidget(*this, false, [](QWidget* w) { return w->hasFocus(); }); }
void VisualControl::Refresh(bool) { WithWidget(*this, [](QWidget* w) { w->update(); }); }
void VisualControl::SetHelpTag(const std::string& text) {
    WithWidget(*this, [&text](QWidget* w) { w->setToolTip(detail::Q(text)); });
}
void VisualControl::BringToFront() { WithWidget(*this, [](QWidget* w) { w->raise(); }); }

} // namespace fw
