#include "app/PreferencesFile.h"

#include "framework/AtomicFile.h"
#include "framework/FolderItem.h"
#include "framework/Streams.h"

namespace quillfen::PreferencesFile {

std::string Path() {
    const auto file = fw::GetFolderItem(fw::FolderItem::PreferencesFolder().AbsolutePath() + "Safari Quillfen");
    return file ? file->PosixPath() : std::string();
}

std::optional<std::string> Read(const std::string& path) {
    auto stream = fw::FolderItem(path).OpenAsTextFile();
    if (!stream)
        return std::nullopt;
    return stream->ReadAll();
}

bool Write(const std::string& path, const std::string& bytes) {
    // The record holds the proxy password: a new file is readable by its owner only, and it replaces the
    // old one only when complete, so a failed write never leaves a cut record.
    fw::AtomicWriter writer(fw::FolderItem(path), 0600);
    return writer.Write(bytes) && writer.Commit();
}

} // namespace quillfen::PreferencesFile
