// The texts by which the bookmarks XML text is read and rewritten, line by line, never parsed as XML.
#pragma once

#include <string_view>

namespace quillfen::markers {

inline constexpr std::string_view kEntry = "<key>URIDictionary</key>"; // starts a bookmark entry
inline constexpr std::string_view kTitleKey = "<key>title</key>";
inline constexpr std::string_view kURLKey = "<key>URLString</key>";
inline constexpr std::string_view kUUIDKey = "<key>WebBookmarkUUID</key>";
inline constexpr std::string_view kStringOpen = "<string>";
inline constexpr std::string_view kStringClose = "</string>";

} // namespace quillfen::markers
