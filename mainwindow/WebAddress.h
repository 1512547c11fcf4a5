// Which texts the window treats as links.
#pragma once

#include "framework/Text.h"

#include <string>

namespace quillfen {

// Texts beginning "http" (so "https" too) open in the web browser.
inline bool IsWebAddress(const std::string& text) { return fw::TextEquals(fw::Left(text, 4), "http"); }

} // namespace quillfen
