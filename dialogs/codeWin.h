// What the Status and Code columns mean: a fixed table of result classes and a link to a fuller page.
#pragma once

#include "framework/ui/Window.h"

namespace quillfen {

class codeWin : public fw::Window {
public:
    codeWin() : fw::Window("codeWin") {}

protected:
    void CreateControls() override;

private:
    bool StaticText1_MouseDown(int x, int y);
    void StaticText1_MouseExit();
    void StaticText1_MouseEnter();
};

} // namespace quillfen
