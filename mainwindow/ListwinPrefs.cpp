// What the Preferences window's Apply reaches of the main window.
#include "checker/WholeNumber.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

namespace quillfen {

// Apply reaches the main window through its accessor, as every dialog does, so a window closed meanwhile
// is never touched.
void Listwin::linkPrefWin() {
    prefWin::mainWindow = {
        .refresh = [] { fw::Instance<Listwin>().Refresh(); },
        .readPrefs = [] { fw::Instance<Listwin>().readPrefs(); },
        .setVersionProxy =
            [](const std::string& address, const std::string& port) {
                HTTPSocket& socket = fw::Instance<Listwin>().versionHTTPSock;
                socket.HTTPProxyAddress = address;
                socket.HTTPProxyPort = WholeNumber(port);
            },
    };
}

} // namespace quillfen
