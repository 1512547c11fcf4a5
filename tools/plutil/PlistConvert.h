// plutil -convert xml1: reads a binary or XML property list and rewrites it in place as XML.
#pragma once

#include <string>

namespace plutil {

struct ConvertResult {
    bool ok = false;
    std::string error; // why the file was left untouched
};

// Leaves the file untouched when it is missing, unreadable or no property list.
ConvertResult ConvertToXml(const std::string& path);

} // namespace plutil
