#include "dialogs/codeWin.h"

#include "app/MakerSite.h"
#include "framework/ui/controls/StaticText.h"

namespace quillfen {

void codeWin::CreateControls() {
    fw::Window::CreateControls();
    Bind("StaticText1_MouseDown", &codeWin::StaticText1_MouseDown);
    Bind("StaticText1_MouseExit", &codeWin::StaticText1_MouseExit);
    Bind("StaticText1_MouseEnter", &codeWin::StaticText1_MouseEnter);
}

// The older copy first, then the maker's own page; the press is not taken, so no release follows.
bool codeWin::StaticText1_MouseDown(int, int) {
    ShowMakerPage(OlderCodesPage());
    ShowMakerPage(MakerPage("/zurizedovazider/texts/errorcodes.htm"));
    return false;
}

void codeWin::StaticText1_MouseEnter() {
    auto& link = Get<fw::StaticText>("StaticText1");
    link.SetUnderline(true);
    link.Refresh(true);
}

void codeWin::StaticText1_MouseExit() {
    auto& link = Get<fw::StaticText>("StaticText1");
    link.SetUnderline(false);
    link.Refresh(true);
}

} // namespace quillfen
