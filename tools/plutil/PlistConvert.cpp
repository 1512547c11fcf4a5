// Read, parse with libplist, serialise, replace: the file changes only after all of that succeeded.
#include "tools/plutil/PlistConvert.h"

#include "framework/AtomicFile.h"
#include "framework/FolderItem.h"
#include "tools/plutil/PlistXmlWriter.h"

#include <plist/plist.h>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

namespace plutil {
namespace {

struct PlistFree {
    void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// Plain POSIX reads: a folder or an I/O error is a failure, not an exception.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    char buf[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (n < 0)
        return std::nullopt;
    return bytes;
}

ConvertResult Failure(const std::string& path, const std::string& why) {
    return {false, path + ": " + why};
}

} // namespace

ConvertResult ConvertToXml(const std::string& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return Failure(path, "cannot read the file");
    // libplist takes 32-bit lengths.
    if (bytes->size() > std::numeric_limits<std::uint32_t>::max())
        return Failure(path, "file too large for a property list");

    plist_t raw = nullptr;
    plist_from_memory(bytes->data(), static_cast<std::uint32_t>(bytes->size()), &raw);
    const PlistPtr root(raw);
    if (!root)
        return Failure(path, "not a property list, or a damaged one");

    std::string error;
    if (!fw::WriteFileAtomically(fw::FolderItem(path), PlistToXml(root.get()), &error))
        return Failure(path, error);
    return {true, {}};
}

} // namespace plutil
