// Makes a control of the kind its layout names ("PushButton", "ListBox", "Timer", ...).
#pragma once

#include <memory>

class QWidget;

namespace fw {
class Control;
struct ControlLayout;
} // namespace fw

namespace fw::detail {

// Throws std::runtime_error for a kind the framework does not know.
std::unique_ptr<Control> MakeControl(const ControlLayout& layout, QWidget* parent);

} // namespace fw::detail
