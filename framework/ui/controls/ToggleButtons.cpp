#include "framework/ui/controls/ToggleButtons.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QCheckBox>
#include <QRadioButton>

namespace fw {

ToggleButton::ToggleButton(const ControlLayout& layout, void* widget) : VisualControl(layout, widget) {
    auto* button = detail::As<QAbstractButton>(*this);
    button->setText(detail::Q(layout.props.Text("caption")));
    button->setChecked(layout.props.Bool("value"));
}

bool ToggleButton::Value() const {
    auto* b = detail::As<QAbstractButton>(*this);
    return b && b->isChecked();
}

void ToggleButton::SetValue(bool on) {
    if (auto* b = detail::As<QAbstractButton>(*this))
        b->setChecked(on);
}

CheckBox::CheckBox(const ControlLayout& layout, void* parent)
    : ToggleButton(layout, new QCheckBox(static_cast<QWidget*>(parent))) {}

RadioButton::RadioButton(const ControlLayout& layout, void* parent)
    : ToggleButton(layout, new QRadioButton(static_cast<QWidget*>(parent))) {}

} // namespace fw
