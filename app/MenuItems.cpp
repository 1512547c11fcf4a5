#include "app/MenuItems.h"

#include "framework/ui/Application.h"
#include "framework/ui/MenuBar.h"

#include <string>

namespace quillfen {
namespace {
fw::MenuItem* Installed(const std::string& name) {
    fw::Application* app = fw::Application::Instance();
    fw::MenuBar* bar = app ? app->GetMenuBar() : nullptr;
    return bar ? bar->_Lookup(name) : nullptr;
}
} // namespace

fw::MenuItem* ToolsSortlistby() { return Installed("ToolsSortlistby"); }
fw::MenuItem* ToolsCheckall() { return Installed("ToolsCheckall"); }
fw::MenuItem* EditApplyChanges() { return Installed("EditApplyChanges"); }
fw::MenuItem* EditUndo() { return Installed("EditUndo"); }

} // namespace quillfen
