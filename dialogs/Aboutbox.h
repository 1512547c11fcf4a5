// The About box.
#pragma once

#include "framework/Window.h"

namespace quillfen {

class Aboutbox : public fw::Window {
public:
    Aboutbox() : fw::Window("Aboutbox") {}
};

} // namespace quillfen
