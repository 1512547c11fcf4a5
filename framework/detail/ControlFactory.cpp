#include "framework/detail/ControlFactory.h"

#include "framework/BevelButton.h"
#include "framework/Canvas.h"
#include "framework/EditField.h"
#include "framework/GroupBox.h"
#include "framework/Layout.h"
#include "framework/ListBox.h"
#include "framework/MoviePlayer.h"
#include "framework/PopupMenu.h"
#include "framework/ProgressBar.h"
#include "framework/PushButton.h"
#include "framework/StaticText.h"
#include "framework/TextArea.h"
#include "framework/Thread.h"
#include "framework/Timer.h"
#include "framework/ToggleButtons.h"

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
