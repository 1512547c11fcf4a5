#include "app/Menu.h"

#include <memory>

namespace quillfen {
namespace {
std::unique_ptr<Menu> g_implicitInstance;

std::unique_ptr<fw::MenuItem> MakeItem(const char* name, const char* text, const char* shortcut,
                                       fw::MenuItemKind kind = fw::MenuItemKind::Normal) {
    auto item = std::make_unique<fw::MenuItem>(kind);
    item->Name = name;
    item->Text = text;
    item->KeyboardShortcut = shortcut;
    return item;
}
} // namespace

Menu::Menu() {
    Untitled0();
    Untitled2();
    Untitled3();
    Untitled4();
}

Menu& Menu::Instance() {
    if (!g_implicitInstance)
        g_implicitInstance = std::make_unique<Menu>();
    return *g_implicitInstance;
}

void Menu::Release() { g_implicitInstance.reset(); }

void Menu::Untitled0() {
    auto file = MakeItem("UntitledMenu2", "File", "");
    file->AutoEnable = false;
    file->Append(MakeItem("FileNew", "New", "Cmd+N"));
    file->Append(MakeItem("FileQuit", "Quit", "Cmd+Q", fw::MenuItemKind::Quit));
    Append(std::move(file));
}

void Menu::Untitled2() {}
void Menu::Untitled3() {}
void Menu::Untitled4() {}

} // namespace quillfen
