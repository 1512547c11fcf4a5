// A group box: a captioned frame drawn behind the controls it groups.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class GroupBox : public VisualControl {
public:
    GroupBox(const ControlLayout& layout, void* parent);
};

} // namespace fw
