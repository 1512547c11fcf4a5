#include "bookmarksfile/BookmarksText.h"

#include "framework/Shell.h"
#include "framework/Streams.h"

#include <memory>

namespace quillfen {

std::optional<std::string> ConvertAndReadBookmarks(const fw::FolderItem& file) {
    fw::Shell shell;
    shell.Execute("plutil -convert xml1 " + file.ShellPath());
    const std::unique_ptr<fw::TextInputStream> in = file.OpenAsTextFile();
    if (!in)
        return std::nullopt;
    return in->ReadAll();
}

} // namespace quillfen
