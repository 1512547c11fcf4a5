// A static text: its text (breaking at CR as at LF), colour and underline.
#pragma once

#include "framework/ui/VisualControl.h"
#include "framework/ui/graphics/Color.h"

#include <memory>

namespace fw {
namespace detail {
class OncePerFrame;
}

class StaticText : public VisualControl {
public:
    StaticText(const ControlLayout& layout, void* parent);
    ~StaticText() override;

    std::string Text() const { return text_; }
    void SetText(const std::string& text);
    void SetTextColor(Color color);
    void SetUnderline(bool on);

private:
    void Apply();
    std::string text_;
    Color color_;
    bool underline_ = false;
    std::unique_ptr<detail::OncePerFrame> show_;
};

} // namespace fw
