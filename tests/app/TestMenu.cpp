// The menu bar as built: every menu and item, in order.
#include "app/Menu.h"
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <string>

namespace quillfen {
namespace {

// "Name=Caption", then the shortcut, "manual" when it waits for a window to enable it, "quits" for the
// Quit item and a submenu's items in braces; a separator is "-".
std::string Outline(const fw::MenuItem& item) {
    if (item.IsSeparator())
        return "-";
    std::string out = item.Name + "=" + item.Text;
    if (item.KeyboardShortcut && !item.KeyboardShortcut->empty())
        out += " " + *item.KeyboardShortcut;
    out += item.AutoEnable ? "" : " manual";
    out += item.Kind() == fw::MenuItemKind::Quit ? " quits" : "";
    for (int i = 0; i < item.Count(); ++i)
        out += (i == 0 ? " {" : " | ") + Outline(item.Item(i)) + (i + 1 == item.Count() ? "}" : "");
    return out;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override { app_.SetMenuBar(&Menu::Instance()); }
    void TearDown() override {
        app_.SetMenuBar(nullptr);
        Menu::Release();
    }
    fw::Application app_;
};

// Menu handlers are bound by item name: every item keeps its name, caption, place, shortcut and enabling.
TEST_F(MenuTest, BarHoldsEveryItemInOrder) {
    EXPECT_EQ(Outline(Menu::Instance()),
              "= {UntitledMenu2=File manual {FileNew=New Cmd+N | FileFind=Find Cmd+F | "
              "FileFindNext=Find Next Cmd+G | - | FilePageSetup=Page Setup Cmd+Shift+P | "
              "FilePrint=Print Cmd+P | - | FileQuit=Quit Cmd+Q quits} | "
              "UntitledMenu0=Edit manual {EditUndo=Undo Cmd+Z manual | - | EditCut=Cut Cmd+X | "
              "EditCopy=Copy Cmd+C | EditPaste=Paste Cmd+V | EditClear=Clear | "
              "EditDeleteSelectedBookmarks=Delete Checked Bookmarks | - | "
              "EditPreferences=Preferences Cmd+, | EditEditBookmark=Edit Bookmark Cmd+E | "
              "EditApplyChanges=Apply Changes manual} | "
              "Tools=Tools manual {ToolsDeleteSelectedBookmarks=Delete Checked Bookmarks | "
              "ToolsCheckall=Check Bookmarks with Codes {Uncheckall=Uncheck all | "
              "Checkall1xx=1xx - Informational Cmd+1 | Checkall2xx=2xx - Successful Cmd+2 | "
              "Checkall3xx=3xx - Redeirection Cmd+3 | Checkall4xx=4xx - Client Error Cmd+4 | "
              "Checkall5xx=5xx - Server Error Cmd+5 | CheckallTxx=Timeout Error Cmd+6} | "
              "ToolsCheckSelectedBookmarks=Check Selected Bookmarks | ToolsSortlistby=Sort List by "
              "{SortlistbyChecked=Checked | SortlistbyBookmarkname=Bookmark name | "
              "SortlistbyBookmarkURL=Bookmark URL | SortlistbyCode=Code | "
              "SortlistbyOriginalorder=Original order} | CheckDuplicatesDuplicateURLs=Check Duplicates} | "
              "HelpMenu=Help {HelpStatuscodeexplanations=Status code explanations | "
              "AppleAboutSafariLindquay=About Safari Quillfen}}");
}

} // namespace
} // namespace quillfen
