// Replaces a file's bytes so that readers see either the old or the new file, never a partial one.
// Stand-in until the framework's atomic writer can be used here.
#pragma once

#include <string>
#include <string_view>

namespace plutil {

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, keeping its mode
// (and its owner where permitted). A symbolic link is followed: its target is replaced, the link stays.
// On failure the file is left as it was and `error` says why.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

} // namespace plutil
