// plutil -convert xml1: reads a binary or XML property list and rewrites it in place as XML.
#pragma once

#include <cstdint>
#include <string>

namespace plutil {

// Far above any real bookmarks file (a heavy one is a few megabytes).
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{256} << 20;
// The XML text may be at most this many times its input, and never more than kMaxOutputBytes: shared
// references in a binary file could otherwise expand a few hundred bytes into gigabytes.
inline constexpr std::uint64_t kMaxExpansion = 64;
inline constexpr std::uint64_t kMaxOutputBytes = std::uint64_t{1} << 30;

struct ConvertResult {
    bool ok = false;
    std::string error; // why the file was left untouched
};

// Leaves the file untouched when it is missing, unreadable, not a regular file, too large, no property
// list, or beyond the limits; a file already in this XML form is not rewritten.
ConvertResult ConvertToXml(const std::string& path);

} // namespace plutil
