// The one way the bookmarks file is rewritten (deletes, applied edits): read it as it is on disk now,
// change its text, and replace it whole, so that a failure or a kill at any moment leaves the old file.
#pragma once

#include "framework/files/FolderItem.h"

#include <functional>
#include <string>

namespace quillfen {

struct RewriteResult {
    bool ok = true;
    // For the user when the rewrite failed; the file is then as it was.
    std::string message;
    // False when the new text equals the old one: nothing was written.
    bool changed = false;
};

// Converts and reads `file` (as reading does), passes its XML text to `change`, and replaces the file with
// the result, keeping its mode and owner. The result must read as a property list, and the file is
// replaced only while it is still the version that was read.
RewriteResult RewriteBookmarksFile(const fw::FolderItem& file,
                                   const std::function<std::string(const std::string&)>& change);

// A seam for tests: `hook` runs whenever a rewrite or a restore has read what it works from and has not
// written anything yet, where another program's save or a full disk can be put. Empty: nothing runs.
void SetAfterReadHook(std::function<void()> hook);
void RunAfterReadHook();

} // namespace quillfen
