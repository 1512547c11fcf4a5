#include "framework/ui/controls/BevelButton.h"

#include "framework/ui/qt/Bridge.h"

namespace fw {

BevelButton::BevelButton(const ControlLayout& layout, void* parent) : PushButton(layout, parent) {
    detail::WidgetOf(*this)->setFocusPolicy(Qt::NoFocus);
}

} // namespace fw
