#include "framework/ui/qt/ControlFactory.h"

#include "framework/ui/controls/BevelButton.h"
#include "framework/ui/controls/Canvas.h"
#include "framework/ui/controls/EditField.h"
#include "framework/ui/controls/GroupBox.h"
#include "framework/runtime/Layout.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/controls/PopupMenu.h"
#include "framework/ui/controls/ProgressBar.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/controls/TextArea.h"
#include "framework/runtime/Thread.h"
#include "framework/runtime/Timer.h"
#include "framework/ui/controls/ToggleButtons.h"

#include <QWidget>
#include <functional>
#include <map>
#include <stdexcept>

namespace fw::detail {
namespace {

using Maker = std::function<std::unique_ptr<Control>(const ControlLayout&, QWidget*)>;

template <class C> Maker Visual() {
    return [](const ControlLayout& l, QWidget* parent) { return std::make_unique<C>(l, parent); };
}
template <class C> Maker Hidden() {
    return [](const ControlLayout& l, QWidget*) { return std::make_unique<C>(l); };
}

const std::map<std::string, Maker>& Makers() {
    static const std::map<std::string, Maker> makers = {
        {"PushButton", Visual<PushButton>()}, {"StaticText", Visual<StaticText>()},
        {"EditField", Visual<EditField>()},   {"PopupMenu", Visual<PopupMenu>()},
        {"ProgressBar", Visual<ProgressBar>()}, {"Timer", Hidden<Timer>()},
        {"Thread", Hidden<Thread>()},         {"ListBox", Visual<ListBox>()},
        {"Canvas", Visual<Canvas>()},         {"MoviePlayer", Visual<MoviePlayer>()},
        {"TextArea", Visual<TextArea>()},     {"CheckBox", Visual<CheckBox>()},
        {"RadioButton", Visual<RadioButton>()}, {"GroupBox", Visual<GroupBox>()},
        {"BevelButton", Visual<BevelButton>()},
    };
    return makers;
}

} // namespace

std::unique_ptr<Control> MakeControl(const ControlLayout& layout, QWidget* parent) {
    auto it = Makers().find(layout.kind);
    if (it == Makers().end())
        throw std::runtime_error("unknown control kind " + layout.kind + " for " + layout.name);
    return it->second(layout, parent);
}

} // namespace fw::detail
