// The scan control and what the link checker reaches of the main window.
#include "checker/ScanControl.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/controls/PopupMenu.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "mainwindow/Listwin.h"

namespace quillfen {

void Listwin::PushButton1_Action() { PressScanControl(*this); }

ScanRows& Listwin::Rows() {
    if (!rows_)
        rows_ = std::make_unique<ListBoxRows>(List());
    return *rows_;
}

// The label draws a new text itself; the same text again needs no drawing.
void Listwin::SetStatusText(const std::string& text) { StatusLine().SetText(text); }

std::string Listwin::ScanCaption() const { return Get<fw::PushButton>("PushButton1").Caption(); }

void Listwin::SetScanCaption(const std::string& caption) {
    auto& button = Get<fw::PushButton>("PushButton1");
    button.SetCaption(caption);
    button.Refresh(true);
}

int Listwin::ScopeIndex() const { return Get<fw::PopupMenu>("PopupMenu1").ListIndex(); }

void Listwin::PlayGlass() { Get<fw::MoviePlayer>("MoviePlayer1").Play(); }

// Closing the window ends its scan: sockets close and timers stop, so nothing late reaches anyone.
void Listwin::Event_Close() { kritisk.reset(); }

} // namespace quillfen
