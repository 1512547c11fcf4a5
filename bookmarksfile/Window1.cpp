#include "bookmarksfile/Window1.h"

#include "framework/runtime/Deferred.h"

namespace quillfen {

void Window1::CreateControls() {
    fw::Window::CreateControls();
    Bind("PushButton1_Action", &Window1::PushButton1_Action);
    Bind("PushButton3_Action", &Window1::PushButton3_Action);
    Bind("PushButton2_Action", &Window1::PushButton2_Action);
}

void Window1::PlaceBeside(int mainWindowTop) {
    SetLeft(fw::MainScreenWidth() - Width() - 20);
    SetTop(mainWindowTop);
    Refresh();
}

// The restore closes this window and opens a dialog: it runs after this handler has returned.
void Window1::PushButton1_Action() { fw::CallLater(revertToOriginal); }

void Window1::PushButton2_Action() { Close(); }

void Window1::PushButton3_Action() { Close(); }

} // namespace quillfen
