// The update notice: the details of a newer version, with Download, Visit website and Not now.
#pragma once

#include "framework/ui/Window.h"

namespace quillfen {

class alertDownloadWin : public fw::Window {
public:
    alertDownloadWin() : fw::Window("alertDownloadWin") {}

protected:
    void CreateControls() override;

private:
    void PushButton1_Action();
    void PushButton2_Action();
    void PushButton3_Action();
    void StaticText2_Open();
};

} // namespace quillfen
