#include "framework/files/ScratchFolder.h"

#include "framework/files/UniqueFd.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <system_error>

namespace fw {

ScratchFolder::ScratchFolder() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "quillfen-XXXXXX").string();
    if (!ec && ::mkdtemp(pattern.data()))
        path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

std::optional<FolderItem> ScratchFolder::Write(std::string_view name, std::string_view bytes) const {
    if (path_.empty())
        return std::nullopt;
    FolderItem file = FolderItem(path_).Child(name);
    UniqueFd fd(::open(file.PosixPath().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.Valid() || !WriteAll(fd.Get(), bytes) || fd.Reset() != 0)
        return std::nullopt;
    return file;
}

} // namespace fw
