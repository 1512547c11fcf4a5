// The About box: the product picture, name, version and description, and the maker's logo as a link.
#pragma once

#include "framework/ui/Window.h"

namespace quillfen {

class Aboutbox : public fw::Window {
public:
    Aboutbox() : fw::Window("Aboutbox") {}

protected:
    void CreateControls() override;

private:
    void StaticText2_Open();
    void Canvas2_MouseExit();
    void Canvas2_MouseUp(int x, int y);
    void Canvas2_Open();
    void Canvas2_MouseEnter();
    bool Canvas2_MouseDown(int x, int y);
};

} // namespace quillfen
