#include "app/Startup.h"

#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Globals.h"
#include "app/Media.h"
#include "app/Menu.h"
#include "framework/ui/Runtime.h"
#include "framework/runtime/Timer.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <memory>

namespace quillfen {
namespace {
std::unique_ptr<App> g_app;
}

void _InitFileTypes() { FileTypes::_Initialize(); }

void _NewAppInstance() {
    g_app = std::make_unique<App>();
    g_app->SetMenuBar(&Menu::Instance());
}

void _ApplicationAddMenuHandlers() {
    App& app = *g_app;
    app._AddMenuHandler("FileNew", [&app] { return app._FileNew_Action(); });
    app._AddMenuHandler("AppleAboutSafariLindquay", [&app] { return app._AppleAboutSafariLindquay_Action(); });
    app._AddMenuHandler("EditPreferences", [&app] { return app._EditPreferences_Action(); });
}

void _MakeDefaultView() { fw::Instance<Listwin>(); }

void ShutDown() {
    Media::Release();
    fw::detail::CloseAllWindows();
    fw::detail::FreeRetiredWindows();
    FileTypes::Release();
    if (g_app)
        g_app->SetMenuBar(nullptr);
    Menu::Release();
    Globals::Release();
    g_app.reset();
}

int _Main(int argc, char** argv) {
    fw::Runtime runtime(argc, argv);
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
    _MakeDefaultView();
    // The application's Open event comes with the first turn of the event loop.
    fw::Timer open;
    open.Action = [] { g_app->Open(); };
    open.SetPeriod(0);
    open.SetMode(fw::Timer::ModeSingle);
    const int status = runtime.Exec();
    ShutDown();
    return status;
}

} // namespace quillfen
