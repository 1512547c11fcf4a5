#include "dialogs/ProxyWin.h"

#include "app/Globals.h"
#include "dialogs/TypedSettings.h"
#include "framework/ui/controls/EditField.h"

namespace quillfen {

void ProxyWin::CreateControls() {
    fw::Window::CreateControls();
    Bind("BevelButton1_Action", &ProxyWin::BevelButton1_Action);
}

void ProxyWin::Event_Open() {
    Get<fw::EditField>("EditField1").SetText(Globals::proxyURL);
    Get<fw::EditField>("EditField2").SetText(Globals::proxyPort);
    Get<fw::EditField>("EditField3").SetText(Globals::proxyUser);
    Get<fw::EditField>("EditField4").SetText(Globals::proxyPass);
    Refresh();
}

// Close: the texts go into the settings exactly as typed; the close box stores nothing.
void ProxyWin::BevelButton1_Action() {
    const std::string url = Get<fw::EditField>("EditField1").Text();
    const std::string port = Get<fw::EditField>("EditField2").Text();
    const std::string user = Get<fw::EditField>("EditField3").Text();
    const std::string pass = Get<fw::EditField>("EditField4").Text();
    if (!Storable({{"Proxy server", url}, {"Port", port}, {"Username", user}, {"Password", pass}}))
        return;
    Globals::proxyURL = url;
    Globals::proxyPort = port;
    Globals::proxyUser = user;
    Globals::proxyPass = pass;
    Close();
}

} // namespace quillfen
