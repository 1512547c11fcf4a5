#include "framework/ui/controls/PushButton.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QPushButton>

namespace fw {

PushButton::PushButton(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QPushButton(static_cast<QWidget*>(parent))) {
    auto* button = detail::As<QPushButton>(*this);
    button->setText(detail::Q(layout.props.Text("caption")));
    button->setAutoDefault(false);
    button->setDefault(layout.props.Bool("default"));
    QObject::connect(button, &QPushButton::clicked, button, [this] { Raise(Action); });
    DeclareEvent("Action", Action);
}

std::string PushButton::Caption() const {
    auto* b = detail::As<QPushButton>(*this);
    return b ? detail::S(b->text()) : std::string();
}

void PushButton::SetCaption(const std::string& caption) {
    if (auto* b = detail::As<QPushButton>(*this))
        b->setText(detail::Q(caption));
}

void PushButton::SetDefault(bool on) {
    if (auto* b = detail::As<QPushButton>(*this))
        b->setDefault(on);
}

void PushButton::Push() {
    if (Enabled())
        Raise(Action);
}

} // namespace fw
