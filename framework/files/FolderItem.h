// A file or folder by its POSIX path, with the Mac-style HFS path the program's code builds paths with.
// An HFS path is the volume name, then the names joined by ':' (a folder's path ends in ':'); a ':'
// inside a POSIX name is a '/' in HFS. Each POSIX path maps to exactly one HFS path and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace fw {

inline constexpr std::string_view kVolumeName = "Macintosh HD";

// Tells one version of a file from the next: another program's save replaces the file (a new inode) or
// changes its size or modification time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

class FolderItem {
public:
    explicit FolderItem(std::string posixPath);

    // $HOME/Library/Preferences/, created when missing.
    static FolderItem PreferencesFolder();

    const std::string& PosixPath() const { return path_; }
    std::string AbsolutePath() const;
    // The POSIX path quoted so that /bin/sh passes it on unchanged.
    std::string ShellPath() const;
    std::string Name() const;
    bool Exists() const;
    bool IsFolder() const;
    FolderItem Parent() const;
    FolderItem Child(std::string_view name) const;

    // The whole file when it is a regular file (links followed) of at most maxBytes. Otherwise nothing,
    // with LastErrorCode ENOENT, EACCES, EISDIR, EINVAL (a FIFO, device or socket) or EFBIG (too large).
    // `stamp` gets the version that was opened, and so read.
    std::optional<std::string> ReadAll(std::size_t maxBytes, FileStamp* stamp = nullptr) const;
    // The file's version now (links followed); nothing when it cannot be looked at.
    std::optional<FileStamp> Stamp() const;
    // Replaces dest's content only once the whole copy is written.
    bool CopyFileTo(const FolderItem& dest) const;
    bool Delete() const;
    // The errno of the last operation that failed, 0 after one that succeeded.
    int LastErrorCode() const { return lastError_; }

private:
    std::string path_;
    mutable int lastError_ = 0;
};

// Nothing for a path that does not begin with the volume name and ':'.
std::optional<FolderItem> GetFolderItem(std::string_view hfsPath);

} // namespace fw
