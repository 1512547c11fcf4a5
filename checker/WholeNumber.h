// Settings and header values are texts; where a whole number is needed, Val's result is clamped into an
// int, so that a huge or infinite value never overflows the conversion.
#pragma once

#include "framework/text/Text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

namespace quillfen {

inline int WholeNumber(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

inline int WholeNumber(std::string_view text) {
    return WholeNumber(fw::Val(text));
}

} // namespace quillfen
