// A pop-up menu: a list of texts with one chosen.
#pragma once

#include "framework/ui/VisualControl.h"

namespace fw {

class PopupMenu : public VisualControl {
public:
    PopupMenu(const ControlLayout& layout, void* parent);

    void AddRow(const std::string& text);
    int ListCount() const;
    // Index of the chosen row, -1 when none.
    int ListIndex() const;
    void SetListIndex(int index);
    std::string Text() const;

    std::function<void()> Change;
};

} // namespace fw
