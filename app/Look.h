// Tests of the running system, and the metal window look.
#pragma once

namespace fw {
class Window;
}

namespace quillfen {

namespace Globals {
// True when the menu manager uses the Aqua layout.
bool isAquaAvailable();
} // namespace Globals

namespace CarbonDeclares {
// True on system 10.2 or later.
bool IsJaguar();
void SetWindowMetal(fw::Window& w, bool on);
} // namespace CarbonDeclares

} // namespace quillfen
