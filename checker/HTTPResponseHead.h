// The header block of an HTTP response as servers really send it: lines ended by CR LF, LF or CR, in
// any mix, up to the first blank line.
#pragma once

#include "checker/InternetHeaders.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillfen {

struct HeaderBlockEnd {
    std::size_t at;     // where the blank line's first line end begins
    std::size_t length; // both line ends
};

// The earliest blank line in the bytes received so far. More bytes never move it: an end found in a
// part of a response is the end found in the whole.
std::optional<HeaderBlockEnd> FindHeaderBlockEnd(std::string_view received);

struct ResponseHead {
    InternetHeaders headers;
    int status = 0;
};

// The block before its blank line: the status line, then "name: value" lines.
ResponseHead ParseHeaderBlock(std::string_view block);

} // namespace quillfen
