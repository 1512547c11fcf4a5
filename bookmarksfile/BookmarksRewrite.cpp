#include "bookmarksfile/BookmarksRewrite.h"

#include "bookmarksfile/BookmarksText.h"
#include "framework/files/AtomicFile.h"

namespace quillfen {
namespace {

std::function<void()>& AfterReadHook() {
    static std::function<void()> hook;
    return hook;
}

RewriteResult Failed(const std::string& what) {
    return {false, what + "\r\rThe bookmarks file was left as it was.", false};
}

} // namespace

RewriteResult RewriteBookmarksFile(const fw::FolderItem& file,
                                   const std::function<std::string(const std::string&)>& change) {
    fw::FileStamp read;
    const auto text = ConvertAndReadBookmarks(file, &read);
    if (!text)
        return Failed("Safari's bookmarks file could not be read:\r" + file.PosixPath());
    RunAfterReadHook();
    const std::string& before = *text;
    const std::string after = change(before);
    if (after == before)
        return {};
    fw::AtomicWriter writer(file);
    writer.ReplaceOnlyIf(read);
    if (!writer.Write(after))
        return Failed("Safari's bookmarks file could not be written (" + writer.Error() + ").");
    // A text that no longer parses would end every later read of the file, Safari's too.
    if (!ConvertCopy(after))
        return Failed(
            "The new text of Safari's bookmarks file did not read as a property list, so it was not "
            "written.");
    if (!writer.Commit())
        return Failed(
            writer.TargetChanged()
                ? "Safari's bookmarks file was changed by another program meanwhile, so nothing was "
                  "done.\r\rClick \"Get Bookmarks\" to list it as it is now."
                : "Safari's bookmarks file could not be written (" + writer.Error() + ").");
    return {true, {}, true};
}

void SetAfterReadHook(std::function<void()> hook) {
    AfterReadHook() = std::move(hook);
}

void RunAfterReadHook() {
    if (AfterReadHook())
        AfterReadHook()();
}

} // namespace quillfen
