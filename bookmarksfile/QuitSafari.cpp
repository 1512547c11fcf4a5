#include "bookmarksfile/QuitSafari.h"

#include "framework/files/Shell.h"
#include "framework/runtime/AppleEvent.h"
#include "framework/ui/Modal.h"

namespace quillfen {

void AskSafariToQuit() {
    if (fw::SendAppleEvent({"aevt", "quit", "sfri"}))
        return;
    fw::Shell shell;
    shell.Execute(" osascript -e 'tell application \"Safari\" to quit'");
    if (shell.ErrorCode() != 0) {
        fw::Beep();
        fw::MsgBox("Safari could not be automatically quit. Please make sure Safari is not running.");
    }
}

} // namespace quillfen
