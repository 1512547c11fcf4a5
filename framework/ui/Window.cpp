#include "framework/ui/Window.h"

#include "framework/ui/Application.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/VisualControl.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/ControlFactory.h"
#include "framework/ui/qt/FramePacing.h"
#include "framework/ui/qt/MenuView.h"
#include "framework/ui/qt/PictureImpl.h"
#include "framework/ui/qt/TextLook.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QPainter>

namespace fw {
namespace {

class HostWindow : public QMainWindow {
public:
    HostWindow() : pacer_(*this) {}
    std::function<void()> onUserClose;
    std::function<void()> onActivate;

protected:
    bool event(QEvent* event) override { return !pacer_.Admit(*event) || QMainWindow::event(event); }
    void closeEvent(QCloseEvent* event) override {
        // The window object decides; Qt must not delete or hide anything behind its back.
        event->ignore();
        if (onUserClose)
            onUserClose();
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && isActiveWindow() && onActivate)
            onActivate();
        QMainWindow::changeEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            for (auto* button : findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                    button->click();
                    return;
                }
            }
        }
        QMainWindow::keyPressEvent(event);
    }

private:
    detail::FramePacer pacer_;
};

// Brushed metal: a light-to-dark gray gradient crossed by faint horizontal streaks of varying strength.
void PaintMetal(QPainter& painter, const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, QColor(0xdd, 0xdd, 0xdd));
    gradient.setColorAt(0.5, QColor(0xc4, 0xc4, 0xc4));
    gradient.setColorAt(1.0, QColor(0xa6, 0xa6, 0xa6));
    painter.fillRect(area, gradient);
    quint32 seed = 0x9e3779b9u;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        seed = seed * 1664525u + 1013904223u;
        const int alpha = static_cast<int>(seed >> 28); // 0..15: barely visible
        const int shade = (seed & 0x100u) ? 255 : 0;
        painter.setPen(QColor(shade, shade, shade, alpha));
        painter.drawLine(area.left(), y, area.right(), y);
    }
}

class Content : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> onResize;
    bool metal = false;
    const Picture* backdrop = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
    void paintEvent(QPaintEvent* event) override {
        if (metal) {
            QPainter painter(this);
            PaintMetal(painter, rect());
        }
        if (backdrop) {
            QPainter painter(this);
            painter.drawImage(0, 0, Picture::Impl::Drawable(*backdrop));
        }
        QWidget::paintEvent(event);
    }
};

} // namespace

struct Window::Impl {
    QPointer<HostWindow> host;
    QPointer<Content> content;
    QSize lastSize;
};

namespace detail {
QWidget* ContentOf(Window& window) { return window.impl().content.data(); }
} // namespace detail

Window::Window(std::string layoutName) : layoutName_(std::move(layoutName)), impl_(std::make_unique<Impl>()) {}

Window::~Window() {
    controls_.clear();
    if (impl_->host)
        delete impl_->host.data();
}

void Window::Create() {
    Layout();
    CreateControls();
    for (size_t i = 0; i < controls_.size(); ++i)
        Raise(controls_[i]->Open);
    AddMenuHandlers();
    SetupBindings();
    Event_Open();
    if (layout_.props.Bool("visible", true))
        Show();
}

void Window::Layout() {
    layout_ = LoadWindowLayout(layoutName_);
    const LayoutProps& p = layout_.props;
    auto* host = new HostWindow();
    impl_->host = host;
    auto* content = new Content(host);
    impl_->content = content;
    host->setCentralWidget(content);
    if (const auto back = detail::ColorProp(p, "backColor")) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, *back);
        content->setPalette(palette);
        content->setAutoFillBackground(true);
    }
    host->setWindowTitle(detail::Q(p.Text("title")));
    if (p.Bool("menuBarVisible", true))
        detail::InstallMenuBar(*host);
    const int width = p.Int("width", 300), height = p.Int("height", 200);
    content->setMinimumSize(p.Int("minWidth", 64), p.Int("minHeight", 64));
    content->setMaximumSize(p.Int("maxWidth", 32000), p.Int("maxHeight", 32000));
    SetSize(width, height);
    if (!p.Bool("resizable", true)) {
        content->setFixedSize(width, height);
    }
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (p.Bool("closeButton", true))
        flags |= Qt::WindowCloseButtonHint;
    if (p.Bool("minimizeButton", true))
        flags |= Qt::WindowMinimizeButtonHint;
    if (p.Bool("maximizeButton", true))
        flags |= Qt::WindowMaximizeButtonHint;
    host->setWindowFlags(flags);
    Place(p.Int("placement"));
    impl_->lastSize = QSize(width, height);
    content->onResize = [this] { Resized(); };
    host->onUserClose = [this] { UserClosed(); };
    host->onActivate = [this] { detail::BringToFront(*this); };
}

