// The maker's web server, named when the program is built.
#pragma once

#include <string>

namespace quillfen {

// The maker's home page; empty when the build names no server (then the maker's links do nothing).
std::string MakerHomePage();

} // namespace quillfen
