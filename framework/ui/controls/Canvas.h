// A canvas: a control that its owner draws in its Paint event, over an optional backdrop picture.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class Graphics;
class Picture;

class Canvas : public VisualControl {
public:
    Canvas(const ControlLayout& layout, void* parent);
    ~Canvas() override;

    // Not owned: pictures are kept for the whole run by whoever loaded them.
    void SetBackdrop(Picture* picture);
    void SetAcceptFocus(bool on);
    // While on, the canvas shows a ring when it has the focus.
    void SetUseFocusRing(bool on);

    std::function<void(Graphics&)> Paint;

private:
    friend class CanvasWidget;
    Picture* backdrop_ = nullptr;
    bool focusRing_ = true;
};

} // namespace fw
