// The proxy settings window: server, port, user name and password, stored into the settings only; the
// Preferences window's Apply writes them to the file.
#pragma once

#include "framework/ui/Window.h"

namespace quillfen {

class ProxyWin : public fw::Window {
public:
    ProxyWin() : fw::Window("ProxyWin") {}

protected:
    void CreateControls() override;
    void Event_Open() override;

private:
    void BevelButton1_Action();
};

} // namespace quillfen
