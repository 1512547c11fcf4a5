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

constexpr size_t kFieldCount = 10;
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
    read_ = fw::SplitB(RecordText(), "*");
    read_.resize(kFieldCount);
    Globals::proxyUse = read_[4];
    Globals::proxyURL = read_[5];
    Globals::proxyPort = read_[6];
    Globals::proxyUser = read_[7];
    Globals::proxyPass = read_[8];
    Get<fw::EditField>("EditField1").SetText(read_[0]);
    Get<fw::RadioButton>(read_[1] == "aqua" ? "RadioButton1" : "RadioButton2").SetValue(true);
    Get<fw::EditField>("EditField3").SetText(read_[9]);
    Get<fw::CheckBox>("CheckBox1").SetValue(read_[3] == "showcodes");
    Get<fw::CheckBox>("CheckBox2").SetValue(Globals::proxyUse == "useProxy");
    shown_ = Fields();
    Refresh();
}

std::vector<std::string> prefWin::Fields() const {
    return {Get<fw::EditField>("EditField1").Text(),
            Get<fw::RadioButton>("RadioButton1").Value() ? "aqua" : "metal",
            read_[2],
            Get<fw::CheckBox>("CheckBox1").Value() ? "showcodes" : "nocodes",
            Get<fw::CheckBox>("CheckBox2").Value() ? "useProxy" : "noProxy",
            Globals::proxyURL,
            Globals::proxyPort,
            Globals::proxyUser,
            Globals::proxyPass,
            Get<fw::EditField>("EditField3").Text()};
}

bool prefWin::writePrefs() {
    std::vector<std::string> fields = Fields();
    if (!Storable({{"URL Check Timeout Period", fields[0]}, {"Scan: bookmarks at the time", fields[9]}}))
        return false;
    // What the user left as it was shown keeps the record's own bytes: a field shows text that is not
    // UTF-8 only approximately, and writing that back would change a password the proxy expects.
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == shown_[i])
            fields[i] = read_[i];
    // An empty count would leave the record's last field empty, which reads as a record still to be
    // upgraded: the default is stored instead.
    const bool countWasEmpty = fields[9].empty();
    if (countWasEmpty)
        fields[9] = kDefaultSimultSocks;
    // The settings change only with the record, so that memory and file never disagree.
    std::string error;
    if (!PreferencesFile::Write(PreferencesFile::Path(), fw::Join(fields, "*"), &error)) {
        fw::MsgBox("Your preferences could not be saved, and nothing was changed.\r" + error);
        return false;
    }
    Globals::timeOut = fields[0];
    Globals::aquaOrmetal = fields[1];
    Globals::showOKcodes = fields[3];
    Globals::proxyUse = fields[4];
    Globals::simultSocks = fields[9];
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
