#include "bookmarksfile/BookmarksLocation.h"

#include "framework/text/Text.h"

namespace quillfen {

fw::FolderItem BookmarksFile() {
    // The Preferences folder's path ends in "Preferences:"; without those 12 characters it is the
    // Library folder's path, still ending in a colon.
    const std::string preferences = fw::FolderItem::PreferencesFolder().AbsolutePath();
    const std::string library = fw::Left(preferences, fw::Len(preferences) - 12);
    return fw::GetFolderItem(library + "Safari:Bookmarks.plist").value();
}

} // namespace quillfen
