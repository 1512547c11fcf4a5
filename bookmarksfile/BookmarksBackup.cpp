#include "bookmarksfile/BookmarksBackup.h"

#include "framework/files/FileIdentity.h"
#include "framework/ui/Modal.h"

#include <system_error>

namespace quillfen {
namespace {

std::string Reason(int errorCode) { return std::generic_category().message(errorCode); }

} // namespace

bool OfferBackup(const fw::FolderItem& bookmarks) {
    const auto chosen =
        fw::Modal().SaveAsDialog("Save the original Bookmarks file as a Backup", "Bookmarks.plist");
    if (!chosen)
        return true;
    const fw::FolderItem copy(*chosen);
    // A copy over the file itself would leave no backup at all.
    if (fw::SameFile(copy, bookmarks)) {
        fw::MsgBox("The backup copy cannot be saved over Safari's bookmarks file itself.\r\r"
                   "Nothing was changed. Please choose another name or folder for the backup.");
        return false;
    }
    // A FIFO or device in the file's place would block the copy or never end it.
    if (!fw::IsRegularFile(bookmarks)) {
        fw::MsgBox("The backup copy could not be saved: Safari's bookmarks file is not a regular file.\r\r"
                   "Nothing was changed.");
        return false;
    }
    if (!bookmarks.CopyFileTo(copy)) {
        fw::MsgBox("The backup copy could not be saved (" + Reason(bookmarks.LastErrorCode()) + ").\r\r" +
                   "Nothing was changed.");
        return false;
    }
    return true;
}

void RestoreFromCopy(const fw::FolderItem& bookmarks) {
    const auto chosen = fw::Modal().OpenDialog("Localize the original Bookmarks file");
    if (!chosen)
        return;
    const fw::FolderItem copy(*chosen);
    if (fw::SameFile(copy, bookmarks)) {
        fw::MsgBox("The chosen file is Safari's bookmarks file itself, so nothing was restored.");
        return;
    }
    if (!fw::IsRegularFile(copy)) {
        fw::MsgBox("The chosen file is not a regular file, so nothing was restored.");
        return;
    }
    if (!copy.CopyFileTo(bookmarks)) {
        fw::MsgBox("The Bookmarks file could not be restored (" + Reason(copy.LastErrorCode()) + ").\r\r" +
                   "The bookmarks file was left as it was.");
        return;
    }
    fw::MsgBox("The Bookmarks file was successfully restored");
}

} // namespace quillfen
