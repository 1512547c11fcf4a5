// The main window: the bookmark list, the toolbar, the status line and the window's menu commands.
#pragma once

#include "framework/Window.h"

namespace quillfen {

class Listwin : public fw::Window {
public:
    Listwin() : fw::Window("Listwin") {}
};

} // namespace quillfen
