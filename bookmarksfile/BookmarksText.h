// Safari's bookmarks file as text: converted to XML in place by plutil, then read whole. Every reading
// and rewriting of the file starts here, so each works on the file as it is on disk now.
#pragma once

#include "framework/FolderItem.h"

#include <optional>
#include <string>

namespace quillfen {

// The file's XML text, or nothing when it could not be converted or read.
std::optional<std::string> ConvertAndReadBookmarks(const fw::FolderItem& file);

} // namespace quillfen
