// Editing a bookmark's name and URL in the list: "Edit Bookmark", the undo backup, the edit log and Undo.
#include "app/MenuItems.h"
#include "bookmarksfile/EditLog.h"
#include "framework/ui/Application.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/controls/PushButton.h"
#include "mainwindow/Listwin.h"

namespace quillfen {

void Listwin::PushButton5_Action() { MakeActiveBookmarkEditable(); }

bool Listwin::_EditEditBookmark_Action() {
    MakeActiveBookmarkEditable();
    return false;
}

// Before any click the first row is the active one. Editing starts when the user clicks a cell made editable.
void Listwin::MakeActiveBookmarkEditable() {
    const int row = activeBookmark_ != 0 ? List().RowOf(activeBookmark_) : (List().ListCount() > 0 ? 0 : -1);
    if (row < 0)
        return;
    List().SetCellType(row, BookmarkColumn::Name, fw::ListBox::TypeEditable);
    List().SetCellType(row, BookmarkColumn::URL, fw::ListBox::TypeEditable);
}

// Raised before the editor takes the cell's text, so the backup holds the bookmark as it was.
void Listwin::ListBox1_CellGotFocus(int row, int column) {
    undoRow = row;
    undoColumn = column;
    undoBookmark_ = List().RowIdentity(row);
    undoBackup = List().Cell(row, column);
    undoBackupTitle = List().Cell(row, BookmarkColumn::Name);
    undoBackupURL = List().Cell(row, BookmarkColumn::URL);
}

// The user committed an edit or clicked a check box. The old values come from the undo backup only when
// it was taken from this very bookmark; a click on another bookmark's box records its own values, which
// changes nothing, rather than another bookmark's title.
void Listwin::ListBox1_CellAction(int row, int) {
    if (fw::MenuItem* item = EditApplyChanges())
        item->Enabled = true;
    const bool ownBackup = undoBookmark_ != 0 && undoBookmark_ == List().RowIdentity(row);
    const std::string oldTitle = ownBackup ? undoBackupTitle : List().Cell(row, BookmarkColumn::Name);
    const std::string oldURL = ownBackup ? undoBackupURL : List().Cell(row, BookmarkColumn::URL);
    ShowEditsWaiting();
    RecordEdit(row, oldTitle, oldURL);
    List().SetCellType(row, BookmarkColumn::Name, fw::ListBox::TypeNormal);
    List().SetCellType(row, BookmarkColumn::URL, fw::ListBox::TypeNormal);
    List().SetCell(row, BookmarkColumn::Checked, List().CellCheck(row, BookmarkColumn::Check) ? "1" : "0");
}

// One level that a second use reverses: the backup and the row swap their name and URL.
bool Listwin::_EditUndo_Action() {
    const int row = undoBookmark_ != 0 ? List().RowOf(undoBookmark_) : -1;
    if (row < 0)
        return false;
    const std::string title = List().Cell(row, BookmarkColumn::Name);
    const std::string url = List().Cell(row, BookmarkColumn::URL);
    List().SetCell(row, BookmarkColumn::Name, undoBackupTitle);
    List().SetCell(row, BookmarkColumn::URL, undoBackupURL);
    ShowEditsWaiting();
    RecordEdit(row, title, url);
    undoBackupTitle = title;
    undoBackupURL = url;
    List().Refresh(true);
    return false;
}

// The row's current name and URL are the new values.
void Listwin::RecordEdit(int row, const std::string& oldTitle, const std::string& oldURL) {
    const fw::ListBox& list = List();
    AppendEditRecord(editUIs, {list.Cell(row, BookmarkColumn::UUID), list.Cell(row, BookmarkColumn::Name), oldTitle,
                               list.Cell(row, BookmarkColumn::URL), oldURL, list.Cell(row, BookmarkColumn::Order)});
}

// "Apply Change" and the menu's "Apply Changes" offer the edits.
void Listwin::ShowEditsWaiting() {
    editHasBeenEdited = true;
    if (fw::Application* app = fw::Application::Instance())
        app->UpdateMenuEnabling();
    auto& apply = Get<fw::PushButton>("PushButton4");
    apply.SetVisible(true);
    apply.SetEnabled(true);
}

} // namespace quillfen
