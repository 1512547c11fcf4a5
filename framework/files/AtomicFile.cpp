// Temporary file beside the target, fsync, rename: a reader or a crash sees the old or the new file whole.
#include "framework/files/AtomicFile.h"

#include "framework/files/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fw {
namespace {

// Follows a chain of symbolic links to the file they name, which may not exist yet.
std::string ResolveLinks(std::string path) {
    constexpr int kMaxHops = 40; // as the kernel's own limit, so a loop ends in an error
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
            return path;
        const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
        if (ec)
            return path;
        path = link.is_absolute() ? link.string() : FolderItem(path).Parent().PosixPath() + link.string();
    }
    return path;
}

constexpr std::size_t kSuffixLength = 8;

std::string RandomSuffix() {
    std::random_device random;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    for (unsigned bits = random(); suffix.size() < kSuffixLength; bits >>= 4)
        suffix += kDigits[bits & 0xF];
    return suffix;
}

std::string TemporaryPrefix(const FolderItem& target) {
    return target.Parent().PosixPath() + "." + target.Name() + ".tmp-";
}

// A writer killed before its rename leaves its temporary file (as large as the target) behind; the next
// writer of the same target removes those of its own user.
void RemoveLeftTemporaries(const FolderItem& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(target.Parent().PosixPath(), ec)) {
        const std::string path = entry.path().string();
        struct stat info;
        if (path.size() == prefix.size() + kSuffixLength && path.starts_with(prefix) &&
            ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlink(path.c_str());
    }
}

void SyncFolder(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid())
        ::fsync(fd.Get()); // best effort: some file systems cannot sync a folder
}

} // namespace

AtomicWriter::AtomicWriter(const FolderItem& target, mode_t newFileMode)
    : target_(ResolveLinks(target.PosixPath())) {
    const FolderItem resolved(target_);
    struct stat existing;
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    // Renaming over a device, a FIFO or a folder would destroy it (as root even /dev/zero): only a regular
    // file, or nothing, is ever replaced.
    if (exists && !S_ISREG(existing.st_mode)) {
        Fail(target_ + " is not a regular file");
        return;
    }
    // A rename needs only the folder's permission; what its owner made read-only is left as an in-place
    // write would leave it. The mode bits decide, since a privileged user may write anything.
    if (exists && (existing.st_mode & S_IWUSR) == 0) {
        Fail(target_ + " is write-protected", EACCES);
        return;
    }
    RemoveLeftTemporaries(resolved);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = TemporaryPrefix(resolved) + RandomSuffix();
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : newFileMode);
        if (fd_ >= 0 || errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        temp_.clear();
        Fail("cannot create a temporary file beside " + target_);
        return;
    }
    if (!exists)
        return;
    struct stat created;
    if (::fstat(fd_, &created) != 0)
        Fail("cannot inspect " + temp_);
    else if ((created.st_uid != existing.st_uid || created.st_gid != existing.st_gid) &&
             ::fchown(fd_, existing.st_uid, existing.st_gid) != 0)
        Fail("cannot keep the owner of " + target_);
    else if (::fchmod(fd_, existing.st_mode & 07777) != 0)
        Fail("cannot keep the mode of " + target_);
}

AtomicWriter::~AtomicWriter() {
    Discard();
}

bool AtomicWriter::SetMode(mode_t mode) {
    if (fd_ < 0)
        return false;
    return ::fchmod(fd_, mode) == 0 || Fail("cannot set the mode of " + temp_);
}

bool AtomicWriter::Write(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    return WriteAll(fd_, bytes) || Fail("cannot write " + temp_);
}

bool AtomicWriter::Commit() {
    if (fd_ < 0)
        return false;
    if (::fsync(fd_) != 0)
        return Fail("cannot write " + temp_ + " to disk");
    if (::close(std::exchange(fd_, -1)) != 0)
        return Fail("cannot write " + temp_);
    if (expected_ && FolderItem(target_).Stamp() != expected_) {
        changed_ = true;
        return Fail(target_ + " was changed by another program since it was read", 0);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return Fail("cannot replace " + target_);
    temp_.clear();
    SyncFolder(FolderItem(target_).Parent().PosixPath());
    return true;
}

bool AtomicWriter::Fail(const std::string& what, int code) {
    errorCode_ = code;
    error_ = code ? what + ": " + std::generic_category().message(code) : what;
    Discard();
    return false;
}

void AtomicWriter::Discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

bool WriteFileAtomically(const FolderItem& target, std::string_view bytes, std::string* error) {
    AtomicWriter writer(target);
    const bool written = writer.Write(bytes) && writer.Commit();
    if (!written && error)
        *error = writer.Error();
    return written;
}

} // namespace fw
