// What a path names on disk, links followed: for guarding copies of and over the bookmarks file.
#pragma once

#include "framework/files/FolderItem.h"

namespace fw {

// True when both name the same existing file.
bool SameFile(const FolderItem& a, const FolderItem& b);
// True when the path names a regular file (not a folder, FIFO or device).
bool IsRegularFile(const FolderItem& item);

} // namespace fw
