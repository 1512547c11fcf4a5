// A push button: a caption, the default-button flag and the Action event.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class PushButton : public VisualControl {
public:
    PushButton(const ControlLayout& layout, void* parent);

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The default button is pressed by Return; a window has at most one.
    void SetDefault(bool on);
    // Presses the button as the user would (raises Action when enabled).
    void Push();

    std::function<void()> Action;
};

} // namespace fw
