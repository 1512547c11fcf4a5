// Files and folders by POSIX path; the HFS path is a character-for-character image of it.
#include "framework/files/FolderItem.h"

#include "framework/files/AtomicFile.h"
#include "framework/files/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {
namespace {

// '/' separates POSIX names and ':' HFS names; each stands for the other inside a name.
std::string SwapSeparators(std::string_view path) {
    std::string swapped(path);
    for (char& c : swapped)
        c = c == '/' ? ':' : c == ':' ? '/' : c;
    return swapped;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool RefuseUnlessRegular(const struct stat& info) {
    if (S_ISREG(info.st_mode))
        return false;
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return true;
}

// Only regular files are opened: opening a FIFO waits for a writer, and a device may never end. The
// path is looked at before the open, so no device is opened at all, and the open descriptor again, in
// case the path was changed in between; O_NONBLOCK keeps even that open from waiting.
int OpenForReading(const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0 || RefuseUnlessRegular(info))
        return -1;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || RefuseUnlessRegular(info))
        return -1;
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return -1;
    return fd.Release();
}

FileStamp StampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

} // namespace

FolderItem::FolderItem(std::string posixPath) : path_(std::move(posixPath)) {
    if (path_.empty() || path_.front() != '/') {
        std::error_code ec;
        path_ = std::filesystem::absolute(path_, ec).string();
    }
}

FolderItem FolderItem::PreferencesFolder() {
    const std::string folder = WithoutTrailingSlash(HomeFolder()) + "/Library/Preferences/";
    std::error_code ec; // best effort: a missing folder shows up when a file in it is opened
    std::filesystem::create_directories(folder, ec);
    return FolderItem(folder);
}

std::string FolderItem::AbsolutePath() const {
    std::string hfs = std::string(kVolumeName) + ":" + SwapSeparators(std::string_view(path_).substr(1));
    if (hfs.back() != ':' && IsFolder())
        hfs += ':';
    return hfs;
}

std::optional<FolderItem> GetFolderItem(std::string_view hfsPath) {
    const std::string prefix = std::string(kVolumeName) + ":";
    if (!hfsPath.starts_with(prefix))
        return std::nullopt;
    std::string posix = SwapSeparators(hfsPath.substr(prefix.size()));
    // Put in front in place: GCC 12 warns, wrongly, about the "/" + string form at -O2.
    posix.insert(posix.begin(), '/');
    return FolderItem(std::move(posix));
}

std::string FolderItem::ShellPath() const {
    std::string quoted = "'";
    for (char c : path_)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FolderItem::Name() const {
    const std::string path = WithoutTrailingSlash(path_);
    return path == "/" ? std::string() : path.substr(path.rfind('/') + 1);
}

bool FolderItem::Exists() const {
    struct stat info;
    return ::stat(path_.c_str(), &info) == 0;
}

bool FolderItem::IsFolder() const {
    struct stat info;
    return ::stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FolderItem FolderItem::Parent() const {
    const std::string path = WithoutTrailingSlash(path_);
    return FolderItem(path.substr(0, path.rfind('/') + 1));
}

FolderItem FolderItem::Child(std::string_view name) const {
    return FolderItem((path_.back() == '/' ? path_ : path_ + "/") + std::string(name));
}

std::optional<FileStamp> FolderItem::Stamp() const {
    struct stat info;
    if (::stat(path_.c_str(), &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

std::optional<std::string> FolderItem::ReadAll(std::size_t maxBytes, FileStamp* stamp) const {
    struct stat info;
    const UniqueFd fd(OpenForReading(path_, info));
    if (!fd.Valid()) {
        lastError_ = errno;
        return std::nullopt;
    }
    // Taken as it was opened: a change during the read shows as another version later.
    if (stamp)
        *stamp = StampOf(info);
    lastError_ = EFBIG;
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        return std::nullopt;
    // The size is only a hint (the file may grow meanwhile): reading stops one byte past the limit.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        const ssize_t n = ReadSome(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            lastError_ = errno;
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(n);
        if (n == 0 || filled > maxBytes)
            break;
    }
    if (filled > maxBytes)
        return std::nullopt;
    bytes.resize(filled);
    lastError_ = 0;
    return bytes;
}

bool FolderItem::CopyFileTo(const FolderItem& dest) const {
    struct stat info;
    UniqueFd source(OpenForReading(path_, info));
    if (!source.Valid()) {
        lastError_ = errno;
        return false;
    }
    AtomicWriter writer(dest, info.st_mode & 07777);
    std::string block(1 << 16, '\0');
    for (;;) {
        const ssize_t n = ReadSome(source.Get(), block.data(), block.size());
        if (n < 0) {
            lastError_ = errno;
            return false;
        }
        if (n == 0)
            break;
        if (!writer.Write(std::string_view(block).substr(0, static_cast<std::size_t>(n))))
            break;
    }
    const bool copied = writer.Commit();
    lastError_ = writer.ErrorCode();
    return copied;
}

bool FolderItem::Delete() const {
    const bool deleted = std::remove(path_.c_str()) == 0;
    lastError_ = deleted ? 0 : errno;
    return deleted;
}

} // namespace fw
