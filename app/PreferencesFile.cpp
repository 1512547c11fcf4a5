#include "app/PreferencesFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillfen::PreferencesFile {
namespace {

// Creates every missing folder of `folder`, private to the user like a Mac's Library.
bool MakeFolders(const std::string& folder) {
    for (size_t cut = folder.find('/', 1); ; cut = folder.find('/', cut + 1)) {
        const std::string part = folder.substr(0, cut);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (cut == std::string::npos)
            break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string Path() {
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/Library/Preferences/Safari Quillfen";
}

std::optional<std::string> Read(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buffer.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

bool Write(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return false;
    // The record goes to a private temporary file beside the old one and replaces it only when complete,
    // so a failed write never leaves a cut record, and the password is never readable by others.
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, 0600) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace quillfen::PreferencesFile
