// A one-line text entry field.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class EditField : public VisualControl {
public:
    EditField(const ControlLayout& layout, void* parent);

    std::string Text() const;
    void SetText(const std::string& text);

    std::function<void()> TextChange;
};

} // namespace fw
