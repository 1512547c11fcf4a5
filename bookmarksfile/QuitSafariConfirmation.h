// The confirmations shown before the bookmarks file is rewritten: OK asks Safari to quit and goes on with
// the rewrite the main window handed in; Cancel, and the close box where there is one, only close.
#pragma once

#include "framework/ui/Window.h"

#include <functional>
#include <string>

namespace quillfen {

class QuitSafariConfirmation : public fw::Window {
public:
    explicit QuitSafariConfirmation(std::string layoutName) : fw::Window(std::move(layoutName)) {}

    // What OK goes on with (the main window's delete or apply).
    std::function<void()> proceed;

protected:
    void CreateControls() override;

private:
    void PushButton1_Action();
    void PushButton2_Action();
};

// Before the checked bookmarks are deleted.
class warningWin : public QuitSafariConfirmation {
public:
    warningWin() : QuitSafariConfirmation("warningWin") {}
};

// Before the edits are applied.
class warningChangeWin : public QuitSafariConfirmation {
public:
    warningChangeWin() : QuitSafariConfirmation("warningChangeWin") {}
};

} // namespace quillfen
