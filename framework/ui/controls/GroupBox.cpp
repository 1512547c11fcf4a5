#include "framework/ui/controls/GroupBox.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QGroupBox>

namespace fw {

GroupBox::GroupBox(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QGroupBox(static_cast<QWidget*>(parent))) {
    auto* box = detail::As<QGroupBox>(*this);
    box->setTitle(detail::Q(layout.props.Text("caption")));
    // A layout may create the box after controls inside it: it must never lie on top of them and take
    // their clicks.
    box->lower();
}

} // namespace fw
