// The Preferences window.
#pragma once

#include "framework/Window.h"

namespace quillfen {

class prefWin : public fw::Window {
public:
    prefWin() : fw::Window("prefWin") {}
};

} // namespace quillfen
