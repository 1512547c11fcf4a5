// Check boxes and radio buttons: a caption and an on/off value. Radio buttons on one window form one
// group: turning one on turns the others off.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class ToggleButton : public VisualControl {
public:
    bool Value() const;
    // Setting the value by code raises no event.
    void SetValue(bool on);

protected:
    ToggleButton(const ControlLayout& layout, void* widget);
};

class CheckBox final : public ToggleButton {
public:
    CheckBox(const ControlLayout& layout, void* parent);
};

class RadioButton final : public ToggleButton {
public:
    RadioButton(const ControlLayout& layout, void* parent);
};

} // namespace fw
