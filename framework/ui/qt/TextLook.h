// Inside the framework only: the text colours a layout may give a control.
#pragma once

#include "framework/runtime/Layout.h"

#include <QColor>
#include <optional>

namespace fw::detail {

// A colour written "#RRGGBB" under `key`; nothing when absent or malformed.
std::optional<QColor> ColorProp(const LayoutProps& props, const std::string& key);

} // namespace fw::detail
