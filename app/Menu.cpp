#include "app/Menu.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace quillfen {
namespace {
std::unique_ptr<Menu> g_implicitInstance;

using Kind = fw::MenuItemKind;
constexpr std::nullopt_t none = std::nullopt;
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

void Menu::AddMenu(const char* name, const char* text, bool autoEnable) {
    auto menu = std::make_unique<fw::MenuItem>();
    menu->Name = name;
    menu->AutoEnable = autoEnable;
    menu->Text = text;
    menu->KeyboardShortcut = "";
    Append(std::move(menu));
}

void Menu::AddItem(std::initializer_list<const char*> parentPath, const ItemSpec& spec) {
    auto item = std::make_unique<fw::MenuItem>(spec.kind);
    item->Name = spec.name;
    item->AutoEnable = spec.autoEnable;
    item->Text = spec.text;
    if (spec.shortcut)
        item->KeyboardShortcut = *spec.shortcut;
    fw::MenuItem* parent = this;
    for (const char* name : parentPath) {
        parent = parent->Child(name);
        if (!parent)
            throw std::logic_error(std::string("menu bar has no parent ") + name + " for " + spec.name);
    }
    parent->Append(std::move(item));
}

void Menu::Untitled0() {
    AddMenu("UntitledMenu2", "File", false);
    for (const ItemSpec& s : {
             ItemSpec{"FileNew", true, "New", "Cmd+N"},
             ItemSpec{"FileFind", true, "Find", "Cmd+F"},
             ItemSpec{"FileFindNext", true, "Find Next", "Cmd+G"},
             ItemSpec{"UntitledSeparator1", true, "-", none},
             ItemSpec{"FilePageSetup", true, "Page Setup", "Cmd+Shift+P"},
             ItemSpec{"FilePrint", true, "Print", "Cmd+P"},
             ItemSpec{"UntitledSeparator0", true, "-", none},
             ItemSpec{"FileQuit", true, "Quit", "Cmd+Q", Kind::Quit},
         })
        AddItem({"UntitledMenu2"}, s);
}

void Menu::Untitled2() {
    AddMenu("UntitledMenu0", "Edit", false);
    for (const ItemSpec& s : {
             ItemSpec{"EditUndo", false, "Undo", "Cmd+Z"},
             ItemSpec{"UntitledMenu1", false, "-", none},
             ItemSpec{"EditCut", true, "Cut", "Cmd+X"},
             ItemSpec{"EditCopy", true, "Copy", "Cmd+C"},
             ItemSpec{"EditPaste", true, "Paste", "Cmd+V"},
             ItemSpec{"EditClear", true, "Clear", ""},
             ItemSpec{"EditDeleteSelectedBookmarks", true, "Delete Checked Bookmarks", ""},
             ItemSpec{"UntitledSeparator", true, "-", none},
             ItemSpec{"EditPreferences", true, "Preferences", "Cmd+,", Kind::Prefs},
             ItemSpec{"EditEditBookmark", true, "Edit Bookmark", "Cmd+E"},
             ItemSpec{"EditApplyChanges", false, "Apply Changes", ""},
         })
        AddItem({"UntitledMenu0"}, s);
}

void Menu::Untitled3() {
    AddMenu("Tools", "Tools", false);
    AddItem({"Tools"}, {"ToolsDeleteSelectedBookmarks", true, "Delete Checked Bookmarks", ""});
    AddItem({"Tools"}, {"ToolsCheckall", true, "Check Bookmarks with Codes", none});
    for (const ItemSpec& s : {
             ItemSpec{"Uncheckall", true, "Uncheck all", ""},
             ItemSpec{"Checkall1xx", true, "1xx - Informational", "Cmd+1"},
             ItemSpec{"Checkall2xx", true, "2xx - Successful", "Cmd+2"},
             ItemSpec{"Checkall3xx", true, "3xx - Redeirection", "Cmd+3"},
             ItemSpec{"Checkall4xx", true, "4xx - Client Error", "Cmd+4"},
             ItemSpec{"Checkall5xx", true, "5xx - Server Error", "Cmd+5"},
             ItemSpec{"CheckallTxx", true, "Timeout Error", "Cmd+6"},
         })
        AddItem({"Tools", "ToolsCheckall"}, s);
    AddItem({"Tools"}, {"ToolsCheckSelectedBookmarks", true, "Check Selected Bookmarks", ""});
    AddItem({"Tools"}, {"ToolsSortlistby", true, "Sort List by", none});
    for (const ItemSpec& s : {
             ItemSpec{"SortlistbyChecked", true, "Checked", ""},
             ItemSpec{"SortlistbyBookmarkname", true, "Bookmark name", ""},
             ItemSpec{"SortlistbyBookmarkURL", true, "Bookmark URL", ""},
             ItemSpec{"SortlistbyCode", true, "Code", ""},
             ItemSpec{"SortlistbyOriginalorder", true, "Original order", ""},
         })
        AddItem({"Tools", "ToolsSortlistby"}, s);
    AddItem({"Tools"}, {"CheckDuplicatesDuplicateURLs", true, "Check Duplicates", ""});
}

void Menu::Untitled4() {
    AddMenu("HelpMenu", "Help", true);
    AddItem({"HelpMenu"}, {"HelpStatuscodeexplanations", true, "Status code explanations", ""});
    AddItem({"HelpMenu"}, {"AppleAboutSafariLindquay", true, "About Safari Quillfen", "", Kind::Apple});
}

} // namespace quillfen