// Where a new window first stands: 1 centred on the frontmost window (the main screen when there is none),
// 2 centred on the main screen, a third of the way down as dialogs stand, 4 staggered from the window
// placed so before; 0 leaves it to the window system.
void Window::Place(int placement) {
    QWidget* host = impl_->host;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || placement < 1 || placement > 4)
        return;
    const QRect area = screen->availableGeometry();
    const Window* parent = detail::FrontmostWindow();
    if (placement == 1 && parent && parent != this && parent->impl_->host) {
        const QPoint centre = parent->impl_->host->frameGeometry().center();
        host->move(centre.x() - host->width() / 2, centre.y() - host->height() / 2);
    } else if (placement == 4) {
        static int staggered = 0; // each staggered window a step further down and right, ten steps round
        const int step = 22 * (staggered++ % 10);
        host->move(area.x() + 20 + step, area.y() + 40 + step);
    } else {
        host->move(area.x() + (area.width() - host->width()) / 2, area.y() + (area.height() - host->height()) / 3);
    }
}

void Window::CreateControls() {
    for (const ControlLayout& control : layout_.controls)
        controls_.push_back(detail::MakeControl(control, impl_->content));
}

Control* Window::Find(const std::string& name) const {
    for (const auto& control : controls_)
        if (control->Name() == name)
            return control.get();
    return nullptr;
}

void Window::BindByName(const std::string& handlerName, std::any handler) {
    const auto cut = handlerName.find('_');
    if (cut == std::string::npos)
        throw std::logic_error("handler name " + handlerName + " names no control and event");
    Control* control = Find(handlerName.substr(0, cut));
    if (!control)
        throw std::logic_error("window " + layoutName_ + " has no control for " + handlerName);
    control->BindEvent(handlerName.substr(cut + 1), std::move(handler));
}

void Window::Show() {
    if (closed_ || !impl_->host)
        return;
    impl_->host->show();
    impl_->host->raise();
    impl_->host->activateWindow();
    detail::BringToFront(*this);
}

void Window::Close() {
    if (closed_)
        return;
    closed_ = true;
    Event_Close();
    if (impl_->host)
        impl_->host->hide();
    detail::RetireWindow(*this);
}

void Window::UserClosed() {
    Close();
    // Closing the last open window by hand ends the program; a window closed by code does not.
    if (detail::OpenWindowCount() == 0) {
        if (Application* app = Application::Instance())
            app->Quit();
    }
}

void Window::SetMetal(bool on) {
    metal_ = on;
    if (impl_->content) {
        impl_->content->metal = on;
        impl_->content->update();
    }
}

void Window::SetBackdrop(const Picture* picture) {
    if (impl_->content) {
        impl_->content->backdrop = picture;
        impl_->content->update();
    }
}

int MainScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

void Window::Refresh(bool) {
    if (impl_->host)
        impl_->host->update();
}

std::string Window::Title() const { return impl_->host ? detail::S(impl_->host->windowTitle()) : std::string(); }

bool Window::Visible() const { return impl_->host && impl_->host->isVisible(); }
int Window::Left() const { return impl_->host ? impl_->host->x() : 0; }
int Window::Top() const { return impl_->host ? impl_->host->y() : 0; }
int Window::Width() const { return impl_->content ? impl_->content->width() : 0; }
int Window::Height() const { return impl_->content ? impl_->content->height() : 0; }

void Window::SetLeft(int v) {
    if (impl_->host)
        impl_->host->move(v, impl_->host->y());
}

void Window::SetTop(int v) {
    if (impl_->host)
        impl_->host->move(impl_->host->x(), v);
}

void Window::SetSize(int width, int height) {
    if (!impl_->host)
        return;
    const int bar = impl_->host->menuWidget() ? impl_->host->menuWidget()->sizeHint().height() : 0;
    impl_->host->resize(width, height + bar);
    impl_->content->resize(width, height);
}

void Window::Resized() {
    const QSize now = impl_->content->size();
    const int dw = now.width() - impl_->lastSize.width();
    const int dh = now.height() - impl_->lastSize.height();
    impl_->lastSize = now;
    // Controls keep their distance to each locked edge.
    for (const auto& control : controls_) {
        auto* visual = dynamic_cast<VisualControl*>(control.get());
        QWidget* w = visual ? detail::WidgetOf(*visual) : nullptr;
        if (!w)
            continue;
        const VisualControl::Locks& l = visual->EdgeLocks();
        QRect g = w->geometry();
        if (l.right && l.left)
            g.setWidth(g.width() + dw);
        else if (l.right)
            g.moveLeft(g.left() + dw);
        if (l.bottom && l.top)
            g.setHeight(g.height() + dh);
        else if (l.bottom)
            g.moveTop(g.top() + dh);
        w->setGeometry(g);
    }
    Event_Resized();
}

void Window::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
    menuHandlers_[itemName] = std::move(handler);
}

bool Window::HandleMenuCommand(const std::string& itemName) {
    auto it = menuHandlers_.find(itemName);
    return it != menuHandlers_.end() && it->second && it->second();
}

} // namespace fw
