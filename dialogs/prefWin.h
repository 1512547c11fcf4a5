// The Preferences window: time-out, simultaneous checks, result codes for OK URLs and proxy use, written
// into the preferences record by Apply.
#pragma once

#include "framework/ui/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace quillfen {

class prefWin : public fw::Window {
public:
    prefWin() : fw::Window("prefWin") {}

    // What Apply asks of the main window, which lies in a library above this one: it installs these.
    struct MainWindowLink {
        std::function<void()> refresh;
        std::function<void()> readPrefs;
        // The version socket's proxy: the address and the port as typed.
        std::function<void(const std::string& address, const std::string& port)> setVersionProxy;
    };
    static inline MainWindowLink mainWindow;

    // Fills the controls and the proxy settings from the preferences file, creating it when missing.
    void readprefs();
    // Stores the controls into the record and the settings. False, after telling the user why, when
    // nothing could be stored; then the record and the settings stay as they were.
    bool writePrefs();

protected:
    void CreateControls() override;
    void Event_Open() override { readprefs(); }

private:
    void StaticText10_MouseEnter();
    void StaticText1_MouseEnter();
    void PushButton1_Action();
    void PushButton2_Action();

    // The record's ten fields as the controls and the proxy settings hold them now; the third as read.
    std::vector<std::string> Fields() const;

    // The record's fields as read, and as Fields() gave them when the window had just shown them.
    std::vector<std::string> read_, shown_;
};

} // namespace quillfen
