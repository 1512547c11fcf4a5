// The address a bookmark's URL stands for, as a web browser reads it: the row keeps the file's text, but
// requests and opened pages must go where the bookmark points.
#pragma once

#include <string>
#include <string_view>

namespace quillfen {

// XML entities and character references decoded, the fragment dropped, and the bytes a request line
// cannot carry percent-encoded ("%XX" already there is left as it is): blanks and controls everywhere,
// the host included, and also non-ASCII bytes and '"', '<', '>' after the host.
std::string BrowserAddress(std::string_view url);

} // namespace quillfen
