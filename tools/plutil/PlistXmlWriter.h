// Serialises a property list to the XML text the Mac plutil writes, byte for byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace plutil {

struct XmlLimits {
    std::uint64_t maxBytes = 0; // a larger text is refused
    int maxDepth = 0;           // containers nested deeper are refused
};

// Real bookmarks files nest a few dozen levels.
inline constexpr int kMaxDepth = 512;

// Takes one piece of the text; false stops the writing.
using XmlOut = std::function<bool(std::string_view)>;

// The XML text of a binary property list, handed to `out` in pieces: XML header, DOCTYPE, <plist>
// wrapper, one element per line, TAB indents, dictionary keys in byte order (of a key given twice, the
// last value). The whole text is measured before the first piece, so a refusal writes nothing: damage,
// nesting or size beyond the limits, entries and keys beyond what the size allows, a container referenced
// twice, a character XML cannot hold, a date outside the years 1 to 9999. Empty error on success.
bool BinaryToXml(std::string_view binary, const XmlLimits& limits, const XmlOut& out, std::string& error);

// The same for the UTF-8 text of an XML property list, which is checked whole first. It is measured only
// where it could outgrow the limit, so a rarer refusal (a date beyond the writer's range) may come after
// pieces were handed on: `out` must be able to drop them.
bool XmlToXml(std::string_view xml, const XmlLimits& limits, const XmlOut& out, std::string& error);

} // namespace plutil
