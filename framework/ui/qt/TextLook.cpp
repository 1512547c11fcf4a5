#include "framework/ui/qt/TextLook.h"

namespace fw::detail {

std::optional<QColor> ColorProp(const LayoutProps& props, const std::string& key) {
    const std::string text = props.Text(key);
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    const QColor color(QString::fromStdString(text));
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

} // namespace fw::detail
