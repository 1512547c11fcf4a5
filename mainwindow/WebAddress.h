// Which texts the window treats as links, and where it opens them.
#pragma once

#include "checker/BrowserAddress.h"
#include "framework/ui/Modal.h"
#include "framework/text/Text.h"

#include <string>

namespace quillfen {

// Texts beginning "http" (so "https" too) open in the web browser.
inline bool IsWebAddress(const std::string& text) { return fw::TextEquals(fw::Left(text, 4), "http"); }

// The browser gets the address the text stands for; the text itself is shown as the file holds it.
inline void OpenIfWebAddress(const std::string& text) {
    if (IsWebAddress(text))
        fw::ShowURL(BrowserAddress(text));
}

} // namespace quillfen
