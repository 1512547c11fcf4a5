// Safari's bookmarks file as text: converted to XML in place by plutil, then read whole. Every reading
// and rewriting of the file starts here, so each works on the file as it is on disk now.
#pragma once

#include "framework/files/FolderItem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillfen {

// plutil converts no larger file.
inline constexpr std::size_t kMaxBookmarksFileBytes = std::size_t{256} << 20;
// plutil writes no larger text; far above any real bookmarks file.
inline constexpr std::size_t kMaxBookmarksTextBytes = std::size_t{1} << 30;

// The file's XML text, or nothing when the conversion failed (a damaged or refused file, a full disk, a
// read-only folder) or the file is not a regular file (links followed), cannot be read, or is larger
// than kMaxBookmarksTextBytes. Never waits on a FIFO or device. `stamp` gets the version of the file
// whose text was read, as plutil left it.
std::optional<std::string> ConvertAndReadBookmarks(const fw::FolderItem& file,
                                                   fw::FileStamp* stamp = nullptr);

// The XML text plutil makes of property-list bytes (binary or XML), converted as a scratch copy so that
// no file of the user's changes; nothing when plutil refuses them.
std::optional<std::string> ConvertCopy(std::string_view bytes);

} // namespace quillfen
