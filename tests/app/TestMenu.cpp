// The menu bar as built: every menu and item, in order, and the accessors that find items by name.
#include "app/Menu.h"
#include "app/MenuItems.h"
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quillfen {
namespace {

using Kind = fw::MenuItemKind;

struct Row {
    std::string parent; // "" for the bar
    std::string name;
    std::string text;
    std::optional<std::string> shortcut; // nullopt: never set
    bool autoEnable;
    Kind kind = Kind::Normal;
};

const std::optional<std::string> unset;

// The whole bar, depth first, in screen order.
const std::vector<Row> kBar = {
    {"", "UntitledMenu2", "File", "", false},
    {"UntitledMenu2", "FileNew", "New", "Cmd+N", true},
    {"UntitledMenu2", "FileFind", "Find", "Cmd+F", true},
    {"UntitledMenu2", "FileFindNext", "Find Next", "Cmd+G", true},
    {"UntitledMenu2", "UntitledSeparator1", "-", unset, true},
    {"UntitledMenu2", "FilePageSetup", "Page Setup", "Cmd+Shift+P", true},
    {"UntitledMenu2", "FilePrint", "Print", "Cmd+P", true},
    {"UntitledMenu2", "UntitledSeparator0", "-", unset, true},
    {"UntitledMenu2", "FileQuit", "Quit", "Cmd+Q", true, Kind::Quit},
    {"", "UntitledMenu0", "Edit", "", false},
    {"UntitledMenu0", "EditUndo", "Undo", "Cmd+Z", false},
    {"UntitledMenu0", "UntitledMenu1", "-", unset, false},
    {"UntitledMenu0", "EditCut", "Cut", "Cmd+X", true},
    {"UntitledMenu0", "EditCopy", "Copy", "Cmd+C", true},
    {"UntitledMenu0", "EditPaste", "Paste", "Cmd+V", true},
    {"UntitledMenu0", "EditClear", "Clear", "", true},
    {"UntitledMenu0", "EditDeleteSelectedBookmarks", "Delete Checked Bookmarks", "", true},
    {"UntitledMenu0", "UntitledSeparator", "-", unset, true},
    {"UntitledMenu0", "EditPreferences", "Preferences", "Cmd+,", true, Kind::Prefs},
    {"UntitledMenu0", "EditEditBookmark", "Edit Bookmark", "Cmd+E", true},
    {"UntitledMenu0", "EditApplyChanges", "Apply Changes", "", false},
    {"", "Tools", "Tools", "", false},
    {"Tools", "ToolsDeleteSelectedBookmarks", "Delete Checked Bookmarks", "", true},
    {"Tools", "ToolsCheckall", "Check Bookmarks with Codes", unset, true},
    {"ToolsCheckall", "Uncheckall", "Uncheck all", "", true},
    {"ToolsCheckall", "Checkall1xx", "1xx - Informational", "Cmd+1", true},
    {"ToolsCheckall", "Checkall2xx", "2xx - Successful", "Cmd+2", true},
    {"ToolsCheckall", "Checkall3xx", "3xx - Redeirection", "Cmd+3", true},
    {"ToolsCheckall", "Checkall4xx", "4xx - Client Error", "Cmd+4", true},
    {"ToolsCheckall", "Checkall5xx", "5xx - Server Error", "Cmd+5", true},
    {"ToolsCheckall", "CheckallTxx", "Timeout Error", "Cmd+6", true},
    {"Tools", "ToolsCheckSelectedBookmarks", "Check Selected Bookmarks", "", true},
    {"Tools", "ToolsSortlistby", "Sort List by", unset, true},
    {"ToolsSortlistby", "SortlistbyChecked", "Checked", "", true},
    {"ToolsSortlistby", "SortlistbyBookmarkname", "Bookmark name", "", true},
    {"ToolsSortlistby", "SortlistbyBookmarkURL", "Bookmark URL", "", true},
    {"ToolsSortlistby", "SortlistbyCode", "Code", "", true},
    {"ToolsSortlistby", "SortlistbyOriginalorder", "Original order", "", true},
    {"Tools", "CheckDuplicatesDuplicateURLs", "Check Duplicates", "", true},
    {"", "HelpMenu", "Help", "", true},
    {"HelpMenu", "HelpStatuscodeexplanations", "Status code explanations", "", true},
    {"HelpMenu", "AppleAboutSafariLindquay", "About Safari Quillfen", "", true, Kind::Apple},
};

void Walk(const fw::MenuItem& parent, const std::string& parentName, std::vector<Row>& out) {
    for (int i = 0; i < parent.Count(); ++i) {
        const fw::MenuItem& item = parent.Item(i);
        out.push_back({parentName, item.Name, item.Text, item.KeyboardShortcut, item.AutoEnable, item.Kind()});
        Walk(item, item.Name, out);
    }
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

// Every menu and item stands where the bar's table puts it, with its caption, shortcut, enabling and kind.
TEST_F(MenuTest, BarMatchesTheTable) {
    std::vector<Row> built;
    Walk(Menu::Instance(), "", built);
    ASSERT_EQ(built.size(), kBar.size());
    for (size_t i = 0; i < kBar.size(); ++i) {
        SCOPED_TRACE(kBar[i].name);
        EXPECT_EQ(built[i].parent, kBar[i].parent);
        EXPECT_EQ(built[i].name, kBar[i].name);
        EXPECT_EQ(built[i].text, kBar[i].text);
        EXPECT_EQ(built[i].shortcut, kBar[i].shortcut);
        EXPECT_EQ(built[i].autoEnable, kBar[i].autoEnable);
        EXPECT_EQ(built[i].kind, kBar[i].kind);
    }
}

// The accessor always hands out the one bar.
TEST_F(MenuTest, InstanceIsSingle) { EXPECT_EQ(&Menu::Instance(), &Menu::Instance()); }

// The accessors find their items one level down, and lookups reach two levels down.
TEST_F(MenuTest, AccessorsFindItemsInsideSubmenus) {
    ASSERT_NE(ToolsSortlistby(), nullptr);
    EXPECT_EQ(ToolsSortlistby()->Name, "ToolsSortlistby");
    ASSERT_NE(ToolsCheckall(), nullptr);
    EXPECT_EQ(ToolsCheckall()->Name, "ToolsCheckall");
    ASSERT_NE(EditApplyChanges(), nullptr);
    EXPECT_EQ(EditApplyChanges()->Name, "EditApplyChanges");
    ASSERT_NE(EditUndo(), nullptr);
    EXPECT_EQ(EditUndo()->Name, "EditUndo");
    fw::MenuItem* deep = Menu::Instance()._Lookup("Checkall4xx");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep, ToolsCheckall()->Child("Checkall4xx"));
}

// A name the bar does not hold gives no item, and without an installed bar the accessors give none.
TEST_F(MenuTest, MissingNamesGiveNothing) {
    EXPECT_EQ(Menu::Instance()._Lookup("ToolsSortListBy"), nullptr);
    app_.SetMenuBar(nullptr);
    EXPECT_EQ(ToolsSortlistby(), nullptr);
    EXPECT_EQ(EditUndo(), nullptr);
}

} // namespace
} // namespace quillfen
