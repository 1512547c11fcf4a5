// Safari's bookmarks file as text: converted to XML in place by plutil, then read whole. Every reading
// and rewriting of the file starts here, so each works on the file as it is on disk now.
#pragma once

#include "framework/files/FolderItem.h"

#include <cstddef>
#include <optional>
#include <string>

namespace quillfen {

// plutil writes no larger text; far above any real bookmarks file.
inline constexpr std::size_t kMaxBookmarksTextBytes = std::size_t{1} << 30;

// The file's XML text, or nothing when the conversion failed (a damaged or refused file, a full disk, a
// read-only folder) or the file is not a regular file (links followed), cannot be read, or is larger
// than kMaxBookmarksTextBytes. Never waits on a FIFO or device.
std::optional<std::string> ConvertAndReadBookmarks(const fw::FolderItem& file);

} // namespace quillfen
