#include "dialogs/Aboutbox.h"

#include "app/MakerSite.h"
#include "app/Media.h"
#include "framework/ui/Application.h"
#include "framework/ui/controls/Canvas.h"
#include "framework/ui/controls/StaticText.h"

#include <string>

namespace quillfen {

void Aboutbox::CreateControls() {
    fw::Window::CreateControls();
    Get<fw::Canvas>("Canvas1").SetBackdrop(flamesp());
    Get<fw::Canvas>("Canvas2").SetBackdrop(tervaskloggatransp75px());
    Bind("StaticText2_Open", &Aboutbox::StaticText2_Open);
    Bind("Canvas2_MouseExit", &Aboutbox::Canvas2_MouseExit);
    Bind("Canvas2_MouseUp", &Aboutbox::Canvas2_MouseUp);
    Bind("Canvas2_Open", &Aboutbox::Canvas2_Open);
    Bind("Canvas2_MouseEnter", &Aboutbox::Canvas2_MouseEnter);
    Bind("Canvas2_MouseDown", &Aboutbox::Canvas2_MouseDown);
}

// The version numbers as they are, no padding: "0.9.3 (build 6)".
void Aboutbox::StaticText2_Open() {
    const fw::Application* app = fw::Application::Instance();
    if (!app)
        return;
    Get<fw::StaticText>("StaticText2")
        .SetText(std::to_string(app->MajorVersion) + "." + std::to_string(app->MinorVersion) + "." +
                 std::to_string(app->BugVersion) + " (build " + std::to_string(app->NonReleaseVersion) + ")");
}

// The logo holds the focus from the start; its ring, shown only under the pointer, marks it as a link.
void Aboutbox::Canvas2_Open() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetAcceptFocus(true);
    logo.SetFocus();
    logo.SetUseFocusRing(false);
}

void Aboutbox::Canvas2_MouseEnter() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetUseFocusRing(true);
    logo.Refresh(true);
}

void Aboutbox::Canvas2_MouseExit() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetUseFocusRing(false);
    logo.Refresh(true);
}

// Accepting the press makes the release come here wherever it happens.
bool Aboutbox::Canvas2_MouseDown(int, int) {
    return true;
}

void Aboutbox::Canvas2_MouseUp(int, int) {
    ShowMakerPage(MakerHomePage());
}

} // namespace quillfen
