// A progress bar with a maximum and a value.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class ProgressBar : public VisualControl {
public:
    ProgressBar(const ControlLayout& layout, void* parent);

    int Maximum() const;
    void SetMaximum(int maximum);
    int Value() const;
    void SetValue(int value);
};

} // namespace fw
