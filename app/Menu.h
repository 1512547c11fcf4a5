// The one menu bar: File, Edit, Tools and Help, every item known by its name.
#pragma once

#include "framework/ui/MenuBar.h"

#include <initializer_list>
#include <optional>

namespace quillfen {

class Menu : public fw::MenuBar {
public:
    Menu();

    // The single instance, built on first use.
    static Menu& Instance();
    static void Release();

private:
    // One item as it is built: its shortcut is unset (nullopt) for separators and submenu openers.
    struct ItemSpec {
        const char* name;
        bool autoEnable;
        const char* text;
        std::optional<const char*> shortcut;
        fw::MenuItemKind kind = fw::MenuItemKind::Normal;
    };

    void Untitled0();
    void Untitled2();
    void Untitled3();
    void Untitled4();

    void AddMenu(const char* name, const char* text, bool autoEnable);
    // Appends the item to the item reached from the bar through `parentPath`, one Child lookup per name.
    void AddItem(std::initializer_list<const char*> parentPath, const ItemSpec& spec);
};

} // namespace quillfen
