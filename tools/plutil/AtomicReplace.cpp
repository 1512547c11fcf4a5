// Temporary file in the target's own folder, so the final rename never crosses a file system.
#include "tools/plutil/AtomicReplace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace plutil {
namespace {

bool Fail(std::string& error, const std::string& what, int errorNumber) {
    error = what + ": " + std::strerror(errorNumber);
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Fills the temporary file and gives it the original's mode and owner; false with errno set.
bool FillTemporary(int fd, std::string_view bytes, const struct stat& original) {
    if (!WriteAll(fd, bytes))
        return false;
    // Owner and group can only be kept where permitted; the mode matters more and is always kept.
    if (original.st_uid != ::geteuid() || original.st_gid != ::getegid())
        (void)::fchown(fd, original.st_uid, original.st_gid);
    return ::fchmod(fd, original.st_mode & 07777) == 0 && ::fsync(fd) == 0;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(path, ec);
    if (ec) {
        error = "cannot resolve " + path + ": " + ec.message();
        return false;
    }
    struct stat original {};
    if (::stat(target.c_str(), &original) != 0)
        return Fail(error, "cannot examine " + target.string(), errno);

    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Fail(error, "cannot create a temporary file beside " + target.string(), errno);
    bool written = FillTemporary(fd, bytes, original);
    int writeErrno = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    if (!written) {
        ::unlink(temp.c_str());
        return Fail(error, "cannot write " + temp, writeErrno);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temp.c_str());
        return Fail(error, "cannot replace " + target.string(), renameErrno);
    }
    return true;
}

} // namespace plutil
