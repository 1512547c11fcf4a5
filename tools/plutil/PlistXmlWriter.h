// Serialises a parsed property list to the XML text the Mac plutil writes, byte for byte.
#pragma once

#include <plist/plist.h>

#include <string>

namespace plutil {

// The whole file text: XML header, DOCTYPE, <plist> wrapper, one element per line, TAB indents,
// dictionary keys in byte order.
std::string PlistToXml(plist_t root);

} // namespace plutil
