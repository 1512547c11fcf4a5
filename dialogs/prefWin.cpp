#include "dialogs/prefWin.h"

#include "app/Globals.h"
#include "app/PreferencesFile.h"
#include "app/PreferencesRecord.h"
#include "dialogs/ProxyWin.h"
#include "dialogs/TypedSettings.h"
#include "framework/text/Text.h"
#include "framework/ui/Modal.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/EditField.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/controls/ToggleButtons.h"

namespace quillfen {
namespace {

const std::string kDefaultSimultSocks = "8";

// The record as the file holds it. A missing file is created with this window's own default; one that
// exists but cannot be read is left alone, and the default serves the window.
std::string RecordText() {
    const std::string path = PreferencesFile::Path();
    bool missing = false;
    if (std::optional<std::string> text = PreferencesFile::Read(path, &missing))
        return *text;
    const std::string fallback = DefaultRecord("metal");
    if (missing)
        PreferencesFile::Write(path, fallback);
    return fallback;
}

} // namespace

void prefWin::CreateControls() {
    fw::Window::CreateControls();
    Bind("StaticText10_MouseEnter", &prefWin::StaticText10_MouseEnter);
    Bind("StaticText1_MouseEnter", &prefWin::StaticText1_MouseEnter);
    Bind("PushButton1_Action", &prefWin::PushButton1_Action);
    Bind("PushButton2_Action", &prefWin::PushButton2_Action);
}

void prefWin::StaticText10_MouseEnter() {
    Get<fw::StaticText>("StaticText10")
        .SetHelpTag(
            "Number of bookmarks that can be scanned simultaneously. Too high number might cause Safari "
            "Quillfen to become unstable");
}

void prefWin::StaticText1_MouseEnter() {
    Get<fw::StaticText>("StaticText1")
        .SetHelpTag(
            "Increase this time for slow connections or if your bookmarks are ok, but reported as Timeout");
}

void prefWin::readprefs() {
    const std::string text = RecordText();
    auto field = [&text](int n) { return fw::NthField(text, "*", n); };
    Globals::proxyUse = field(5);
    Globals::proxyURL = field(6);
    Globals::proxyPort = field(7);
    Globals::proxyUser = field(8);
    Globals::proxyPass = field(9);
    Get<fw::EditField>("EditField1").SetText(field(1));
    Get<fw::RadioButton>(field(2) == "aqua" ? "RadioButton1" : "RadioButton2").SetValue(true);
    carriedField_ = field(3);
    Get<fw::EditField>("EditField3").SetText(field(10));
    Get<fw::CheckBox>("CheckBox1").SetValue(field(4) == "showcodes");
    Get<fw::CheckBox>("CheckBox2").SetValue(Globals::proxyUse == "useProxy");
    Refresh();
}

bool prefWin::writePrefs() {
    const std::string timeOut = Get<fw::EditField>("EditField1").Text();
    std::string simultSocks = Get<fw::EditField>("EditField3").Text();
    if (!Storable({{"URL Check Timeout Period", timeOut}, {"Scan: bookmarks at the time", simultSocks}}))
        return false;
    // An empty count would leave the record's last field empty, which reads as a record still to be
    // upgraded: the default is stored instead.
    const bool countWasEmpty = simultSocks.empty();
    if (countWasEmpty)
        simultSocks = kDefaultSimultSocks;
    const std::string aquaOrmetal = Get<fw::RadioButton>("RadioButton1").Value() ? "aqua" : "metal";
    const std::string showOKcodes = Get<fw::CheckBox>("CheckBox1").Value() ? "showcodes" : "nocodes";
    const std::string proxyUse = Get<fw::CheckBox>("CheckBox2").Value() ? "useProxy" : "noProxy";
    const std::string record =
        fw::Join({timeOut, aquaOrmetal, carriedField_, showOKcodes, proxyUse, Globals::proxyURL,
                  Globals::proxyPort, Globals::proxyUser, Globals::proxyPass, simultSocks},
                 "*");
    // The settings change only with the record, so that memory and file never disagree.
    std::string error;
    if (!PreferencesFile::Write(PreferencesFile::Path(), record, &error)) {
        fw::MsgBox("Your preferences could not be saved, and nothing was changed.\r" + error);
        return false;
    }
    Globals::timeOut = timeOut;
    Globals::aquaOrmetal = aquaOrmetal;
    Globals::simultSocks = simultSocks;
    Globals::showOKcodes = showOKcodes;
    Globals::proxyUse = proxyUse;
    Refresh();
    if (countWasEmpty)
        fw::MsgBox("No number of bookmarks to scan at the time was given, so the default of " +
                   kDefaultSimultSocks + " applies.");
    return true;
}

// Apply.
void prefWin::PushButton1_Action() {
    if (!writePrefs())
        return;
    if (mainWindow.refresh)
        mainWindow.refresh();
    if (mainWindow.readPrefs)
        mainWindow.readPrefs();
    if (Globals::proxyUse == "useProxy" && mainWindow.setVersionProxy)
        mainWindow.setVersionProxy(Globals::proxyURL, Globals::proxyPort);
    Close();
}

// Configure.
void prefWin::PushButton2_Action() {
    fw::Instance<ProxyWin>().Show();
}

} // namespace quillfen
