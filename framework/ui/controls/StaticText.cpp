#include "framework/ui/controls/StaticText.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/OncePerFrame.h"
#include "framework/ui/qt/TextLook.h"

#include <QLabel>

namespace fw {

StaticText::StaticText(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QLabel(static_cast<QWidget*>(parent))), text_(layout.props.Text("text")) {
    auto* label = detail::As<QLabel>(*this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(layout.props.Bool("multiline"));
    label->setAlignment(detail::HorizontalAlignment(layout.props) | Qt::AlignTop);
    if (const auto color = detail::ColorProp(layout.props, "textColor"))
        color_ = RGB(color->red(), color->green(), color->blue());
    underline_ = layout.props.Bool("underline");
    show_ = std::make_unique<detail::OncePerFrame>(*label, [this] {
        if (auto* shown = detail::As<QLabel>(*this))
            shown->setText(detail::Displayed(text_));
    });
    Apply();
}

StaticText::~StaticText() = default;

// The text alone, and at most once a frame: a status line that changes with every result must not
// re-apply font and colours, nor lay out texts nobody will see.
void StaticText::SetText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    show_->Request();
}

void StaticText::SetTextColor(Color color) {
    color_ = color;
    Apply();
}

void StaticText::SetUnderline(bool on) {
    underline_ = on;
    Apply();
}

void StaticText::Apply() {
    auto* label = detail::As<QLabel>(*this);
    if (!label)
        return;
    label->setText(detail::Displayed(text_));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, detail::Q(color_));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(underline_);
    label->setFont(font);
}

} // namespace fw
