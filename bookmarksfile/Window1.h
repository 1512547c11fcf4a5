// The changes-applied window, shown after the bookmarks file was rewritten: "Revert to original" puts a
// saved copy back, "Continue" keeps the changes.
#pragma once

#include "framework/ui/Window.h"

#include <functional>

namespace quillfen {

class Window1 : public fw::Window {
public:
    Window1() : fw::Window("Window1") {}

    // The main window's restore.
    std::function<void()> revertToOriginal;
    // Right edge 20 pixels in from the main screen's, top level with the main window's.
    void PlaceBeside(int mainWindowTop);

protected:
    void CreateControls() override;

private:
    void PushButton1_Action();
    void PushButton2_Action();
    void PushButton3_Action();
};

} // namespace quillfen
