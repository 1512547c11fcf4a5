// An RGB colour, as controls and drawing take it.
#pragma once

namespace fw {

struct Color {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color RGB(int r, int g, int b) { return Color{r, g, b}; }

} // namespace fw
