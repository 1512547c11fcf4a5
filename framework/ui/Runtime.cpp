#include "framework/ui/Runtime.h"

#include "framework/ui/System.h"
#include "framework/ui/WindowRegistry.h"

#include <QApplication>
#include <memory>

namespace fw {
namespace {
std::unique_ptr<QApplication> g_app;
}

Runtime::Runtime(int& argc, char** argv) {
    g_app = std::make_unique<QApplication>(argc, argv);
    // Quitting is ours to decide: the user closing the last window quits, code closing one does not.
    QApplication::setQuitOnLastWindowClosed(false);
    WatchUserCancel();
}

Runtime::~Runtime() {
    // Windows own Qt widgets: they go before the application object does.
    detail::CloseAllWindows();
    detail::FreeRetiredWindows();
    g_app.reset();
}

int Runtime::Exec() { return QApplication::exec(); }

void Runtime::Quit(int status) { QApplication::exit(status); }


} // namespace fw
