// Where Safari keeps its bookmarks: Bookmarks.plist in the Safari folder of the user's Library folder.
#pragma once

#include "framework/files/FolderItem.h"

namespace quillfen {

// Built afresh on every call from the Preferences folder's path, so a changed home is followed.
fw::FolderItem BookmarksFile();

} // namespace quillfen
