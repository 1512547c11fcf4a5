#include "app/App.h"

#include "app/Globals.h"
#include "app/Look.h"
#include "dialogs/Aboutbox.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

namespace quillfen {

App& App::Instance() { return static_cast<App&>(*fw::Application::Instance()); }

void AppClass::Event_Open() { Globals::AquaAvailable = Globals::isAquaAvailable(); }

bool AppClass::_FileNew_Action() {
    fw::Instance<Listwin>().Close();
    fw::Instance<Listwin>().Show();
    return false;
}

bool AppClass::_AppleAboutSafariLindquay_Action() {
    fw::Instance<Aboutbox>().Show();
    return false;
}

bool AppClass::_EditPreferences_Action() {
    fw::Instance<prefWin>().Show();
    return false;
}

} // namespace quillfen
