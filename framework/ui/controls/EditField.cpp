#include "framework/ui/controls/EditField.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QLineEdit>

namespace fw {
namespace {

// What a line edit keeps free on either side of its text, inside its frame.
constexpr int kInnerMargin = 2;

} // namespace

EditField::EditField(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QLineEdit(static_cast<QWidget*>(parent))) {
    auto* edit = detail::As<QLineEdit>(*this);
    edit->setText(detail::Q(layout.props.Text("text")));
    edit->setAlignment(detail::HorizontalAlignment(layout.props) | Qt::AlignVCenter);
    edit->setEchoMode(layout.props.Bool("password") ? QLineEdit::Password : QLineEdit::Normal);
    // A field laid out barely wider than its longest text (five digits in 40 pixels) shows it whole with
    // narrower glyphs and its text reaching the frame, instead of scrolling the first characters out.
    if (layout.props.Bool("compact")) {
        QFont font = edit->font();
        font.setStretch(QFont::SemiCondensed);
        edit->setFont(font);
        edit->setTextMargins(-kInnerMargin, 0, -kInnerMargin, 0);
    }
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this] { Raise(TextChange); });
    DeclareEvent("TextChange", TextChange);
}

std::string EditField::Text() const {
    auto* e = detail::As<QLineEdit>(*this);
    return e ? detail::S(e->text()) : std::string();
}

void EditField::SetText(const std::string& text) {
    if (auto* e = detail::As<QLineEdit>(*this))
        e->setText(detail::Q(text));
}

} // namespace fw
