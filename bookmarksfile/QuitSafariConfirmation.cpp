#include "bookmarksfile/QuitSafariConfirmation.h"

#include "bookmarksfile/QuitSafari.h"
#include "framework/runtime/Deferred.h"

namespace quillfen {

void QuitSafariConfirmation::CreateControls() {
    fw::Window::CreateControls();
    Bind("PushButton1_Action", &QuitSafariConfirmation::PushButton1_Action);
    Bind("PushButton2_Action", &QuitSafariConfirmation::PushButton2_Action);
}

void QuitSafariConfirmation::PushButton1_Action() { Close(); }

void QuitSafariConfirmation::PushButton2_Action() {
    AskSafariToQuit();
    // The rewrite opens its backup dialog; it runs once this handler has returned, so that the closed
    // window is not freed under it.
    fw::CallLater(proceed);
    Close();
}

} // namespace quillfen
