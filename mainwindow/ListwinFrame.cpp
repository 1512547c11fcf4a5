// The main window's frame: its controls' bindings, opening, resizing and the enabling of buttons and menu items.
#include "app/Globals.h"
#include "app/Look.h"
#include "app/Media.h"
#include "app/MenuItems.h"
#include "app/PreferencesRecord.h"
#include "checker/WholeNumber.h"
#include "framework/ui/controls/Canvas.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/MoviePlayer.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/text/Text.h"
#include "mainwindow/Listwin.h"

namespace quillfen {

void Listwin::CreateControls() {
    fw::Window::CreateControls();
    list_ = &Get<fw::ListBox>("ListBox1");
    Get<fw::Canvas>("Canvas3").SetBackdrop(magnifyer());
    Get<fw::MoviePlayer>("MoviePlayer1").SetMovie(Glass());
    // The status line widens with the window under the buttons beside it; they keep their own clicks.
    for (const char* button : {"PushButton3", "PushButton4", "PushButton5"})
        Get<fw::PushButton>(button).BringToFront();
    Bind("ListBox1_DropObject", &Listwin::ListBox1_DropObject);
    Bind("ListBox1_KeyDown", &Listwin::ListBox1_KeyDown);
    Bind("ListBox1_CellBackgroundPaint", &Listwin::ListBox1_CellBackgroundPaint);
    Bind("ListBox1_DoubleClick", &Listwin::ListBox1_DoubleClick);
    Bind("ListBox1_CellClick", &Listwin::ListBox1_CellClick);
    Bind("ListBox1_SortColumn", &Listwin::ListBox1_SortColumn);
    Bind("ListBox1_Open", &Listwin::ListBox1_Open);
    Bind("ListBox1_HeaderPressed", &Listwin::ListBox1_HeaderPressed);
    Bind("ListBox1_CompareRows", &Listwin::ListBox1_CompareRows);
    Bind("Timer2_Action", &Listwin::Timer2_Action);
    Bind("PushButton1_Action", &Listwin::PushButton1_Action);
    Bind("PushButton2_Open", &Listwin::PushButton2_Open);
    Bind("PushButton2_Action", &Listwin::PushButton2_Action);
    Bind("PushButton3_Action", &Listwin::PushButton3_Action);
    Bind("statusLine_MouseExit", &Listwin::statusLine_MouseExit);
    Bind("statusLine_MouseEnter", &Listwin::statusLine_MouseEnter);
    Bind("statusLine_MouseUp", &Listwin::statusLine_MouseUp);
    Bind("statusLine_MouseDown", &Listwin::statusLine_MouseDown);
    Bind("ListBox2_GotFocus", &Listwin::ListBox2_GotFocus);
    Bind("ListBox2_CellLostFocus", &Listwin::ListBox2_CellLostFocus);
    Bind("ListBox2_CellClick", &Listwin::ListBox2_CellClick);
    Bind("ListBox2_CellBackgroundPaint", &Listwin::ListBox2_CellBackgroundPaint);
    Bind("ListBox2_Open", &Listwin::ListBox2_Open);
    Bind("ListBox2_CellAction", &Listwin::ListBox2_CellAction);
    Bind("ListBox2_Change", &Listwin::ListBox2_Change);
    Bind("Canvas2_MouseExit", &Listwin::Canvas2_MouseExit);
    Bind("Canvas2_MouseEnter", &Listwin::Canvas2_MouseEnter);
    Bind("Canvas2_MouseUp", &Listwin::Canvas2_MouseUp);
    Bind("Canvas2_MouseDown", &Listwin::Canvas2_MouseDown);
    Bind("Canvas2_Open", &Listwin::Canvas2_Open);
    Bind("Canvas2_Paint", &Listwin::Canvas2_Paint);
    Bind("DeleteLoopThread11_Run", &Listwin::DeleteLoopThread11_Run);
    Bind("ListBox1_CellAction", &Listwin::ListBox1_CellAction);
    Bind("ListBox1_CellGotFocus", &Listwin::ListBox1_CellGotFocus);
    Bind("PushButton4_Action", &Listwin::PushButton4_Action);
    Bind("PushButton5_Action", &Listwin::PushButton5_Action);
}

// "Visit Site" and "Edit Bookmark" are enabled exactly while the list has a selected row.
void Listwin::SetupBindings() {
    List().Change = [this] { EnableRowButtons(List().SelCount() > 0); };
    EnableRowButtons(false);
}

void Listwin::EnableRowButtons(bool on) {
    Get<fw::PushButton>("PushButton3").SetEnabled(on);
    Get<fw::PushButton>("PushButton5").SetEnabled(on);
}

void Listwin::Event_Open() {
    SetLiveResize(true);
    scanNumber = -1;
    searchLine = -1;
    readPrefs();
    linkPrefWin();
    CarbonDeclares::SetWindowMetal(*this, Globals::aquaOrmetal != "aqua");
    if (Globals::proxyUse == "useProxy") {
        versionHTTPSock.HTTPProxyAddress = Globals::proxyURL;
        versionHTTPSock.HTTPProxyPort = WholeNumber(Globals::proxyPort);
    }
    startVersionCheck();
    // The first-run or upgrade message is shown once, as the window opens.
    if (!welcomeMsg.empty())
        StatusLine().SetText(welcomeMsg);
}

void Listwin::readPrefs() { ReadPreferences(welcomeMsg); }

void Listwin::Event_Resized() {
    List().SetWidth(Width());
    List().SetHeight(Height() - 85);
    StatusLine().SetWidth(Width() - 260);
    Get<fw::PushButton>("PushButton3").SetVisible(Width() >= 563);
    Refresh(true);
}

void Listwin::Event_EnableMenuItems() {
    auto enable = [](fw::MenuItem* item, bool on) {
        if (item && on)
            item->Enabled = true;
    };
    enable(EditUndo(), !undoBackup.empty());
    enable(EditApplyChanges(), editHasBeenEdited);
    enable(ToolsCheckall(), true);
    enable(ToolsSortlistby(), true);
}

} // namespace quillfen
