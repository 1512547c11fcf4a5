// The main window's menu commands: their registration by item name and the simple ones.
#include "dialogs/Aboutbox.h"
#include "dialogs/codeWin.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <utility>

namespace quillfen {

void Listwin::AddMenuHandlers() {
    using Handler = bool (Listwin::*)();
    static constexpr std::pair<const char*, Handler> handlers[] = {
        {"FileFind", &Listwin::_FileFind_Action},
        {"FileFindNext", &Listwin::_FileFindNext_Action},
        {"EditUndo", &Listwin::_EditUndo_Action},
        {"ToolsDeleteSelectedBookmarks", &Listwin::_ToolsDeleteSelectedBookmarks_Action},
        {"AppleAboutSafariLindquay", &Listwin::_AppleAboutSafariLindquay_Action},
        {"EditPreferences", &Listwin::_EditPreferences_Action},
        {"HelpStatuscodeexplanations", &Listwin::_HelpStatuscodeexplanations_Action},
        {"Checkall1xx", &Listwin::_Checkall1xx_Action},
        {"CheckallTxx", &Listwin::_CheckallTxx_Action},
        {"Checkall4xx", &Listwin::_Checkall4xx_Action},
        {"Checkall2xx", &Listwin::_Checkall2xx_Action},
        {"Checkall3xx", &Listwin::_Checkall3xx_Action},
        {"Checkall5xx", &Listwin::_Checkall5xx_Action},
        {"SortlistbyBookmarkname", &Listwin::_SortlistbyBookmarkname_Action},
        {"SortlistbyBookmarkURL", &Listwin::_SortlistbyBookmarkURL_Action},
        {"SortlistbyCode", &Listwin::_SortlistbyCode_Action},
        {"SortlistbyOriginalorder", &Listwin::_SortlistbyOriginalorder_Action},
        {"Uncheckall", &Listwin::_Uncheckall_Action},
        {"EditEditBookmark", &Listwin::_EditEditBookmark_Action},
        {"EditApplyChanges", &Listwin::_EditApplyChanges_Action},
        {"SortlistbyChecked", &Listwin::_SortlistbyChecked_Action},
        {"CheckDuplicatesDuplicateURLs", &Listwin::_CheckDuplicatesDuplicateURLs_Action},
        {"EditDeleteSelectedBookmarks", &Listwin::_EditDeleteSelectedBookmarks_Action},
        {"FilePrint", &Listwin::_FilePrint_Action},
        {"FilePageSetup", &Listwin::_FilePageSetup_Action},
        {"ToolsCheckSelectedBookmarks", &Listwin::_ToolsCheckSelectedBookmarks_Action},
    };
    for (const auto& [name, handler] : handlers)
        AddMenuHandler(name, [this, handler = handler] { return (this->*handler)(); });
}

bool Listwin::_ToolsDeleteSelectedBookmarks_Action() {
    confirmDelete();
    return false;
}

bool Listwin::_AppleAboutSafariLindquay_Action() {
    fw::Instance<Aboutbox>().Show();
    return false;
}

bool Listwin::_EditPreferences_Action() {
    fw::Instance<prefWin>().Show();
    return false;
}

bool Listwin::_HelpStatuscodeexplanations_Action() {
    fw::Instance<codeWin>().Show();
    return false;
}

bool Listwin::_EditDeleteSelectedBookmarks_Action() {
    ShowStatusNow("Preparing to delete...");
    confirmDelete();
    return false;
}

} // namespace quillfen
