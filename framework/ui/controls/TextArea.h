// A multi-line edit field: wrapping text, optionally read-only, without border or scroll bar.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class TextArea : public VisualControl {
public:
    TextArea(const ControlLayout& layout, void* parent);

    std::string Text() const;
    void SetText(const std::string& text);
};

} // namespace fw
