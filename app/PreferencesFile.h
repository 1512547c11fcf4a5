// The preferences file's bytes: where it lives, reading it whole, replacing it whole.
#pragma once

#include <optional>
#include <string>

namespace quillfen::PreferencesFile {

// "$HOME/Library/Preferences/Safari Quillfen".
std::string Path();
// The whole file, or nullopt when it cannot be read: missing, unreadable, not a regular file (links
// followed; a FIFO or device is never opened), or larger than any record. `missing` tells whether
// nothing stands at the path at all, so that only then a new record may be created there.
std::optional<std::string> Read(const std::string& path, bool* missing = nullptr);
// Replaces the file with `bytes`, readable by its owner only. A file that exists but cannot be read is
// left alone. On any failure it returns false, says why in `error` when given, and the file stays as it was.
bool Write(const std::string& path, const std::string& bytes, std::string* error = nullptr);

} // namespace quillfen::PreferencesFile
