#include "dialogs/alertDownloadWin.h"

#include "app/Globals.h"
#include "app/MakerSite.h"
#include "framework/ui/controls/StaticText.h"

namespace quillfen {

void alertDownloadWin::CreateControls() {
    fw::Window::CreateControls();
    Bind("PushButton1_Action", &alertDownloadWin::PushButton1_Action);
    Bind("PushButton2_Action", &alertDownloadWin::PushButton2_Action);
    Bind("PushButton3_Action", &alertDownloadWin::PushButton3_Action);
    Bind("StaticText2_Open", &alertDownloadWin::StaticText2_Open);
}

// The details are those known when the notice opens; a later page does not change an open notice.
void alertDownloadWin::StaticText2_Open() {
    Get<fw::StaticText>("StaticText2").SetText(Globals::versionDetails);
}

void alertDownloadWin::PushButton1_Action() {
    ShowMakerPage(MakerPage("/downloads/quillfen.dmg"));
    Close();
}

void alertDownloadWin::PushButton2_Action() {
    ShowMakerPage(MakerHomePage());
    Close();
}

void alertDownloadWin::PushButton3_Action() {
    Close();
}

} // namespace quillfen
