// The text inside an XML property list's elements, and the values it stands for.
#pragma once

#include "tools/plutil/BinaryPlist.h"

namespace plutil {

// An element's content as text: character and entity references resolved, CDATA sections taken as they
// stand, comments and processing instructions dropped. False for a reference XML does not define.
bool DecodeContent(std::string_view content, std::string& text);

// Fills an Integer's, Real's, Date's or Data's value from its element's text (Data's bytes go to `bytes`
// and are viewed by the value); false when the text is no such value. Integers run from -2^63 to 2^64-1.
bool ParseScalar(std::string_view text, PlistValue& value, std::string& bytes);

} // namespace plutil
