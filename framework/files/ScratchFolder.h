// A private folder in the system's temporary folder for files the program makes only to look at them
// (a copy for plutil to convert), removed with all it holds when the object goes.
#pragma once

#include "framework/files/FolderItem.h"

#include <optional>
#include <string>
#include <string_view>

namespace fw {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // A new file `name` in the folder holding `bytes`; nothing when it cannot be made or written whole.
    std::optional<FolderItem> Write(std::string_view name, std::string_view bytes) const;

private:
    std::string path_; // empty when the folder could not be made
};

} // namespace fw
