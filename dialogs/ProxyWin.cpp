#include "dialogs/ProxyWin.h"

#include "app/Globals.h"
#include "dialogs/TypedSettings.h"
#include "framework/ui/controls/EditField.h"

namespace quillfen {
namespace {

constexpr const char* kFields[] = {"EditField1", "EditField2", "EditField3", "EditField4"};

std::array<std::string*, 4> Settings() {
    return {&Globals::proxyURL, &Globals::proxyPort, &Globals::proxyUser, &Globals::proxyPass};
}

} // namespace

void ProxyWin::CreateControls() {
    fw::Window::CreateControls();
    Bind("BevelButton1_Action", &ProxyWin::BevelButton1_Action);
}

void ProxyWin::Event_Open() {
    for (size_t i = 0; i < shown_.size(); ++i) {
        auto& field = Get<fw::EditField>(kFields[i]);
        field.SetText(*Settings()[i]);
        shown_[i] = field.Text();
    }
    Refresh();
}

// Close: the texts go into the settings exactly as typed; the close box stores nothing.
void ProxyWin::BevelButton1_Action() {
    std::array<std::string, 4> typed;
    for (size_t i = 0; i < typed.size(); ++i)
        typed[i] = Get<fw::EditField>(kFields[i]).Text();
    if (!Storable(
            {{"Proxy server", typed[0]}, {"Port", typed[1]}, {"Username", typed[2]}, {"Password", typed[3]}}))
        return;
    // A field left as it was shown keeps the setting's own bytes, which it shows only approximately when
    // they are not UTF-8: a password the proxy expects must not change by being looked at.
    for (size_t i = 0; i < typed.size(); ++i)
        if (typed[i] != shown_[i])
            *Settings()[i] = typed[i];
    Close();
}

} // namespace quillfen
