// Inside the framework only: the text looks a layout may give a control (colours and alignment).
#pragma once

#include "framework/Layout.h"

#include <QColor>
#include <optional>

namespace fw::detail {

// A colour written "#RRGGBB" under `key`; nothing when absent or malformed.
std::optional<QColor> ColorProp(const LayoutProps& props, const std::string& key);
// "textAlign": "left" (the default), "center" or "right"; always at the top.
Qt::Alignment AlignmentProp(const LayoutProps& props);

} // namespace fw::detail
