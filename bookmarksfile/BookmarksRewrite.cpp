#include "bookmarksfile/BookmarksRewrite.h"

#include "bookmarksfile/BookmarksText.h"
#include "framework/files/AtomicFile.h"

namespace quillfen {
namespace {

RewriteResult Failed(const std::string& what) {
    return {false, what + "\r\rThe bookmarks file was left as it was.", false};
}

} // namespace

RewriteResult RewriteBookmarksFile(const fw::FolderItem& file,
                                   const std::function<std::string(const std::string&)>& change) {
    const auto text = ConvertAndReadBookmarks(file);
    if (!text)
        return Failed("Safari's bookmarks file could not be read:\r" + file.PosixPath());
    const std::string& before = *text;
    const std::string after = change(before);
    if (after == before)
        return {};
    std::string error;
    if (!fw::WriteFileAtomically(file, after, &error))
        return Failed("Safari's bookmarks file could not be written (" + error + ").");
    return {true, {}, true};
}

} // namespace quillfen
