#include "framework/ui/controls/TextArea.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/TextLook.h"

#include <QTextEdit>

namespace fw {

TextArea::TextArea(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QTextEdit(static_cast<QWidget*>(parent))) {
    auto* edit = detail::As<QTextEdit>(*this);
    edit->setAcceptRichText(false);
    edit->setReadOnly(layout.props.Bool("readOnly"));
    if (!layout.props.Bool("border", true))
        edit->setFrameShape(QFrame::NoFrame);
    if (!layout.props.Bool("scrollBar", true)) {
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    QPalette palette = edit->palette();
    if (const auto back = detail::ColorProp(layout.props, "backColor"))
        palette.setColor(QPalette::Base, *back);
    palette.setColor(QPalette::Text, detail::ColorProp(layout.props, "textColor").value_or(Qt::black));
    edit->setPalette(palette);
    // Qt's wider default inset would cost a borderless field a line of its text.
    edit->document()->setDocumentMargin(2);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(detail::HorizontalAlignment(layout.props) | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->document()->setDefaultTextOption(option);
    edit->setPlainText(detail::Displayed(layout.props.Text("text")));
}

std::string TextArea::Text() const {
    auto* e = detail::As<QTextEdit>(*this);
    return e ? detail::S(e->toPlainText()) : std::string();
}

void TextArea::SetText(const std::string& text) {
    if (auto* e = detail::As<QTextEdit>(*this))
        e->setPlainText(detail::Displayed(text));
}

} // namespace fw
