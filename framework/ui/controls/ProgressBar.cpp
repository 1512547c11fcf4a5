#include "framework/ui/controls/ProgressBar.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QProgressBar>

namespace fw {

ProgressBar::ProgressBar(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QProgressBar(static_cast<QWidget*>(parent))) {
    auto* bar = detail::As<QProgressBar>(*this);
    bar->setTextVisible(false);
    bar->setRange(0, layout.props.Int("maximum", 100));
    bar->setValue(layout.props.Int("value", 0));
}

int ProgressBar::Maximum() const {
    auto* b = detail::As<QProgressBar>(*this);
    return b ? b->maximum() : 0;
}

void ProgressBar::SetMaximum(int maximum) {
    if (auto* b = detail::As<QProgressBar>(*this))
        b->setMaximum(maximum);
}

int ProgressBar::Value() const {
    auto* b = detail::As<QProgressBar>(*this);
    return b ? b->value() : 0;
}

void ProgressBar::SetValue(int value) {
    if (auto* b = detail::As<QProgressBar>(*this))
        b->setValue(value);
}

} // namespace fw
