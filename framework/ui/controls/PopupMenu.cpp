#include "framework/ui/controls/PopupMenu.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/Bridge.h"

#include <QComboBox>

namespace fw {

PopupMenu::PopupMenu(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QComboBox(static_cast<QWidget*>(parent))) {
    auto* combo = detail::As<QComboBox>(*this);
    for (const std::string& item : layout.props.List("items"))
        combo->addItem(detail::Q(item));
    combo->setCurrentIndex(layout.props.Int("listIndex", combo->count() > 0 ? 0 : -1));
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this] { Raise(Change); });
    DeclareEvent("Change", Change);
}

void PopupMenu::AddRow(const std::string& text) {
    if (auto* c = detail::As<QComboBox>(*this))
        c->addItem(detail::Q(text));
}

int PopupMenu::ListCount() const {
    auto* c = detail::As<QComboBox>(*this);
    return c ? c->count() : 0;
}

int PopupMenu::ListIndex() const {
    auto* c = detail::As<QComboBox>(*this);
    return c ? c->currentIndex() : -1;
}

void PopupMenu::SetListIndex(int index) {
    if (auto* c = detail::As<QComboBox>(*this))
        c->setCurrentIndex(index);
}

std::string PopupMenu::Text() const {
    auto* c = detail::As<QComboBox>(*this);
    return c ? detail::S(c->currentText()) : std::string();
}

} // namespace fw
