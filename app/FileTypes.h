// The one file type the program declares.
#pragma once

#include <memory>
#include <string>

namespace quillfen {

struct FileType {
    std::string Name;
    std::string Extensions;
    std::string MacType;
    std::string MacCreator;
};

namespace FileTypes {
inline std::unique_ptr<FileType> pTextPlain;
void _Initialize();
void Release();
} // namespace FileTypes

} // namespace quillfen
