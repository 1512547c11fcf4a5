// The proxy settings window: server, port, user name and password, stored into the settings only; the
// Preferences window's Apply writes them to the file.
#pragma once

#include "framework/ui/Window.h"

#include <array>
#include <string>

namespace quillfen {

class ProxyWin : public fw::Window {
public:
    ProxyWin() : fw::Window("ProxyWin") {}

protected:
    void CreateControls() override;
    void Event_Open() override;

private:
    void BevelButton1_Action();

    // The four texts as the fields showed them at Open.
    std::array<std::string, 4> shown_;
};

} // namespace quillfen
