#include "app/Look.h"

#include "framework/ui/System.h"
#include "framework/ui/Window.h"

namespace quillfen {

bool Globals::isAquaAvailable() {
    int64_t value = 0;
    if (!fw::System::Gestalt("menu", value))
        return false;
    return (value & 2) > 0;
}

bool CarbonDeclares::IsJaguar() {
    int64_t value = 0;
    fw::System::Gestalt("sysv", value);
    return value >= 0x1020;
}

void CarbonDeclares::SetWindowMetal(fw::Window& w, bool on) {
    // The metal look came with system 10.2; older systems keep the window as it is.
    if (!IsJaguar())
        return;
    w.SetMetal(on);
}

} // namespace quillfen
