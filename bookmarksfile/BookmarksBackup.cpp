#include "bookmarksfile/BookmarksBackup.h"

#include "bookmarksfile/BookmarksReader.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "bookmarksfile/BookmarksText.h"
#include "framework/files/AtomicFile.h"
#include "framework/files/FileIdentity.h"
#include "framework/text/Text.h"
#include "framework/ui/Modal.h"

#include <cerrno>
#include <system_error>

namespace quillfen {
namespace {

std::string Reason(int errorCode) { return std::generic_category().message(errorCode); }

// Why the chosen file could not be read as the bookmarks file is: for the message.
std::string Unreadable(const fw::FolderItem& copy) {
    switch (copy.LastErrorCode()) {
    case EINVAL:
    case EISDIR:
        return "is not a regular file";
    case EFBIG:
        return "is larger than " + fw::Str(kMaxBookmarksFileBytes >> 20) + " MB";
    default:
        return "could not be read (" + Reason(copy.LastErrorCode()) + ")";
    }
}

// True when plutil and the reader take the bytes as a bookmarks file with at least one bookmark.
bool HoldsBookmarks(std::string_view bytes) {
    struct : BookmarkSink {
        void AddBookmark(const BookmarkRow&) override {}
    } ignore;
    const std::optional<std::string> text = ConvertCopy(bytes);
    if (!text)
        return false;
    const ReadResult read = ListBookmarks(*text, ignore);
    return read.status == ReadStatus::Ok && read.RowCount() > 0;
}

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
    // Read as the bookmarks file would be, so that what replaces it is one: the bytes that were checked
    // are the ones written.
    const std::optional<std::string> bytes = copy.ReadAll(kMaxBookmarksFileBytes);
    if (!bytes) {
        fw::MsgBox("The chosen file " + Unreadable(copy) + ", so nothing was restored.");
        return;
    }
    if (!HoldsBookmarks(*bytes)) {
        fw::MsgBox(
            "The chosen file holds no bookmarks that Safari Quillfen can read, so nothing was restored.");
        return;
    }
    RunAfterReadHook();
    std::string error;
    if (!fw::WriteFileAtomically(bookmarks, *bytes, &error)) {
        fw::MsgBox("The Bookmarks file could not be restored (" + error + ").\r\r" +
                   "The bookmarks file was left as it was.");
        return;
    }
    fw::MsgBox("The Bookmarks file was successfully restored");
}

} // namespace quillfen
