#include "app/PreferencesFile.h"

#include "framework/files/AtomicFile.h"
#include "framework/files/FolderItem.h"

#include <cerrno>

namespace quillfen::PreferencesFile {

std::string Path() {
    const auto file = fw::GetFolderItem(fw::FolderItem::PreferencesFolder().AbsolutePath() + "Safari Quillfen");
    return file ? file->PosixPath() : std::string();
}

std::optional<std::string> Read(const std::string& path, bool* missing) {
    // The record is one short line; a megabyte is far beyond any that was ever written.
    constexpr std::size_t kMaxRecordBytes = 1 << 20;
    const fw::FolderItem file(path);
    std::optional<std::string> text = file.ReadAll(kMaxRecordBytes);
    if (missing)
        *missing = !text && (file.LastErrorCode() == ENOENT || file.LastErrorCode() == ENOTDIR);
    return text;
}

bool Write(const std::string& path, const std::string& bytes, std::string* error) {
    // What we could not read may be worth more than what we would put in its place.
    if (fw::FolderItem(path).Exists() && !Read(path)) {
        if (error)
            *error = path + " exists but cannot be read, so it was left as it is";
        return false;
    }
    // The record holds the proxy password: it is readable by its owner only, also where an older file was
    // not, and it replaces the old one only when complete, so a failed write never leaves a cut record.
    fw::AtomicWriter writer(fw::FolderItem(path), 0600);
    const bool written = writer.SetMode(0600) && writer.Write(bytes) && writer.Commit();
    if (!written && error)
        *error = writer.Error();
    return written;
}

} // namespace quillfen::PreferencesFile
