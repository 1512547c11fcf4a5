// "Visit Site", the status line as a link, and the logo button.
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "app/Media.h"
#include "framework/ui/controls/Canvas.h"
#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/Modal.h"
#include "framework/ui/graphics/Picture.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "mainwindow/Listwin.h"
#include "mainwindow/WebAddress.h"

namespace quillfen {

fw::StaticText& Listwin::StatusLine() const { return Get<fw::StaticText>("statusLine"); }

void Listwin::ShowStatusNow(const std::string& text) {
    StatusLine().SetText(text);
    StatusLine().Refresh(true);
    Refresh(true);
}

void Listwin::PushButton2_Open() { Get<fw::PushButton>("PushButton2").SetDefault(true); }

void Listwin::PushButton3_Action() { OpenIfWebAddress(StatusLine().Text()); }

void Listwin::statusLine_MouseEnter() {
    if (IsWebAddress(StatusLine().Text()))
        StatusLine().SetUnderline(true);
}

void Listwin::statusLine_MouseExit() { StatusLine().SetUnderline(false); }

// Accepting the press is what brings the release here.
bool Listwin::statusLine_MouseDown(int, int) {
    StatusLine().SetTextColor(fw::RGB(200, 0, 255));
    return true;
}

// The colour stays until the next writer of the status line sets its own.
void Listwin::statusLine_MouseUp(int, int) {
    StatusLine().SetTextColor(fw::RGB(0, 0, 255));
    StatusLine().SetUnderline(true);
    OpenIfWebAddress(StatusLine().Text());
}

void Listwin::Canvas2_Open() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetAcceptFocus(true);
    logo.SetUseFocusRing(false);
}

// The ring shows that the logo is a button while the pointer is on it.
void Listwin::Canvas2_MouseEnter() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetFocus();
    logo.SetUseFocusRing(true);
    logo.Refresh(true);
}

void Listwin::Canvas2_MouseExit() {
    auto& logo = Get<fw::Canvas>("Canvas2");
    logo.SetUseFocusRing(false);
    logo.Refresh(true);
}

bool Listwin::Canvas2_MouseDown(int, int) { return true; }

void Listwin::Canvas2_MouseUp(int, int) {
    const std::string home = MakerHomePage();
    if (!home.empty())
        fw::ShowURL(home);
}

// The metal look draws the logo through its mask; every other look the see-through logo.
void Listwin::Canvas2_Paint(fw::Graphics& g) {
    if (Globals::aquaOrmetal == "metal") {
        fw::Picture* logo = logo75();
        fw::Picture* mask = logomask75();
        if (!logo || !mask)
            return;
        logo->Mask().DrawPicture(*mask, 0, 0);
        g.DrawPicture(*logo, 0, 0);
    } else if (fw::Picture* logo = tervaskloggatransp75px()) {
        g.DrawPicture(*logo, 0, 0);
    }
}

} // namespace quillfen
