// The preferences record: one line of ten "*"-separated fields, loaded into Globals.
#pragma once

#include <string>

namespace quillfen {

// Loads the record into Globals, first creating the file with the default record or appending the missing
// tenth field when needed. On a first run or an upgrade, `welcomeMsg` receives the text telling so;
// otherwise it is left as it was.
void ReadPreferences(std::string& welcomeMsg);

// The record a first run writes, with `look` ("aqua" or "metal") as the window style.
std::string DefaultRecord(const std::string& look);

} // namespace quillfen
