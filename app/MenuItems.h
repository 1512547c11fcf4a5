// The menu items the main window changes at run time, looked up by name in the installed menu bar.
#pragma once

namespace fw {
class MenuItem;
}

namespace quillfen {

// Each returns the item of its name, submenus included, or nullptr when the bar holds none.
fw::MenuItem* ToolsSortlistby();
fw::MenuItem* ToolsCheckall();
fw::MenuItem* EditApplyChanges();
fw::MenuItem* EditUndo();

} // namespace quillfen
