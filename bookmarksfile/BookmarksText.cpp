#include "bookmarksfile/BookmarksText.h"

#include "framework/files/ScratchFolder.h"
#include "framework/files/Shell.h"

namespace quillfen {

std::optional<std::string> ConvertAndReadBookmarks(const fw::FolderItem& file, fw::FileStamp* stamp) {
    // plutil refuses what is no regular file before it reads, so it never waits on one either.
    fw::Shell shell;
    shell.Execute("plutil -convert xml1 " + file.ShellPath());
    // A file still binary would read as a file without bookmarks.
    if (shell.ErrorCode() != 0)
        return std::nullopt;
    return file.ReadAll(kMaxBookmarksTextBytes, stamp);
}

std::optional<std::string> ConvertCopy(std::string_view bytes) {
    const fw::ScratchFolder scratch;
    const std::optional<fw::FolderItem> copy = scratch.Write("Bookmarks.plist", bytes);
    return copy ? ConvertAndReadBookmarks(*copy) : std::nullopt;
}

} // namespace quillfen
