// A bevel button with plain push behaviour: a push button that never takes the keyboard focus.
#pragma once

#include "framework/ui/controls/PushButton.h"

namespace fw {

class BevelButton : public PushButton {
public:
    BevelButton(const ControlLayout& layout, void* parent);
};

} // namespace fw
